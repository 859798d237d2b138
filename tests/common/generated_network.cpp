#include "generated_network.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

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

namespace {

constexpr int BranchesPerPanel = 16;

// A small generator of our own, so that a seed gives the same network on every library.
class TRandom
{
public:
    explicit TRandom(unsigned seed) : m_state(seed * 2654435761u + 0x9E3779B97F4A7C15ull) {}
    double Uniform(double low, double high)
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return low + (high - low) * static_cast<double>(m_state >> 11) / 9007199254740992.0;
    }
    int Below(int n) { return std::min(n - 1, static_cast<int>(Uniform(0, n))); }
    // Spread evenly over the decades between low and high.
    double LogUniform(double low, double high) { return low * std::pow(high / low, Uniform(0, 1)); }

private:
    std::uint64_t m_state;
};

} // namespace

int MineNetworkPanels(int branches)
{
    return std::max(2, (branches - 4) / BranchesPerPanel);
}

int MakeMineNetwork(TNetworkTables &t, int panels, unsigned seed, int fans, int intakes)
{
    ClearAllItems(t);
    TRandom rnd(seed);
    fans = std::max(fans, 1);
    intakes = std::max(intakes, 1);
    // Within the tables' capacity: each panel takes 16 branches, each fan 2.
    panels = std::clamp(panels, 2, (MaxItems - 1 - intakes - 2 * fans) / BranchesPerPanel);
    fans = std::min(fans, panels);
    intakes = std::min(intakes, panels);
    const int step = 40;
    std::vector<int> intake(static_cast<std::size_t>(panels) + 1), ret(intake.size());
    for (int i = 0; i <= panels; ++i) {
        intake[i] = AddNode(t, 200 + i * step, 400, false);
        ret[i] = AddNode(t, 200 + i * step, 200, false);
    }
    // Intake shafts at the start of the intake main and evenly along it.
    for (int k = 0; k < intakes; ++k) {
        const int at = k * panels / intakes;
        const int top = AddNode(t, 190 + at * step, 500, true);
        AddBranch(t, top, intake[at], rnd.Uniform(0.002, 0.006));
    }
    for (int i = 0; i < panels; ++i) {
        AddBranch(t, intake[i], intake[i + 1], rnd.Uniform(0.002, 0.008));
        AddBranch(t, ret[i + 1], ret[i], rnd.Uniform(0.003, 0.01));
    }
    for (int k = 0; k < fans; ++k) {
        const int at = k * panels / fans;
        const int bottom = AddNode(t, 200 + at * step, 100, false);
        const int top = AddNode(t, 200 + at * step, 50, true);
        AddBranch(t, ret[at], bottom, rnd.Uniform(0.002, 0.004));
        AddBranch(t, bottom, top, rnd.Uniform(0.003, 0.006), rnd.Uniform(250, 400));
    }
    // The far ends of the mains meet through a stopping.
    AddBranch(t, intake[panels], ret[panels], rnd.LogUniform(20, 200));
    for (int i = 0; i < panels; ++i) {
        const int x = 200 + i * step;
        int g[4], r[4];
        for (int k = 0; k < 4; ++k) {
            g[k] = AddNode(t, x + 10, 420 + k * 30, false);
            r[k] = AddNode(t, x + 30, 420 + k * 30, false);
        }
        const int heading = AddNode(t, x + 20, 450, false);
        AddBranch(t, intake[i], g[0], rnd.Uniform(0.01, 0.03));
        for (int k = 0; k < 3; ++k) {
            AddBranch(t, g[k], g[k + 1], rnd.Uniform(0.01, 0.04));
            AddBranch(t, r[k + 1], r[k], rnd.Uniform(0.01, 0.04));
        }
        AddBranch(t, g[3], r[3], rnd.Uniform(0.2, 0.8));               // longwall
        AddBranch(t, r[0], ret[i], rnd.Uniform(0.5, 5));                // regulator
        AddBranch(t, g[1], heading, rnd.Uniform(0.5, 1.5), i % 3 == 0 ? rnd.Uniform(20, 50) : 0);
        AddBranch(t, heading, r[1], rnd.Uniform(0.5, 1.5));
        // Leaking stoppings between intake and return.
        AddBranch(t, intake[i], ret[i], rnd.LogUniform(10, 300));
        AddBranch(t, g[0], r[0], rnd.LogUniform(20, 500));
        AddBranch(t, g[2], r[2], rnd.LogUniform(20, 500));
    }
    RebuildAllEdgeTurns(t);
    return BranchCount(t);
}

int MakeRandomNetwork(TNetworkTables &t, int nodes, int branches, unsigned seed)
{
    ClearAllItems(t);
    TRandom rnd(seed);
    nodes = std::clamp(nodes, 2, 1000);
    std::vector<int> node(static_cast<std::size_t>(nodes));
    for (int i = 0; i < nodes; ++i)
        node[i] = AddNode(t, 100 + (i % 40) * 30, 100 + (i / 40) * 30, false);
    std::vector<int> surface;
    for (int k = 0; k < 3; ++k)
        surface.push_back(AddNode(t, 50 + 400 * k, 50, true));
    const auto resistance = [&] { return rnd.LogUniform(0.005, 5); };
    // A random tree keeps the network connected; a second branch for every
    // node that has only one keeps dead ends out.
    std::vector<int> degree(static_cast<std::size_t>(nodes), 0);
    const auto link = [&](int a, int b, double h = 0) {
        AddBranch(t, node[a], node[b], resistance(), h);
        ++degree[a];
        ++degree[b];
    };
    for (int i = 1; i < nodes; ++i)
        link(rnd.Below(i), i);
    for (int k = 0; k < 3; ++k) {
        const int at = rnd.Below(nodes);
        if (k == 0)
            AddBranch(t, surface[k], node[at], resistance());
        else
            AddBranch(t, node[at], surface[k], resistance(), k == 1 || rnd.Below(2) ? rnd.Uniform(80, 400) : 0);
        ++degree[at];
    }
    for (int i = 0; i < nodes; ++i)
        if (degree[i] < 2) {
            int other = rnd.Below(nodes - 1);
            if (other >= i)
                ++other;
            link(i, other);
        }
    while (BranchCount(t) < branches) {
        const int a = rnd.Below(nodes);
        const int b = rnd.Below(nodes);
        if (a != b)
            link(a, b, rnd.Below(20) == 0 ? rnd.Uniform(5, 60) : 0);
    }
    RebuildAllEdgeTurns(t);
    return BranchCount(t);
}

int AddParallelPair(TNetworkTables &t, int node, double r1, double r2)
{
    const int x = AddNode(t, t.NodeX[node] + 10, t.NodeY[node] + 10, false);
    AddBranch(t, node, x, r1);
    AddBranch(t, node, x, r2);
    RebuildAllEdgeTurns(t);
    return x;
}

int AddParallelBranches(TNetworkTables &t, int node, int count, double r)
{
    const int x = AddNode(t, t.NodeX[node] + 10, t.NodeY[node] + 10, false);
    for (int k = 0; k < count; ++k)
        AddBranch(t, node, x, r * (1 + 0.01 * (k % 17)));
    RebuildAllEdgeTurns(t);
    return x;
}

int AddDeadEndGrid(TNetworkTables &t, int node, int side, double r)
{
    const int first = MaxBranchNo(t) + 1;
    std::vector<int> grid(static_cast<std::size_t>(side * side));
    for (int row = 0; row < side; ++row)
        for (int col = 0; col < side; ++col)
            grid[row * side + col] = AddNode(t, t.NodeX[node] + 20 + 10 * col, t.NodeY[node] + 20 + 10 * row, false);
    const auto at = [&](int row, int col) { return grid[row * side + col]; };
    for (int row = 0; row < side; ++row)
        for (int col = 0; col < side; ++col) {
            if (col + 1 < side)
                AddBranch(t, at(row, col), at(row, col + 1), r * (1 + 0.1 * ((row + col) % 7)));
            if (row + 1 < side)
                AddBranch(t, at(row, col), at(row + 1, col), r * (1 + 0.1 * ((row * col) % 5)));
        }
    AddBranch(t, node, at(0, 0), r);
    AddBranch(t, node, at(side - 1, side - 1), 2 * r);
    RebuildAllEdgeTurns(t);
    return first;
}

std::vector<int> BusiestBranches(const TNetworkTables &t, int count)
{
    std::vector<int> busiest;
    for (int b = 1; b <= MaxBranchNo(t); ++b)
        if (BranchExist(t, b) && t.BranchAuxDepression[b] == 0 && !t.NodeIsSurface[t.BranchStartNode[b]]
            && !t.NodeIsSurface[t.BranchEndNode[b]])
            busiest.push_back(b);
    std::stable_sort(busiest.begin(), busiest.end(),
                     [&](int a, int b) { return std::fabs(t.BranchQ[a]) > std::fabs(t.BranchQ[b]); });
    busiest.resize(std::min(busiest.size(), static_cast<std::size_t>(std::max(count, 0))));
    return busiest;
}

int AddCancellingFan(TNetworkTables &t, int b, double r)
{
    const double q = t.BranchQ[b];
    // The fan acts from the start node to the end node against the drop
    // R·Q·|Q| − H that b's own law gives in that direction.
    const double drop = t.BranchR[b] * q * std::fabs(q) - t.BranchAuxDepression[b];
    const int fan = AddBranch(t, t.BranchStartNode[b], t.BranchEndNode[b], r, -drop);
    RebuildAllEdgeTurns(t);
    return fan;
}

void AddAltitudesAndTemperatures(TNetworkTables &t)
{
    for (int n = 1; n <= MaxNodeNo(t); ++n)
        t.NodeAltitude[n] = t.NodeIsSurface[n] ? 0 : -300 - 20 * (n % 7);
    for (int b = 1; b <= MaxBranchNo(t); ++b) {
        t.BranchStartTemp[b] = 15 + b % 10;
        t.BranchEndTemp[b] = t.BranchStartTemp[b] + 2;
        const double h = std::fabs(t.BranchAuxDepression[b]);
        if (h > 0 && h < 100)
            t.BranchType[b] = 8;
    }
}
