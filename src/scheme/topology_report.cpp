#include "scheme/topology_report.h"

#include "platform/numbers.h"
#include "platform/prompt.h"

QString TTopologyReport::PageCaption(int page)
{
    static const char *const captions[TopologyPageCount] = {
        "Нарушение связности", "Только входящие ветви", "Только выходящие ветви", "Число ветвей >4",
        "Свободные узлы"};
    return page >= 0 && page < TopologyPageCount ? LookupText(QString::fromUtf8(captions[page])) : QString();
}

QStringList TTopologyReport::PageHeaders(int page)
{
    if (page == tpFreeNodes)
        return {QStringLiteral("УЗЕЛ"), QStringLiteral("ВЫС.ОТМ."), QStringLiteral("X"), QStringLiteral("Y")};
    QStringList headers{QStringLiteral("УЗЕЛ"), QStringLiteral("ВЕТВЬ"), QStringLiteral("НАЗВАНИЕ")};
    if (page == tpManyBranches)
        headers << QStringLiteral("ПРИМЕЧАНИЕ");
    return headers;
}

bool TTopologyReport::HasFindings(int page) const
{
    return page == tpFreeNodes ? !m_classes.FreeNodes.empty() : !Links(page).empty();
}

const TErrorNodeList &TTopologyReport::Links(int page) const
{
    switch (page) {
    case tpDeadEnds: return m_deadEnds;
    case tpOnlyEntering: return m_classes.OnlyEntering;
    case tpOnlyLeaving: return m_classes.OnlyLeaving;
    default: return m_classes.MoreThanFour;
    }
}

void TTopologyReport::ShowTopologyPage(int k)
{
    BuildNodeBranchLists(m_t);
    m_classes = ClassifyNodes(m_t);
    m_deadEnds = FindDeadEndNodes(m_t);
    Rows.clear();
    SelNode = 0;
    SelBranch = 0;
    for (int page = 0; page < TopologyPageCount; ++page) {
        PageEnabled[page] = HasFindings(page);
        PageVisible[page] = page == tpDeadEnds ? HasFindings(page) || k == 0 : HasFindings(page) || k == page;
    }
    int active = k;
    if (k < 0) {
        active = -1;
        for (int page = 0; page < TopologyPageCount && active < 0; ++page)
            if (HasFindings(page))
                active = page;
    }
    ActivePage = active;
    if (active >= 0)
        FillPage(active);
}

void TTopologyReport::PageChanging()
{
    for (int page = 0; page < TopologyPageCount; ++page)
        if (!HasFindings(page))
            PageVisible[page] = false;
}

void TTopologyReport::PageChange(int page)
{
    if (page < 0 || page >= TopologyPageCount)
        return;
    ActivePage = page;
    FillPage(page);
}

void TTopologyReport::FillPage(int page)
{
    // A row selected on the grid before stands for nothing any more.
    Rows.clear();
    SelNode = 0;
    SelBranch = 0;
    if (page == tpFreeNodes) {
        for (int n : m_classes.FreeNodes)
            Rows.push_back({QString::number(n), FloatToStr(m_t.NodeAltitude[n]), QString::number(m_t.NodeX[n]),
                            QString::number(m_t.NodeY[n])});
        return;
    }
    for (const TErrorNodes &node : Links(page))
        for (const TBranchToNode &link : node.Branches) {
            QStringList row{QString::number(node.Node), QString::number(link.Branch),
                            GetBranchName(m_t, link.Branch)};
            if (page == tpManyBranches)
                row << (link.Direction == TBranchToNode::Entering ? QStringLiteral("входит")
                                                                   : QStringLiteral("выходит"));
            Rows.push_back(row);
        }
}

void TTopologyReport::SelectRow(int row)
{
    if (row < 0 || row >= static_cast<int>(Rows.size()))
        return;
    const QStringList &cells = Rows[static_cast<std::size_t>(row)];
    int v = 0;
    if (!cells.value(0).isEmpty() && TryStrToInt(cells.value(0), v))
        SelNode = v;
    if (ActivePage != tpFreeNodes && !cells.value(1).isEmpty() && TryStrToInt(cells.value(1), v))
        SelBranch = v;
}
