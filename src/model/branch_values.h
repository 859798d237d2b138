#pragma once
// Small operations on single branches that tables, labels and tools share:
// value texts, the depression over a branch, selection, PLA position colours
// and the upstream marking.
#include "model/network.h"
#include "platform/geometry.h"

#include <QtCore/QString>

#include <array>
#include <cstdint>

// One colour (0x00BBGGRR) per branch, as the scheme draws them.
using TBranchColors = std::array<std::int32_t, TableSize>;

// Selected branches are drawn dark red.
constexpr std::int32_t SelectionColor = 0x000080;

QString FormatBranchLength(const TNetworkTables &t, int n);
QString FormatBranchR(const TNetworkTables &t, int n);
QString FormatBranchQ(const TNetworkTables &t, int n);
QString FormatBranchAuxDepression(const TNetworkTables &t, int n);
QString FormatBranchDepression(const TNetworkTables &t, int n);
// Empty when the temperature is not given (−40 or below).
QString FormatBranchStartTemp(const TNetworkTables &t, int n);
QString FormatBranchEndTemp(const TNetworkTables &t, int n);
QString FormatBranchArea(const TNetworkTables &t, int n);
QString FormatBranchHeight(const TNetworkTables &t, int n);
QString FormatBranchAngle(const TNetworkTables &t, int n);

// | |additional depression| − R × Q² |, mm water column.
double BranchDepression(const TNetworkTables &t, int n);
bool IsReversalZone(const TNetworkTables &t, int n);

// Selection is bit 0x800 of the flag word and is saved with the scheme. The
// callers redraw the branches they change.
bool IsBranchSelected(const TNetworkTables &t, int n);
void SelectBranch(TNetworkTables &t, TBranchColors &colors, int n);
// Back to the scheme's branch colour, whatever colour the branch had before.
void DeselectBranch(TNetworkTables &t, TBranchColors &colors, int n, std::int32_t branchColor);
void ToggleBranchSelection(TNetworkTables &t, TBranchColors &colors, int n, std::int32_t branchColor);
void DeselectAllBranches(TNetworkTables &t, TBranchColors &colors, std::int32_t branchColor);
int SelectedBranchCount(const TNetworkTables &t);
// Any place carries the bit, present or not.
bool AnyBranchSelected(const TNetworkTables &t);
void SelectBranchesInRect(TNetworkTables &t, TBranchColors &colors, const TRect &r);

// Colours every existing branch of the position; when the PLA colouring is
// shown, the PLA colours become the branch colours.
void SetPLAPositionColor(TNetworkTables &t, int position, std::int32_t color, bool plaColoringShown,
                         TBranchColors &colors);
std::int32_t GetPLAPositionColor(const TNetworkTables &t, int position);
int FindBranchByPLAPosition(const TNetworkTables &t, int position);

// Spreads mark against the drawn direction from branch b: branches with people
// and what lies upstream of them get 2; internal leakages and ventilation
// ducts without people stop the spread.
using TBranchMarks = std::array<std::int16_t, TableSize>;
void TraceUpstream(const TNetworkTables &t, int b, std::int16_t mark, TBranchMarks &marks);
