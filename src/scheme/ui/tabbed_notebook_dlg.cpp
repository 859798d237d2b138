#include "scheme/ui/tabbed_notebook_dlg.h"

#include "platform/prompt.h"
#include "platform/ui/column_fit.h"
#include "scheme/ui/frm_branch.h"
#include "scheme/ui/frm_new_node.h"

#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabBar>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>

std::function<void(int node)> ShowNodeOnScheme;

namespace {

const std::array<std::vector<int>, TopologyPageCount> ColumnWidths = {{
    {63, 64, 379}, {63, 64, 379}, {63, 86, 379}, {64, 74, 338, 74}, {74, 79, 105, 69}}};
const char *const PageNames[TopologyPageCount] = {"tbsCoh", "tbsInB", "tbsOutB", "tbsMoreB", "tbsFreeN"};

} // namespace

TTabbedNotebookDlg::TTabbedNotebookDlg(TNetworkTables &tables, QWidget *parent)
    : QDialog(parent), m_t(tables), m_report(tables)
{
    setObjectName(QStringLiteral("TabbedNotebookDlg"));
    setWindowTitle(LookupText(QStringLiteral("Вероятные ошибки топологии")));
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    // Every tab stays in sight: pages are hidden and shown while the user
    // changes them, and a tab bar that scrolls lost track of its tabs then.
    PageControl1->tabBar()->setUsesScrollButtons(false);
    PageControl1->tabBar()->setElideMode(Qt::ElideNone);
    lblNoCalc = nullptr;
    BitBtn9 = nullptr;
    for (int page = 0; page < TopologyPageCount; ++page) {
        auto *sheet = new QWidget;
        sheet->setObjectName(QString::fromLatin1(PageNames[page]));
        auto *grid = new QTableWidget(sheet);
        const QStringList headers = TTopologyReport::PageHeaders(page);
        grid->setColumnCount(static_cast<int>(headers.size()));
        grid->setHorizontalHeaderLabels(headers);
        grid->verticalHeader()->hide();
        grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
        grid->setSelectionBehavior(QAbstractItemView::SelectRows);
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        for (int c = 0; c < static_cast<int>(ColumnWidths[page].size()); ++c)
            grid->setColumnWidth(c, ColumnWidths[page][static_cast<std::size_t>(c)]);
        WidenColumnsToContents(*grid);
        connect(grid, &QTableWidget::currentCellChanged, this, [this, page](int row) {
            if (!m_showing && m_report.ActivePage == page)
                m_report.SelectRow(row);
        });
        Grids[static_cast<std::size_t>(page)] = grid;

        auto *buttons = new QHBoxLayout;
        if (page == tpFreeNodes) {
            auto *props = new QPushButton(LookupText(QStringLiteral("Свойства")), sheet);
            connect(props, &QPushButton::clicked, this, &TTabbedNotebookDlg::BBtnPropNodClick);
            buttons->addWidget(props);
        } else {
            auto *node = new QPushButton(LookupText(QStringLiteral("Свойства узла")), sheet);
            auto *branch = new QPushButton(LookupText(QStringLiteral("Свойства ветви")), sheet);
            connect(node, &QPushButton::clicked, this, &TTabbedNotebookDlg::BBtnPropNodClick);
            connect(branch, &QPushButton::clicked, this, &TTabbedNotebookDlg::BBtnPropBrnClick);
            buttons->addWidget(node);
            buttons->addWidget(branch);
        }
        if (page == tpDeadEnds) {
            BitBtn9 = new QPushButton(LookupText(QStringLiteral("На схему")), sheet);
            BitBtn9->setObjectName(QStringLiteral("BitBtn9"));
            BitBtn9->setEnabled(static_cast<bool>(ShowNodeOnScheme));
            connect(BitBtn9, &QPushButton::clicked, this, &TTabbedNotebookDlg::BitBtn9Click);
            buttons->addWidget(BitBtn9);
            lblNoCalc = new QLabel(LookupText(QStringLiteral("Расчет невозможен")), sheet);
            QPalette red = lblNoCalc->palette();
            red.setColor(QPalette::WindowText, Qt::red);
            lblNoCalc->setPalette(red);
            buttons->addStretch();
            buttons->addWidget(lblNoCalc);
        } else {
            buttons->addStretch();
        }
        auto *layout = new QVBoxLayout(sheet);
        layout->addWidget(grid, 1);
        layout->addLayout(buttons);
        PageControl1->addTab(sheet, TTopologyReport::PageCaption(page));
    }
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(OKBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(bottom);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TTabbedNotebookDlg::PageControl1Change);
    resize(std::max(600, minimumSizeHint().width()), 420);
}

void TTabbedNotebookDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        ShowTopologyPage(-1);
    }
}

void TTabbedNotebookDlg::ShowTopologyPage(int k)
{
    m_report.ShowTopologyPage(k);
    ShowState();
}

void TTabbedNotebookDlg::ShowState()
{
    m_showing = true;
    for (int page = 0; page < TopologyPageCount; ++page) {
        PageControl1->setTabVisible(page, m_report.PageVisible[page]);
        PageControl1->setTabEnabled(page, m_report.PageEnabled[page] || page == m_report.ActivePage);
    }
    if (m_report.ActivePage >= 0) {
        PageControl1->setCurrentIndex(m_report.ActivePage);
        FillGrid(m_report.ActivePage);
    }
    m_showing = false;
}

void TTabbedNotebookDlg::FillGrid(int page)
{
    QTableWidget *grid = Grids[static_cast<std::size_t>(page)];
    const auto &rows = m_report.Rows;
    grid->clearContents();
    grid->setRowCount(std::max<int>(1, static_cast<int>(rows.size())));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
            grid->setItem(r, c, new QTableWidgetItem(rows[static_cast<std::size_t>(r)].value(c)));
    WidenColumnsToContents(*grid);
    grid->setCurrentCell(-1, -1);
}

void TTabbedNotebookDlg::PageControl1Change(int index)
{
    if (m_showing || index < 0)
        return;
    m_showing = true;
    // Pages without findings go before another page is shown.
    m_report.PageChanging();
    for (int page = 0; page < TopologyPageCount; ++page)
        PageControl1->setTabVisible(page, m_report.PageVisible[page]);
    const int current = PageControl1->currentIndex();
    m_report.PageChange(current);
    FillGrid(current);
    m_showing = false;
}

void TTabbedNotebookDlg::BBtnPropNodClick()
{
    int n = m_report.SelNode;
    if (n == 0)
        return;
    EditNodeDialog(this, QStringLiteral("Узел %1").arg(n), n, true);
    ShowTopologyPage(PageControl1->currentIndex());
}

void TTabbedNotebookDlg::BBtnPropBrnClick()
{
    const int n = m_report.SelBranch;
    if (n == 0)
        return;
    EditBranchDialog(this, QStringLiteral("Ветвь %1").arg(n), n, true);
    ShowTopologyPage(PageControl1->currentIndex());
}

void TTabbedNotebookDlg::BitBtn9Click()
{
    const int node = m_report.SelNode;
    accept();
    if (node != 0 && NodeExist(m_t, node) && ShowNodeOnScheme)
        ShowNodeOnScheme(node);
}

void ShowTopologyReport(QWidget *owner)
{
    TNetworkTables &t = BranchDialogHost.Tables ? *BranchDialogHost.Tables : Net;
    TTabbedNotebookDlg dialog(t, owner);
    dialog.exec();
}
