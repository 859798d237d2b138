#include "scheme/ui/frm_mine_tab.h"

#include "platform/prompt.h"
#include "scheme/ui/cell_grid.h"
#include "scheme/ui/frm_branch.h"

#include <QtGui/QAction>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

namespace {

constexpr int ColumnWidths[BranchColumnCount] = {42, 45, 43, 179, 64, 64, 64, 64, 64, 64,
                                                 64, 64, 64, 64, 78, 77, 59, 70, 75, 73};

// The popup of kinds writes into the kind column while one of these is current.
bool TypeMenuColumn(int col) { return col <= bcName || col == bcType; }

} // namespace

TfrmMineTab::TfrmMineTab(TNetworkTables &tables, TBranchFormHost host, QWidget *parent)
    : QDialog(parent), m_t(tables), m_host(host), m_table(tables, host)
{
    setObjectName(QStringLiteral("frmMineTab"));
    setWindowTitle(LookupText(QStringLiteral("Корректировка информации о ветвях")));
    resize(980, 560);

    SGMineTab = new TCellGrid(this);
    SGMineTab->setObjectName(QStringLiteral("SGMineTab"));
    SGMineTab->SetTable(&m_table, 3);
    for (int c = 0; c < BranchColumnCount; ++c)
        SGMineTab->setColumnWidth(c, ColumnWidths[c]);
    SGMineTab->setContextMenuPolicy(Qt::CustomContextMenu);

    lblDiap = new QLabel(LookupText(QStringLiteral("Показать ветви")), this);
    cmbDiap = new QComboBox(this);
    cmbDiap->setObjectName(QStringLiteral("cmbDiap"));
    cmbDiap->setEditable(true);
    cmbDiap->setInsertPolicy(QComboBox::NoInsert);
    cmbDiap->setMinimumWidth(420);
    lblDiap->setBuddy(cmbDiap);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    CancelBtn = new QPushButton(LookupText(QStringLiteral("Отмена")), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    // Enter finishes a cell in the grid; it does not close the window.
    OKBtn->setAutoDefault(false);
    CancelBtn->setAutoDefault(false);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblDiap);
    bottom->addWidget(cmbDiap, 1);
    bottom->addStretch();
    bottom->addWidget(OKBtn);
    bottom->addWidget(CancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SGMineTab, 1);
    layout->addLayout(bottom);

    pmnTyp = new QMenu(this);
    pmnTyp->setObjectName(QStringLiteral("pmnTyp"));
    for (const QString &name : GetBranchTypeList())
        pmnTyp->addAction(name, this, [this, name] { TypeMenuItemClick(name); });

    connect(OKBtn, &QPushButton::clicked, this, &TfrmMineTab::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmbDiap, &QComboBox::activated, this, [this](int index) { cmbDiapChange(index, cmbDiap->itemText(index)); });
    connect(cmbDiap->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) { cmbDiapChange(-1, text); });
    connect(SGMineTab, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (TypeMenuColumn(m_table.CurCol))
            ShowTypeMenu(SGMineTab->viewport()->mapToGlobal(pos));
    });
    connect(SGMineTab, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.column() == bcType && m_table.CurCol == bcType) {
            const QRect cell = SGMineTab->GlobalCellRect(bcType, m_table.CurRow);
            ShowTypeMenu(cell.bottomRight());
        }
    });
    SGMineTab->KeyDown = [this](int key) {
        if (key == Qt::Key_F3)
            EditRowBranch();
    };
    SGMineTab->SideKey = [this](int col) {
        if (col != bcType)
            return false;
        ShowTypeMenu(SGMineTab->mapToGlobal(QPoint(20, 20)));
        return true;
    };
    SGMineTab->CellLeft = [this] { UpdateFirstFilterItem(); };
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        if (old && (old == SGMineTab || SGMineTab->isAncestorOf(old)))
            FocusLeftGrid(now);
    });
}

TfrmMineTab::~TfrmMineTab()
{
    // The grid shows the table, which goes before the window's children.
    disconnect(qApp, nullptr, this, nullptr);
    delete SGMineTab;
}

void TfrmMineTab::Open(int filterIndex, const QString &range)
{
    const QSignalBlocker block(cmbDiap);
    cmbDiap->clear();
    cmbDiap->addItems(m_table.FilterItems());
    if (filterIndex < 0) {
        cmbDiap->setCurrentIndex(-1);
        cmbDiap->setEditText(range);
    } else {
        cmbDiap->setCurrentIndex(filterIndex);
    }
    m_table.Open(filterIndex, range);
    SGMineTab->Reload();
    SGMineTab->setFocus();
}

void TfrmMineTab::UpdateFirstFilterItem()
{
    const QString first = m_table.FilterItems().value(0);
    if (cmbDiap->itemText(0) == first)
        return;
    // A branch was made from a row: the range of every branch reaches it.
    const QSignalBlocker block(cmbDiap);
    cmbDiap->setItemText(0, first);
    cmbDiap->setCurrentIndex(0);
}

void TfrmMineTab::FocusLeftGrid(QWidget *now)
{
    // The grid's own message boxes, and Cancel, which puts everything back,
    // do not leave the cell.
    if (!now || now == CancelBtn || !isAncestorOf(now) || SGMineTab->Leaving() || SGMineTab->isAncestorOf(now))
        return;
    SGMineTab->LeaveCurrent();
}

void TfrmMineTab::OKBtnClick()
{
    // Leaving the grid for the button has checked the cell already, unless
    // it was typed into since.
    if (SGMineTab->HasFocusWithin() || m_table.Edited)
        SGMineTab->LeaveCurrent();
    m_table.Confirm(false);
    accept();
}

void TfrmMineTab::cmbDiapChange(int index, const QString &text)
{
    m_table.ChangeFilter(index, text);
    SGMineTab->Reload();
}

void TfrmMineTab::EditRowBranch()
{
    const int n = m_table.RowNumber(m_table.CurRow);
    if (!BranchPresent(m_t, n))
        return;
    const bool deletable = !m_host.CanDeleteObject || m_host.CanDeleteObject(n);
    if (EditBranchDialog(this, QStringLiteral("Ветвь %1").arg(n), n, deletable) && m_host.SetModified)
        m_host.SetModified(true);
    // Whatever the dialog did: a deleted branch's row must not stay to
    // be stored into again.
    m_table.Fill();
    SGMineTab->Reload();
}

void TfrmMineTab::ShowTypeMenu(const QPoint &globalPos)
{
    pmnTyp->popup(globalPos);
}

void TfrmMineTab::TypeMenuItemClick(const QString &name)
{
    if (!TypeMenuColumn(m_table.CurCol))
        return;
    const int row = m_table.CurRow;
    m_table.SetCell(bcType, row, name);
    SGMineTab->RefreshRow(row);
}

int EditBranchTable(QWidget *owner, int filter, const QString &range)
{
    TNetworkTables &t = BranchDialogHost.Tables ? *BranchDialogHost.Tables : Net;
    if (BranchCount(t) == 0)
        return 2;
    const TTableBackup backup(t, TTableBackup::tkBranches);
    TfrmMineTab form(t, BranchDialogHost.Form, owner);
    form.Open(filter, range);
    const int result = form.exec();
    if (result != QDialog::Accepted) {
        backup.Restore(t);
        return 2;
    }
    return 1;
}
