#pragma once
// Stability of the air direction in inclined workings during a fire.
//
// Descending ventilation: a fire is imagined in each working ventilated
// downward in turn; its thermal depression acts against the air, and the
// working is unstable when the depression reaches the critical depression
// at which its air would reverse. Ascending ventilation: the fire's largest
// depression is put into the network as the working's additional depression
// and every branch whose air direction changes is a place of reversal.
//
// Both studies leave the network tables as they found them, apart from the
// flows of the normal distribution that they solve first.
#include "emergency/gas_zone.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <functional>
#include <vector>

// What a study loop reports to its progress window: the range, one step
// after each item (where the window gets its events), and whether "Отмена"
// was pressed, read before each item.
class TStudyProgress
{
public:
    virtual ~TStudyProgress() = default;
    virtual void SetMax(int max) {}
    virtual void Step() {}
    virtual bool Cancelled() const { return false; }
};

// Opens the branch table on a range of branch numbers ("3, 7, 12"); true
// when it was closed with OK. Unset: the lacking-data question goes on as No.
using TEditBranchRange = std::function<bool(const QString &range)>;
// The program's branch table editor on the range, when it is there.
bool EditLackingBranches(const QString &range);

// The branches of one ventilation direction (vtDescending or vtAscending)
// that a study can judge, and those that lack data for it.
struct TStabilitySelection
{
    std::vector<int> Items;
    QStringList Lacking;
};

// Types never judged: leaks, main and local fans, development faces, air
// shafts and the air lock of a shaft.
bool StabilityExcludedType(int type);
// The selection rules for one branch: 1 listed, 0 skipped, −1 lacking data.
int ClassifyStabilityBranch(const TNetworkTables &t, int n, int direction);
// Walks every existing branch; false when progress was cancelled (the
// selection is then incomplete).
bool SelectStabilityBranches(const TNetworkTables &t, int direction, TStabilitySelection &selection,
                             TStudyProgress *progress = nullptr);
// The question about the branches that lack data, or the message that none
// was found. Returns the count to go on with: 0 when the branch table was
// closed with OK after a list had been found.
int AskAboutLackingData(int direction, const TStabilitySelection &selection, const TEditBranchRange &edit);

// The slope and the air speed of a branch as the stability table and its
// reports print them: two decimals, empty when unknown.
QString StabilitySlopeText(const TNetworkTables &t, int b);
QString StabilitySpeedText(const TNetworkTables &t, int b);
// Two decimals with at most five digits before the point, else exponent form.
QString StabilityNumberText(double value);

// ---- descending ventilation ----

inline const QString StableText = QStringLiteral("Устойчиво");
inline const QString UnstableText = QStringLiteral("Не устойчиво");

struct TDescendingStability
{
    TDescendingStability();

    int Count() const { return static_cast<int>(Items.size()); }

    // The judged branches, position k at Items[k − 1].
    std::vector<int> Items;
    // By branch number:
    std::vector<double> MaxThermalDepression;     // the last value of the fire's series
    std::vector<double> CriticalDepression;       // or the depression at the reversal minute
    std::vector<double> RaisedCriticalDepression; // entered: with measures raising stability
    std::vector<double> ParallelTemperature;      // entered: °C in the parallel working; −40 not given
    std::vector<QString> Verdict;
    std::vector<int> ReversalMinute;              // 0: the air never reverses
    // A cell was edited or a row deleted: the table is shown again as it is.
    bool Edited = false;
};

// Solves the normal distribution on the tables, selects and judges. A
// solver failure is returned with the study unchanged. A cancel, or the
// branch table closed with OK after the lacking-data question, leaves no
// items. options: the fire load and the minutes of a series.
CalcResult ComputeDescendingStability(TNetworkTables &t, TDescendingStability &study, const TFireOptions &options,
                                      TStudyProgress &progress, const TEditBranchRange &edit = {});

// The table of results: twelve columns, three header rows, then position k
// in row k + 2.
constexpr int StabilityColumns = 12;
constexpr int StabilityHeaderRows = 3;
QString StabilityHeaderText(int column, int row);
QString StabilityCellText(const TNetworkTables &t, const TDescendingStability &study, int k, int column);
bool StabilityColumnEditable(int column);
// Stores an edited cell of position k; a text that is no number in column 7
// or 10 is refused with "Недопустимое значение" and nothing changes.
bool StoreStabilityCell(TDescendingStability &study, int k, int column, const QString &text);
// Removes position k; later positions move up.
void DeleteStabilityItem(TDescendingStability &study, int k);
// "Удалить ветвь 35?"
QString DeleteStabilityQuestion(int branch);

// ---- ascending ventilation ----

struct TAscendingStability
{
    TAscendingStability();

    int Count() const { return static_cast<int>(Items.size()); }

    std::vector<int> Items;
    std::vector<double> MaxThermalDepression; // by branch number
    // Per position, the branches whose air reverses, in ascending order.
    std::vector<std::vector<int>> ReversalPlaces;
};

// Needs the normal distribution in the tables' flows. Selects, then for each
// working puts the fire's largest depression into its additional depression
// and solves into a private flow array. The additional depressions are
// restored on every exit. A cancel leaves no items.
void ComputeAscendingStability(TNetworkTables &t, TAscendingStability &study, int fireTime,
                               TStudyProgress &progress, const TEditBranchRange &edit = {});
