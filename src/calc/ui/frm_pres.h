#pragma once
// "Давление в узлах, ДаПа": the pressure of every node of the solved network
// as a table of ten nodes a row, printed through the report manager.
#include "model/network.h"

#include <QtWidgets/QDialog>

#include <vector>

class QPushButton;
class QTableWidget;

class TfrmPres : public QDialog
{
    Q_OBJECT

public:
    // Shows the pressures of the network snapshot in TraversalWorkArrays.
    explicit TfrmPres(QWidget *owner);

    QTableWidget *StringGrid2;
    QPushButton *bbtPrn;
    QPushButton *btnClose;

    void FillPressureTable();
};

// Node n stands in row n div 10 + 1, column n mod 10 + 1; row 0 holds the
// units digits and column 0 the tens. Rows go to the highest node maxNode.
void FillNodeCrossGrid(QTableWidget &grid, const std::vector<QString> &texts, int maxNode);

// Solves t (a failure is shown and nothing opens, false), then shows the
// pressures; true when the window was closed with "Закрыть".
bool RunNodePressures(QWidget *owner, TNetworkTables &t = Net);
