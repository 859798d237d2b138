#pragma once
// The report of probable topology errors without its window: five pages, one
// per kind of finding of the topology checks, which of them are shown and
// enabled, the rows of the active page, and the node and branch of the row
// last selected.
#include "model/topology.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <array>
#include <vector>

enum TTopologyPage { tpDeadEnds, tpOnlyEntering, tpOnlyLeaving, tpManyBranches, tpFreeNodes, TopologyPageCount };

class TTopologyReport
{
public:
    explicit TTopologyReport(TNetworkTables &tables) : m_t(tables) {}

    static QString PageCaption(int page);
    static QStringList PageHeaders(int page);

    // Runs the checks and shows a page: k for that page, −1 for the first
    // page with findings (none when there are none).
    void ShowTopologyPage(int k);
    // Before another page is chosen every page without findings is hidden.
    void PageChanging();
    // A page was chosen: its rows are filled.
    void PageChange(int page);
    // A data row (0 for the first) of the active page was selected.
    void SelectRow(int row);

    bool HasFindings(int page) const;

    std::array<bool, TopologyPageCount> PageVisible{};
    std::array<bool, TopologyPageCount> PageEnabled{};
    int ActivePage = -1;
    // The data rows of the active page; the grid shows at least one, empty.
    std::vector<QStringList> Rows;
    int SelNode = 0;
    int SelBranch = 0;

private:
    void FillPage(int page);
    const TErrorNodeList &Links(int page) const;

    TNetworkTables &m_t;
    TErrorNodeList m_deadEnds;
    TNodeClasses m_classes;
};
