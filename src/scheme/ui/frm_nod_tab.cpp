#include "scheme/ui/frm_nod_tab.h"

#include "platform/prompt.h"
#include "platform/ui/column_fit.h"
#include "scheme/branch_table.h"
#include "scheme/ui/cell_grid.h"
#include "scheme/ui/frm_branch.h"
#include "scheme/ui/frm_new_node.h"

#include <QtGui/QAction>
#include <QtWidgets/QMenu>

TfrmNodTab::TfrmNodTab(TNetworkTables &tables, TBranchFormHost host, QWidget *parent)
    : TTableEditorForm(std::make_unique<TNodeTable>(tables, host),
                       LookupText(QStringLiteral("Корректировка информации об  узлах")),
                       LookupText(QStringLiteral("Показать узлы")), 0, {50, 60, 111, 64, 64, 64, 64}, parent),
      m_t(tables), m_host(host), m_table(static_cast<TNodeTable &>(Cells()))
{
    setObjectName(QStringLiteral("frmNodTab"));
    resize(560, 520);
    SGNodTab = m_grid;
    SGNodTab->setObjectName(QStringLiteral("SGNodTab"));

    pmnSurf = new QMenu(this);
    pmnSurf->setObjectName(QStringLiteral("pmnSurf"));
    for (const QString &text : {TNodeTable::SurfaceText(), TNodeTable::ExitText()})
        pmnSurf->addAction(text, this, [this, text] { N1Click(text); });

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
}

void TfrmNodTab::Open(int filterIndex)
{
    ShowFilter(filterIndex);
    m_table.Open(filterIndex);
    SGNodTab->Reload();
    WidenColumnsToContents(*SGNodTab);
    SGNodTab->setFocus();
}

void TfrmNodTab::EditRowNode()
{
    int n = m_table.RowItem(m_table.CurRow);
    if (!NodeExist(m_t, n))
        return;
    if (EditNodeDialog(this, QStringLiteral("Узел %1").arg(n), n, IsFreeNode(m_t, n)) && m_host.SetModified)
        m_host.SetModified(true);
    // Whatever the dialog did (a node deleted or renumbered), the rows follow.
    m_table.Fill();
    SGNodTab->Reload();
}

void TfrmNodTab::N1Click(const QString &text)
{
    m_table.SetCell(ncNotes, m_table.CurRow, text);
    SGNodTab->RefreshRow(m_table.CurRow);
    WidenColumnsToContents(*SGNodTab);
}

int EditNodTab(QWidget *owner, int filter)
{
    TNetworkTables &t = NodeDialogHost.Tables ? *NodeDialogHost.Tables : Net;
    if (NodeCount(t) == 0)
        return 2;
    const TTableBackup backup(t, BranchDialogHost.Doc);
    TfrmNodTab form(t, BranchDialogHost.Form, owner);
    form.Open(filter);
    const bool confirmed = form.exec() == QDialog::Accepted;
    if (!confirmed)
        backup.Restore(t);
    if (BranchDialogHost.TableClosed)
        BranchDialogHost.TableClosed();
    return confirmed ? 1 : 2;
}
