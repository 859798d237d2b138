#include "calc/network_report.h"

#include "model/branch_values.h"

std::function<void(TNetworkTables &t, std::vector<double> &pressures)> ComputeNodePressuresHook;

namespace {
int BranchAt(const std::vector<int> &list, int pos)
{
    return pos >= 1 && pos <= static_cast<int>(list.size()) ? list[static_cast<std::size_t>(pos - 1)] : 0;
}
} // namespace

TNetworkReportSources::TNetworkReportSources(const TNetworkTables &t)
    : NodePressures(TableSize, 0.0), m_t(t)
{
    MaxBranch = MaxBranchNo(t);
    MaxNode = MaxNodeNo(t);
    SelectAllBranches();

    udBranchSource.Name = QStringLiteral("udBranchSource");
    udBranchSource.OnFirst = [this](TfrComponent *) {
        BranchPos = 1;
        CurrentBranch = BranchAt(Branches, BranchPos);
    };
    udBranchSource.OnNext = [this](TfrComponent *) {
        ++BranchPos;
        CurrentBranch = BranchAt(Branches, BranchPos);
    };
    udBranchSource.OnCheckEOF = [this](TfrComponent *, bool &eof) {
        eof = eof || static_cast<int>(Branches.size()) < BranchPos;
    };

    // The walk starts at the first node that exists, not at number 1, so that
    // a scheme without node 1 gets no record of a missing node.
    udNodeSource.Name = QStringLiteral("udNodeSource");
    udNodeSource.OnFirst = [this](TfrComponent *) { CurrentNode = NextNode(0); };
    udNodeSource.OnNext = [this](TfrComponent *) { CurrentNode = NextNode(CurrentNode); };
    udNodeSource.OnCheckEOF = [this](TfrComponent *, bool &eof) { eof = eof || MaxNode < CurrentNode; };

    // A row stands at its first node, whatever column the previous row's walk
    // ended on: its label reads the row's own number, and the row count does
    // not depend on whether a column walk ran.
    udNodeCrossTabRows.Name = QStringLiteral("udNodeCrossTabRows");
    udNodeCrossTabRows.OnFirst = [this](TfrComponent *) {
        CrossRowBase = 0;
        CurrentNode = CrossRowBase;
    };
    udNodeCrossTabRows.OnNext = [this](TfrComponent *) {
        CrossRowBase += 10;
        CurrentNode = CrossRowBase;
    };
    udNodeCrossTabRows.OnCheckEOF = [this](TfrComponent *, bool &eof) { eof = eof || MaxNode < CrossRowBase; };
    udNodeCrossTabColumns.Name = QStringLiteral("udNodeCrossTabColumns");
    udNodeCrossTabColumns.OnFirst = [this](TfrComponent *) {
        CrossColumn = 0;
        CurrentNode = CrossRowBase;
    };
    udNodeCrossTabColumns.OnNext = [this](TfrComponent *) {
        ++CrossColumn;
        CurrentNode = CrossRowBase + CrossColumn;
    };
    udNodeCrossTabColumns.OnCheckEOF = [this](TfrComponent *, bool &eof) { eof = eof || CrossColumn > 9; };
}

void TNetworkReportSources::SelectAllBranches()
{
    Branches.clear();
    for (int n = 1; n <= MaxBranch; ++n)
        if (m_t.BranchNo[n] == n)
            Branches.push_back(n);
}

int TNetworkReportSources::NextNode(int n) const
{
    do
        ++n;
    while (n <= MaxNode && m_t.NodeNo[n] != n);
    return n;
}

std::vector<TfrDataset *> TNetworkReportSources::Datasets()
{
    return {&udBranchSource, &udNodeSource, &udNodeCrossTabRows, &udNodeCrossTabColumns};
}

bool TNetworkReportSources::GetValue(const QString &name, Variant &value) const
{
    const TNetworkTables &t = m_t;
    const int n = ValidItemIndex(CurrentNode) ? CurrentNode : 0;
    const int b = ValidItemIndex(CurrentBranch) ? CurrentBranch : 0;
    if (name == QStringLiteral("НазвШахты"))
        value = MineTitle;
    else if (name == QStringLiteral("НомерУзла"))
        value = CurrentNode;
    else if (name == QStringLiteral("Х узла"))
        value = int(t.NodeX[n]);
    else if (name == QStringLiteral("Y узла"))
        value = int(t.NodeY[n]);
    else if (name == QStringLiteral("ВысОтметка"))
        value = NodeExist(t, n) ? t.NodeAltitude[n] : 0.0;
    else if (name == QStringLiteral("ДавленУзл"))
        value = NodeExist(t, n) ? NodePressures[static_cast<std::size_t>(n)] : 0.0;
    else if (name == QStringLiteral("УзПоверхн"))
        value = t.NodeIsSurface[n] ? QStringLiteral("Да") : QString();
    else if (name == QStringLiteral("ПодъемНаПоверхн"))
        value = t.NodeLiftToSurface[n] ? QStringLiteral("Да") : QString();
    else if (name == QStringLiteral("НомерВетви"))
        value = CurrentBranch;
    else if (name == QStringLiteral("НазвВетви"))
        value = GetBranchName(t, b);
    else if (name == QStringLiteral("НачУзел"))
        value = int(t.BranchStartNode[b]);
    else if (name == QStringLiteral("КонУзел"))
        value = int(t.BranchEndNode[b]);
    else if (name == QStringLiteral("РасхВозд"))
        value = t.BranchQ[b];
    else if (name == QStringLiteral("СопрВетви"))
        value = t.BranchR[b];
    else if (name == QStringLiteral("ДопДепр"))
        value = t.BranchAuxDepression[b];
    else if (name == QStringLiteral("КодВетви"))
        value = QStringLiteral("%1-%2").arg(t.BranchStartNode[b]).arg(t.BranchEndNode[b]);
    else if (name == QStringLiteral("ДлинВетви"))
        value = int(t.BranchLength[b]);
    else if (name == QStringLiteral("ПозПЛА"))
        value = int(t.BranchPLAPosition[b]);
    else if (name == QStringLiteral("ЧислЛюдей"))
        value = int(t.BranchPeople[b]);
    else if (name == QStringLiteral("Альфа"))
        value = t.BranchAlpha[b];
    else if (name == QStringLiteral("НачТемпр"))
        value = t.BranchStartTemp[b];
    else if (name == QStringLiteral("КонТемпр"))
        value = t.BranchEndTemp[b];
    else if (name == QStringLiteral("ПлощСечен"))
        value = t.BranchArea[b];
    else if (name == QStringLiteral("ВысПросв"))
        value = t.BranchHeight[b];
    else if (name == QStringLiteral("УгНакл"))
        value = t.BranchAngle[b];
    else if (name == QStringLiteral("Свежая?"))
        value = t.BranchIsFresh[b] != 0;
    else if (name == QStringLiteral("ТипВетви"))
        value = BranchTypeName(t.BranchType[b]);
    else
        return false;
    return true;
}
