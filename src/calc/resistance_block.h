#pragma once
// The resistance block: every branch takes its resistance from one of three
// sources, a given ("actual") resistance, one measured (H / Q²) or one
// computed from the airway's geometry and alpha. The block works on copies
// of the caller's arrays; OK after typing fills every resistance that is not
// given from the measured or computed one, and the copies are written back.
// Cancel puts the copies back to what they were at opening, so the write-back
// leaves the arrays as they were.
#include "model/network.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <memory>
#include <vector>

// The arrays the block reads and writes, in the order the main window hands
// them over.
struct TRBlockArrays
{
    const TTable<std::int16_t> &BranchNo;
    const TTable<std::int16_t> &StartNode;
    const TTable<std::int16_t> &EndNode;
    TTable<std::int16_t> &Length;
    TTable<double> &R;
    TTable<double> &Alpha;
    TTable<double> &Area;
    TTable<double> &MeasuredDepression;
    TTable<double> &MeasuredFlow;
    const TTable<QString> &Names;
};
TRBlockArrays RBlockArraysOf(TNetworkTables &t);

// The grid's columns; the first three are the fixed ones.
enum TRBlockColumn {
    rcBranch, rcStartNode, rcEndNode, rcActualR, rcMeasuredR, rcComputedR, rcMeasuredH, rcMeasuredQ, rcAlpha,
    rcLength, rcArea, rcName, RBlockColumnCount
};
constexpr int RBlockFixedColumns = 3;
constexpr int RBlockHeaderRows = 2;

// The block's resistances are accepted between these bounds, kilomurgues.
constexpr double RBlockMinR = 0.00001;
constexpr double RBlockMaxR = 999;

class TRBlock
{
public:
    explicit TRBlock(const TRBlockArrays &arrays);

    // The two header texts of a column.
    static QString HeaderText(int column, int headerRow);
    static bool IsEditableColumn(int column);

    // Before the grid is shown: false (after a warning) when the scheme has
    // no branch, or has branches whose start or end node is missing.
    bool CheckTopology();

    // The measured and computed resistance of every branch, the incomplete
    // branches and their list; out-of-range results are warned about and
    // their inputs put back to their values at opening.
    void ComputeResistances();

    // One data row per branch, in number order.
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    int BranchOfRow(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
    QString CellText(int column, int row) const;
    bool IsIncompleteRow(int row) const { return m_incomplete[static_cast<std::size_t>(BranchOfRow(row))] != 0; }

    // A text typed into an editable cell ("" is 0). A text that is no number
    // or lies outside 0..the column's limit is warned about and refused.
    bool SetCellText(int column, int row, const QString &text);

    // The drop-down of incomplete branches ("Такие ветви отсутствуют" when none).
    QStringList IncompleteList;
    int IncompleteCount = 0;
    // Anything was typed into the grid.
    bool Edited = false;

    double MeasuredR(int branch) const { return m_measuredR[static_cast<std::size_t>(branch)]; }
    double ComputedR(int branch) const { return m_computedR[static_cast<std::size_t>(branch)]; }

    // "Ok": after typing, every branch without a given resistance takes its
    // measured one, else its computed one, when that is positive.
    void ApplyOk();
    // Every other way out: the copies go back to their values at opening.
    void RestoreOpening();
    // Writes the copies into the caller's arrays; true when any value there changed.
    bool WriteBack();

private:
    struct TValues
    {
        TTable<std::int16_t> Length{};
        TTable<double> R{};
        TTable<double> Alpha{};
        TTable<double> Area{};
        TTable<double> MeasuredDepression{};
        TTable<double> MeasuredFlow{};
    };

    QString ListEntry(int branch) const;
    void WarnOutOfRange(const QString &source, int branch, double r, const QString &advice) const;

    TRBlockArrays m_arrays;
    std::unique_ptr<TValues> m_work;
    std::unique_ptr<TValues> m_opening;
    std::vector<double> m_measuredR;
    std::vector<double> m_computedR;
    std::vector<std::uint8_t> m_incomplete;
    std::vector<int> m_rows;
};
