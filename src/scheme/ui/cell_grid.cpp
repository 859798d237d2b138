#include "scheme/ui/cell_grid.h"

#include "scheme/cell_table.h"

#include <QtCore/QAbstractTableModel>
#include <QtCore/QItemSelectionModel>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QHeaderView>

// The table's cells as an item model: row r of the grid is data row r + 1.
class TCellModel : public QAbstractTableModel
{
public:
    TCellModel(TCellTable *table, int fixedColumns, QObject *parent)
        : QAbstractTableModel(parent), m_table(table), m_fixedColumns(fixedColumns)
    {
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_table->RowCount() - 1;
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_table->ColumnCount();
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return m_table->Cell(index.column(), index.row() + 1);
        if (role == Qt::BackgroundRole && index.column() < m_fixedColumns)
            return QApplication::palette().brush(QPalette::Button);
        return {};
    }
    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (role != Qt::EditRole)
            return false;
        m_table->SetCell(index.column(), index.row() + 1, value.toString());
        emit dataChanged(index, index);
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (m_table->Editable(index.column(), index.row() + 1))
            f |= Qt::ItemIsEditable;
        return f;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return m_table->RowCount() > 0 ? m_table->Cell(section, 0) : m_table->Headers().value(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    void Reset()
    {
        beginResetModel();
        endResetModel();
    }
    void RowChanged(int row) { emit dataChanged(index(row, 0), index(row, columnCount() - 1)); }
    void BeginAppend() { beginInsertRows({}, rowCount(), rowCount()); }
    void EndAppend() { endInsertRows(); }
    void BeginRemoveLast() { beginRemoveRows({}, rowCount() - 1, rowCount() - 1); }
    void EndRemoveLast() { endRemoveRows(); }

private:
    TCellTable *m_table;
    int m_fixedColumns;
};

namespace {

// Lets the current index change only when the grid allows it, and selects
// nothing but the current cell.
class TGuardedSelection : public QItemSelectionModel
{
public:
    TGuardedSelection(QAbstractItemModel *model, TCellGrid *grid) : QItemSelectionModel(model, grid), m_grid(grid) {}

    void setCurrentIndex(const QModelIndex &index, QItemSelectionModel::SelectionFlags command) override
    {
        if (index == currentIndex() || !index.isValid() || m_grid->TryMove(index))
            QItemSelectionModel::setCurrentIndex(index, command);
    }
    void select(const QItemSelection &selection, QItemSelectionModel::SelectionFlags command) override
    {
        if (selection.isEmpty() || selection.contains(currentIndex()))
            QItemSelectionModel::select(selection, command);
    }
    using QItemSelectionModel::select;

private:
    TCellGrid *m_grid;
};

} // namespace

TCellGrid::TCellGrid(QWidget *parent) : QTableView(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
}

void TCellGrid::SetTable(TCellTable *table, int fixedColumns)
{
    m_table = table;
    m_model = new TCellModel(table, fixedColumns, this);
    QItemSelectionModel *old = selectionModel();
    setModel(m_model);
    setSelectionModel(new TGuardedSelection(m_model, this));
    delete old;
}

void TCellGrid::RefreshRow(int row)
{
    if (m_model && row >= 1 && row < m_table->RowCount())
        m_model->RowChanged(row - 1);
}

void TCellGrid::Reload()
{
    m_loading = true;
    m_model->Reset();
    m_loading = false;
    SetCurrentUnchecked(m_table->CurCol, m_table->CurRow);
}

void TCellGrid::SetCurrentUnchecked(int col, int row)
{
    m_unchecked = true;
    const int rows = m_model->rowCount();
    const int cols = m_model->columnCount();
    const QModelIndex index = m_model->index(std::clamp(row - 1, 0, std::max(rows - 1, 0)), std::clamp(col, 0, cols - 1));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_unchecked = false;
}

void TCellGrid::CommitEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    // The open editor is the focused child of the cells' viewport.
    QWidget *editor = QApplication::focusWidget();
    if (editor && viewport()->isAncestorOf(editor))
        commitData(editor);
}

bool TCellGrid::TryMove(const QModelIndex &index)
{
    if (m_unchecked || m_loading || !m_table)
        return true;
    if (m_leaving)
        return false;
    m_leaving = true;
    CommitEditor();
    const int oldRow = m_table->CurRow;
    const TLeave result = m_table->LeaveCell(index.column(), index.row() + 1);
    m_leaving = false;
    switch (result) {
    case TLeave::Refused:
        return false;
    case TLeave::Refilled:
        // The table was filled again under the move: show it, and go where
        // the move was going as far as the rows still reach.
        Reload();
        m_table->CurCol = index.column();
        m_table->CurRow = std::min(index.row() + 1, m_table->RowCount() - 1);
        SetCurrentUnchecked(m_table->CurCol, m_table->CurRow);
        return false;
    case TLeave::Allowed:
        // Storing may have changed the row left (a new item's row is filled
        // from the tables).
        RefreshRow(oldRow);
        if (CellLeft)
            CellLeft();
        return true;
    }
    return false;
}

bool TCellGrid::LeaveCurrent()
{
    if (!m_table || m_leaving)
        return false;
    m_leaving = true;
    CommitEditor();
    const int row = m_table->CurRow;
    const TLeave result = m_table->LeaveCurrentCell();
    m_leaving = false;
    if (result == TLeave::Refilled) {
        Reload();
    } else if (result == TLeave::Allowed) {
        RefreshRow(row);
        if (CellLeft)
            CellLeft();
    }
    return result != TLeave::Refused;
}

bool TCellGrid::HasFocusWithin() const
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == this || isAncestorOf(focus));
}

QRect TCellGrid::GlobalCellRect(int col, int row) const
{
    const QRect r = visualRect(model()->index(row - 1, col));
    return QRect(viewport()->mapToGlobal(r.topLeft()), r.size());
}

void TCellGrid::keyPressEvent(QKeyEvent *event)
{
    if (!m_table) {
        QTableView::keyPressEvent(event);
        return;
    }
    const int key = event->key();
    m_table->LastKey = key == Qt::Key_Up ? TGridKey::Up : TGridKey::Other;
    const bool editing = state() == QAbstractItemView::EditingState;
    if (key == Qt::Key_F3) {
        if (KeyDown)
            KeyDown(key);
        return;
    }
    if ((key == Qt::Key_Left || key == Qt::Key_Right) && !editing) {
        if (SideKey && SideKey(m_table->CurCol))
            return;
        edit(currentIndex());
        return;
    }
    if (key == Qt::Key_Down && !editing && currentIndex().row() == m_model->rowCount() - 1) {
        // A row for a new item, when the last one is left as allowed.
        const int col = m_table->CurCol;
        if (m_table->Cell(0, m_table->RowCount() - 1).trimmed().isEmpty())
            return;
        const int added = m_model->rowCount();
        m_model->BeginAppend();
        m_table->AppendRow();
        m_model->EndAppend();
        if (!TryMove(m_model->index(added, col))) {
            // Refused: the cell left keeps the selection, the row goes again.
            m_model->BeginRemoveLast();
            m_table->RemoveLastRow();
            m_model->EndRemoveLast();
            return;
        }
        SetCurrentUnchecked(col, added + 1);
        return;
    }
    QTableView::keyPressEvent(event);
}

// Tab out of an editor asks to move and then edits the next cell whatever
// the answer; a refused move must leave the editor on the refused cell.
bool TCellGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (m_table && index != currentIndex())
        return false;
    return QTableView::edit(index, trigger, event);
}

void TCellGrid::mousePressEvent(QMouseEvent *event)
{
    if (m_table)
        m_table->LastKey = TGridKey::Other;
    QTableView::mousePressEvent(event);
}
