#include "generated_network.h"

#include <algorithm>
#include <cmath>

namespace {

int AddNode(TNetworkTables &t, int x, int y, bool surface)
{
    const int n = GetNewNodeNo(t, false);
    CreateNode(t, n);
    t.NodeX[n] = static_cast<std::int16_t>(x);
    t.NodeY[n] = static_cast<std::int16_t>(y);
    t.NodeIsSurface[n] = surface;
    return n;
}

int AddBranch(TNetworkTables &t, int from, int to, double r, double h = 0)
{
    const int b = GetNewBranchNo(t, false);
    CreateBranch(t, b);
    t.BranchStartNode[b] = static_cast<std::int16_t>(from);
    t.BranchEndNode[b] = static_cast<std::int16_t>(to);
    t.BranchR[b] = r;
    t.BranchAuxDepression[b] = h;
    t.BranchLength[b] = 100;
    t.BranchArea[b] = 10;
    t.BranchName[b] = QStringLiteral("Выработка %1").arg(b);
    t.BranchLabelFlags[b] = lfNumber | lfQ;
    return b;
}

} // namespace

int MakeGridNetwork(TNetworkTables &t, int branches)
{
    ClearAllItems(t);
    // A cols × rows grid has about 2 × cols × rows branches.
    const int cols = std::max(2, static_cast<int>(std::sqrt(std::max(branches - 3, 4) / 2.0)));
    const int rows = std::max(2, (std::max(branches - 3, 4) / 2) / cols);
    const int step = 50;
    std::vector<int> grid(static_cast<std::size_t>(cols * rows));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            grid[r * cols + c] = AddNode(t, 100 + c * step, 100 + r * step, false);
    const auto at = [&](int r, int c) { return grid[r * cols + c]; };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            if (c + 1 < cols && BranchCount(t) < branches - 3)
                AddBranch(t, at(r, c), at(r, c + 1), 0.01 + 0.001 * ((r + c) % 7));
            if (r + 1 < rows && BranchCount(t) < branches - 3)
                AddBranch(t, at(r, c), at(r + 1, c), 0.02 + 0.001 * ((r * c) % 5));
        }
    const int intake = AddNode(t, 50, 50, true);
    const int exhaust = AddNode(t, 150 + cols * step, 150 + rows * step, true);
    AddBranch(t, intake, at(0, 0), 0.005);
    AddBranch(t, at(rows - 1, cols - 1), exhaust, 0.005, 150);
    RebuildAllEdgeTurns(t);
    return BranchCount(t);
}
