#include "scheme/ui/frm_nod_tab.h"

#include "scheme/branch_table.h"
#include "platform/prompt.h"
#include "scheme/ui/cell_grid.h"
#include "scheme/ui/frm_branch.h"
#include "scheme/ui/frm_new_node.h"

#include <QtGui/QAction>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

namespace {

constexpr int ColumnWidths[NodeColumnCount] = {50, 60, 111, 64, 64, 64, 64};

} // namespace

TfrmNodTab::TfrmNodTab(TNetworkTables &tables, TBranchFormHost host, QWidget *parent)
    : QDialog(parent), m_t(tables), m_host(host), m_table(tables, host)
{
    setObjectName(QStringLiteral("frmNodTab"));
    setWindowTitle(LookupText(QStringLiteral("Корректировка информации об  узлах")));
    resize(560, 520);

    SGNodTab = new TCellGrid(this);
    SGNodTab->setObjectName(QStringLiteral("SGNodTab"));
    SGNodTab->SetTable(&m_table, 0);
    for (int c = 0; c < NodeColumnCount; ++c)
        SGNodTab->setColumnWidth(c, ColumnWidths[c]);
    SGNodTab->setContextMenuPolicy(Qt::CustomContextMenu);

    lblDiap = new QLabel(LookupText(QStringLiteral("Показать узлы")), this);
    cmbDiap = new QComboBox(this);
    cmbDiap->setObjectName(QStringLiteral("cmbDiap"));
    cmbDiap->setEditable(true);
    cmbDiap->setInsertPolicy(QComboBox::NoInsert);
    cmbDiap->setMinimumWidth(200);
    lblDiap->setBuddy(cmbDiap);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    CancelBtn = new QPushButton(LookupText(QStringLiteral("Отмена")), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    OKBtn->setAutoDefault(false);
    CancelBtn->setAutoDefault(false);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblDiap);
    bottom->addWidget(cmbDiap, 1);
    bottom->addStretch();
    bottom->addWidget(OKBtn);
    bottom->addWidget(CancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SGNodTab, 1);
    layout->addLayout(bottom);

    pmnSurf = new QMenu(this);
    pmnSurf->setObjectName(QStringLiteral("pmnSurf"));
    for (const QString &text : {TNodeTable::SurfaceText(), TNodeTable::ExitText()})
        pmnSurf->addAction(text, this, [this, text] { N1Click(text); });

    connect(OKBtn, &QPushButton::clicked, this, &TfrmNodTab::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmbDiap, &QComboBox::activated, this, [this](int index) { cmbDiapChange(index, cmbDiap->itemText(index)); });
    connect(cmbDiap->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) { cmbDiapChange(-1, text); });
    const auto showNotesMenu = [this] { pmnSurf->popup(SGNodTab->mapToGlobal(QPoint(20, 20))); };
    connect(SGNodTab, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (m_table.CurCol == ncNotes)
            pmnSurf->popup(SGNodTab->viewport()->mapToGlobal(pos));
    });
    connect(SGNodTab, &QAbstractItemView::doubleClicked, this, [this, showNotesMenu](const QModelIndex &index) {
        if (index.column() == ncNotes && m_table.CurCol == ncNotes)
            showNotesMenu();
    });
    SGNodTab->KeyDown = [this](int key) {
        if (key == Qt::Key_F3)
            EditRowNode();
    };
    SGNodTab->SideKey = [showNotesMenu](int col) {
        if (col != ncNotes)
            return false;
        showNotesMenu();
        return true;
    };
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        if (old && (old == SGNodTab || SGNodTab->isAncestorOf(old)))
            FocusLeftGrid(now);
    });
}

TfrmNodTab::~TfrmNodTab()
{
    // The grid shows the table, which goes before the window's children.
    disconnect(qApp, nullptr, this, nullptr);
    delete SGNodTab;
}

void TfrmNodTab::Open(int filterIndex)
{
    const QSignalBlocker block(cmbDiap);
    cmbDiap->clear();
    cmbDiap->addItems(m_table.FilterItems());
    cmbDiap->setCurrentIndex(filterIndex);
    m_table.Open(filterIndex);
    SGNodTab->Reload();
    SGNodTab->setFocus();
}

void TfrmNodTab::FocusLeftGrid(QWidget *now)
{
    if (!now || now == CancelBtn || !isAncestorOf(now) || SGNodTab->Leaving() || SGNodTab->isAncestorOf(now))
        return;
    SGNodTab->LeaveCurrent();
}

void TfrmNodTab::OKBtnClick()
{
    if (SGNodTab->HasFocusWithin() || m_table.Edited)
        SGNodTab->LeaveCurrent();
    m_table.Confirm(false);
    accept();
}

void TfrmNodTab::cmbDiapChange(int index, const QString &text)
{
    m_table.ChangeFilter(index, text);
    SGNodTab->Reload();
}

void TfrmNodTab::EditRowNode()
{
    int n = m_table.RowNumber(m_table.CurRow);
    if (!NodeExist(m_t, n))
        return;
    if (EditNodeDialog(this, QStringLiteral("Узел %1").arg(n), n, IsFreeNode(m_t, n)) && m_host.SetModified)
        m_host.SetModified(true);
    m_table.Fill();
    SGNodTab->Reload();
}

void TfrmNodTab::N1Click(const QString &text)
{
    const int row = m_table.CurRow;
    m_table.SetCell(ncNotes, row, text);
    SGNodTab->RefreshRow(row);
}

int EditNodTab(QWidget *owner, int filter)
{
    TNetworkTables &t = NodeDialogHost.Tables ? *NodeDialogHost.Tables : Net;
    if (NodeCount(t) == 0)
        return 2;
    const TTableBackup backup(t, TTableBackup::tkNodes);
    TfrmNodTab form(t, BranchDialogHost.Form, owner);
    form.Open(filter);
    if (form.exec() != QDialog::Accepted) {
        backup.Restore(t);
        return 2;
    }
    return 1;
}
