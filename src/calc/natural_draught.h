#pragma once
// Air distribution with natural draught. Every inclined working whose air is
// warmer or colder than the surface air gains a depression of its own; the
// study derives it from the altitudes of the working's ends and its mean air
// temperature, adds it to the additional depression, solves the network
// again and compares the flows with the normal ones. All work happens on
// private copies of the tables; only the altitudes, end temperatures and
// surface flags can go back, and only when the user agrees on closing.
//
// Questions and warnings go through the prompt interface.
#include "model/network.h"
#include "report/dataset.h"
#include "report/variant.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <cstdint>
#include <vector>

constexpr double HetAltitudeLimit = 2000;      // |altitude| beyond this is not given
constexpr double HetMinTemp = -30;
constexpr double HetMaxTemp = 50;
constexpr double HetMinTsurf = -30;
constexpr double HetMaxTsurf = 45;
constexpr double HetDefaultTsurf = 19.0;
constexpr double HetNoSurfaceAltitude = -1000; // zmax of a scheme without surface nodes
constexpr double HetChangeLimit = 10;          // per cent; exactly this is no change
constexpr double HetFalseSourceLimit = 100;    // smaller non-zero depressions are no fans
constexpr std::uint8_t HetKindLocalFan = 8;    // "ВМП"
constexpr std::uint8_t HetKindBooster = 2;     // "ВГП"

inline const QString HetReportTemplate = QStringLiteral("Естественная.frf");

// A set of item numbers: place n holds n for a member.
struct THetSet
{
    TTable<std::int16_t> Place{};
    int Count = 0;

    void Clear();
    void Add(int n);
    bool Has(int n) const { return n >= 1 && n <= MaxItems && Place[n] != 0; }
};

struct HetStudyTables
{
    TTable<std::int16_t> BranchNo{};
    TTable<std::int16_t> BeginNode{};  // where the air enters, after SortAirDebt
    TTable<std::int16_t> EndNode{};
    TTable<std::int16_t> NodeNo{};
    TTable<double> R{};
    TTable<double> Altitude{};
    TTable<std::uint8_t> Surface{};
    TTable<std::uint8_t> Kind{};
    TTable<double> BaseH{};            // additional depressions, false sources erasable
    TTable<double> SolveH{};           // what the solver gets
    TTable<double> Q{};                // the solver's flows
    TTable<double> Qn{};               // flows without natural draught
    TTable<double> Qe{};               // flows with natural draught of the last calculation
    TTable<double> EndTemp{};          // edited in the branch table
    TTable<double> GivenEndTemp{};
    TTable<double> GivenStartTemp{};
    TTable<double> StartTemp{};        // the branches' start temperatures as checked
    TTable<double> NodeTemp{};         // computed node temperatures; apart from StartTemp
    TTable<double> He{};               // natural draught, in the unit of the additional depression
    double Tsurf = HetDefaultTsurf;
    double Zmax = HetNoSurfaceAltitude;

    THetSet SurfaceNodes;
    THetSet AltitudeErrors;
    THetSet AboveShafts;
    THetSet Inclined;
    THetSet FalseSources;
    THetSet TempErrors;
    THetSet Reversed;
    THetSet Reduced;
    THetSet Increased;

    bool Results = false;              // a calculation succeeded
    bool WrittenBack = false;          // the edits went back on closing
};

// The study tables of the program's run.
extern HetStudyTables HetStudy;

// One item of a filter list: its text and the set it shows (none: all items).
struct THetFilter
{
    QString Text;
    const THetSet *Set = nullptr;
};

enum THetNodeColumn { hnNumber, hnAltitude, hnStatus, hnTemp, HetNodeColumnCount };
enum THetBranchColumn {
    hbNumber, hbStart, hbEnd, hbEndTemp, hbQn, hbQe, hbGivenStartTemp, hbStartTemp, HetBranchColumnCount
};
constexpr int HetBranchFixedColumns = 3;

// A text typed into an editable cell or the surface temperature box.
struct THetNumber
{
    bool Valid = false;
    double Value = 0;
    QString Message;  // the warning of a rejected text
};
THetNumber CheckTsurfText(const QString &text);
THetNumber CheckAltitudeText(const QString &text);
THetNumber CheckEndTempText(const QString &text);

class THetCalc
{
public:
    // t: the network that is copied, solved on and written back to.
    THetCalc(TNetworkTables &t, HetStudyTables &s);

    // "Расчёт температуры в начале выработки": node temperatures are computed
    // from the flows, else each branch's start temperature is taken.
    bool NodeTemperatures = true;
    // The reversal legend is shown.
    bool ReversalLegend = false;

    // Clears the study, copies the tables and solves once; the solver's code.
    int Open();
    // The start-up checks, with their questions; 0 when the data are ready.
    // (Not named TEST: the test framework owns that name as a macro.)
    int CheckData();
    // The calculation ("Расчёт"); true when the flows with natural draught are in.
    bool Calculate();

    // The steps, public for the window and for tests.
    void Ocist();
    void SortAirDebt();
    int IsNomSurf();
    int IsNoAltit();
    int IsBranchNak();
    int IsBranchVMP();
    int IsNoTemp();
    void TsSurf();
    void SurfMasT();
    double SurfaceZmax() const;
    int NomaxAlt();
    void ArrZonaT();
    double CulcHe(int b) const;
    void AllInform();
    void minmaxQ();
    // A surface temperature accepted by CheckTsurfText.
    void SetTsurf(double value);

    // An edited altitude or end temperature differs from the network's tables.
    bool HetDataEdited() const;
    // "Закрыть": asks when something was edited; Yes copies the altitudes,
    // end temperatures and surface flags back.
    void Close();

    bool NodeExists(int n) const;
    bool BranchExists(int b) const;

    // The filter lists and the items chosen.
    std::vector<THetFilter> NodeFilters;
    std::vector<THetFilter> BranchFilters;
    int NodeFilter = 0;
    int BranchFilter = 0;
    std::vector<int> NodeRows() const;
    std::vector<int> BranchRows() const;
    QStringList NodeRow(int n) const;
    QStringList BranchRow(int b) const;
    // Header texts, three lines per column.
    static const std::vector<QStringList> &NodeHeaders();
    static const std::vector<QStringList> &BranchHeaders();

    HetStudyTables &Tables() { return m_s; }
    const HetStudyTables &Tables() const { return m_s; }

private:
    int Solve();

    TNetworkTables &m_t;
    HetStudyTables &m_s;
    int m_maxBranch = 0;
    int m_maxNode = 0;
};

// The report of the branch table as filtered: a record per row, and the ten
// values its template names.
class THetReport
{
public:
    THetReport(const THetCalc &calc, const QString &mineTitle);

    TfrUserDataset frHet;
    int Record = 1;  // 1 for the first row

    static const QStringList &VariableNames();
    int RecordCount() const { return static_cast<int>(m_rows.size()); }
    // The value of a template variable; false for a name this report does not know.
    bool GetValue(const QString &name, Variant &value) const;

private:
    const THetCalc &m_calc;
    QString m_mineTitle;
    std::vector<int> m_rows;
};

// The template's path in the reports folder.
QString HetReportFile(const QString &reportsLocation);
