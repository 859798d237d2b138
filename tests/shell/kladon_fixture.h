#pragma once
// A small Кладон 5.5 set built byte by byte from the format's layout, with
// the 6-byte reals of the program that writes it.
#include "platform/codepage.h"

#include "file_bytes.h"

#include <QtCore/QByteArray>
#include <QtCore/QDir>
#include <QtCore/QtEndian>

#include <cmath>
#include <cstdint>

// The 6-byte real as the other program writes it.
inline QByteArray Real48(double v)
{
    QByteArray bytes(6, '\0');
    if (v == 0)
        return bytes;
    int e = 0;
    const double m = std::frexp(std::fabs(v), &e);  // |v| = m × 2^e, 0.5 <= m < 1
    auto f = static_cast<std::uint64_t>(std::llround((2 * m - 1) * std::ldexp(1.0, 39)));
    bytes[0] = static_cast<char>(e + 128);
    for (int i = 1; i <= 5; ++i, f >>= 8)
        bytes[i] = static_cast<char>(f & 0xFF);
    if (v < 0)
        bytes[5] = static_cast<char>(bytes[5] | 0x80);
    return bytes;
}

inline void Put16(QByteArray &bytes, int offset, int value)
{
    qToLittleEndian<std::int16_t>(static_cast<std::int16_t>(value), bytes.data() + offset);
}

inline void PutString(QByteArray &bytes, int offset, const QString &text)
{
    const QByteArray oem = EncodeCp866(text);
    bytes[offset] = static_cast<char>(oem.size());
    bytes.replace(offset + 1, oem.size(), oem);
}

inline QByteArray NodeRecord(int first, int x, int y)
{
    QByteArray r(8, '\0');
    Put16(r, 0, first);
    Put16(r, 4, x);
    Put16(r, 6, y);
    return r;
}

struct TKladonBranch
{
    int No, Start, End, NameNo = 0;
    double StartTemp = 0, EndTemp = 0;
    int Type = 1, Fresh = 0, Color = 0, Bend = 0xFFFF;
};

inline QByteArray BranchRecord(const TKladonBranch &b)
{
    QByteArray r(72, '\0');
    Put16(r, 0, b.No);
    Put16(r, 2, b.Start);
    Put16(r, 4, b.End);
    Put16(r, 6, 150);
    Put16(r, 10, b.NameNo);
    r.replace(12, 6, Real48(0.0125));
    r.replace(18, 6, Real48(-30));
    r.replace(30, 6, Real48(b.StartTemp));
    r.replace(36, 6, Real48(b.EndTemp));
    r.replace(42, 6, Real48(8.5));
    r[61] = static_cast<char>(b.Type);
    r[62] = static_cast<char>(b.Fresh);
    r[63] = static_cast<char>(b.Color);
    qToLittleEndian<std::uint16_t>(static_cast<std::uint16_t>(b.Bend), r.data() + 68);
    return r;
}

inline QByteArray NameRecord(const QString &name)
{
    QByteArray r(51, '\0');
    PutString(r, 0, name);
    return r;
}

// "A.NF1" in the folder with companions "SHAHTA.ND1", "shahta.mm1" (when
// withNames) and "shahta.vt1": nodes 1, 5, 3 and 1200, the surface list
// {5, 5, 3}, branches 1 to 3, the second with one bend point and the third
// with two. Gives the main file's name.
inline QString WriteKladonSet(const QString &folder, bool withNames)
{
    const QDir dir(folder);
    QByteArray main(3000, '\0');
    PutString(main, 0, QStringLiteral("ШАХТА"));
    PutString(main, 21, QStringLiteral("shahta"));
    PutString(main, 30, QStringLiteral("1"));
    Put16(main, 898, 3);
    Put16(main, 900, 5);
    Put16(main, 902, 5);
    Put16(main, 904, 3);
    Put16(main, 1000, 100);          // node 1
    Put16(main, 1000 + 2 * 4, -50);  // node 5
    WriteFile(dir.filePath("A.NF1"), main);

    WriteFile(dir.filePath("SHAHTA.ND1"),
              NodeRecord(1, 10, 20) + NodeRecord(5, 30, 40) + NodeRecord(3, 50, 60) + NodeRecord(1200, 70, 80)
                  + NodeRecord(0, 0, 0)
                  + NodeRecord(0, 100, 200)                              // record 5: one bend
                  + NodeRecord(1, 300, 400) + NodeRecord(0, 500, 600));  // 6 and 7: two
    if (withNames)
        WriteFile(dir.filePath("shahta.mm1"), NameRecord(QStringLiteral("Ствол")) + NameRecord(QStringLiteral("Штрек")));
    WriteFile(dir.filePath("shahta.vt1"), BranchRecord({1, 1, 5, 1, 0, 60, 1, 1, 4})
                                              + BranchRecord({0, 0, 0})
                                              + BranchRecord({2, 5, 3, 0, 20.5, 20.5, 9, 0, 20, 5})
                                              + BranchRecord({3, 3, 1200, 2, 0, 0, 0, 0, 15, 6}));
    return dir.filePath("A.NF1");
}
