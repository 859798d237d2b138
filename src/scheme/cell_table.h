#pragma once
// What the branch and node tables share apart from their windows: the cell
// texts of a grid with one header row, the cell being edited, and the one
// rule for leaving it. Every way of leaving a cell (mouse, Tab, arrows, focus
// loss, OK) goes through LeaveCell, which checks the cell and stores it into
// the tables; a refused cell keeps the selection. Row 0 holds the headers;
// column 0 of every data row holds the item number.
#include "model/network.h"
#include "scheme/branch_form.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <functional>
#include <vector>

// The last key pressed in the grid, as far as leaving a cell cares.
enum class TGridKey { Other, Up };

// What leaving a cell did.
enum class TLeave {
    Refused,   // the cell was refused; the selection stays
    Allowed,   // the move may go on
    Refilled,  // the table was filled again (an empty new row dropped); (0, 1) is current
};

class TCellTable
{
public:
    TCellTable(TNetworkTables &tables, TBranchFormHost host) : m_t(tables), m_host(std::move(host)) {}
    virtual ~TCellTable() = default;

    int ColumnCount() const { return static_cast<int>(Cells.empty() ? Headers().size() : Cells.front().size()); }
    virtual QStringList Headers() const = 0;
    // Rows including the header row; never below 2.
    int RowCount() const { return static_cast<int>(Cells.size()); }
    const QString &Cell(int col, int row) const { return Cells[static_cast<std::size_t>(row)][col]; }
    // What the user typed. The number of an existing item cannot be changed.
    void SetCell(int col, int row, const QString &text);
    // Whether the cell may be typed into.
    bool Editable(int col, int row) const;

    // The item number of a data row, 0 when its number cell is empty or no number.
    int RowNumber(int row) const;
    // The item a row was filled with or made, 0 for a new row.
    int RowItem(int row) const { return row >= 1 && row < RowCount() ? RowItems[static_cast<std::size_t>(row)] : 0; }
    // The row stands for an existing item.
    virtual bool RowExists(int row) const = 0;

    // The items of the filter's combo; item 0 is "1-" and the largest number.
    virtual QStringList FilterItems() const = 0;
    // Filters and fills every row again from the tables; (0, 1) becomes current.
    void Filter(const QString &filterText, int filterIndex);
    // OK: the current cell is left unless leaveCell is false (the window has
    // left it already), then every item made or changed here is handed to
    // the document.
    virtual void Confirm(bool leaveCell = true) = 0;
    void Fill();
    // Adds an empty row below the last for a new item; false when the last
    // row is itself empty.
    bool AppendRow();
    // Takes back the row AppendRow added.
    void RemoveLastRow();

    // Leaves the current cell for (col, row): checks and stores it, and when
    // allowed, (col, row) becomes current.
    TLeave LeaveCell(int col, int row);
    // The current cell is left without a destination (focus loss, OK).
    TLeave LeaveCurrentCell() { return LeaveCell(CurCol, CurRow); }

    int CurCol = 0;
    int CurRow = 1;
    TGridKey LastKey = TGridKey::Other;
    // Something was typed since the current cell was last left or refused.
    bool Edited = false;

protected:
    // The shown item numbers for a filter (index ≥ 0 or, for −1, the text).
    virtual void ApplyFilter(const QString &filterText, int filterIndex) = 0;
    virtual bool Shown(int n) const = 0;
    virtual QStringList RowTexts(int n) const = 0;
    // Checks the cell; shows the messages of a refusal.
    virtual bool CheckCell(int col, int row) = 0;
    // Stores an accepted cell of an existing row.
    virtual void StoreCell(int col, int row) = 0;
    // Leaves an accepted cell of a new row (fromCol, row) for (toCol, toRow):
    // the number and the cells that make the item are filled in order, and
    // leaving the last of them makes the item. False refuses the move.
    virtual bool LeaveNewRowCell(int fromCol, int row, int toCol, int toRow) = 0;
    // The rows of the table are the shown items of these numbers.
    virtual int ItemCount() const = 0;

    // Reads the shared number list ("1-10, 15"): the numbers of existing
    // items that lie in its ranges. A number beyond the integer range gets
    // the converter's message and ends the list.
    static void ParseShown(const QString &text, const std::function<void(int)> &show);
    static void ShowTableError(const QString &text);

    TNetworkTables &m_t;
    TBranchFormHost m_host;
    std::vector<QStringList> Cells;
    std::vector<int> RowItems;
};

// "Недопустимое значение".
QString InvalidValueText();
