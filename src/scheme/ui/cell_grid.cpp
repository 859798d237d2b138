#include "scheme/ui/cell_grid.h"

#include "scheme/cell_table.h"

#include <QtCore/QItemSelectionModel>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QHeaderView>

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

TCellGrid::TCellGrid(QWidget *parent) : QTableWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    setSelectionModel(new TGuardedSelection(model(), this));
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (!m_loading && m_table)
            m_table->SetCell(item->column(), item->row() + 1, item->text());
    });
}

void TCellGrid::SetTable(TCellTable *table, int fixedColumns)
{
    m_table = table;
    m_fixedColumns = fixedColumns;
    setColumnCount(table->ColumnCount());
    setHorizontalHeaderLabels(table->Headers());
}

void TCellGrid::ShowRow(int row)
{
    const int core = row + 1;
    const QBrush fixed = palette().brush(QPalette::Button);
    for (int c = 0; c < columnCount(); ++c) {
        QTableWidgetItem *cell = item(row, c);
        if (!cell) {
            cell = new QTableWidgetItem;
            setItem(row, c, cell);
        }
        cell->setText(m_table->Cell(c, core));
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (m_table->Editable(c, core))
            flags |= Qt::ItemIsEditable;
        cell->setFlags(flags);
        if (c < m_fixedColumns)
            cell->setBackground(fixed);
    }
}

void TCellGrid::Reload()
{
    m_loading = true;
    setRowCount(m_table->RowCount() - 1);
    for (int r = 0; r < rowCount(); ++r)
        ShowRow(r);
    m_loading = false;
    SetCurrentUnchecked(m_table->CurCol, m_table->CurRow);
}

void TCellGrid::SetCurrentUnchecked(int col, int row)
{
    m_unchecked = true;
    setCurrentCell(std::clamp(row - 1, 0, std::max(rowCount() - 1, 0)), std::clamp(col, 0, columnCount() - 1));
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
        if (oldRow >= 1 && oldRow - 1 < rowCount()) {
            m_loading = true;
            ShowRow(oldRow - 1);
            m_loading = false;
        }
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
    } else if (result == TLeave::Allowed && row >= 1 && row - 1 < rowCount()) {
        m_loading = true;
        ShowRow(row - 1);
        m_loading = false;
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
        QTableWidget::keyPressEvent(event);
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
    if (key == Qt::Key_Down && !editing && currentRow() == rowCount() - 1) {
        // A row for a new item, when the last one is left as allowed.
        const int col = m_table->CurCol;
        if (!m_table->AppendRow())
            return;
        m_loading = true;
        setRowCount(rowCount() + 1);
        ShowRow(rowCount() - 1);
        m_loading = false;
        if (!TryMove(model()->index(rowCount() - 1, col))) {
            // Refused: the cell left keeps the selection, the row goes again.
            m_table->RemoveLastRow();
            m_loading = true;
            setRowCount(rowCount() - 1);
            m_loading = false;
            return;
        }
        SetCurrentUnchecked(col, rowCount());
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void TCellGrid::mousePressEvent(QMouseEvent *event)
{
    if (m_table)
        m_table->LastKey = TGridKey::Other;
    QTableWidget::mousePressEvent(event);
}
