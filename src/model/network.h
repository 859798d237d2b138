#pragma once
// The network tables: one array per attribute of a node or branch, indexed by
// item number. Place n holds item n; place 0 is never used. Every subsystem
// reads and writes them by number, plug-ins through pointers to element 1, so
// the arrays are fixed in size and never move.
#include "model/mine_objects.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class TTelephone;

constexpr int MaxItems = 5000;         // capacity of nodes and of branches
constexpr int TableSize = MaxItems + 1;  // index n is item n
constexpr int NoFreeNumber = MaxItems + 1; // what the numbering gives when full

// Markers of values that are not given.
constexpr double AltitudeNotGiven = 10000;
constexpr double TempNotGiven = -40;     // this or below
constexpr double AngleNotGiven = 361;
constexpr double MinSpeedNotRegulated = -100;
constexpr double MaxSpeedUnlimited = 1000;
constexpr double SpeedTypeDefault = -1;  // take the branch type's default at the next load
constexpr double ValueNotGiven = 1e-7;   // fixed and measured values
constexpr std::int16_t UnplacedX = -31869;
constexpr std::int16_t UnplacedY = -25740;

// BranchFlags bits.
enum : std::int16_t {
    bfReversalZone = 0x0001,
    bfConveyor = 0x0002,
    bfFireWaterPipe = 0x0004,
    bfElectricCables = 0x0008,
    bfCompressedAirPipe = 0x0010,
    bfDegassingPipe = 0x0020,
    bfFresh = 0x0100,          // copy of BranchIsFresh, filled for saving
    bfGasLayerControl = 0x0400, // copy of BranchGasLayerControl, filled for saving
    bfSelected = 0x0800,
};

// BranchLabelFlags bits: the values written beside a branch.
enum : std::int32_t {
    lfArea = 0x0001, lfNumber = 0x0002, lfName = 0x0004, lfLength = 0x0008,
    lfR = 0x0010, lfDepression = 0x0020, lfAuxDepression = 0x0040, lfQ = 0x0080,
    lfEndTemp = 0x0100, lfStartTemp = 0x0200, lfPeople = 0x0400, lfAlpha = 0x0800,
    lfAngle = 0x1000, lfHeight = 0x2000, lfArrow = 0x4000, lfPLAPosition = 0x8000,
};

using TTurnList = std::vector<TTurn>;
using TNodeBranchList = std::vector<TBranchToNode>;
constexpr int ExtraRecordSize = 81;

template <typename T>
using TTable = std::array<T, TableSize>;

// Conveyor belt widths in millimetres; a branch stores the index of its width.
inline constexpr int BeltWidthCount = 13;
inline constexpr std::array<std::int32_t, BeltWidthCount> BeltWidths{400, 450, 500, 600, 700, 800, 900,
                                                     1000, 1100, 1200, 1300, 1400, 1500};

struct TNetworkTables
{
    // Nodes.
    TTable<std::int16_t> NodeNo{};
    TTable<std::int16_t> NodeX{};
    TTable<std::int16_t> NodeY{};
    TTable<double> NodeAltitude{};
    TTable<std::uint8_t> NodeLiftToSurface{};
    TTable<std::uint8_t> NodeIsSurface{};
    TTable<std::int16_t> NodeFlags{};
    TTable<double> Node3dX{};
    TTable<double> Node3dY{};
    TTable<std::optional<TNodeBranchList>> NodeBranchLists{};

    // Branches.
    TTable<std::int16_t> BranchNo{};
    TTable<std::int16_t> BranchStartNode{};
    TTable<std::int16_t> BranchEndNode{};
    TTable<std::int16_t> BranchLength{};
    TTable<std::int16_t> BranchPLAPosition{};
    TTable<std::int16_t> BranchPeople{};
    TTable<double> BranchR{};
    TTable<double> BranchAuxDepression{};
    TTable<double> BranchQ{};
    TTable<double> BranchAlpha{};
    TTable<double> BranchStartTemp{};
    TTable<double> BranchEndTemp{};
    TTable<double> BranchArea{};
    TTable<double> BranchHeight{};
    TTable<double> BranchAngle{};
    TTable<std::int16_t> BranchFlags{};
    TTable<std::int16_t> BranchLabelFlags{};
    TTable<std::uint8_t> BranchType{};
    TTable<std::int16_t> BranchDGSMark{};
    TTable<QString> BranchName{};
    TTable<std::uint8_t> BranchIsFresh{};
    TTable<std::int32_t> BranchPLAColor{};
    TTable<double> BranchGivenDepression{};
    TTable<double> BranchRequiredFlow{};
    TTable<std::optional<TTurnList>> BranchTurns{};
    TTable<std::uint8_t> BranchLayer{};
    TTable<double> BranchFixedDepression{};
    TTable<double> BranchShortCircuitR{};
    TTable<double> BranchMeasuredDepression{};
    TTable<double> BranchMeasuredFlow{};
    TTable<double> BranchNormativeFlow{};
    TTable<double> BranchMinSpeed{};
    TTable<double> BranchMaxSpeed{};
    TTable<TTelephone *> BranchPhone{};
    TTable<QString> BranchCableCells{};
    TTable<QString> BranchDegasValve{};
    TTable<QString> BranchFirePipeDiameter{};
    TTable<std::uint8_t> BranchBeltType{};
    TTable<std::int16_t> BranchBeltWidth{}; // index into BeltWidths
    TTable<std::uint8_t> BranchGasLayerControl{};
    TTable<std::array<std::uint8_t, ExtraRecordSize>> BranchExtraRecord{};
    TTable<double> BranchQBaseline{};
    TTable<double> BranchHBaseline{};
    TTable<double> BranchRBaseline{};

    // Copies that a model holding BranchAuxDepression and BranchQ keeps of
    // them while it lives (the fire model: the normal and the emergency set,
    // and the depressions it last left in the tables). They are columns
    // like the others, so that a branch's copies follow it through create,
    // destroy and renumber, and come back with the tables when a table
    // editor is cancelled. All 0 while no model lives.
    TTable<double> HeldNormalH{};
    TTable<double> HeldNormalQ{};
    TTable<double> HeldEmergencyH{};
    TTable<double> HeldEmergencyQ{};
    TTable<double> HeldLeftH{};
};

// The program's one set of tables, alive for the whole run.
extern TNetworkTables Net;

extern const QString DefaultBranchName;

// Branch type names by code; entry 27 stands for any unknown code.
constexpr int BranchTypeCount = 27;
constexpr int UnknownBranchType = 27;
extern const std::array<QString, BranchTypeCount + 1> BranchTypeNames;
// The name of a type code; unknown codes give entry 27.
QString BranchTypeName(int code);
// The code of a type name; 27 when no name matches.
int BranchTypeByName(const QString &name);
// The 27 names of codes 0 to 26, in code order.
QStringList GetBranchTypeList();

// Counting and numbering. Nothing is cached: each is a scan of the number table.
constexpr bool ValidItemIndex(int n) { return n >= 1 && n <= MaxItems; }
constexpr int GetMaxItemsCount() { return MaxItems; }
int NodeCount(const TNetworkTables &t);
int BranchCount(const TNetworkTables &t);
int MaxNodeNo(const TNetworkTables &t);
int MaxBranchNo(const TNetworkTables &t);
// The number for the next new item: the first free place when firstFree is
// set, else the highest used number + 1; NoFreeNumber when there is no room.
std::int16_t GetNewNodeNo(const TNetworkTables &t, bool firstFree);
std::int16_t GetNewBranchNo(const TNetworkTables &t, bool firstFree);
int PlacedNodeCount(const TNetworkTables &t);

// Existence.
bool NodeExist(const TNetworkTables &t, int n);
bool IsPlacedNode(const TNetworkTables &t, int n);
// Branch n holds its own number, whatever its end nodes.
bool BranchPresent(const TNetworkTables &t, int n);
// Branch n is present and both its end nodes exist.
bool BranchExist(const TNetworkTables &t, int n);
// No existing branch starts or ends at node n.
bool IsFreeNode(const TNetworkTables &t, int n);

// Creating and destroying; numbers outside 1..5000 are ignored. Each sets
// every column of the place: a destroyed item leaves nothing behind at its
// number, and a created one starts from an empty place, whatever was there.
void CreateNode(TNetworkTables &t, int n);
void DestroyNode(TNetworkTables &t, int n);
void CreateBranch(TNetworkTables &t, int n);
void DestroyBranch(TNetworkTables &t, int n);
void DestroyAllBranches(TNetworkTables &t);
// Every branch and node place 1..5000 as destroyed, used or not: what a
// document reset and the scheme reader start from, so that no value of an
// earlier network stays in any table.
void ClearAllPlaces(TNetworkTables &t);
// Renumbering: branch `from` becomes branch `to` with every value of its
// entry, its bend points and its telephone; `from` is left as destroyed.
// Numbers outside 1..5000 are ignored.
void MoveBranchEntry(TNetworkTables &t, int from, int to);
// Renumbering a node: only to a valid number that differs and names no
// existing node. Node `to` takes the whole entry of `from` (position, also
// the unplaced one, altitude, flags, 3D coordinates); every branch that
// started or ended at `from` then does so at `to`, its edge points rebuilt.
// True when renumbered.
bool RenumberNode(TNetworkTables &t, int to, int from);
void DestroyAllNodes(TNetworkTables &t);
void ClearAllItems(TNetworkTables &t);

// Names.
void SetBranchName(TNetworkTables &t, int n, const QString &name);
// The name when BranchExist(n), else an empty text.
QString GetBranchName(const TNetworkTables &t, int n);

// Bend points. The first and last points of a complete list lie on the end nodes.
void InsertBranchEdgeTurns(TNetworkTables &t, int n);
void RemoveBranchEdgeTurns(TNetworkTables &t, int n);
void RebuildAllEdgeTurns(TNetworkTables &t);
// The first point of every branch starting at node n, and the last point of
// every branch ending there, move to (x, y).
void MoveBranchEnds(TNetworkTables &t, int n, int x, int y);
int InnerTurnCount(const TNetworkTables &t, int n);
int TotalInnerTurns(const TNetworkTables &t);
// Drops every point equal to the point kept before it.
void RemoveDuplicateTurns(TTurnList &list);

// Node incidence: rebuilt from the branches before each use.
void BuildNodeBranchLists(TNetworkTables &t);
