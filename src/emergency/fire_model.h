#pragma once
// The state and rules of the fire modelling window over the network tables:
// the normal flows and additional depressions taken when the window opens,
// the emergency ones of the last computation, the fire branch, its zones,
// the lists its result pages show and the texts above them. While a model
// lives it owns the tables' BranchAuxDepression and BranchQ: each page puts
// the normal or the emergency set into them, and the normal set goes back
// when the model ends. An additional depression that the user changes in
// between (in a table, a dialog) is the network's new value: it is taken
// into both sets before anything is put back, so that neither a page, a
// recomputation, a save nor the end of the model loses it. The flows are
// the computation's own result and go back whole.
#include "emergency/gas_zone.h"
#include "platform/geometry.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <optional>

class QObject;

// The pages of the window, in their order.
enum TFirePage : int {
    fpFireBranch = 0,    // "Пожарная ветвь"
    fpEmergencyAir = 1,  // "Аварийное воздухораспределение"
    fpZone1 = 2,         // "Зона загазирования 1"
    fpZone2 = 3,         // "Зона загазирования 2"
    fpReversals = 4,     // "Места опрокидывания"
    fpHighTemp = 5,      // "Зона высоких температур" (hidden)
    fpFireSource = 6,    // "Параметры очага пожара" (hidden)
};
constexpr int FirePageCount = 7;
QString FirePageCaption(int page);

// The highest branch number the fire branch field takes.
constexpr int MaxFireBranchNo = MaxItems;

// What typing leaves in the fire branch field: the first character that
// stops the number is dropped, and a number above MaxFireBranchNo loses the
// character before its last one.
QString FilterBranchNumberText(const QString &text);

// The texts of the first page for one branch.
struct TFireBranchInfo
{
    bool Exists = false;
    QString Name, PLAPosition, Length, Area, Angle, Flow, Temperature;
    QString VentTypeText; // "Нисходящее проветривание", "Восходящее проветривание" or empty
    bool ThermalChoice = false; // rgHt enabled (ventilation type ±1)
};

// The result of the input checks.
enum TFireInputCheck {
    fiOk,
    fiNotNumber,  // nothing said, the focus goes to the field
    fiNoBranch,   // " Ветвь … отсутсвует в сети выработок" was shown
    fiIncomplete, // "Недостаточно информации …" was shown
};

// One row of the fire-load comparison table: the minute and the difference
// of the two series in per cent; empty where it cannot be computed.
struct TFireLoadRow
{
    QString Minute;
    QString Difference;
};
// Rows 1..b.Count() comparing the series a (without fire load) and b (with it).
std::vector<TFireLoadRow> FireLoadTableRows(const TFireSeries &a, const TFireSeries &b);

class TFireModel
{
public:
    // Takes the normal set from the tables as they stand (solved). One model
    // at a time holds a set of tables: its copies are the tables' held columns.
    explicit TFireModel(TNetworkTables &t);
    // Puts the normal set back.
    ~TFireModel();
    TFireModel(const TFireModel &) = delete;
    TFireModel &operator=(const TFireModel &) = delete;

    TNetworkTables &Tables() { return m_t; }
    const TNetworkTables &Tables() const { return m_t; }

    // Owner of the solver's messages.
    QObject *Owner = nullptr;
    // The choice of rgHt: "Учитывать" the fire's thermal depression.
    bool UseThermal = true;
    // "Пожарная нагрузка =>": every computation reads the fire-load file from
    // FireLoadFolder into FireLoadRec first.
    bool UseFireLoad = false;
    int FireTime = DefaultFireTime;
    // The report sort order of the settings: 1 by the end nodes.
    int ReportStyle = 0;

    // The two sets live in the tables' held columns, so that they follow
    // each branch through create, destroy and renumber.
    TTable<double> &NormalH, &NormalQ;
    TTable<double> &EmergencyH, &EmergencyQ;
    int FireBranch = 0;
    int VentKind = 0;
    int SeriesCount = 0;
    int UpsetMinute = 0;
    double UpsetDepression = 0;
    TGasZoneList Zone1, Zone2;
    TRect ZoneRect;
    // The branches of the grid of the page last filled.
    std::vector<int> Items;
    // Whether anything was computed since the model was made.
    bool Computed() const { return m_computed; }

    void PutNormal();
    void PutEmergency();
    // Exchanges the normal set with what the tables hold; twice restores.
    // A save writes the network's own flows and depressions this way.
    void SwapNormal();

    // Shows the normal set and describes branch b; VentKind follows it.
    TFireBranchInfo ShowFireBranch(int b);
    // Describes branch b under the normal set kept, whatever the tables
    // show; VentKind follows it.
    TFireBranchInfo DescribeFireBranch(int b);
    // Whether the fire branch's page "Зона загазирования 2" is shown.
    bool Zone2Visible() const { return UseThermal && VentKind != 0; }

    TFireInputCheck CheckInput(const QString &text) const;
    // Solves the normal distribution with the depressions as they stand and
    // keeps its flows as the normal set, checks, builds both zones and keeps
    // the emergency set; warns as WarnAfterCompute. False leaves the last
    // result; check then says which input check refused (fiOk: the solve).
    bool Compute(const QString &text, TFireInputCheck *check = nullptr);
    // The zone of the fire branch with the thermal depression of the given
    // ventilation type (0: under the flows as they are).
    TGasZoneList BuildZone(int mode);
    // The warning after a computation, shown through the prompt.
    void WarnAfterCompute();

    // The page's list, with the normal or emergency set put into the tables.
    void FillEmergencyAir();
    void FillZone1();
    void FillZone2();
    // False when no branch reversed (the grid is then hidden).
    bool FillReversals();

    // Texts above the grids and of the reversal label; empty when none.
    QString EmergencyAirLabel() const;
    QString Zone1Message() const;
    QString Zone2Message() const;
    QString ReversalsLabel() const;
    QString UpsetLabel() const;

    static QStringList GridHeader(int row);
    // The eight cells of branch b from the tables as they stand.
    QStringList GridRow(int b) const;
    // The colour of a data row of branch b; none for branches outside the zones.
    std::optional<TColor> RowColor(int b) const;

    // Colours the zones over the standard colours in colors; returns the page
    // that shows the zone coloured (zone 2 when both are shown).
    int ShowZones(TBranchColors &colors, const TSchemeColors &palette, int activePage) const;
    // The bounding rectangle of the zones in scheme units.
    TRect ZoneBounds() const;
    // Zone 1, and the branches only in zone 2 unless zone 1 is shown.
    TGasZoneList SmokeZone(int activePage) const;
    bool InZone1(int b) const;
    bool InZone2(int b) const;

private:
    void SortItems();
    double FireH() const;
    // Takes the additional depressions changed since the model last put a
    // set into the tables into both sets.
    void TakeUserDepressions();
    void Put(const TTable<double> &h, const TTable<double> &q);

    TNetworkTables &m_t;
    bool m_computed = false;
    // The additional depressions as the model last left them in the tables.
    TTable<double> &m_leftH;
    // Between the two exchanges of a save the tables hold the normal set.
    bool m_swapped = false;
};
