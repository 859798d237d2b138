#pragma once
// "Корректировка информации об  узлах": the node table editor. Altitudes, the
// surface and exit flags and the 3D coordinates of many nodes are corrected
// at once in a validating grid; F3 opens the node dialog of the row; Cancel
// puts back the tables copied when the window opened.
#include "scheme/node_table.h"
#include "scheme/ui/table_editor_form.h"

class QMenu;

class TfrmNodTab : public TTableEditorForm
{
    Q_OBJECT

public:
    TfrmNodTab(TNetworkTables &tables, TBranchFormHost host, QWidget *parent = nullptr);

    // Fills the window for a filter (0 all, 1 incomplete) before it is shown.
    void Open(int filterIndex);
    TNodeTable &Table() { return m_table; }

    TCellGrid *SGNodTab;
    QMenu *pmnSurf;

    // F3: the node dialog of the current row.
    void EditRowNode();
    // An item of the notes popup.
    void N1Click(const QString &text);

private:
    TNetworkTables &m_t;
    TBranchFormHost m_host;
    TNodeTable &m_table;
};

// The node table on the tables of the node dialogs' host: 1 (OK) or 2
// (Cancel, and at once without a window when there is no node). Cancel
// restores the tables as they were. filter: 0 all, 1 incomplete.
int EditNodTab(QWidget *owner, int filter);
