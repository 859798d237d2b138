#pragma once
// Air speed control: the admissible minimum and maximum speed of each branch
// kind, the speed of a branch, and the rows and filters of the speed table.
#include "model/network.h"
#include "model/speed_limits.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// The BranchTypeNames code of a name (the last that matches), 27 for none.
int TypeCodeOfName(const QString &name);

// Texts of the limits: "не контр." for uncontrolled kinds, "не регл." for a
// minimum of -100, "не огр." for a maximum of 1000, empty for -1.
QString MinSpeedText(const TNetworkTables &t, int b);
QString MaxSpeedText(const TNetworkTables &t, int b);

QStringList SpeedTableHeaders();

// How a row is marked.
enum TSpeedState { ssNormal, ssBelowMin, ssAboveMax };

// Filter box items after the first ("1-" + highest number, or typed text).
enum TSpeedFilter { sfRange = 0, sfBelowMin = 1, sfAboveMax = 2, sfGasLayer = 3, sfFirstKind = 4 };

class TSpeedTable
{
public:
    explicit TSpeedTable(const TNetworkTables &t);

    // The speed of every place (NoSpeed where there is none).
    std::array<double, TableSize> Speeds{};
    // The listed branches, at most 5000.
    std::vector<std::int16_t> SpeedRows;
    int SpeedRowCount() const { return static_cast<int>(SpeedRows.size()); }

    // Computes the speeds and lists every controlled branch in number order.
    void ComputeSpeeds();
    // The filter box items: "1-<highest number>", the three conditions, then
    // the names of the controlled kinds in code order.
    QStringList FilterItems() const;
    // Lists by the filter box: an item index with its text, or -1 for typed text.
    void ApplyFilter(int index, const QString &text);

    QStringList BranchRow(int b) const;
    TSpeedState State(int b) const;

private:
    void AddRows(const std::function<bool(int b)> &accept);

    const TNetworkTables &m_t;
};
