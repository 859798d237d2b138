#include "calc/mesh_solver.h"

#include "model/topology.h"

#include <algorithm>
#include <cmath>

namespace {

bool Above(double value, long double threshold)
{
    return static_cast<long double>(value) > threshold;
}

// The largest double not above an extended threshold: a double exceeds the
// threshold exactly when it exceeds this, so the passes compare doubles only.
double DoubleBelow(long double threshold)
{
    double below = static_cast<double>(threshold);
    if (static_cast<long double>(below) > threshold)
        below = std::nextafter(below, -HUGE_VAL);
    return below;
}

// A branch's slope 2·R·|Q| (mm w.c. per m³/s) is taken as at least this in
// the Newton steps, so that branches without resistance or without flow keep
// the pressure system positive definite.
constexpr double MinBranchSlope = 1e-6;
// Branches below this slope, sixteen times the floor, whose cycles among
// themselves are settled apart at their true slopes within each step
// (TFloorCycles): the floor would leave their circulations creeping.
constexpr double FloorCycleSlope = 16 * MinBranchSlope;
// Which branches sit on the floor changes from step to step while the steps
// still move flows by m³/s, and whatever their cycles settle to, the next step
// undoes. So the floor cycles are settled only once a step moves no flow by
// more than FloorSettleMove (m³/s), and then only as far as FloorSettleShare
// of the step's own largest move: near the end, where the steps move flows by
// 1e-7, that is the cycles' own tolerance.
constexpr double FloorSettleMove = 4;
constexpr double FloorSettleShare = 1e-3;
// Where no air passes, as through parallel branches to a dead-end node, the
// flows go to zero, and a Newton step on R·Q·|Q| only halves them: from the
// tens of m³/s that the passes may leave there, some twenty steps before they
// reach the floor. A branch whose flow the step took to within this of half
// its flow before, in the same direction, joins the floor branches, so that
// its cycles among them are settled apart as soon as the steps move no flow
// by more than FloorSettleMove.
constexpr double HalvedBand = 0.05;
// The Newton steps end once every mesh obeys the loop law within this
// (mm w.c.): far inside the method's own tolerance, yet above the rounding of
// a long mesh's sum.
constexpr double NewtonLoopResidual = 1e-9;
// The loop law hardly sees a flow near zero: R·Q·|Q| of 1e-5 m³/s is far
// below any residual test, so the steps' moves must bound how far a flow still
// is from the solution. The steps end once the loop law holds and a step moved
// no flow by more than NewtonFlowError while its largest move was at most half
// the step before's. Then every flow is within NewtonFlowError of the
// solution, a tenth of the 1e-6 m³/s that the solve promises, which leaves
// room for the rebalance of the tree flows and the confirming passes.
//
// Why: near the solution each step takes every flow at least half way to it,
// so what a flow has still to go after a step is at most what the step moved
// it. That holds for each kind of flow:
// - a flow whose slope is above the floor meets its true slope in the step and
//   converges quadratically, or, far above the solution's own small flow,
//   halves its distance (Newton's method on R·Q·|Q|);
// - flows below FloorCycleSlope that close cycles among themselves, or with
//   flows the step halved, are settled within the step at their true slopes
//   to a thousandth of the step's largest move, so their circulations are as
//   close as the other flows allow;
// - any other flow on the floor lies only on cycles that also pass a branch
//   steeper than FloorCycleSlope; that branch holds it, and the step leaves it
//   no more than the floor's share of the cycle's slopes, under a half while
//   fewer than sixteen floor branches share the cycle.
// The halving of the largest move shows that the steps have reached that
// regime: far from the solution full steps may move flows any way. A creeping
// flow, as flows on the floor crept before their cycles were settled apart,
// would show as moves that hardly shrink, and the steps go on. Floor branches
// below the least resistance, even without any, take part in the floor
// cycles; only a loop of branches without resistance alone is left to the
// pressure steps and carries no such bound, as it has no solution to settle on.
// The same tolerance bounds the imbalance of the flows at the nodes.
constexpr double NewtonFlowError = 1e-7;
// The steps carry each branch's pressure drop from step to step and solve for
// its change, so the rounding of pressures of hundreds of mm w.c. does not
// enter the drops of branches with hardly any flow. Once the loop law holds
// and the moves stop shrinking, only rounding moves the flows; the steps then
// end after NewtonRefineStallSteps steps without a new least move, with the
// latest flows.
constexpr int NewtonRefineStallSteps = 3;
// Full steps from flows far from the solution may raise the residuals for a
// few steps before they converge. This many steps without a new least worst
// residual mean the rounding floor is reached, or the network has no solution
// to converge on. A new least must lie at least NewtonLeastProgress below the
// last: where no flow can settle a loop (fans round a loop without
// resistance), the flows run away and rounding alone lowers the residual by a
// hair from step to step.
constexpr int NewtonStallSteps = 10;
constexpr double NewtonLeastProgress = 0.01;
// Loop passes then confirm the result by the method's own test.
constexpr int ConfirmingPasses = 20;

// The pressure system's symbolic analysis depends only on the network's shape,
// and studies solve one network many times over, on several threads at once:
// each thread keeps the system of its last extended solve, whose analysis
// serves again while the shape stays the same.
TSparseCholesky &ThreadPressureSystem()
{
    thread_local TSparseCholesky system;
    return system;
}

} // namespace

TMeshSolver::TMeshSolver(TNetworkTables &t, int branchCount, int nodeCount,
                         const TTable<std::int16_t> &branchNo, const TTable<std::int16_t> &beginNode,
                         const TTable<std::int16_t> &endNode, const TTable<std::uint8_t> &surface,
                         const TTable<double> &r, const TTable<double> &h, TTable<double> &q)
    : m_t(t),
      m_branchCount(std::clamp(branchCount, 0, MaxItems)),
      m_nodeCount(std::clamp(nodeCount, 0, MaxItems)),
      m_branchNo(branchNo),
      m_surface(surface),
      m_r(r),
      m_h(h),
      m_q(q),
      m_usable(TableSize, false),
      m_isChord(TableSize, false),
      m_pressureSystem(ThreadPressureSystem())
{
    // The whole end-node tables are copied; only the copies see the surface join.
    m_begin = beginNode;
    m_end = endNode;
    // A branch with an end outside the nodes cannot be placed in the network;
    // it takes no part and keeps Q = 0.
    const auto validNode = [&](int n) { return n >= 1 && n <= m_nodeCount; };
    for (int b = 1; b <= m_branchCount; ++b) {
        m_usable[b] = m_branchNo[b] != 0 && validNode(m_begin[b]) && validNode(m_end[b]);
        if (!m_usable[b])
            m_begin[b] = m_end[b] = 0;
    }
}

TMeshSolver::~TMeshSolver()
{
    if (m_adjacencyBuilt)
        FreeAdjacency(m_nodeCount, m_adjacency);
}

bool TMeshSolver::HasBranches() const
{
    return MaxBranchNo(m_t) != 0;
}

bool TMeshSolver::JoinSurfaceNodes()
{
    const auto virtualNode = static_cast<std::int16_t>(VirtualSurfaceNode());
    int surfaceEnds = 0;
    for (int b = 1; b <= m_branchCount; ++b) {
        if (!m_usable[b])
            continue;
        if (m_surface[m_begin[b]]) {
            m_begin[b] = virtualNode;
            ++surfaceEnds;
        }
        if (m_surface[m_end[b]]) {
            m_end[b] = virtualNode;
            ++surfaceEnds;
        }
    }
    return surfaceEnds > 1;
}

bool TMeshSolver::HasDraughtSource() const
{
    for (int b = 1; b <= MaxItems; ++b)
        if (m_branchNo[b] == b && m_h[b] != 0)
            return true;
    return false;
}

bool TMeshSolver::TopologyIsSound()
{
    BuildNodeBranchLists(m_t);
    return FindDeadEndNodes(m_t).empty();
}

void TMeshSolver::BuildAdjacencyLists()
{
    int nodesWithBranches = 0;
    BuildAdjacency(m_branchNo, m_begin, m_end, m_nodeCount, m_branchCount, m_adjacency, nodesWithBranches);
    m_adjacencyBuilt = true;
}

bool TMeshSolver::FindRootBranch()
{
    double best = RootResistanceLimit;
    m_root = 0;
    for (int b = 1; b <= m_branchCount; ++b)
        if (m_usable[b] && m_r[b] < best && Above(m_r[b], MinResistance)) {
            best = m_r[b];
            m_root = b;
        }
    return m_root != 0;
}

// The frontier of the tree: the chain ends of the tree's nodes whose branches
// may still lead to a new node, in the order of the working chain that the
// method walks. A node that joins puts its chain in front, so positions are
// numbered downwards. The walk for the least resistance and the removal of
// chords both keep the result of walking the chain item by item. Every item
// enters the frontier once, so two structures with lazy removal suffice: a
// stack whose top is the head, and a heap of the qualifying items by
// resistance and position.
class TMeshSolver::TFrontier
{
public:
    TFrontier(const TTable<double> &r, int branchCount)
        : m_r(r), m_inside(2 * (static_cast<std::size_t>(branchCount) + 1), false)
    {
    }

    bool Empty()
    {
        DropRemovedHead();
        return m_byPosition.empty();
    }
    bool Contains(const AdjacencyItem *item) const { return m_inside[Slot(item)]; }

    // Puts a chain, in its own order, in front of the frontier.
    void PutInFront(AdjacencyItem *head)
    {
        const std::size_t first = m_byPosition.size();
        for (AdjacencyItem *item = head; item; item = item->Next)
            m_byPosition.push_back(item);
        std::reverse(m_byPosition.begin() + static_cast<std::ptrdiff_t>(first), m_byPosition.end());
        long long position = m_next - static_cast<long long>(m_byPosition.size() - first);
        m_next = position;
        for (std::size_t k = m_byPosition.size(); k > first; --k) {
            AdjacencyItem *item = m_byPosition[k - 1];
            ++position;
            m_inside[Slot(item)] = true;
            if (Qualifies(item)) {
                m_byResistance.push_back({m_r[item->Branch], position, item});
                std::push_heap(m_byResistance.begin(), m_byResistance.end(), Later);
            }
        }
    }

    // The head is the incumbent; a later item replaces it only with a strictly
    // smaller resistance above the threshold. So with the head above the
    // threshold the first item of least qualifying resistance wins, else the head.
    AdjacencyItem *Pick()
    {
        DropRemovedHead();
        AdjacencyItem *head = m_byPosition.back();
        if (!Qualifies(head))
            return head;
        while (!m_inside[Slot(m_byResistance.front().Item)]) {
            std::pop_heap(m_byResistance.begin(), m_byResistance.end(), Later);
            m_byResistance.pop_back();
        }
        return m_byResistance.front().Item;
    }

    void Remove(AdjacencyItem *item) { m_inside[Slot(item)] = false; }

private:
    struct TCandidate
    {
        double R;
        long long Position;
        AdjacencyItem *Item;
    };
    // The heap's order: least resistance, then the nearer to the head.
    static bool Later(const TCandidate &a, const TCandidate &b)
    {
        return a.R != b.R ? a.R > b.R : a.Position > b.Position;
    }
    static std::size_t Slot(const AdjacencyItem *item)
    {
        return 2 * static_cast<std::size_t>(item->Branch) + (item->Side > 0 ? 1 : 0);
    }
    bool Qualifies(const AdjacencyItem *item) const { return Above(m_r[item->Branch], MinResistance); }
    void DropRemovedHead()
    {
        while (!m_byPosition.empty() && !m_inside[Slot(m_byPosition.back())])
            m_byPosition.pop_back();
    }

    const TTable<double> &m_r;
    std::vector<bool> m_inside;
    long long m_next = 0;
    std::vector<AdjacencyItem *> m_byPosition;  // the head last
    std::vector<TCandidate> m_byResistance;     // a heap
};

// After node n joined, the items whose branch has both ends in the tree are
// the ends of n's branches that lead back into the tree: they leave the
// frontier, and each such branch becomes a chord. n's chain stands at the head
// of the frontier, so the chords come in the order of that chain, as a walk
// from the head would find them.
void TMeshSolver::CollectChords(TFrontier &frontier, int n)
{
    const auto inTree = [&](int node) { return Above(m_adjacency[node].Work, MinResistance); };
    for (AdjacencyItem *item = m_adjacency[n].Head; item; item = item->Next) {
        const int b = item->Branch;
        if (!frontier.Contains(item) || !inTree(m_begin[b]) || !inTree(m_end[b]))
            continue;
        frontier.Remove(item);
        AdjacencyItem *partner = m_items[2 * static_cast<std::size_t>(b) + (item->Side > 0 ? 0 : 1)];
        if (partner && frontier.Contains(partner))
            frontier.Remove(partner);
        if (!m_isChord[b]) {
            m_isChord[b] = true;
            m_chords.push_back(item->Branch);
        }
    }
}

bool TMeshSolver::BuildSpanningTree()
{
    // Each branch's two items, to reach the far end's item of a chord.
    m_items.assign(2 * (static_cast<std::size_t>(m_branchCount) + 1), nullptr);
    for (int n = 1; n <= m_nodeCount + 1; ++n)
        for (AdjacencyItem *item = m_adjacency[n].Head; item; item = item->Next)
            m_items[2 * static_cast<std::size_t>(item->Branch) + (item->Side > 0 ? 1 : 0)] = item;

    TFrontier frontier(m_r, m_branchCount);
    m_startNode = m_begin[m_root];
    m_adjacency[m_startNode].Work = 1;
    frontier.PutInFront(m_adjacency[m_startNode].Head);
    // A loop at the start node belongs among the chords: collected before the
    // first pick, it can never become the start node's own tree branch.
    CollectChords(frontier, m_startNode);
    while (!frontier.Empty()) {
        AdjacencyItem *picked = frontier.Pick();
        frontier.Remove(picked);
        const int b = picked->Branch;
        const int newNode = picked->Side == 1 ? m_begin[b] : m_end[b];
        const int treeNode = picked->Side == 1 ? m_end[b] : m_begin[b];
        AdjacencyNode &n = m_adjacency[newNode];
        if (Above(n.Work, MinResistance))
            return false;  // collected chords leave only items that lead out of the tree
        n.Work = m_adjacency[treeNode].Work + 1;
        n.TreeBranch = static_cast<std::int16_t>(b);
        UnlinkAdjacency(b, n.Head);
        frontier.PutInFront(n.Head);
        CollectChords(frontier, newNode);
    }
    Stats.Chords = MeshCount();
    return true;
}

bool TMeshSolver::InitChordFlows(const TTable<double> *fixedH)
{
    for (int b = 1; b <= m_branchCount; ++b)
        m_q[b] = 0;
    m_chordFlow.clear();
    for (int c : m_chords) {
        double q;
        if (std::fabs(m_h[c]) > ChordHeadLimit)
            q = m_h[c] / 3;
        else if (fixedH && Above((*fixedH)[c], MinResistance))
            q = 0.1;
        else if (m_r[c] > 0)
            q = 3 / std::sqrt(m_r[c]);
        else
            return false;  // no resistance to start from: a division by zero or the root of a negative number
        if (!std::isfinite(q))
            return false;
        m_q[c] = q;
        m_chordFlow.push_back(q);
    }
    return true;
}

bool TMeshSolver::BuildMeshes()
{
    m_members.clear();
    m_members.reserve(static_cast<std::size_t>(BranchCount(m_t)));
    m_meshStart.assign(1, 0);
    for (std::size_t k = 0; k < m_chords.size(); ++k) {
        const int c = m_chords[k];
        const double q = m_chordFlow[k];
        m_members.push_back({static_cast<std::int16_t>(c), 1});
        const int d = static_cast<int>(std::trunc(m_adjacency[m_begin[c]].Work - m_adjacency[m_end[c]].Work));
        int a = d >= 0 ? m_begin[c] : m_end[c];
        int other = d >= 0 ? m_end[c] : m_begin[c];
        const int s = d >= 0 ? 1 : -1;
        // One step from node x towards the start node; the b side of the mesh
        // passes its branches the other way.
        const auto step = [&](int &x, int sign) {
            const int t = m_adjacency[x].TreeBranch;
            if (t == 0)
                return false;
            int direction;
            if (m_begin[t] == x) {
                direction = -sign;
                x = m_end[t];
            } else {
                direction = sign;
                x = m_begin[t];
            }
            m_members.push_back({static_cast<std::int16_t>(t), static_cast<std::int16_t>(direction)});
            m_q[t] += direction * q;
            return true;
        };
        for (int i = 0; i < std::abs(d); ++i)
            if (!step(a, s))
                return false;
        while (a != other)
            if (!step(a, s) || !step(other, -s))
                return false;
        m_meshStart.push_back(static_cast<int>(m_members.size()));
    }
    return FlowsFinite();
}

// One pass of loop corrections over all meshes in chord order; each mesh sees
// the corrections of the meshes before it. The pass runs on flat arrays: the
// members' branches and directions side by side, and Q, R and H by branch.
// Every product and sum is the method's own, in its order, so the flows agree
// with R·Q·|Q| − H summed member by member to the last bit: R·|Q|·Q has the
// magnitude and the sign of R·Q·|Q| at every rounding, and a direction of ±1
// multiplies exactly.
TMeshSolver::TPass TMeshSolver::RunPass()
{
    static const double residualTolerance = DoubleBelow(ResidualTolerance);
    static const double flowTolerance = DoubleBelow(FlowTolerance);
    bool settled = true;
    const int meshes = MeshCount();
    double *const q = m_passQ.data();
    const double *const r = m_passR.data();
    const double *const h = m_passH.data();
    const std::uint16_t *const branch = m_passBranch.data();
    const double *const direction = m_passDirection.data();
    for (int k = 0; k < meshes; ++k) {
        const int begin = m_passStart[k];
        const int end = m_passStart[k + 1];
        double residual = 0;
        double slope = 0;
        // Two members at a time: their products do not wait for the sums.
        for (int i = begin; i < end; i += 2) {
            const unsigned b0 = branch[i];
            const unsigned b1 = branch[i + 1];
            const double q0 = q[b0];
            const double q1 = q[b1];
            const double s0 = r[b0] * std::fabs(q0);
            const double s1 = r[b1] * std::fabs(q1);
            const double term0 = direction[i] * (s0 * q0 - h[b0]);
            const double term1 = direction[i + 1] * (s1 * q1 - h[b1]);
            residual += term0;
            slope += s0;
            residual += term1;
            slope += s1;
        }
        const double denominator = 2 * (static_cast<double>(MinResistance) + slope);
        if (denominator == 0 || !std::isfinite(residual))
            return TPass::Fault;
        const double dq = residual / denominator;
        if (!std::isfinite(dq))
            return TPass::Fault;
        for (int i = begin; i < end; ++i)
            q[branch[i]] -= direction[i] * dq;
        m_lastCorrections[k] = dq;
        if (std::fabs(residual) > residualTolerance || std::fabs(dq) > flowTolerance)
            settled = false;
    }
    return settled ? TPass::Settled : TPass::Unsettled;
}

// The members of each mesh for the passes, padded to an even count with a
// member of no branch and no direction. Its term and slope are zeros, and
// adding a zero changes neither sum: both start at +0, so neither is ever −0.
void TMeshSolver::PreparePassMembers()
{
    m_passBranch.clear();
    m_passDirection.clear();
    m_passBranch.reserve(m_members.size() + m_chords.size());
    m_passDirection.reserve(m_members.size() + m_chords.size());
    m_passStart.assign(1, 0);
    for (int k = 0; k < MeshCount(); ++k) {
        for (const MeshMember *m = MeshBegin(k); m != MeshEnd(k); ++m) {
            m_passBranch.push_back(static_cast<std::uint16_t>(m->Branch));
            m_passDirection.push_back(m->Direction);
        }
        if (m_passBranch.size() % 2 != 0) {
            m_passBranch.push_back(0);
            m_passDirection.push_back(0);
        }
        m_passStart.push_back(static_cast<int>(m_passBranch.size()));
    }
}

// Passes until one settles or `passes` have run; false after a fault.
bool TMeshSolver::RunPasses(int passes, bool &settled)
{
    if (m_passStart.size() != m_meshStart.size())
        PreparePassMembers();
    // Place 0 stands for the padding members' branch.
    const std::size_t size = static_cast<std::size_t>(m_branchCount) + 1;
    m_passQ.assign(m_q.begin(), m_q.begin() + size);
    m_passR.assign(m_r.begin(), m_r.begin() + size);
    m_passH.assign(m_h.begin(), m_h.begin() + size);
    m_passQ[0] = m_passR[0] = m_passH[0] = 0;
    m_lastCorrections.assign(m_chords.size(), 0.0);
    settled = false;
    TPass result = TPass::Unsettled;
    for (int pass = 0; pass < passes && result == TPass::Unsettled; ++pass) {
        ++Stats.Passes;
        result = RunPass();
    }
    std::copy(m_passQ.begin() + 1, m_passQ.end(), m_q.begin() + 1);
    settled = result == TPass::Settled;
    return result != TPass::Fault && FlowsFinite();
}

// Only the passes themselves tell whether they settle by pass MaxPasses:
// passes that stall, or even rise, for tens of passes can then fall steeply
// and settle just before the last, so no look ahead from their course decides
// it. The extended solve therefore begins after the last pass.
bool TMeshSolver::IterateMeshes()
{
    bool settled = false;
    if (!RunPasses(MaxPasses, settled))
        return false;
    if (settled) {
        Stats.Settling = stSettled;
        return true;
    }
    return ExtendSolve();
}

bool TMeshSolver::FlowsFinite() const
{
    for (int b = 1; b <= m_branchCount; ++b)
        if (!std::isfinite(m_q[b]))
            return false;
    return true;
}

// The loop passes converge slowly where meshes share heavily loaded branches.
// Newton steps on the node pressures of the tree's part of the network take
// the flows to the solution; loop passes then confirm that every mesh is
// settled by the method's own test.
bool TMeshSolver::ExtendSolve()
{
    const auto inTree = [&](int node) { return Above(m_adjacency[node].Work, MinResistance); };
    m_solveBranches.clear();
    for (int b = 1; b <= m_branchCount; ++b)
        if (m_usable[b] && inTree(m_begin[b]) && inTree(m_end[b]))
            m_solveBranches.push_back(b);
    // The surface is the natural reference of pressures; taking it out also
    // removes the couplings between distant shafts from the system.
    const int reference = inTree(VirtualSurfaceNode()) ? VirtualSurfaceNode() : m_startNode;
    m_nodeIndex.assign(static_cast<std::size_t>(m_nodeCount) + 2, -1);
    m_unknowns = 0;
    for (int n = 1; n <= m_nodeCount + 1; ++n)
        if (n != reference && inTree(n))
            m_nodeIndex[n] = m_unknowns++;
    std::vector<std::pair<int, int>> couplings;
    couplings.reserve(m_solveBranches.size());
    for (int b : m_solveBranches) {
        const int i = m_nodeIndex[m_begin[b]];
        const int j = m_nodeIndex[m_end[b]];
        if (i >= 0 && j >= 0 && i != j)
            couplings.emplace_back(i, j);
    }
    m_pressureSystem.SetPattern(m_unknowns, couplings);

    // A mesh's residual is the sum of its members' mismatches against the step's
    // pressures, which cancel around the loop; so the longest mesh times the
    // worst mismatch bounds every residual without walking the meshes.
    int longestMesh = 0;
    for (int k = 0; k < MeshCount(); ++k)
        longestMesh = std::max(longestMesh, static_cast<int>(MeshEnd(k) - MeshBegin(k)));
    // Full steps need not improve on every step. Should they never converge,
    // the latest flows that met the loop law are kept, else those that obey
    // it best: the passes' flows, or those of the step with the least bound.
    const auto saveFlows = [&](std::vector<double> &into) {
        into.resize(m_solveBranches.size());
        for (std::size_t k = 0; k < m_solveBranches.size(); ++k)
            into[k] = m_q[m_solveBranches[k]];
    };
    const auto restoreFlows = [&](const std::vector<double> &from) {
        for (std::size_t k = 0; k < m_solveBranches.size(); ++k)
            m_q[m_solveBranches[k]] = from[k];
    };
    saveFlows(m_passFlows);
    m_drop.assign(m_solveBranches.size(), 0.0);
    m_bestFlows.clear();
    bool converged = false;
    bool obeyed = false;  // some step met the loop law; m_bestFlows holds the latest such
    double best = HUGE_VAL;
    double leastMove = HUGE_VAL;
    double lastMove = HUGE_VAL;
    int stalled = 0;
    for (int step = 0; step < MaxNewtonSteps; ++step) {
        double mismatch = 0;
        double moved = 0;
        if (!NewtonStep(mismatch, moved))
            break;
        ++Stats.NewtonSteps;
        const double bound = longestMesh * mismatch;
        const bool halved = moved <= lastMove / 2;
        lastMove = moved;
        const bool obeys = bound <= NewtonLoopResidual && WorstImbalance() <= NewtonFlowError;
        if (obeys && halved && moved <= NewtonFlowError) {
            converged = true;
            break;
        }
        if (obeys) {
            // The law holds; what is left is flows near zero settling down,
            // or only rounding moving them.
            obeyed = true;
            saveFlows(m_bestFlows);
            if (moved < leastMove) {
                leastMove = moved;
                stalled = 0;
            } else if (++stalled >= NewtonRefineStallSteps) {
                break;
            }
        } else if (bound < best * (1 - NewtonLeastProgress)) {
            best = bound;
            stalled = 0;
            if (!obeyed)
                saveFlows(m_bestFlows);
        } else if (++stalled >= NewtonStallSteps) {
            break;
        }
    }
    if (!converged) {
        if (obeyed || (!m_bestFlows.empty() && WorstLoopResidual(m_bestFlows) < WorstLoopResidual(m_passFlows)))
            restoreFlows(m_bestFlows);
        else
            restoreFlows(m_passFlows);
    }
    RebalanceTreeFlows();
    bool settled = false;
    if (!RunPasses(ConfirmingPasses, settled))
        return false;
    Stats.Settling = settled ? stExtended : stUnsettled;
    return true;
}

// The largest loop-law residual over the meshes, mm w.c., with the solve
// branches at the flows given (in the order of m_solveBranches) and the
// others as they stand; infinite when one is not finite.
double TMeshSolver::WorstLoopResidual(const std::vector<double> &flows)
{
    m_trial.assign(m_q.begin(), m_q.end());
    for (std::size_t k = 0; k < m_solveBranches.size(); ++k)
        m_trial[m_solveBranches[k]] = flows[k];
    double worst = 0;
    for (int k = 0; k < MeshCount(); ++k) {
        double residual = 0;
        for (const MeshMember *m = MeshBegin(k); m != MeshEnd(k); ++m) {
            const double q = m_trial[m->Branch];
            residual += m->Direction * (m_r[m->Branch] * q * std::fabs(q) - m_h[m->Branch]);
        }
        if (!std::isfinite(residual))
            return HUGE_VAL;
        worst = std::max(worst, std::fabs(residual));
    }
    return worst;
}

// The largest flow imbalance at a node of the tree's part, surface aside, m³/s.
double TMeshSolver::WorstImbalance()
{
    m_balance.assign(static_cast<std::size_t>(m_nodeCount) + 2, 0.0);
    for (int b : m_solveBranches) {
        m_balance[m_begin[b]] -= m_q[b];
        m_balance[m_end[b]] += m_q[b];
    }
    double worst = 0;
    for (int n = 1; n <= m_nodeCount; ++n)
        if (m_nodeIndex[n] >= 0)
            worst = std::max(worst, std::fabs(m_balance[n]));
    return worst;
}

// The Newton steps balance the nodes only as closely as the pressure system is
// solved. The chord flows determine every tree flow, so each tree branch is set
// again from the balance of the node below it, deepest nodes first; the loop
// passes that follow keep that balance exact.
void TMeshSolver::RebalanceTreeFlows()
{
    const auto inTree = [&](int node) { return Above(m_adjacency[node].Work, MinResistance); };
    std::vector<int> nodes;
    for (int n = 1; n <= m_nodeCount + 1; ++n)
        if (n != m_startNode && inTree(n) && m_adjacency[n].TreeBranch != 0)
            nodes.push_back(n);
    std::stable_sort(nodes.begin(), nodes.end(),
                     [&](int a, int b) { return m_adjacency[a].Work > m_adjacency[b].Work; });
    for (int n : nodes) {
        const int tree = m_adjacency[n].TreeBranch;
        double inflow = 0;
        for (AdjacencyItem *item = m_adjacency[n].First; item; item = item->Permanent)
            if (item->Branch != tree)
                inflow += item->Side * m_q[item->Branch];
        m_q[tree] = m_begin[tree] == n ? inflow : -inflow;
    }
}

// One global-gradient step for the flows Q and the node pressures P together:
// every branch b from i to j should take P_i − P_j = R·Q·|Q| − H, and flows
// balance at every node. With G = 2·R·|Q| (at least MinBranchSlope) and each
// branch's drop D from the step before (0 at the first), the step's change of
// pressures p solves Σ (p_i − p_j)/G = Σ ±(Q − F/G) node by node, where
// F = R·Q·|Q| − H − D is what the branch's law still misses; Q then moves by
// (p_i − p_j − F)/G, in full, and D by p_i − p_j. That is the step on the
// pressures themselves, P + p, but the drops keep the precision of their own
// size: near the solution the full step converges quadratically, where a
// shortened one would only creep. Cycles of branches on the slope floor are
// then settled at their true slopes. mismatch receives the largest
// |R·Q·|Q| − H − D| at the new flows, moved the largest change of a flow.
bool TMeshSolver::NewtonStep(double &mismatch, double &moved)
{
    const std::size_t count = m_solveBranches.size();
    m_slope.resize(count);
    m_miss.resize(count);
    m_rhs.assign(static_cast<std::size_t>(m_unknowns), 0.0);
    m_pressureSystem.Clear();
    for (std::size_t k = 0; k < count; ++k) {
        const int b = m_solveBranches[k];
        const double q = m_q[b];
        m_slope[k] = std::max(2 * m_r[b] * std::fabs(q), MinBranchSlope);
        m_miss[k] = m_r[b] * q * std::fabs(q) - m_h[b] - m_drop[k];
        const int i = m_nodeIndex[m_begin[b]];
        const int j = m_nodeIndex[m_end[b]];
        const double w = 1 / m_slope[k];
        const double flow = q - m_miss[k] / m_slope[k];
        if (i >= 0) {
            m_pressureSystem.AddDiagonal(i, w);
            m_rhs[i] -= flow;
        }
        if (j >= 0) {
            m_pressureSystem.AddDiagonal(j, w);
            m_rhs[j] += flow;
        }
        if (i >= 0 && j >= 0 && i != j)
            m_pressureSystem.AddCoupling(i, j, -w);
    }
    if (!m_pressureSystem.Factor())
        return false;
    m_pressureSystem.Solve(m_rhs);

    m_change.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        const int b = m_solveBranches[k];
        const int i = m_nodeIndex[m_begin[b]];
        const int j = m_nodeIndex[m_end[b]];
        const double drop = m_begin[b] == m_end[b] ? 0 : (i >= 0 ? m_rhs[i] : 0) - (j >= 0 ? m_rhs[j] : 0);
        m_change[k] = (drop - m_miss[k]) / m_slope[k];
        m_drop[k] += drop;
        if (!std::isfinite(m_change[k]) || !std::isfinite(m_q[b] + m_change[k]))
            return false;
    }
    // The floor branches: those whose slope lies below FloorCycleSlope, or
    // whose flow the step took to within HalvedBand of half what it was.
    moved = 0;
    m_floorBranches.clear();
    for (std::size_t k = 0; k < count; ++k) {
        const int b = m_solveBranches[k];
        const double before = m_q[b];
        const double q = before + m_change[k];
        m_q[b] = q;
        moved = std::max(moved, std::fabs(m_change[k]));
        const bool halved = std::fabs(q - 0.5 * before) < HalvedBand * std::fabs(before);
        if (m_r[b] >= 0 && (2 * m_r[b] * std::fabs(q) < FloorCycleSlope || halved))
            m_floorBranches.push_back(b);
    }
    moved = std::max(moved, SettleFloorCycles(moved));
    mismatch = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const int b = m_solveBranches[k];
        const double q = m_q[b];
        mismatch = std::max(mismatch, std::fabs(m_r[b] * q * std::fabs(q) - m_h[b] - m_drop[k]));
    }
    return std::isfinite(mismatch);
}

double TMeshSolver::SettleFloorCycles(double stepMove)
{
    if (stepMove > FloorSettleMove)
        return 0;
    const double moved = m_floorCycles.Settle(m_floorBranches, m_begin, m_end, m_r, m_h, m_q, m_nodeCount,
                                              FloorSettleShare * stepMove);
    Stats.FloorCycles = std::max(Stats.FloorCycles, m_floorCycles.LargestGroup());
    return moved;
}
