#pragma once
// "Корректировка информации о ветвях": the branch table editor. Many
// branches are reviewed and corrected at once in a validating grid, each
// cell checked and stored as it is left; F3 opens the branch dialog of the
// row; Cancel puts back the tables copied when the window opened.
#include "scheme/branch_table.h"
#include "scheme/ui/table_editor_form.h"

class QMenu;

class TfrmMineTab : public TTableEditorForm
{
    Q_OBJECT

public:
    TfrmMineTab(TNetworkTables &tables, TBranchFormHost host, QWidget *parent = nullptr);

    // Fills the window for a filter (−1: the range text) before it is shown.
    void Open(int filterIndex, const QString &range);
    TBranchTable &Table() { return m_table; }

    TCellGrid *SGMineTab;
    QMenu *pmnTyp;

    // F3: the branch dialog of the current row.
    void EditRowBranch();
    // A kind chosen from the popup.
    void TypeMenuItemClick(const QString &name);

private:
    void ShowTypeMenu(const QPoint &globalPos);
    void UpdateFirstFilterItem();

    TNetworkTables &m_t;
    TBranchFormHost m_host;
    TBranchTable &m_table;
};

// The branch table on the tables of the branch dialogs' host: 1 (OK) or 2
// (Cancel, and at once without a window when there is no branch). Cancel
// restores the tables as they were. filter: 0 to 5, or −1 for range.
int EditBranchTable(QWidget *owner, int filter, const QString &range = {});
