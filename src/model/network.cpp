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

namespace {

// Every value that a node number carries besides the number itself. A
// column added to the node tables is added here, so that creating,
// destroying and renumbering a node cover it.
template <typename F>
void ForEachNodeColumn(TNetworkTables &t, F &&f)
{
    f(t.NodeX); f(t.NodeY); f(t.NodeAltitude); f(t.NodeLiftToSurface); f(t.NodeIsSurface);
    f(t.NodeFlags); f(t.Node3dX); f(t.Node3dY);
}

// Every value that a branch number carries besides the number, the bend
// points and the telephone, which need more than an assignment. A column
// added to the branch tables is added here, so that creating, destroying
// and renumbering a branch cover it.
template <typename F>
void ForEachBranchColumn(TNetworkTables &t, F &&f)
{
    f(t.BranchStartNode); f(t.BranchEndNode); f(t.BranchLength); f(t.BranchPLAPosition);
    f(t.BranchPeople); f(t.BranchR); f(t.BranchAuxDepression); f(t.BranchQ);
    f(t.BranchAlpha); f(t.BranchStartTemp); f(t.BranchEndTemp); f(t.BranchArea);
    f(t.BranchHeight); f(t.BranchAngle); f(t.BranchFlags); f(t.BranchLabelFlags);
    f(t.BranchType); f(t.BranchDGSMark); f(t.BranchName); f(t.BranchIsFresh);
    f(t.BranchPLAColor); f(t.BranchGivenDepression); f(t.BranchRequiredFlow); f(t.BranchLayer);
    f(t.BranchFixedDepression); f(t.BranchShortCircuitR); f(t.BranchMeasuredDepression);
    f(t.BranchMeasuredFlow); f(t.BranchNormativeFlow); f(t.BranchMinSpeed); f(t.BranchMaxSpeed);
    f(t.BranchCableCells); f(t.BranchDegasValve); f(t.BranchFirePipeDiameter);
    f(t.BranchBeltType); f(t.BranchBeltWidth); f(t.BranchGasLayerControl);
    f(t.BranchExtraRecord); f(t.BranchQBaseline); f(t.BranchHBaseline); f(t.BranchRBaseline);
    f(t.HeldNormalH); f(t.HeldNormalQ); f(t.HeldEmergencyH); f(t.HeldEmergencyQ); f(t.HeldLeftH);
}

// Place n of the node tables as a destroyed node leaves it: nothing of the
// node that was there stays for a node later made at that number.
void EmptyNodePlace(TNetworkTables &t, int n)
{
    ForEachNodeColumn(t, [n](auto &column) { column[n] = {}; });
    t.NodeNo[n] = 0;
    t.NodeAltitude[n] = AltitudeNotGiven;
}

// Place n of the branch tables as a destroyed branch leaves it: the values
// that mean "not given", nothing of the branch that was there. The speed
// limits take those of the branch's kind at the next load, as after a reset
// of the document.
void EmptyBranchPlace(TNetworkTables &t, int n)
{
    ForEachBranchColumn(t, [n](auto &column) { column[n] = {}; });
    t.BranchNo[n] = 0;
    t.BranchStartTemp[n] = TempNotGiven;
    t.BranchEndTemp[n] = TempNotGiven;
    t.BranchAngle[n] = AngleNotGiven;
    t.BranchMinSpeed[n] = SpeedTypeDefault;
    t.BranchMaxSpeed[n] = SpeedTypeDefault;
    t.BranchPhone[n] = nullptr;
    t.BranchTurns[n].reset();
}

} // namespace

void CreateNode(TNetworkTables &t, int n)
{
    if (!ValidItemIndex(n))
        return;
    EmptyNodePlace(t, n);
    t.NodeNo[n] = static_cast<std::int16_t>(n);
    t.NodeAltitude[n] = 0;
}

void DestroyNode(TNetworkTables &t, int n)
{
    if (ValidItemIndex(n))
        EmptyNodePlace(t, n);
}

void CreateBranch(TNetworkTables &t, int n)
{
    if (!ValidItemIndex(n))
        return;
    // A new branch starts from an empty place, whatever the number held
    // before (a cancelled table, a plug-in's writes).
    EmptyBranchPlace(t, n);
    t.BranchNo[n] = static_cast<std::int16_t>(n);
    t.BranchStartTemp[n] = 0;
    t.BranchEndTemp[n] = 0;
    t.BranchAngle[n] = 0;
    t.BranchName[n] = DefaultBranchName;
}

void DestroyBranch(TNetworkTables &t, int n)
{
    if (ValidItemIndex(n))
        EmptyBranchPlace(t, n);
}

void ClearAllPlaces(TNetworkTables &t)
{
    for (int n = 1; n <= MaxItems; ++n) {
        EmptyBranchPlace(t, n);
        EmptyNodePlace(t, n);
    }
}

void MoveBranchEntry(TNetworkTables &t, int from, int to)
{
    if (!ValidItemIndex(from) || !ValidItemIndex(to) || from == to)
        return;
    ForEachBranchColumn(t, [&](auto &column) { column[to] = column[from]; });
    t.BranchPhone[to] = t.BranchPhone[from];
    t.BranchTurns[to] = std::move(t.BranchTurns[from]);
    if (t.BranchTurns[to])
        for (TTurn &turn : *t.BranchTurns[to])
            turn.Number = to;
    t.BranchNo[to] = static_cast<std::int16_t>(to);
    // The values moved: none stays behind for a branch made later at `from`.
    EmptyBranchPlace(t, from);
}

bool RenumberNode(TNetworkTables &t, int to, int from)
{
    if (!ValidItemIndex(to) || to == from || NodeExist(t, to) || !ValidItemIndex(from))
        return false;
    // Creating the new number afresh would drop what the dialog does not show
    // (3D coordinates) and place an unplaced node at (0, 0); the entry moves whole.
    ForEachNodeColumn(t, [&](auto &column) { column[to] = column[from]; });
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
