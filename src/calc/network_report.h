#pragma once
// What the report managers over the network share: the node list, the node
// cross table of ten columns a row, a branch list, and the values of the
// current node and branch that their templates name.
#include "model/network.h"
#include "report/dataset.h"
#include "report/variant.h"

#include <functional>
#include <vector>

// Fills the pressure of every node (decapascals, by node number) after
// solving the network; set by the node-pressure computation. Unset, the
// report managers print 0.
extern std::function<void(TNetworkTables &t, std::vector<double> &pressures)> ComputeNodePressuresHook;

class TNetworkReportSources
{
public:
    // Takes the highest branch and node numbers of t as they stand now.
    explicit TNetworkReportSources(const TNetworkTables &t);
    TNetworkReportSources(const TNetworkReportSources &) = delete;
    TNetworkReportSources &operator=(const TNetworkReportSources &) = delete;

    TfrUserDataset udBranchSource;        // the branches of Branches, in order
    TfrUserDataset udNodeSource;          // the existing nodes in number order
    TfrUserDataset udNodeCrossTabRows;    // node numbers in rows of ten
    TfrUserDataset udNodeCrossTabColumns;

    // The branches udBranchSource walks; every existing branch to begin with.
    std::vector<int> Branches;
    void SelectAllBranches();

    int CurrentNode = 0;
    int CurrentBranch = 0;
    int BranchPos = 0; // 1-based position in Branches
    int CrossRowBase = 0;
    int CrossColumn = 0;
    int MaxBranch = 0;
    int MaxNode = 0;
    // Pressure of each node (decapascals), by node number; zero until filled.
    std::vector<double> NodePressures;
    QString MineTitle;

    const TNetworkTables &Tables() const { return m_t; }
    // The value of a name of the node and branch table; false for a name it does not know.
    bool GetValue(const QString &name, Variant &value) const;
    // The data sets, to register with the engine.
    std::vector<TfrDataset *> Datasets();

private:
    int NextNode(int n) const;
    const TNetworkTables &m_t;
};
