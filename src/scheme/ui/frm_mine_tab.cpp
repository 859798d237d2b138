#include "scheme/ui/frm_mine_tab.h"

#include "platform/prompt.h"
#include "platform/ui/column_fit.h"
#include "scheme/ui/cell_grid.h"
#include "scheme/ui/frm_branch.h"

#include <QtGui/QAction>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QMenu>

namespace {

const std::vector<int> ColumnWidths = {42, 45, 43, 179, 64, 64, 64, 64, 64, 64,
                                       64, 64, 64, 64, 78, 77, 59, 70, 75, 73};

// The popup of kinds writes into the kind column while one of these is current.
bool TypeMenuColumn(int col) { return col <= bcName || col == bcType; }

} // namespace

TfrmMineTab::TfrmMineTab(TNetworkTables &tables, TBranchFormHost host, QWidget *parent)
    : TTableEditorForm(std::make_unique<TBranchTable>(tables, host),
                       LookupText(QStringLiteral("Корректировка информации о ветвях")),
                       LookupText(QStringLiteral("Показать ветви")), 3, ColumnWidths, parent),
      m_t(tables), m_host(host), m_table(static_cast<TBranchTable &>(Cells()))
{
    setObjectName(QStringLiteral("frmMineTab"));
    resize(980, 560);
    SGMineTab = m_grid;
    SGMineTab->setObjectName(QStringLiteral("SGMineTab"));
    cmbDiap->setMinimumWidth(420);

    pmnTyp = new QMenu(this);
    pmnTyp->setObjectName(QStringLiteral("pmnTyp"));
    for (const QString &name : GetBranchTypeList())
        pmnTyp->addAction(name, this, [this, name] { TypeMenuItemClick(name); });

    connect(SGMineTab, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (TypeMenuColumn(m_table.CurCol))
            ShowTypeMenu(SGMineTab->viewport()->mapToGlobal(pos));
    });
    connect(SGMineTab, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.column() == bcType && m_table.CurCol == bcType)
            ShowTypeMenu(SGMineTab->GlobalCellRect(bcType, m_table.CurRow).bottomRight());
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
}

void TfrmMineTab::Open(int filterIndex, const QString &range)
{
    ShowFilter(filterIndex, range);
    m_table.Open(filterIndex, range);
    SGMineTab->Reload();
    WidenColumnsToContents(*SGMineTab);
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

void TfrmMineTab::EditRowBranch()
{
    const int n = m_table.RowItem(m_table.CurRow);
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
    m_table.SetCell(bcType, m_table.CurRow, name);
    SGMineTab->RefreshRow(m_table.CurRow);
}

int EditBranchTable(QWidget *owner, int filter, const QString &range)
{
    TNetworkTables &t = BranchDialogHost.Tables ? *BranchDialogHost.Tables : Net;
    if (BranchCount(t) == 0)
        return 2;
    const TTableBackup backup(t, BranchDialogHost.Doc);
    TfrmMineTab form(t, BranchDialogHost.Form, owner);
    form.Open(filter, range);
    const bool confirmed = form.exec() == QDialog::Accepted;
    if (!confirmed)
        backup.Restore(t);
    if (BranchDialogHost.TableClosed)
        BranchDialogHost.TableClosed();
    return confirmed ? 1 : 2;
}
