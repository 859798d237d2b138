#pragma once
// "Вероятные ошибки топологии": the nodes where the network's topology may be
// wrong, on five pages by kind of finding. From a row the node or branch
// dialog opens, after which the checks run again; "На схему" closes the
// report and shows the node on the scheme.
#include "scheme/topology_report.h"

#include <QtWidgets/QDialog>

#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;

// The main window's part of "На схему": centre the view on the node, redraw,
// and mark the node until the next redraw. Unset, the button is disabled.
extern std::function<void(int node)> ShowNodeOnScheme;

class TTabbedNotebookDlg : public QDialog
{
    Q_OBJECT

public:
    explicit TTabbedNotebookDlg(TNetworkTables &tables, QWidget *parent = nullptr);

    // Runs the checks and shows page k, or for −1 the first with findings.
    void ShowTopologyPage(int k);
    TTopologyReport &Report() { return m_report; }

    QTabWidget *PageControl1;
    std::array<QTableWidget *, TopologyPageCount> Grids{};
    QLabel *lblNoCalc;
    QPushButton *BitBtn9, *OKBtn;

    void BBtnPropNodClick();
    void BBtnPropBrnClick();
    void BitBtn9Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void PageControl1Change(int index);
    void ShowState();
    void FillGrid(int page);

    TNetworkTables &m_t;
    TTopologyReport m_report;
    bool m_showing = false;
    bool m_shown = false;
};

// Creates the report on the branch dialogs' tables, shows it modally and frees it.
void ShowTopologyReport(QWidget *owner);
