#pragma once
// The objects an engineer places on the scheme besides the network: PLA
// position balloons, telephones and free texts, and the picture symbols of
// older files, which are read only to be dropped. The document owns one list
// of each; list order is drawing, hit and file order. Telephones are held by
// pointer because branches link to them (BranchPhone).
#include "model/network.h"
#include "platform/canvas.h"

#include <QtCore/QByteArray>
#include <QtCore/QString>

#include <cstdint>
#include <memory>
#include <vector>

// One placement of a picture symbol.
struct TSymbolPlace
{
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Angle = 0; // degrees
    bool operator==(const TSymbolPlace &) const = default;
};

// The placements of one picture file.
struct TSymbolPlaces
{
    QString FileName;
    std::vector<TSymbolPlace> Places;
    bool operator==(const TSymbolPlaces &) const = default;
};
using TSymbolList = std::vector<TSymbolPlaces>;

// A list that owns its objects and keeps their addresses while they live.
// Copies are deep, comparison is by content.
template <typename T>
class TOwningList
{
public:
    TOwningList() = default;
    TOwningList(const TOwningList &other) { *this = other; }
    TOwningList &operator=(const TOwningList &other)
    {
        if (this != &other) {
            m_items.clear();
            for (const auto &item : other.m_items)
                m_items.push_back(std::make_unique<T>(*item));
        }
        return *this;
    }
    TOwningList(TOwningList &&) = default;
    TOwningList &operator=(TOwningList &&) = default;

    int Count() const { return static_cast<int>(m_items.size()); }
    bool Empty() const { return m_items.empty(); }
    T &operator[](int i) { return *m_items[static_cast<std::size_t>(i)]; }
    const T &operator[](int i) const { return *m_items[static_cast<std::size_t>(i)]; }
    T *Add(std::unique_ptr<T> item)
    {
        m_items.push_back(std::move(item));
        return m_items.back().get();
    }
    T *Add(const T &item) { return Add(std::make_unique<T>(item)); }
    // -1 when the object is not in the list.
    int IndexOf(const T *item) const
    {
        for (std::size_t i = 0; i < m_items.size(); ++i)
            if (m_items[i].get() == item)
                return static_cast<int>(i);
        return -1;
    }
    bool Contains(const T *item) const { return IndexOf(item) >= 0; }
    // Frees the object; false when it was not in the list.
    bool Remove(const T *item)
    {
        const int i = IndexOf(item);
        if (i < 0)
            return false;
        m_items.erase(m_items.begin() + i);
        return true;
    }
    void Clear() { m_items.clear(); }

    bool operator==(const TOwningList &other) const
    {
        if (m_items.size() != other.m_items.size())
            return false;
        for (std::size_t i = 0; i < m_items.size(); ++i)
            if (!(*m_items[i] == *other.m_items[i]))
                return false;
        return true;
    }

private:
    std::vector<std::unique_ptr<T>> m_items;
};

// What a drawn and dragged circle keeps between drawings and mouse events.
// Not part of the object's value: two objects that differ only in it are equal.
struct TCircleRuntime
{
    std::int32_t Radius = 0; // pixels of the last drawing
    bool Dragging = false;
    bool Moved = false;
    bool operator==(const TCircleRuntime &) const { return true; }
};

// A numbered circle of a PLA position, filled with that position's colour.
struct TPLABaloon
{
    static constexpr int RecordSize = 12;

    // The colour is that of the position, taken from the branches now.
    TPLABaloon(const TNetworkTables &t, std::int32_t x, std::int32_t number, std::int32_t y);
    TPLABaloon() = default;
    void SetNumber(const TNetworkTables &t, std::int32_t number);

    TColor Color = 0;
    std::int32_t Number = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    TCircleRuntime Runtime;
    bool operator==(const TPLABaloon &) const = default;
};
using TPLABalloonPlaces = TOwningList<TPLABaloon>;

// A telephone set: a circle with "T" and its number above.
struct TTelephone
{
    static constexpr int RecordSize = 24;
    // Characters of the number that the file keeps.
    static constexpr int MaxNumberLength = 15;

    TTelephone(std::int32_t x, const QString &number, std::int32_t y) : X(x), Y(y), Number(number) {}
    TTelephone() = default;

    std::int32_t X = 0;
    std::int32_t Y = 0;
    QString Number;
    TCircleRuntime Runtime;
    bool operator==(const TTelephone &) const = default;
};

class TPhonePlaces : public TOwningList<TTelephone>
{
public:
    // The key a telephone link stores: X × 65536 + Y + the sum of the
    // character codes (code page 1251) of the number as the file keeps it,
    // wrapping in 32 bits.
    static std::int32_t PhoneKey(const TTelephone &phone);
    // The first telephone in list order with the key, else null.
    TTelephone *FindByKey(std::int32_t key) const;
};

// Style bits of a scheme text.
namespace ts {
constexpr std::uint8_t Bold = 1;
constexpr std::uint8_t Italic = 2;
constexpr std::uint8_t Underline = 4;
} // namespace ts

// A free one-line inscription on the scheme, placed by its top-left corner.
struct TMapText
{
    static constexpr int RecordSize = 308;
    static constexpr int MaxTextLength = 250;
    static constexpr int MaxFontNameLength = 30;
    // The text dialog offers factors 1 to 3; a file may hold any, and is read
    // into that range (a huge factor would take seconds and gigabytes a redraw).
    static constexpr std::int32_t MinSizeFactor = 1;
    static constexpr std::int32_t MaxSizeFactor = 3;

    QString Text;
    std::int32_t SizeFactor = 1;
    std::uint8_t Style = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    TColor Color = 0;
    QString FontName;
    std::int32_t Reserved = 0; // kept from the file, else 0
    // Runtime state: the font of the last drawing (which measures the
    // text), the drag and the press point relative to the corner.
    struct TRuntime
    {
        TFont Font;
        bool HasFont = false;
        bool Dragging = false;
        std::int32_t OffsetX = 0;
        std::int32_t OffsetY = 0;
        bool operator==(const TRuntime &) const { return true; }
    } Runtime;

    void SetText(const QString &text) { Text = text; }
    void SetPos(std::int32_t x, std::int32_t y)
    {
        X = x;
        Y = y;
    }
    void SetFontName(const QString &name)
    {
        FontName = name;
        Runtime.Font.Name = name;
    }
    void SetSizeFactor(std::int32_t factor) { SizeFactor = factor; }
    void SetStyle(std::uint8_t style) { Style = style; }
    void SetColor(TColor color) { Color = color; }

    bool operator==(const TMapText &) const = default;
};
using TMapTextList = TOwningList<TMapText>;

// Every branch linked to the telephone loses its link.
void UnlinkPhone(TNetworkTables &t, const TTelephone *phone);
// Unlinks and frees the telephone.
void RemovePhone(TNetworkTables &t, TPhonePlaces &phones, const TTelephone *phone);

// ---- file records ----
QByteArray BalloonRecordBytes(const TPLABaloon &balloon);
TPLABaloon BalloonFromRecord(const TNetworkTables &t, const char *bytes);
QByteArray PhoneRecordBytes(const TTelephone &phone);
TTelephone PhoneFromRecord(const char *bytes);
QByteArray MapTextRecordBytes(const TMapText &text);
TMapText MapTextFromRecord(const char *bytes);
