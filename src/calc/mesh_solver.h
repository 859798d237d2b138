#pragma once
// The engine under both air-distribution solvers: one short method per step of
// the loop method, called in order by CalcAirDistribution and, with its own
// steps in between, by CalcAirFixedDepression. The order in which the tree
// meets branches decides the chords, the meshes and the exact flows, so every
// step keeps the order of the chains and of the frontier.
#include "calc/floor_cycles.h"
#include "calc/sparse_cholesky.h"
#include "calc/solver.h"

#include <cstdint>
#include <vector>

// Thresholds of the method. They are extended-precision constants compared
// with double values: 0.00001L lies slightly below the double nearest to
// 0.00001, so a resistance stored as 0.00001 counts as above it.
constexpr long double MinResistance = 0.00001L;
constexpr long double ResidualTolerance = 0.03L;
constexpr long double FlowTolerance = 0.01L;
// A chord with a depression above this starts at H / 3, else at 3 / √R.
constexpr double ChordHeadLimit = 50;
// No branch of this resistance or more becomes the root of the tree.
constexpr double RootResistanceLimit = 10000;
constexpr int MaxPasses = 200;
// At most this many Newton steps finish a network whose passes do not settle:
// a safety only. Their own stop rule ends them well before, in some 5 to 26
// steps on every generated network measured.
constexpr int MaxNewtonSteps = 60;

struct MeshMember
{
    std::int16_t Branch;
    std::int16_t Direction;  // +1: the mesh, run in its chord's direction, passes the branch from start to end
};

class TMeshSolver
{
public:
    // R and H are read at each step, so a caller may change them in between.
    TMeshSolver(TNetworkTables &t, int branchCount, int nodeCount, const TTable<std::int16_t> &branchNo,
                const TTable<std::int16_t> &beginNode, const TTable<std::int16_t> &endNode,
                const TTable<std::uint8_t> &surface, const TTable<double> &r, const TTable<double> &h,
                TTable<double> &q);
    ~TMeshSolver();
    TMeshSolver(const TMeshSolver &) = delete;
    TMeshSolver &operator=(const TMeshSolver &) = delete;

    // The steps, in the order of the solve. A step that returns false ends it
    // with the code that the caller gives that step.
    bool HasBranches() const;          // code 1
    bool JoinSurfaceNodes();           // code 2
    bool HasDraughtSource() const;     // code 5
    bool TopologyIsSound();            // code 3; rebuilds the node incidence lists
    void BuildAdjacencyLists();
    bool FindRootBranch();             // code 4
    bool BuildSpanningTree();          // code 6 from here on
    // fixedH, when given, starts its fixed branches at 0.1.
    bool InitChordFlows(const TTable<double> *fixedH = nullptr);
    bool BuildMeshes();
    bool IterateMeshes();

    // Whether branch b takes part in the solve (present and with valid ends).
    bool Usable(int b) const { return m_usable[b]; }
    int RootBranch() const { return m_root; }
    int StartNode() const { return m_startNode; }
    int VirtualSurfaceNode() const { return m_nodeCount + 1; }
    const std::vector<std::int16_t> &Chords() const { return m_chords; }
    int MeshCount() const { return static_cast<int>(m_chords.size()); }
    const MeshMember *MeshBegin(int k) const { return m_members.data() + m_meshStart[k]; }
    const MeshMember *MeshEnd(int k) const { return m_members.data() + m_meshStart[k + 1]; }
    // Node ends after the surface join.
    int Begin(int b) const { return m_begin[b]; }
    int End(int b) const { return m_end[b]; }
    const TAdjacency &Adjacency() const { return m_adjacency; }
    // The correction each mesh made in the last pass, m³/s.
    const std::vector<double> &LastPassCorrections() const { return m_lastCorrections; }

    TSolveStats Stats;

private:
    enum class TPass { Settled, Unsettled, Fault };
    TPass RunPass();
    void PreparePassMembers();
    bool RunPasses(int passes, bool &settled);
    class TFrontier;
    void CollectChords(TFrontier &frontier, int n);
    bool ExtendSolve();
    bool NewtonStep(double &mismatch, double &moved);
    double SettleFloorCycles(double stepMove);
    double WorstLoopResidual(const std::vector<double> &flows);
    double WorstImbalance();
    void RebalanceTreeFlows();
    bool FlowsFinite() const;

    TNetworkTables &m_t;
    int m_branchCount;
    int m_nodeCount;
    const TTable<std::int16_t> &m_branchNo;
    const TTable<std::uint8_t> &m_surface;
    const TTable<double> &m_r;
    const TTable<double> &m_h;
    TTable<double> &m_q;

    TTable<std::int16_t> m_begin{};  // private copies; surface nodes become the virtual node
    TTable<std::int16_t> m_end{};
    std::vector<bool> m_usable;
    TAdjacency m_adjacency;
    bool m_adjacencyBuilt = false;
    int m_root = 0;
    int m_startNode = 0;
    std::vector<AdjacencyItem *> m_items;  // by 2 × branch + (end side)
    std::vector<std::int16_t> m_chords;
    std::vector<bool> m_isChord;
    std::vector<double> m_chordFlow;
    std::vector<MeshMember> m_members;
    std::vector<int> m_meshStart;
    // The passes' flat arrays: members' branches and directions, and by branch Q, R and H.
    std::vector<std::uint16_t> m_passBranch;
    std::vector<double> m_passDirection;
    std::vector<int> m_passStart;  // by mesh, into the two above
    std::vector<double> m_passQ, m_passR, m_passH;
    std::vector<double> m_lastCorrections;

    // The extended solve: the branches and nodes of the tree's part of the
    // network, with the pressure system over its nodes but the reference.
    std::vector<int> m_solveBranches;
    std::vector<int> m_nodeIndex;
    int m_unknowns = 0;
    TSparseCholesky &m_pressureSystem;
    std::vector<double> m_slope, m_miss, m_change, m_drop, m_rhs, m_balance;  // the Newton step's work
    std::vector<double> m_passFlows, m_bestFlows, m_trial;  // flows kept in case the steps never converge
    std::vector<int> m_floorBranches;
    TFloorCycles m_floorCycles;
};
