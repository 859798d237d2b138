#pragma once
// The fan catalogue: a folder of "*.Fan" files, one fan type per file, each
// with up to 16 named characteristics (pressure against flow). A file is one
// record of 8300 bytes, little-endian, strings length-prefixed in code page
// 1251; the files travel between installations, so the layout is kept to the
// byte. The fan editor lists the folder, reads a type into 16 curves, adds
// and deletes characteristics and writes the type back.
#include "calc/curve_toolkit.h"

#include <QtCore/QByteArray>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <array>
#include <cstdint>

constexpr int FanTypeRecordSize = 8300;
constexpr int MaxFanCurves = 16;
constexpr int FanPointPoolSize = 500;
// Fewer files than this leave room for a new type in the type list.
constexpr int MaxFanTypeFiles = 50;

// String capacities of the record and the editor (characters = 1251 bytes).
constexpr int FanTypeNameCapacity = 23;
constexpr int FanCurveNameCapacity = 10;
constexpr int CurrentFanNameCapacity = 20;
// What the name prompt lets the user type.
constexpr int FanNameMaxLength = 15;

// The whole content of a "*.Fan" file.
struct TFanTypeRecord
{
    QString TypeName;                 // offset 0, capacity 23; readers go by the file name
    std::int32_t LastCurve = 0;       // offset 24; −1 when the type has none
    std::array<std::uint8_t, MaxFanCurves> CurveFlags{};  // offset 28
    std::array<QString, MaxFanCurves> CurveNames;         // offset 44, capacity 10 each
    std::array<std::int32_t, MaxFanCurves> LastPoint{};   // offset 220
    // The points of characteristics 0 to LastCurve one after another.
    std::array<double, FanPointPoolSize> PointQ{};        // offset 284, m³/s
    double QAxisMax = 0;                                  // offset 4284; 0 or less: from the points
    std::array<double, FanPointPoolSize> PointH{};        // offset 4292
    double HAxisMax = 0;                                  // offset 8292

    friend bool operator==(const TFanTypeRecord &, const TFanTypeRecord &) = default;
};

void ClearFanRecord(TFanTypeRecord &record);

QByteArray EncodeFanTypeRecord(const TFanTypeRecord &record);
// Reads a record; an empty text when it is sound, else what is wrong with it
// (too short, a characteristic count outside −1..15, a point count above the
// curve's room or more than 500 points in all, numbers that are no numbers).
QString DecodeFanTypeRecord(const QByteArray &bytes, TFanTypeRecord &record);

// Reads or writes a type's file; errors raise an Exception naming the file.
// A damaged file leaves record as it was. Writes replace the file whole.
void ReadFanTypeFile(const QString &fileName, TFanTypeRecord &record);
void WriteFanTypeFile(const QString &fileName, const TFanTypeRecord &record);

// Packs the characteristics with at least two points, in order, into a record
// (the ones after a dropped characteristic move down); curveNames are cut to
// 10 characters, the type name to 23. False when none is left to store.
bool PackFanCurves(TFanTypeRecord &record, const QString &typeName,
                   const std::array<TFanCurve, MaxFanCurves> &curves, const QStringList &curveNames, double qFull,
                   double hFull);

// The upper end of an axis over values up to largest: the next multiple of 5
// strictly above it, times 1.1.
double FanAxisRange(double largest);

// The type list's entry for a new type after count files ("BНовый № 4":
// the first letter is a Latin B) and the characteristic list's entry for a
// new characteristic numbered n ("ХНовая № 3": a Cyrillic Х).
QString NewFanTypeEntry(int fileCount);
QString NewFanCurveEntry(int number);
inline const QString NoFanTypeEntry = QStringLiteral("Не определен");

// A character that must not appear in a type or characteristic name, which
// becomes a file name: ! " * . / : ? [ ] \ ^ ` { }, control characters and
// characters that code page 1251 cannot store.
bool IsRefusedNameChar(QChar c);

// The catalogue as the fan editor holds it: the folder, the type list, the
// record of the chosen type and its characteristics, with the plot's axis
// ranges set from them.
class TFanCatalogue
{
public:
    explicit TFanCatalogue(TPlotState &plot = PlotState) : m_plot(plot) {}

    // The fan folder as the settings give it (with its trailing separator).
    QString Folder;

    TFanTypeRecord Record;
    std::array<TFanCurve, MaxFanCurves> Curves;

    // "Не определен", the types of the folder, and while there is room the
    // new-type entry. TypeIndex is the chosen entry (0: no fan type).
    QStringList TypeList;
    int TypeIndex = 0;
    // The current type name, at most 20 characters.
    QString TypeName;
    int FileCount = 0;

    // The names of characteristics 0 to LastCurve, and while there is room
    // the new-characteristic entry (index LastCurve + 1).
    QStringList CurveList;
    int LastCurve = -1;

    enum TLoadResult { lrNoType, lrLoaded, lrFailed };

    // Lists the folder (files "*.Fan" in any letter case, hidden ones
    // skipped, by name), chooses the entry of TypeName (entry 0 when it is
    // not there) and loads it. An empty folder is reported and leaves only
    // "Не определен"; a type that fails to load leaves entry 0 chosen.
    TLoadResult ScanFanTypes();
    // Reads the chosen type into the record, the curves, the characteristic
    // list and the plot's axis ranges. Nothing is read for entry 0. A missing,
    // unreadable or damaged file is reported naming it, and nothing changes.
    TLoadResult LoadFanType();
    // 0 when the record now holds the characteristics with two or more
    // points, 1 when none is left (the record then holds no characteristic).
    int PackFanType();
    // Writes the record under the chosen entry's name and lists the folder
    // again; a failed write is reported naming the file and the old file stays.
    bool WriteFanType();
    // Asks "Удалить Вентилятор X ?"; on Yes erases the chosen type's file,
    // chooses no type and lists the folder again. False when the user said
    // No or the file could not be erased (reported).
    bool DeleteFanType();

    // The file of a type: an existing file whose name matches in any letter
    // case, else name + ".Fan" in the folder.
    QString TypeFileName(const QString &typeName) const;
    // The chosen entry's text.
    QString ChosenTypeText() const { return TypeList.value(TypeIndex); }

private:
    TPlotState &m_plot;
};
