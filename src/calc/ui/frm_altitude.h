#pragma once
// "Высотные отметки": the altitude of every node as a table of ten nodes a
// row, printed through the report manager.
#include "model/network.h"

#include <QtWidgets/QDialog>

class QPushButton;
class QTableWidget;

class TfrmAltitude : public QDialog
{
    Q_OBJECT

public:
    TfrmAltitude(QWidget *owner, const TNetworkTables &t = Net);

    QTableWidget *SGAltitude;
    QPushButton *BitBtn2; // "Печать..."
    QPushButton *BitBtn1; // "Закрыть"
};
