#include "model/network.h"

TNetworkTables Net;

const QString DefaultBranchName = QStringLiteral(" >>> Эта ветвь без названия? <<<");

const std::array<QString, BranchTypeCount + 1> BranchTypeNames = {
    QStringLiteral("Выработка"),
    QStringLiteral("Внутр. утечка (подсос)"),
    QStringLiteral("ВГП"),
    QStringLiteral("Внутр. утечка (дверь)"),
    QStringLiteral("Камера"),
    QStringLiteral("Перемычка"),
    QStringLiteral("Регулятор"),
    QStringLiteral("Лава"),
    QStringLiteral("ВМП"),
    QStringLiteral("Непроходимая"),
    QStringLiteral("Подготовительный забой"),
    QStringLiteral("Клетевой подъем"),
    QStringLiteral("Лестница"),
    QStringLiteral("Скип"),
    QStringLiteral("Внешняя утечка (подсос)"),
    QStringLiteral("Воздухоподающие стволы"),
    QStringLiteral("Внешняя утечка (дверь)"),
    QStringLiteral("Поддерживаемая выработка"),
    QStringLiteral("Всас ВМП"),
    QStringLiteral("Подсвежение"),
    QStringLiteral("Внутренние утечки между участками"),
    QStringLiteral("Вентиляционный трубопровод"),
    QStringLiteral("Пожарная дверь"),
    QStringLiteral("Очистной участок"),
    QStringLiteral("Вент. скв-на"),
    QStringLiteral("Вент. скв-на (авар. подъём)"),
    QStringLiteral("Вент. канал"),
    QStringLiteral("Неизвестный ошибочный тип"),
};

QString BranchTypeName(int code)
{
    return BranchTypeNames[code >= 0 && code < BranchTypeCount ? code : UnknownBranchType];
}

int BranchTypeByName(const QString &name)
{
    for (int code = 0; code < BranchTypeCount; ++code)
        if (BranchTypeNames[code] == name)
            return code;
    return UnknownBranchType;
}

QStringList GetBranchTypeList()
{
    return QStringList(BranchTypeNames.begin(), BranchTypeNames.begin() + BranchTypeCount);
}

namespace {

int CountOwnNumbers(const TTable<std::int16_t> &numbers)
{
    int count = 0;
    for (int n = 1; n <= MaxItems; ++n)
        if (numbers[n] == n)
            ++count;
    return count;
}

int HighestOwnNumber(const TTable<std::int16_t> &numbers)
{
    for (int n = MaxItems; n >= 1; --n)
        if (numbers[n] == n)
            return n;
    return 0;
}

std::int16_t NewNumber(const TTable<std::int16_t> &numbers, bool firstFree)
{
    if (firstFree) {
        for (int n = 1; n <= MaxItems; ++n)
            if (numbers[n] != n)
                return static_cast<std::int16_t>(n);
        return NoFreeNumber;
    }
    return static_cast<std::int16_t>(HighestOwnNumber(numbers) + 1);
}

} // namespace

int NodeCount(const TNetworkTables &t) { return CountOwnNumbers(t.NodeNo); }
int BranchCount(const TNetworkTables &t) { return CountOwnNumbers(t.BranchNo); }
int MaxNodeNo(const TNetworkTables &t) { return HighestOwnNumber(t.NodeNo); }
int MaxBranchNo(const TNetworkTables &t) { return HighestOwnNumber(t.BranchNo); }
std::int16_t GetNewNodeNo(const TNetworkTables &t, bool firstFree) { return NewNumber(t.NodeNo, firstFree); }
std::int16_t GetNewBranchNo(const TNetworkTables &t, bool firstFree) { return NewNumber(t.BranchNo, firstFree); }

int PlacedNodeCount(const TNetworkTables &t)
{
    int count = 0;
    for (int n = 1; n <= MaxItems; ++n)
        if (IsPlacedNode(t, n))
            ++count;
    return count;
}

bool NodeExist(const TNetworkTables &t, int n)
{
    return ValidItemIndex(n) && t.NodeNo[n] == n;
}

bool IsPlacedNode(const TNetworkTables &t, int n)
{
    return NodeExist(t, n) && !(t.NodeX[n] == UnplacedX && t.NodeY[n] == UnplacedY);
}

bool BranchPresent(const TNetworkTables &t, int n)
{
    return ValidItemIndex(n) && t.BranchNo[n] == n;
}

bool BranchExist(const TNetworkTables &t, int n)
{
    return BranchPresent(t, n) && NodeExist(t, t.BranchStartNode[n]) && NodeExist(t, t.BranchEndNode[n]);
}

bool IsFreeNode(const TNetworkTables &t, int n)
{
    const int last = MaxBranchNo(t);
    for (int m = 1; m <= last; ++m)
        if (BranchExist(t, m) && (t.BranchStartNode[m] == n || t.BranchEndNode[m] == n))
            return false;
    return true;
}

void CreateNode(TNetworkTables &t, int n)
{
    if (!ValidItemIndex(n))
        return;
    t.NodeNo[n] = static_cast<std::int16_t>(n);
    t.NodeX[n] = 0;
    t.NodeY[n] = 0;
    t.NodeAltitude[n] = 0;
    t.NodeLiftToSurface[n] = 0;
    t.NodeIsSurface[n] = 0;
}

void DestroyNode(TNetworkTables &t, int n)
{
    if (!ValidItemIndex(n))
        return;
    t.NodeNo[n] = 0;
    t.NodeX[n] = 0;
    t.NodeY[n] = 0;
    t.NodeAltitude[n] = AltitudeNotGiven;
    t.NodeLiftToSurface[n] = 0;
    t.NodeIsSurface[n] = 0;
}

// Columns that both creation and destruction reset to zero.
static void ZeroBranchValues(TNetworkTables &t, int n)
{
    t.BranchStartNode[n] = 0;
    t.BranchEndNode[n] = 0;
    t.BranchLength[n] = 0;
    t.BranchPLAPosition[n] = 0;
    t.BranchPeople[n] = 0;
    t.BranchR[n] = 0;
    t.BranchAuxDepression[n] = 0;
    t.BranchQ[n] = 0;
    t.BranchArea[n] = 0;
    t.BranchHeight[n] = 0;
    t.BranchFlags[n] = 0;
    t.BranchLabelFlags[n] = 0;
    t.BranchType[n] = 0;
    t.BranchIsFresh[n] = 0;
    t.BranchPhone[n] = nullptr;
    t.BranchTurns[n].reset();
}

void CreateBranch(TNetworkTables &t, int n)
{
    if (!ValidItemIndex(n))
        return;
    ZeroBranchValues(t, n);
    t.BranchNo[n] = static_cast<std::int16_t>(n);
    t.BranchAlpha[n] = 0;
    t.BranchStartTemp[n] = 0;
    t.BranchEndTemp[n] = 0;
    t.BranchAngle[n] = 0;
    t.BranchName[n] = DefaultBranchName;
}

void DestroyBranch(TNetworkTables &t, int n)
{
    if (!ValidItemIndex(n))
        return;
    ZeroBranchValues(t, n);
    t.BranchNo[n] = 0;
    t.BranchStartTemp[n] = TempNotGiven;
    t.BranchEndTemp[n] = TempNotGiven;
    t.BranchAngle[n] = AngleNotGiven;
    t.BranchDGSMark[n] = 0;
    t.BranchName[n].clear();
    t.BranchPLAColor[n] = 0;
    t.BranchGivenDepression[n] = 0;
    t.BranchRequiredFlow[n] = 0;
    t.BranchLayer[n] = 0;
    t.BranchFixedDepression[n] = 0;
    t.BranchShortCircuitR[n] = 0;
    t.BranchMeasuredDepression[n] = 0;
    t.BranchMeasuredFlow[n] = 0;
    t.BranchNormativeFlow[n] = 0;
    t.BranchQBaseline[n] = 0;
    t.BranchHBaseline[n] = 0;
    t.BranchRBaseline[n] = 0;
}

void MoveBranchEntry(TNetworkTables &t, int from, int to)
{
    if (!ValidItemIndex(from) || !ValidItemIndex(to) || from == to)
        return;
    const auto copy = [&](auto &column) { column[to] = column[from]; };
    copy(t.BranchStartNode); copy(t.BranchEndNode); copy(t.BranchLength); copy(t.BranchPLAPosition);
    copy(t.BranchPeople); copy(t.BranchR); copy(t.BranchAuxDepression); copy(t.BranchQ);
    copy(t.BranchAlpha); copy(t.BranchStartTemp); copy(t.BranchEndTemp); copy(t.BranchArea);
    copy(t.BranchHeight); copy(t.BranchAngle); copy(t.BranchFlags); copy(t.BranchLabelFlags);
    copy(t.BranchType); copy(t.BranchDGSMark); copy(t.BranchName); copy(t.BranchIsFresh);
    copy(t.BranchPLAColor); copy(t.BranchGivenDepression); copy(t.BranchRequiredFlow); copy(t.BranchLayer);
    copy(t.BranchFixedDepression); copy(t.BranchShortCircuitR); copy(t.BranchMeasuredDepression);
    copy(t.BranchMeasuredFlow); copy(t.BranchNormativeFlow); copy(t.BranchMinSpeed); copy(t.BranchMaxSpeed);
    copy(t.BranchCableCells); copy(t.BranchDegasValve); copy(t.BranchFirePipeDiameter);
    copy(t.BranchBeltType); copy(t.BranchBeltWidth); copy(t.BranchGasLayerControl);
    copy(t.BranchExtraRecord); copy(t.BranchQBaseline); copy(t.BranchHBaseline); copy(t.BranchRBaseline);
    t.BranchPhone[to] = t.BranchPhone[from];
    t.BranchPhone[from] = nullptr;
    t.BranchTurns[to] = std::move(t.BranchTurns[from]);
    t.BranchTurns[from].reset();
    if (t.BranchTurns[to])
        for (TTurn &turn : *t.BranchTurns[to])
            turn.Number = to;
    t.BranchNo[to] = static_cast<std::int16_t>(to);
    t.BranchNo[from] = 0;
}

bool RenumberNode(TNetworkTables &t, int to, int from)
{
    if (!ValidItemIndex(to) || to == from || NodeExist(t, to) || !ValidItemIndex(from))
        return false;
    // Creating the new number afresh would drop what the dialog does not show
    // (3D coordinates) and place an unplaced node at (0, 0); the entry moves whole.
    const auto copy = [&](auto &column) { column[to] = column[from]; };
    copy(t.NodeX); copy(t.NodeY); copy(t.NodeAltitude); copy(t.NodeLiftToSurface); copy(t.NodeIsSurface);
    copy(t.NodeFlags); copy(t.Node3dX); copy(t.Node3dY);
    t.NodeNo[to] = static_cast<std::int16_t>(to);
    DestroyNode(t, from);
    for (int n = 1; n <= MaxItems; ++n) {
        if (!BranchPresent(t, n))
            continue;
        const bool starts = t.BranchStartNode[n] == from;
        const bool ends = t.BranchEndNode[n] == from;
        if (!starts && !ends)
            continue;
        if (starts)
            t.BranchStartNode[n] = static_cast<std::int16_t>(to);
        if (ends)
            t.BranchEndNode[n] = static_cast<std::int16_t>(to);
        RemoveBranchEdgeTurns(t, n);
        InsertBranchEdgeTurns(t, n);
    }
    return true;
}

void DestroyAllBranches(TNetworkTables &t)
{
    for (int n = 1; n <= MaxItems; ++n)
        if (BranchPresent(t, n))
            DestroyBranch(t, n);
}

void DestroyAllNodes(TNetworkTables &t)
{
    for (int n = 1; n <= MaxItems; ++n)
        if (NodeExist(t, n))
            DestroyNode(t, n);
}

void ClearAllItems(TNetworkTables &t)
{
    DestroyAllBranches(t);
    DestroyAllNodes(t);
}

void SetBranchName(TNetworkTables &t, int n, const QString &name)
{
    if (ValidItemIndex(n))
        t.BranchName[n] = name;
}

QString GetBranchName(const TNetworkTables &t, int n)
{
    return BranchExist(t, n) ? t.BranchName[n] : QString();
}

void InsertBranchEdgeTurns(TNetworkTables &t, int n)
{
    if (!ValidItemIndex(n))
        return;
    // A branch created through the plug-in API has no list yet; give it one
    // rather than leave the branch without geometry.
    auto &list = t.BranchTurns[n];
    if (!list)
        list.emplace().reserve(4);
    const int start = t.BranchStartNode[n];
    const int end = t.BranchEndNode[n];
    const auto x = [&](int node) { return ValidItemIndex(node) ? t.NodeX[node] : 0; };
    const auto y = [&](int node) { return ValidItemIndex(node) ? t.NodeY[node] : 0; };
    list->insert(list->begin(), TTurn(n, x(start), y(start)));
    list->push_back(TTurn(n, x(end), y(end)));
}

void RemoveBranchEdgeTurns(TNetworkTables &t, int n)
{
    if (!ValidItemIndex(n) || !t.BranchTurns[n])
        return;
    auto &list = *t.BranchTurns[n];
    if (!list.empty())
        list.erase(list.begin());
    if (!list.empty())
        list.pop_back();
}

void RebuildAllEdgeTurns(TNetworkTables &t)
{
    for (int n = 1; n <= MaxItems; ++n)
        if (BranchPresent(t, n))
            InsertBranchEdgeTurns(t, n);
}

void MoveBranchEnds(TNetworkTables &t, int n, int x, int y)
{
    for (int i = 1; i <= MaxItems; ++i) {
        if (t.BranchNo[i] != i || !t.BranchTurns[i] || t.BranchTurns[i]->empty())
            continue;
        TTurnList &list = *t.BranchTurns[i];
        if (t.BranchStartNode[i] == n) {
            list.front().X = x;
            list.front().Y = y;
        }
        if (t.BranchEndNode[i] == n) {
            list.back().X = x;
            list.back().Y = y;
        }
    }
}

int InnerTurnCount(const TNetworkTables &t, int n)
{
    if (!ValidItemIndex(n) || !t.BranchTurns[n])
        return 0;
    return static_cast<int>(t.BranchTurns[n]->size()) - 2;
}

int TotalInnerTurns(const TNetworkTables &t)
{
    int total = 0;
    for (int n = 1; n <= MaxItems; ++n)
        if (BranchPresent(t, n))
            total += InnerTurnCount(t, n);
    return total;
}

void RemoveDuplicateTurns(TTurnList &list)
{
    const auto same = [](const TTurn &a, const TTurn &b) { return a.X == b.X && a.Y == b.Y; };
    list.erase(std::unique(list.begin(), list.end(), same), list.end());
}

void BuildNodeBranchLists(TNetworkTables &t)
{
    for (int n = 1; n <= MaxItems; ++n) {
        t.NodeBranchLists[n].reset();
        if (NodeExist(t, n))
            t.NodeBranchLists[n].emplace().reserve(8);
    }
    for (int m = 1; m <= MaxItems; ++m) {
        if (!BranchExist(t, m))
            continue;
        const int start = t.BranchStartNode[m];
        const int end = t.BranchEndNode[m];
        t.NodeBranchLists[start]->push_back({m, TBranchToNode::Leaving});
        t.NodeBranchLists[end]->push_back({m, TBranchToNode::Entering});
    }
}
