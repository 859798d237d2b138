#pragma once
// The validating grid of the branch and node tables. It shows a TCellTable
// and lets the current cell change only through TCellTable::LeaveCell: the
// mouse, Tab, the arrows and programmatic moves all pass its selection
// model, focus loss and OK call LeaveCurrent. A refused cell keeps the
// selection. Left and Right open the cell's editor instead of moving; Down
// on the last row adds a row for a new item.
#include <QtWidgets/QTableView>

#include <functional>

class TCellTable;
class TCellModel;

class TCellGrid : public QTableView
{
    Q_OBJECT

public:
    explicit TCellGrid(QWidget *parent = nullptr);
    using QTableView::edit;

    // The table shown; the first fixedColumns columns are drawn as fixed.
    void SetTable(TCellTable *table, int fixedColumns);
    // Shows every cell of the table again; its current cell becomes current.
    void Reload();
    // Shows the cells of a row (1 for the first data row) again.
    void RefreshRow(int row);
    int CurrentGridRow() const { return currentIndex().row(); }
    // The current cell is left without a destination; false when refused.
    bool LeaveCurrent();
    // True while a cell is being left (a message box may be up).
    bool Leaving() const { return m_leaving; }
    // Whether the focus is in the grid or its cell editor.
    bool HasFocusWithin() const;
    // The rectangle of a cell in global coordinates.
    QRect GlobalCellRect(int col, int row) const;

    // A key the grid does not handle itself (F3), with the table's current cell.
    std::function<void(int key)> KeyDown;
    // Left or Right where no editor is open, before the editor opens; true
    // when the owner handled it (a popup of choices).
    std::function<bool(int col)> SideKey;

    // A cell was left as allowed (it may have made an item).
    std::function<void()> CellLeft;

    // The selection model's question: may the current cell move to index?
    bool TryMove(const QModelIndex &index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;

private:
    void CommitEditor();
    void SetCurrentUnchecked(int col, int row);

    TCellTable *m_table = nullptr;
    TCellModel *m_model = nullptr;
    bool m_loading = false;
    bool m_leaving = false;
    bool m_unchecked = false;
};
