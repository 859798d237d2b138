#pragma once
// What the user shows of the scheme (telephones, texts, branch symbols, the
// five linear symbols) and where the five tool bars of the main window are,
// kept under the key "View" of the installation's settings key. The main
// window reads it when it is created and writes it when it closes.
#include <QtCore/QString>

#include <array>

enum TToolbarIndex { tbFile, tbTable, tbDraw, tbBranch, tbPaint, ToolbarCount };

// Value-name prefixes and the captions of the tool bars and of their items
// in the tool bar popup, by TToolbarIndex.
QString ToolbarPrefix(int index);
QString ToolbarCaption(int index);

// Dock orientation as the values store it.
enum TToolbarOrient { toNone = 0, toHorizontal = 1, toVertical = 2 };

struct TToolbarPlacement
{
    bool Visible = true;
    int Orient = toHorizontal;
    bool Dock = false;  // true: floats in a window of its own
    // Of the floating window when Dock is set, else of the tool bar within
    // the main window.
    int Top = 0;
    int Left = 0;
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TToolbarPlacement &, const TToolbarPlacement &) = default;
};

struct TViewSettings
{
    bool Phones = false;       // "Показывать телефоны"
    bool Text = false;         // "Показывать надписи"
    bool Symbols = true;       // "Показывать символы ветви"
    bool LSFireWater = false;  // linear symbols shown
    bool LSConveier = false;
    bool LSElectric = false;
    bool LSAirTrub = false;
    bool LSDeGase = false;
    std::array<TToolbarPlacement, ToolbarCount> Toolbars{};
};

QString ViewKey(const QString &programKey);

// Reads every value that exists into view and leaves the others as they
// are, so the caller passes the defaults and the tool bars' present state.
// A value of the wrong kind is skipped like a missing one.
void LoadViewSettings(const QString &programKey, TViewSettings &view);
// Writes every value, creating the key when missing. Throws ESettingsError.
void SaveViewSettings(const QString &programKey, const TViewSettings &view);
