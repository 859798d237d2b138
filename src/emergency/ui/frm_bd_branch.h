#pragma once
// "Непроходимые выработки": the impassable branches of the current route
// task with their reasons. The window reads the list and never changes it.
#include "emergency/route_speed.h"

#include <QtWidgets/QDialog>

class QTableWidget;
class QPushButton;

class TfrmBdBranch : public QDialog
{
    Q_OBJECT

public:
    TfrmBdBranch(QWidget *owner, const TNetworkTables &t, const TBdBranchList &list);

    QTableWidget *Grid;
    QPushButton *btnClose;
};
