#pragma once
// The rules of the designer's dialogs that do not need a window: the display
// format word, field references, page and designer options, band types and
// the band data sources. The dialogs in ui/ show these and call them.
#include "designer/designer_core.h"
#include "report/values.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <cstdint>
#include <optional>
#include <vector>

class TfrPage;
class TfrView;

extern const QString NoneItemName;       // "[Нет]"
extern const QString OtherVariablesName; // "Прочие переменные"
extern const QString VirtualSourceName;  // "Виртуальный"

// ---- display format ----
class TfrFormatModel
{
public:
    std::int32_t Format = 0;

    static QStringList Categories();
    // The kinds of a category, empty names left out.
    static QStringList Kinds(int category);

    int Category() const { return FormatCode::Category(Format); }
    int Kind() const { return FormatCode::Kind(Format); }
    int Decimals() const { return FormatCode::Decimals(Format); }
    QChar Separator() const { return QChar(FormatCode::Separator(Format)); }
    // Another category starts at its first kind; the caller clears the pattern.
    void SetCategory(int category);
    void SetKind(int kind);
    // Decimals that are not a whole number from 0 to 255 would spill into
    // the kind byte: they are refused and the word is kept.
    bool SetDecimalsText(const QString &text);
    // The first character, or "," for an empty text.
    void SetSeparatorText(const QString &text);

    bool PatternVisible() const { return Kind() == FormatCode::PatternKind; }
    bool NumberVisible() const { return Category() == FormatCode::fcNumber && !PatternVisible(); }
};

// ---- data sets, fields and special values ----
// The form that owns the report being designed: bare component names are
// looked up there.
QString CurrentOwnerName();
// The database data sets of every form, as templates name them, sorted.
QStringList DataSetNames(const QString &owner);
// "[Нет]" and what can be chosen under a source: a data set's fields, or
// for "Прочие переменные" the special values (without "Выражение" unless
// withExpression).
QStringList SourceItems(const QString &source, bool withExpression);
// The reference the field dialog returns for the item at index of
// SourceItems(source, false): `ds."field"` or a special keyword; empty for
// "[Нет]".
QString FieldReference(const QString &source, int index, const QString &item);

// ---- page options ----
// 18 design pixels are 5 mm; both directions truncate.
inline int PixelsToMm(int pixels) { return pixels * 5 / 18; }
inline int MmToPixels(int mm) { return mm * 18 / 5; }

struct TPageOptionsInput
{
    bool Landscape = false;
    int PaperCode = 9;
    QString Width, Height;                        // mm, custom paper only
    QString MarginLeft, MarginTop, MarginRight, MarginBottom; // mm
    bool DontUseMargins = false;
    bool PrintOnPreviousSheet = false;
    QString ColumnCount;
    QString ColumnGap; // mm
};
TPageOptionsInput PageOptionsOf(const TfrPage &page);
// A column count that is not a whole number from 0 up changes nothing and
// returns false; otherwise the page takes the values and its paper.
// Margins or gap that are not whole numbers from 0 up all become 0; a
// custom size that is not a whole positive number gives A4.
bool ApplyPageOptions(const TPageOptionsInput &in, TfrPage &page);

// ---- band types ----
// Whether a new band of the kind may be put on the page.
bool BandTypeEnabled(const TfrPage &page, int kind);
// The first enabled kind.
int DefaultBandType(const TfrPage &page);

// ---- designer options ----
// 4 and 8 stay, anything else is 18; -1 for a step no button shows.
inline int GridSizeFromChoice(int choice) { return choice == 4 || choice == 8 ? choice : 18; }
inline int GridChoiceOf(int gridSize) { return gridSize == 4 || gridSize == 8 || gridSize == 18 ? gridSize : -1; }

// ---- band data sources ----
// A text whose first character is 1..9 is a record count.
bool IsRecordCountText(const QString &text);
// A record count the build can take: a whole number from 1.
bool IsValidRecordCount(const QString &text);
// The source of a band within a cross band's text: the text after
// "name=" (any letter case) up to ";"; the whole text when it has no ";";
// "0" when the band is not named.
QString CrossBandSource(const QString &text, const QString &bandName);
// "name=source;" for every pair in order.
QString CrossBandText(const std::vector<std::pair<QString, QString>> &sources);
// The bands a cross data band pairs with: every band but titles, summaries,
// page headers and footers, overlays and cross bands, in page order.
std::vector<TfrView *> CrossedBands(const TfrPage &page);
