#include "platform/codepage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

// Upper halves of the pages; the lower half is ASCII in both.
constexpr std::array<char16_t, 128> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

constexpr std::array<char16_t, 128> kCp866High = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
    0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,
};

// Western page 1252, met in pictures made on other systems: Latin-1 but for
// 0x80..0x9F; the five unassigned bytes keep their own value.
constexpr std::array<char16_t, 128> kCp1252High = [] {
    std::array<char16_t, 128> high{};
    constexpr char16_t c1[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    for (int i = 0; i < 128; ++i)
        high[i] = i < 32 ? c1[i] : static_cast<char16_t>(0x80 + i);
    return high;
}();

QString Decode(const std::array<char16_t, 128> &high, const char *data, qsizetype size)
{
    QString result(size, Qt::Uninitialized);
    QChar *out = result.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        out[i] = b < 0x80 ? QChar(b) : QChar(high[b - 0x80]);
    }
    return result;
}

// Reverse table of one page: every UTF-16 unit to its byte, '?' when absent.
using TReverseTable = std::array<char, 0x10000>;

TReverseTable MakeReverse(const std::array<char16_t, 128> &high)
{
    TReverseTable table;
    table.fill('?');
    for (int c = 0; c < 0x80; ++c)
        table[c] = static_cast<char>(c);
    for (int i = 0; i < 128; ++i)
        table[high[i]] = static_cast<char>(0x80 + i);
    return table;
}

const TReverseTable &Reverse(const std::array<char16_t, 128> &high)
{
    static const TReverseTable cp1251 = MakeReverse(kCp1251High);
    static const TReverseTable cp866 = MakeReverse(kCp866High);
    return &high == &kCp1251High ? cp1251 : cp866;
}

char EncodeChar(const std::array<char16_t, 128> &high, char16_t c)
{
    return Reverse(high)[c];
}

QByteArray Encode(const std::array<char16_t, 128> &high, const QString &text)
{
    QByteArray result(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        result[i] = EncodeChar(high, text[i].unicode());
    return result;
}

QByteArray Recode(const std::array<char16_t, 128> &from, const std::array<char16_t, 128> &to,
                  const QByteArray &bytes)
{
    QByteArray result = bytes;
    for (qsizetype i = 0; i < result.size(); ++i) {
        const auto b = static_cast<unsigned char>(result[i]);
        if (b >= 0x80)
            result[i] = EncodeChar(to, from[b - 0x80]);
    }
    return result;
}

} // namespace

QString DecodeCp1251(const QByteArray &bytes) { return Decode(kCp1251High, bytes.constData(), bytes.size()); }
QString DecodeCp1251(const char *data, qsizetype size) { return Decode(kCp1251High, data, size); }
QByteArray EncodeCp1251(const QString &text) { return Encode(kCp1251High, text); }

void PutShortString(char *field, int size, const QString &text)
{
    const QByteArray bytes = EncodeCp1251(text).left(size - 1);
    std::memset(field, 0, static_cast<std::size_t>(size));
    field[0] = static_cast<char>(bytes.size());
    std::memcpy(field + 1, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString GetShortString(const char *field, int size)
{
    const int length = std::min<int>(static_cast<std::uint8_t>(field[0]), size - 1);
    return DecodeCp1251(field + 1, length);
}

QString DecodeCp866(const QByteArray &bytes) { return Decode(kCp866High, bytes.constData(), bytes.size()); }
QByteArray EncodeCp866(const QString &text) { return Encode(kCp866High, text); }
QString DecodeCp1252(const QByteArray &bytes) { return Decode(kCp1252High, bytes.constData(), bytes.size()); }
QByteArray OemToAnsiBytes(const QByteArray &oem) { return Recode(kCp866High, kCp1251High, oem); }
QByteArray AnsiToOemBytes(const QByteArray &ansi) { return Recode(kCp1251High, kCp866High, ansi); }
