#include "model/branch_values.h"

#include "model/geometry_queries.h"
#include "platform/numbers.h"

#include <cmath>

QString FormatBranchLength(const TNetworkTables &t, int n) { return FormatFixedPD(t.BranchLength[n], 5, 1); }
QString FormatBranchR(const TNetworkTables &t, int n) { return FormatFixedPD(t.BranchR[n], 8, 5); }
QString FormatBranchQ(const TNetworkTables &t, int n) { return FormatFixedPD(t.BranchQ[n], 7, 2); }
QString FormatBranchAuxDepression(const TNetworkTables &t, int n) { return FormatFixedPD(t.BranchAuxDepression[n], 7, 2); }
QString FormatBranchDepression(const TNetworkTables &t, int n) { return FormatFixedPD(BranchDepression(t, n), 7, 2); }

QString FormatBranchStartTemp(const TNetworkTables &t, int n)
{
    return t.BranchStartTemp[n] <= TempNotGiven ? QString() : FormatFixedPD(t.BranchStartTemp[n], 7, 1);
}

QString FormatBranchEndTemp(const TNetworkTables &t, int n)
{
    return t.BranchEndTemp[n] <= TempNotGiven ? QString() : FormatFixedPD(t.BranchEndTemp[n], 7, 1);
}

QString FormatBranchArea(const TNetworkTables &t, int n) { return FormatFixedPD(t.BranchArea[n], 7, 1); }
QString FormatBranchHeight(const TNetworkTables &t, int n) { return FormatFixedPD(t.BranchHeight[n], 7, 1); }
QString FormatBranchAngle(const TNetworkTables &t, int n) { return FormatFixedPD(t.BranchAngle[n], 7, 1); }

double BranchDepression(const TNetworkTables &t, int n)
{
    return std::fabs(std::fabs(t.BranchAuxDepression[n]) - t.BranchR[n] * t.BranchQ[n] * t.BranchQ[n]);
}

bool IsReversalZone(const TNetworkTables &t, int n) { return t.BranchFlags[n] & bfReversalZone; }

bool IsBranchSelected(const TNetworkTables &t, int n)
{
    return BranchPresent(t, n) && (t.BranchFlags[n] & bfSelected);
}

void SelectBranch(TNetworkTables &t, TBranchColors &colors, int n)
{
    if (!ValidItemIndex(n))
        return;
    t.BranchFlags[n] = static_cast<std::int16_t>(t.BranchFlags[n] | bfSelected);
    colors[n] = SelectionColor;
}

void DeselectBranch(TNetworkTables &t, TBranchColors &colors, int n, std::int32_t branchColor)
{
    if (!ValidItemIndex(n))
        return;
    t.BranchFlags[n] = static_cast<std::int16_t>(t.BranchFlags[n] & ~bfSelected);
    colors[n] = branchColor;
}

void ToggleBranchSelection(TNetworkTables &t, TBranchColors &colors, int n, std::int32_t branchColor)
{
    if (IsBranchSelected(t, n))
        DeselectBranch(t, colors, n, branchColor);
    else
        SelectBranch(t, colors, n);
}

void DeselectAllBranches(TNetworkTables &t, TBranchColors &colors, std::int32_t branchColor)
{
    for (int n = 1; n <= MaxItems; ++n)
        if (BranchExist(t, n) && IsBranchSelected(t, n))
            DeselectBranch(t, colors, n, branchColor);
}

int SelectedBranchCount(const TNetworkTables &t)
{
    int count = 0;
    for (int n = 1; n <= MaxItems; ++n)
        if (IsBranchSelected(t, n))
            ++count;
    return count;
}

bool AnyBranchSelected(const TNetworkTables &t)
{
    for (int n = 1; n <= MaxItems; ++n)
        if (t.BranchFlags[n] & bfSelected)
            return true;
    return false;
}

void SelectBranchesInRect(TNetworkTables &t, TBranchColors &colors, const TRect &r)
{
    for (int n = 1; n <= MaxItems; ++n)
        if (BranchInRect(t, n, r))
            SelectBranch(t, colors, n);
}

void SetPLAPositionColor(TNetworkTables &t, int position, std::int32_t color, bool plaColoringShown,
                         TBranchColors &colors)
{
    const int last = MaxBranchNo(t);
    for (int n = 1; n <= last; ++n)
        if (BranchExist(t, n) && t.BranchPLAPosition[n] == position)
            t.BranchPLAColor[n] = color;
    if (plaColoringShown)
        for (int n = 1; n <= MaxItems; ++n)
            colors[n] = t.BranchPLAColor[n];
}

std::int32_t GetPLAPositionColor(const TNetworkTables &t, int position)
{
    for (int n = 1; n <= MaxItems; ++n)
        if (t.BranchPLAPosition[n] == position)
            return t.BranchPLAColor[n];
    return 0;
}

int FindBranchByPLAPosition(const TNetworkTables &t, int position)
{
    for (int n = 1; n <= MaxItems; ++n)
        if (BranchExist(t, n) && t.BranchPLAPosition[n] == position)
            return n;
    return 0;
}

void TraceUpstream(const TNetworkTables &t, int b, std::int16_t mark, TBranchMarks &marks)
{
    if (!ValidItemIndex(b) || marks[b] == mark)
        return;
    marks[b] = mark;
    const int start = t.BranchStartNode[b];
    for (int i = 1; i <= MaxItems; ++i) {
        if (t.BranchEndNode[i] != start)
            continue;
        const int type = t.BranchType[i];
        if (t.BranchPeople[i] != 0)
            TraceUpstream(t, i, 2, marks);
        else if (type != 1 && type != 20 && type != 21)
            TraceUpstream(t, i, mark, marks);
    }
}
