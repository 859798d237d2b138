#pragma once
// The fire load of a working: what burns in it (belt, support lagging, cables,
// ladders, bars, coal) and the fire-front constants computed from it. The
// record lives in "FireLoad.dat" beside the fan files, one 72-byte record.
#include "model/network.h"

#include <QtCore/QString>

#include <array>
#include <cstdint>

// Fire-load variants.
enum TFireLoadVariant : std::int32_t {
    flBelt = 0,          // "Конвейерная лента"
    flBeltAndLagging = 1, // "Конвейерная лента и затяжка крепи"
    flLagging = 2,       // "Затяжка крепи"
    flSupport = 3,       // "Крепь (стойки, верхняки и затяжка) "
};

constexpr int CableTypeCount = 5;
constexpr int FireLoadRecSize = 72;

struct TFireLoadRec
{
    std::int32_t Variant = 0;
    std::int32_t BeltType = 0;     // 0 "РТР", 1 "РТК", 2 "Прочие"
    std::int32_t FrameSpacing = 0; // 0 "Менее 1.5 м", 1 "Более 1.5 м"
    std::int32_t WidthIndex = 0;   // into BeltWidths
    std::uint8_t Cables = 0;
    std::uint8_t Ladders = 0;
    std::uint8_t Bars = 0;
    std::uint8_t Coal = 0;
    // Counts of the power-cable types "3x25+1x10+3x4" … "3x90+1x10+3x4".
    std::array<std::int32_t, CableTypeCount> CableCounts{};
    // Computed by CalcFireLoad before every use; kept in the file as they stood.
    std::int32_t BurnTime = 0;  // D, minutes
    double FrontTime = 0;       // B, minutes
    double FrontSpeed = 0;      // V, m/min
    double HeatCoeff = 0;       // kL of the burning zone

    bool operator==(const TFireLoadRec &) const = default;
};

// The program's fire-load record and the folder of its file (with a trailing
// separator); the fire modelling window sets the folder from the fan folder.
extern TFireLoadRec FireLoadRec;
extern QString FireLoadFolder;

inline const QString FireLoadFileName = QStringLiteral("FireLoad.dat");

void SetFireLoadDefaults(TFireLoadRec &rec);

// True when the name is not empty and the file opens for reading.
bool FileCanOpen(const QString &name);

// Reads folder + "FireLoad.dat" into rec; a missing file gives the defaults.
// A file that is there but cannot be opened or holds no whole record raises
// an Exception whose message names the file, and rec stays as it was.
void LoadFireLoad(const QString &folder, TFireLoadRec &rec);
// Writes the one record; a failure raises an Exception naming the file and
// leaves the previous file as it was.
void SaveFireLoad(const QString &folder, const TFireLoadRec &rec);

// Recomputes BurnTime, FrontTime, FrontSpeed and HeatCoeff for flow q and
// cross-section s. Without a positive cross-section or with nothing to burn
// the fire cannot spread: BurnTime, FrontSpeed and HeatCoeff become 0.
void CalcFireLoad(TFireLoadRec &rec, double q, double s);

// Front length xF and effective burning length xE after n minutes in a branch
// of length l; true when the front has passed the branch end (l < xF).
bool FireFront(const TFireLoadRec &rec, int l, double &xE, double &xF, double n);
