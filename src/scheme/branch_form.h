#pragma once
// What the branch properties dialog shows and stores, apart from its window:
// the texts of its fields filled from the tables, the working copies of the
// accessory values, the direction swap, the speed limits of the branch kind
// and the OK that checks every field before it stores any. The window shows
// these members in its controls and copies the user's input back; tests
// drive the same object without a window.
#include "model/branch_values.h"
#include "model/mine_objects.h"
#include "model/scheme_file.h"
#include "platform/colors.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The typed fields, in the order OK reads them.
enum class TBranchField {
    No, Length, PLAPosition, R, AuxDepression, Q, StartTemp, EndTemp, Area, Height, Angle,
    People, Alpha, RequiredFlow, DGSMark, Count
};
constexpr int BranchFieldCount = static_cast<int>(TBranchField::Count);

// The label bits of the page "Вид", in the order of its check boxes.
struct TLabelBox
{
    std::int32_t Bit;
    const char *Caption;
};
extern const std::array<TLabelBox, 16> LabelBoxes;

// The accessory bits of the page "Аксессуары", in the order of its boxes.
struct TAccessoryBox
{
    std::int16_t Bit;
    const char *Caption;
};
extern const std::array<TAccessoryBox, 5> AccessoryBoxes;
constexpr std::int16_t AccessoryMask =
    bfConveyor | bfFireWaterPipe | bfElectricCables | bfCompressedAirPipe | bfDegassingPipe;

// The belt types of the conveyor dialog; the branch keeps item indexes.
extern const std::array<const char *, 3> BeltTypes;
// The width in millimetres of a stored index, 0 outside the list.
int BeltWidthMillimetres(int index);

// The slope of an airway from the altitudes of its ends: arcsin(|Δh| / L) in
// degrees, 0 for a length of 0; nothing when the altitude difference exceeds
// a length that is given.
std::optional<double> SlopeAngle(double startAltitude, double endAltitude, int length);

// The converter's message for a field that does not read.
void ShowConversionError(const QString &message);

// A kind of branch symbol: the name stored in links and the description
// shown to the user.
struct TSymbolType
{
    QString Name;
    QString Description;
};

// The shortest airway that takes symbols, and the distance they keep from
// either end, in metres.
constexpr int SymbolMinBranchLength = 10;
constexpr int SymbolEndMargin = 5;

// What the speed page shows for a branch kind.
struct TSpeedLimitTexts
{
    bool Controlled = true;
    QString NoSpeedText;  // for the kinds without speed control
    QString MinRule;      // "(по ПБ: …)"
    QString MaxRule;
};

// What the dialog reports to the main window.
struct TBranchFormHost
{
    std::function<void(std::unique_ptr<TMineObject> snapshot, TChangeKind kind)> ObjectChanged;
    std::function<void(bool modified)> SetModified;
    std::function<void()> Redraw;
    std::function<bool(int item)> CanDeleteObject;
    // The scheme shows the PLA colours ("Цвета ПЛА" ticked) in these colours.
    std::function<bool()> PLAColorsShown;
    TBranchColors *Colors = nullptr;
    // The colour dialog preset with a colour; true when one was chosen.
    std::function<bool(TColor &color)> ChooseColor;
    // The kinds of branch symbols the program has, in list order.
    std::function<std::vector<TSymbolType>()> BranchSymbols;
};

// The values the dialog's controls edit; OK stores those that differ from
// what the controls showed when filled.
struct TBranchFields
{
    // Fields as the controls show them.
    std::array<QString, BranchFieldCount> Texts;
    QString Name;
    bool Fresh = false;
    bool ReversalZone = false;
    bool GasLayerControl = false;
    int Type = 0;
    int Layer = -1;
    int MinSpeedItem = -1;
    int MaxSpeedItem = -1;
    std::int32_t PLAColor = 0;

    // Working copies of the accessory values, edited by the accessory dialogs.
    QString CableCells;
    QString DegasValve;
    QString FirePipeDiameter;
    int BeltType = -1;
    int BeltWidth = -1;
};

class TBranchForm : public TBranchFields
{
public:
    TBranchForm(TNetworkTables &tables, TSchemeDocument &doc, TBranchFormHost host = {});

    // The speed combo items, each number written as the edit boxes write it.
    static QStringList MinSpeedItems();
    static QStringList MaxSpeedItems();
    // The seam combo items: the names of the scheme's seams in list order.
    QStringList LayerItems() const;

    // Fills every field from the tables for an existing branch.
    void Load(int branch);

    // "Из узла %d к узлу %d".
    QString DirectionText() const;
    // "Скорость воздуха: %f м/с" of the stored flow and section; empty
    // without a section.
    QString SpeedText() const;
    // The slope button's caption, with the angle of the stored altitudes and length.
    QString SlopeCaption() const;
    // The texts of the speed page for a kind; for a kind with speed control
    // the combos select the branch's stored limits again.
    TSpeedLimitTexts ShowSpeedLimits(int type);
    // The label word of the sixteen boxes.
    std::uint16_t ViewFlags() const { return LabelWord; }

    // "Развернуть": swaps the ends and negates the flow text. False when the
    // flow text is no number (the converter's message was shown; the ends are
    // swapped all the same).
    bool Reverse();
    // "Установить/Сбросить все": every label box takes the opposite of the number box.
    void ToggleAllLabels();

    // "Уг. наклона, гр. >>>": the slope from the stored altitudes of the ends
    // and the length field goes into the angle field, asking first when the
    // stored angle is unset or differs by 3 degrees or more. False when it
    // could not be computed (message shown, FocusField is the length).
    bool CalcSlopeAngle();
    // "Изменить..." of the page "ПЛА"; true when a colour was chosen.
    bool ChoosePLAColor();

    // The page "Символы". Shown only for a stored length of 10 m or more.
    bool SymbolsPageVisible() const;
    // The descriptions of the symbol kinds, for the combo.
    QStringList SymbolTypeItems() const;
    // The row of a link: the description of its kind, or the note that the
    // kind is missing, and the distance.
    QString SymbolCaption(const TLink &link) const;
    // Links takes a copy of the branch's links.
    void LoadSymbolLinks();
    // Removes, with one warning each, the links outside 5 to L − 5 m of the
    // length field; nothing happens while that field does not read.
    void CheckSymbolDistances();
    // "Добавить" with the kind at an index of SymbolTypeItems: asks the
    // distance until an integer is given; false when cancelled.
    bool AddSymbol(int type);
    // "Удалить" and Del on a row; false without a row.
    bool DeleteSymbol(int row);
    // A double click on a row: asks a valid distance; false when cancelled.
    bool EditSymbolDistance(int row);
    // Enter on a row: its distance text read again.
    bool ReenterSymbolDistance(int row, const QString &text);
    // The branch's links in the document become Links, under the final number.
    void StoreSymbolLinks();

    // Takes what the fields show now as what the user has not changed: OK
    // stores only a value whose field then shows something else. Load does
    // it; a window calls it again once its controls show the values.
    void KeepShown();
    // OK. Checks the number, its uniqueness and every field the user changed
    // first; a fault is shown and nothing is stored (false, FocusField names
    // the field). Otherwise stores the values the user changed, and nothing
    // of a field left alone (its text is rounded), and reports it to the host.
    bool Apply();
    // "Удалить": destroys the branch with its symbol links; false when the
    // main window does not allow it.
    bool Delete();

    QString &Text(TBranchField f) { return Texts[static_cast<int>(f)]; }
    const QString &Text(TBranchField f) const { return Texts[static_cast<int>(f)]; }
    QString Depression;  // display only
    std::uint16_t LabelWord = 0;
    std::int16_t AccessoryBits = 0;
    bool PLAColorChanged = false;

    // Working copy of the branch's symbol links.
    TLinkList Links;

    // Branches that receive this branch's label word on OK.
    std::vector<bool> SameLabels = std::vector<bool>(TableSize, false);

    int Branch = 0;        // the branch edited; its new number after renumbering
    int OpenedBranch = 0;  // the number the dialog was opened with
    int StartNode = 0;
    int EndNode = 0;
    bool Reversed = false; // "Развернуть" pressed an odd number of times
    bool Modified = false;

    // The field that refused the last Apply; nullopt when it was not a field.
    std::optional<TBranchField> FocusField;

    TNetworkTables &Tables() { return m_t; }
    TSchemeDocument &Document() { return m_doc; }

private:
    bool Changed(TBranchField f) const
    {
        return Texts[static_cast<int>(f)] != m_shown.Texts[static_cast<int>(f)];
    }
    void KeepShownSpeedItems();
    struct TValues;
    bool ReadFields(TValues &v);
    void StoreLabels();
    void Renumber(int k);
    void StoreValues(const TValues &v);
    void Hand(int n, TChangeKind kind);
    // The length the symbols page works with: the field's, else the stored one.
    int SymbolLength() const;
    std::pair<double, double> EndAltitudes() const;
    std::vector<TSymbolType> SymbolTypes() const;

    TNetworkTables &m_t;
    TSchemeDocument &m_doc;
    TBranchFormHost m_host;
    TBranchFields m_shown;  // what the controls showed when filled
    // "Развернуть" on a flow field left alone: the stored flow is negated as it is.
    bool m_flowNegated = false;
};
