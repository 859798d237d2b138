#pragma once
// The node table editor without its window: the filters, the seven columns
// of a node row, the check and store of each cell, nodes made from new
// rows, and the snapshots handed at OK. Its copies for Cancel are a
// TTableBackup, as the branch table's.
#include "scheme/cell_table.h"

enum TNodeColumn { ncNumber, ncAltitude, ncNotes, nc3dX, nc3dY, ncX, ncY, NodeColumnCount };

class TNodeTable : public TCellTable
{
public:
    explicit TNodeTable(TNetworkTables &tables, TBranchFormHost host = {});

    // "1-" and the largest node number, then "С неполной информацией".
    QStringList FilterItems() const override;
    QStringList Headers() const override;
    bool RowExists(int row) const override;
    // The texts of the notes column and of its popup.
    static QString SurfaceText();
    static QString ExitText();
    static QString BothText();

    void Open(int filterIndex);
    void Confirm(bool leaveCell = true) override;

    std::vector<bool> ShownNodes;
    std::vector<bool> ChangedNodes;
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
    // Stores the altitude and notes of a row into node n; true when a value changed.
    bool StoreValue(int col, int n, const QString &text);
};
