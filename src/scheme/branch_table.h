#pragma once
// The branch table editor without its window: the filters of "Показать
// ветви", the twenty columns of a branch row, the check and store of each
// cell, branches made from new rows, the snapshots handed at OK, and the
// copies of the tables that Cancel puts back.
#include "scheme/cell_table.h"

#include <cstdint>
#include <memory>

// Columns of the branch table.
enum TBranchColumn {
    bcNumber, bcStartNode, bcEndNode, bcName, bcR, bcLength, bcArea, bcAuxDepression, bcStartTemp,
    bcEndTemp, bcHeight, bcAngle, bcPLAPosition, bcType, bcFixedDepression, bcRequiredFlow,
    bcShortCircuitR, bcNormativeFlow, bcMeasuredFlow, bcMeasuredDepression, BranchColumnCount
};

// The filters of the branch table; −1 reads a typed list of numbers.
enum TBranchFilter {
    btfRange = -1, btfAll = 0, btfIncomplete = 1, btfZeroR = 2, btfNoType = 3, btfNegativeQ = 4, btfZeroLength = 5
};

class TBranchTable : public TCellTable
{
public:
    explicit TBranchTable(TNetworkTables &tables, TBranchFormHost host = {});

    // The items of "Показать ветви", item 0 being "1-" and the largest branch number.
    QStringList FilterItems() const override;
    QStringList Headers() const override;
    bool RowExists(int row) const override;

    // Clears what the previous showing marked and fills the table for a
    // filter (for −1 the range text).
    void Open(int filterIndex, const QString &range = {});
    // A refusal of the cell left at OK is shown and nothing of it stored.
    void Confirm(bool leaveCell = true) override;

    // The kind column: the code of a kind name, 27 for the empty text and
    // for a name not in the list.
    static int TypeCodeByName(const QString &name);

    // Marks of this showing, per number: made here, changed here, nodes made here.
    std::vector<bool> ShownBranches;
    std::vector<bool> CreatedBranches;
    std::vector<bool> ChangedBranches;
    std::vector<bool> CreatedNodes;

protected:
    void ApplyFilter(const QString &filterText, int filterIndex) override;
    bool Shown(int n) const override;
    QStringList RowTexts(int n) const override;
    bool CheckCell(int col, int row) override;
    void StoreCell(int col, int row) override;
    bool LeaveNewRowCell(int fromCol, int row, int toCol, int toRow) override;
    int ItemCount() const override;

private:
    void CreateBranchFromRow(int row);
    // An end node typed into a cell: made to exist when it does not.
    void TouchEndNode(int node);
    bool CheckNumberCell(int col, int row);

    int m_filterIndex = btfAll;
    QString m_filterText;
};

// A whole copy of the network and of the document's objects, taken as a
// table editor opens and put back on Cancel, so that Cancel gives back
// exactly the network that was there: every entry of every node and branch
// (numbers, values, names, accessories, bend points, telephones) and the
// document's symbol links, installed fans, texts, balloons and the rest,
// whatever renumbers, deletions and new items the table and the property
// dialogs opened from it made meanwhile.
class TTableBackup
{
public:
    // doc: the document whose objects are put back too; may be null.
    explicit TTableBackup(const TNetworkTables &tables, TSchemeDocument *doc = nullptr);
    ~TTableBackup();
    void Restore(TNetworkTables &tables) const;

private:
    std::unique_ptr<TNetworkTables> m_copy;
    TSchemeDocument *m_doc;
    std::unique_ptr<TSchemeDocument> m_docCopy;
    // The telephone objects of the document at the copy, in list order.
    std::vector<const TTelephone *> m_phones;
};
