#pragma once
// What the air distribution table lists: the branches of one category (or of
// a typed list of numbers) with flow, resistance and depressions, and the
// totals of a category. The window shows these texts; it only reads the network.
#include "model/network.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <array>
#include <cstdint>
#include <vector>

// Items of the category box, by index.
enum TAirCategory {
    acAllBranches = 0,    // "Все ветви": every existing branch
    acInternalLeaks = 1,
    acExternalLeaks = 2,
    acMainFans = 3,
    acLongwalls = 4,
    acDevelopmentFaces = 5,
    acChambers = 6,
    acWorkings = 7,
    acIntakeShafts = 8,
    acLocalFans = 9,
    acMaintained = 10,
    acStopeSections = 11,
    acAllObjects = 12,    // "Все объекты": choosing it changes nothing
    AirCategoryCount = 13,
    acTypedText = -1,     // the box holds a typed list of numbers
};
extern const std::array<QString, AirCategoryCount> AirCategoryNames;

// The one classification of branch types that the table and other lists share.
enum TBranchCategory { bcOther, bcInternalLeak, bcWorking };
TBranchCategory BranchCategory(int branchType);
// A branch of this type belongs to category index 0 to 11.
bool TypeInAirCategory(int branchType, int index);

// The grid's column headers.
QStringList AirTableHeaders();

class TAirTable
{
public:
    explicit TAirTable(const TNetworkTables &t) : m_t(t) {}

    // Fixed depressions: branches with one show it in place of their depressions.
    bool FixedDepressionMode = false;
    // The settings' ReportStyle: non-zero orders a category by its end nodes.
    int ReportStyle = 1;

    // The listed branch numbers in display order, at most 5000.
    std::vector<std::int16_t> SelectedBranches;
    int SelectedCount() const { return static_cast<int>(SelectedBranches.size()); }
    // The index of the last selection, acTypedText for typed text.
    int Category() const { return m_category; }

    // Fills the list with the existing branches of category 0 to 11.
    int SelectCategory(int index);
    // Fills the list from typed text: every existing branch of each range
    // a..b (b >= a, numbers up to 5000) in typed order, repeats kept.
    int SelectRangeText(const QString &text);

    QString MakeTitle(int index) const;
    // The eight cells of branch b.
    QStringList BranchRow(int b) const;
    // A category (not all branches, not typed text) with branches has a totals row.
    bool HasTotals() const;
    // "Итого:" with the sums of Q in m³/s and m³/min.
    QStringList TotalsRow() const;

private:
    const TNetworkTables &m_t;
    int m_category = acAllBranches;
};
