#pragma once
// The short-circuiting study: every door and regulator of the network is
// opened in turn (its resistance lowered to that of an open path), the network
// is solved again each time, and for every branch the smallest flow of any
// opening is kept with the opening that caused it. Longwalls, fan suctions,
// freshening airways and connections between districts are graded by it.
//
// The study works on the snapshot of the network walks taken after the
// normal solve; the tables it was given are never written.
#include "calc/node_pressures.h"
#include "calc/solver.h"
#include "model/network.h"
#include "report/dataset.h"
#include "report/variant.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// The branch kinds the study looks at.
enum TShortCircuitKind : std::uint8_t {
    sckDoor = 3,         // "Внутр. утечка (дверь)"
    sckRegulator = 6,    // "Регулятор"
    sckLongwall = 7,     // "Лава"
    sckFanSuction = 18,  // "Всас ВМП"
    sckFreshening = 19,  // "Подсвежение"
    sckConnection = 20,  // "Внутренние утечки между участками"
};

// The snapshot of the study: that of the network walks with the branches'
// lengths and areas.
void TakeShortCircuitSnapshot(TTraversalWorkArrays &w, const TNetworkTables &t);

// The tabs of the study's window, in their order.
enum TShortCircuitTab { sctDoors, sctNetwork, sctLongwalls, sctFanSuctions, sctFreshening, sctConnections, sctCount };

extern const QString GradeNotStudied;  // "Не иссл."
extern const QString GradeReversed;    // "Опрокид."

// What the start of the study tells the user, and whether the window opens.
struct TPathSelection
{
    std::vector<int> Paths;  // ascending branch numbers
    int Excluded = 0;        // doors and regulators of too small a resistance
};

class TShortCircuitStudy
{
public:
    // Takes the snapshot of t, which the caller has just solved, into w.
    explicit TShortCircuitStudy(const TNetworkTables &t, TTraversalWorkArrays &w = TraversalWorkArrays);

    const TNetworkTables &Tables;
    TTraversalWorkArrays &Copy;

    TPathSelection Selection;
    TTable<double> QNormal{};
    TTable<double> QMin{};
    TTable<std::int16_t> MinCause{};
    TTable<double> RShort{};
    TTable<QString> StabilityGrade{};
    TTable<QString> PathHits{};
    std::vector<int> Reversed;

    // Rows of each tab without its two header rows; "Двери" has 4 columns
    // before a run and 7 after it.
    std::vector<QStringList> Rows[sctCount];
    // The group lists behind "Лавы", "Всас ВМП", "Подсвежение", "Связи".
    std::vector<int> Groups[4];

    // The solve of each opening (tests put a failing one in).
    using TSolve = CalcResult (*)(TNetworkTables &, int, int, const TTable<std::int16_t> &,
                                  const TTable<std::int16_t> &, const TTable<std::int16_t> &,
                                  const TTable<std::uint8_t> &, const TTable<double> &, const TTable<double> &,
                                  TTable<double> &, TSolveStats *);
    TSolve Solve = CalcAirDistribution;

    // Chooses the paths and fills "Двери".
    void SelectShortCircuitPaths();
    // The four texts of the start; Information tells the box's icon, Opens
    // whether the window is shown.
    QString StartMessage(bool &information, bool &opens) const;
    // The resistance of branch b opened.
    double ShortCircuitResistance(int b) const;
    // Paths without a length or an area.
    int CheckPathGeometry() const;
    // The question asked when CheckPathGeometry is above 0.
    static QString GeometryQuestion(int n);

    // Opens every path and solves; Progress(done) is called on the calling
    // thread as paths finish. Returns 0, or the first path (in path order)
    // whose solve failed, in which case no table is filled.
    int ShortCircuitAll(const std::function<void(int done)> &Progress = {});
    static QString FailureMessage(int path);

    // After a successful run: the group lists, their tabs and "Вся сеть".
    void FillResults();
    // The warning for a group (0 = longwalls … 3 = connections) with no branch.
    static QString EmptyGroupMessage(int group);
    // The items of the reversed branches' list.
    QStringList ReversedItems() const;

    // A report variable for row (1-based) of a tab; false leaves the value untouched.
    bool ReportValue(TShortCircuitTab tab, int row, const QString &name, const QString &mineTitle,
                     QString &value) const;
    // The template file of a tab below the reports folder.
    static QString TemplatePath(const QString &reportsLocation, TShortCircuitTab tab);

private:
    void FillPathTable();
    void FillGroupTable(int group);
    void FillNetworkTable();
};

// Grades of a change: d in per cent for the flow groups, the depression after
// opening for connections.
QString GradeFlowChange(TShortCircuitKind kind, double d);
QString GradeConnection(double hz);

// The record source that the study's templates walk: one record per row of
// the tab being printed.
inline const QString ShortCircuitSourceName = QStringLiteral("udZakor");

class TShortCircuitReport
{
public:
    explicit TShortCircuitReport(const TShortCircuitStudy &study);
    TShortCircuitReport(const TShortCircuitReport &) = delete;
    TShortCircuitReport &operator=(const TShortCircuitReport &) = delete;

    TfrUserDataset udZakor;
    TShortCircuitTab Tab = sctDoors;
    QString MineTitle;
    int Record = 1;  // 1 for the first row

    int RecordCount() const { return static_cast<int>(m_study.Rows[Tab].size()); }
    // The report's value event: false for a name it does not know, whose value stays.
    bool GetValue(const QString &name, Variant &value) const;

private:
    const TShortCircuitStudy &m_study;
};
