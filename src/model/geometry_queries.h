#pragma once
// What lies under a point of the scheme (scheme units): nodes, bend points,
// branch segments, telephones, texts; and the extent of the scheme. Nodes and
// bend points are hit inside ±4 units, branch segments within 4 pixels at the
// view's zoom.
#include "model/network.h"
#include "platform/geometry.h"

#include <cstdint>
#include <span>
#include <vector>

// Codes of a hit list.
constexpr std::int32_t HitBranchBase = 0x10000;
constexpr std::int32_t HitPhoneBase = 0xA0000;
constexpr std::int32_t HitTextBase = 0xC0000;

// Codes collected by the Find...At queries, at most Limit of them.
class THitList
{
public:
    explicit THitList(int limit) : m_limit(limit) {}
    const std::vector<std::int32_t> &Codes() const { return m_codes; }
    int Count() const { return static_cast<int>(m_codes.size()); }
    bool Full() const { return Count() >= m_limit; }
    // False (and nothing added) once the limit is reached.
    bool Add(std::int32_t code);

private:
    int m_limit;
    std::vector<std::int32_t> m_codes;
};

// The node box: open intervals of ±4 units.
bool InNodeBox(int boxX, int boxY, int x, int y);

// The highest-numbered placed node whose box holds the point; -1 when none.
int HitNode(const TNetworkTables &t, int x, int y);
// The lowest-numbered placed node; else the first inner bend point hit (branch
// and its index in the point list), the result then -1.
int HitNodeOrTurn(const TNetworkTables &t, int x, int y, int &branch, int &turnIndex);
// The branch whose segment is nearest among those hit at this zoom; foot gets
// the nearest point of that segment. -1 when none (foot unchanged).
int HitBranch(const TNetworkTables &t, double zoom, int x, int y, TPoint &foot);

void FindNodesAt(const TNetworkTables &t, int x, int y, THitList &list);
void FindBranchesAt(const TNetworkTables &t, double zoom, int x, int y, THitList &list);
// Telephones by their positions, texts by their rectangles (edges included).
void FindPhonesAt(std::span<const TPoint> phones, int x, int y, THitList &list);
void FindTextsAt(std::span<const TRect> texts, int x, int y, THitList &list);

// The rectangle that holds the scheme, 1 unit wider on each side; 0, 0, 1500,
// 1000 when fewer than two nodes are placed.
TRect SchemeBounds(const TNetworkTables &t);
// Both end nodes of an existing branch lie in the rectangle, edges included.
bool BranchInRect(const TNetworkTables &t, int branch, const TRect &r);
