#pragma once
// Helpers of the scheme-file tests: tables as a new document leaves them, a
// network that fills every saved table, a comparison of tables, and a builder
// of hand-made files.
#include "generated_network.h"
#include "model/scheme_file.h"

#include <QtCore/QFile>
#include <QtCore/QtEndian>

#include <cstring>
#include <memory>
#include <string>

// Tables as the document reset leaves them: every item destroyed, speed limits
// taken from the branch type at the next load.
inline std::unique_ptr<TNetworkTables> NewDocumentTables()
{
    auto t = std::make_unique<TNetworkTables>();
    for (int n = 1; n <= MaxItems; ++n) {
        DestroyBranch(*t, n);
        DestroyNode(*t, n);
        t->BranchMinSpeed[n] = SpeedTypeDefault;
        t->BranchMaxSpeed[n] = SpeedTypeDefault;
        t->BranchGasLayerControl[n] = 0;
    }
    return t;
}

// A grid network with every saved table filled with values of its own, and a
// document with properties, layers, fans and overlay records.
inline void MakeFullScheme(TNetworkTables &t, TSchemeDocument &doc)
{
    MakeGridNetwork(t, 40);
    for (int n = 1; n <= MaxItems; ++n) {
        if (NodeExist(t, n)) {
            t.NodeAltitude[n] = -300.25 - n;
            t.NodeLiftToSurface[n] = n % 3 == 0;
            t.Node3dX[n] = 1000.5 + n; // node numbers stay below the branch numbers
            t.Node3dY[n] = -n * 0.5;
        }
        if (!BranchPresent(t, n))
            continue;
        t.BranchLength[n] = static_cast<std::int16_t>(10 * n);
        t.BranchPLAPosition[n] = static_cast<std::int16_t>(n % 4);
        t.BranchPeople[n] = static_cast<std::int16_t>(n % 5);
        t.BranchQ[n] = 1.0 / n;
        t.BranchAlpha[n] = 0.0012 * n;
        t.BranchStartTemp[n] = 12.5;
        t.BranchEndTemp[n] = 14 + n * 0.1;
        t.BranchHeight[n] = 2.5;
        t.BranchAngle[n] = n % 30;
        t.BranchFlags[n] = static_cast<std::int16_t>((n % 2 ? bfConveyor : bfElectricCables) | (n == 3 ? bfSelected : 0));
        t.BranchType[n] = static_cast<std::uint8_t>(n % 27);
        t.BranchDGSMark[n] = static_cast<std::int16_t>(n % 2);
        t.BranchIsFresh[n] = n % 2;
        t.BranchGasLayerControl[n] = n % 5 == 0;
        t.BranchPLAColor[n] = 0x00FF00 + n;
        t.BranchGivenDepression[n] = 3.25;
        t.BranchRequiredFlow[n] = n % 3 ? ValueNotGiven : 4.5;
        t.BranchLayer[n] = static_cast<std::uint8_t>(n % 2);
        t.BranchFixedDepression[n] = ValueNotGiven;
        t.BranchShortCircuitR[n] = 0.5 * n;
        t.BranchMeasuredDepression[n] = 7.75;
        t.BranchMeasuredFlow[n] = 8.5;
        t.BranchNormativeFlow[n] = 9.25;
        t.BranchMinSpeed[n] = n % 2 ? 0.25 : MinSpeedNotRegulated;
        t.BranchMaxSpeed[n] = n % 2 ? 4 : MaxSpeedUnlimited;
        t.BranchBeltType[n] = static_cast<std::uint8_t>(n % 3);
        t.BranchBeltWidth[n] = static_cast<std::int16_t>(n % 4);
        t.BranchExtraRecord[n].fill(static_cast<std::uint8_t>(n));
        if (n % 3 == 0) {
            t.BranchCableCells[n] = QStringLiteral("ЯКНО-%1").arg(n);
            t.BranchDegasValve[n] = QStringLiteral("З-%1").arg(n);
            t.BranchFirePipeDiameter[n] = QStringLiteral("%1 мм").arg(100 + n);
        }
        if (n % 4 == 0) {
            auto &turns = *t.BranchTurns[n];
            turns.insert(turns.begin() + 1, {TTurn(n, 10 * n, -5), TTurn(n, 10 * n + 3, 70000)});
        }
    }
    t.BranchName[5] = DefaultBranchName;
    t.BranchName[6] = QStringLiteral("Конвейерный штрек №6 «Западный»");

    doc.MineProperties.MineName = QStringLiteral("Шахта «Северная»");
    doc.MineProperties.SheetWidth = 2970;
    doc.MineProperties.SheetHeight = 2100;
    doc.MineProperties.Remarks = QStringLiteral("Пласт k8, горизонт -300 м");
    doc.Layers = {{QStringLiteral("Пласт k8"), 0x0000FF}, {QStringLiteral("Пласт l1"), 0x00FF00}};
    doc.InstalledFans.Add(t.BranchNo[MaxBranchNo(t)], QStringLiteral("ВЦД-31,5"), 2, 80);
    doc.InstalledFans.Add(9, QStringLiteral("ВМЭ-6"), 0, 75);
    doc.BalloonList.Add(TPLABaloon(t, 120, t.BranchPLAPosition[3], 80));
    doc.BalloonList.Add(TPLABaloon(t, -40, 777, 300));
    doc.PhoneList.Add(TTelephone(100, QStringLiteral("12"), 50));
    t.BranchPhone[8] = doc.PhoneList.Add(TTelephone(640, QStringLiteral("Диспетчер 2-15"), 410));
    doc.SymbolLinks = {TLink(2, 30, QStringLiteral("Dver")), TLink(4, 10, QStringLiteral("Fan"))};
    TMapText title;
    title.SetText(QStringLiteral("Вентиляционный ствол №2"));
    title.SetPos(30, 20);
    title.SetFontName(QStringLiteral("Times New Roman"));
    title.SetSizeFactor(3);
    title.SetStyle(ts::Bold | ts::Underline);
    title.SetColor(0x0000C0);
    doc.MapTexts.Add(title);
    TMapText note;
    note.SetText(QStringLiteral("Изолированный участок"));
    note.SetPos(700, -15);
    note.SetFontName(QStringLiteral("Arial"));
    note.Reserved = 0x01020304;
    doc.MapTexts.Add(note);
}

// The first difference between the saved tables of two networks, or empty.
inline std::string TablesDiffer(const TNetworkTables &a, const TNetworkTables &b)
{
#define TUNVEX_SAME_POD(table) \
    if (std::memcmp(a.table.data() + 1, b.table.data() + 1, sizeof(a.table[0]) * MaxItems) != 0) \
        return #table;
    TUNVEX_SAME_POD(NodeNo) TUNVEX_SAME_POD(NodeX) TUNVEX_SAME_POD(NodeY) TUNVEX_SAME_POD(NodeAltitude)
    TUNVEX_SAME_POD(NodeLiftToSurface) TUNVEX_SAME_POD(NodeIsSurface) TUNVEX_SAME_POD(NodeFlags)
    TUNVEX_SAME_POD(Node3dX) TUNVEX_SAME_POD(Node3dY) TUNVEX_SAME_POD(BranchNo)
    TUNVEX_SAME_POD(BranchStartNode) TUNVEX_SAME_POD(BranchEndNode) TUNVEX_SAME_POD(BranchLength)
    TUNVEX_SAME_POD(BranchPLAPosition) TUNVEX_SAME_POD(BranchPeople) TUNVEX_SAME_POD(BranchR)
    TUNVEX_SAME_POD(BranchAuxDepression) TUNVEX_SAME_POD(BranchQ) TUNVEX_SAME_POD(BranchAlpha)
    TUNVEX_SAME_POD(BranchStartTemp) TUNVEX_SAME_POD(BranchEndTemp) TUNVEX_SAME_POD(BranchArea)
    TUNVEX_SAME_POD(BranchHeight) TUNVEX_SAME_POD(BranchAngle) TUNVEX_SAME_POD(BranchFlags)
    TUNVEX_SAME_POD(BranchLabelFlags) TUNVEX_SAME_POD(BranchType) TUNVEX_SAME_POD(BranchDGSMark)
    TUNVEX_SAME_POD(BranchIsFresh) TUNVEX_SAME_POD(BranchPLAColor) TUNVEX_SAME_POD(BranchGivenDepression)
    TUNVEX_SAME_POD(BranchRequiredFlow) TUNVEX_SAME_POD(BranchLayer) TUNVEX_SAME_POD(BranchFixedDepression)
    TUNVEX_SAME_POD(BranchShortCircuitR) TUNVEX_SAME_POD(BranchMeasuredDepression)
    TUNVEX_SAME_POD(BranchMeasuredFlow) TUNVEX_SAME_POD(BranchNormativeFlow) TUNVEX_SAME_POD(BranchMinSpeed)
    TUNVEX_SAME_POD(BranchMaxSpeed) TUNVEX_SAME_POD(BranchBeltType) TUNVEX_SAME_POD(BranchBeltWidth)
    TUNVEX_SAME_POD(BranchGasLayerControl) TUNVEX_SAME_POD(BranchExtraRecord)
    TUNVEX_SAME_POD(HeldNormalH) TUNVEX_SAME_POD(HeldNormalQ) TUNVEX_SAME_POD(HeldEmergencyH)
    TUNVEX_SAME_POD(HeldEmergencyQ) TUNVEX_SAME_POD(HeldLeftH)
#undef TUNVEX_SAME_POD
    for (int n = 1; n <= MaxItems; ++n) {
        const std::string at = " at " + std::to_string(n);
        if (a.BranchName[n] != b.BranchName[n])
            return "BranchName" + at;
        if ((a.BranchPhone[n] == nullptr) != (b.BranchPhone[n] == nullptr))
            return "BranchPhone" + at;
        if (a.BranchCableCells[n] != b.BranchCableCells[n] || a.BranchDegasValve[n] != b.BranchDegasValve[n] ||
            a.BranchFirePipeDiameter[n] != b.BranchFirePipeDiameter[n])
            return "branch texts" + at;
        if (a.BranchTurns[n].has_value() != b.BranchTurns[n].has_value())
            return "BranchTurns presence" + at;
        if (a.BranchTurns[n]) {
            const TTurnList &x = *a.BranchTurns[n], &y = *b.BranchTurns[n];
            if (x.size() != y.size())
                return "BranchTurns size" + at;
            for (std::size_t i = 0; i < x.size(); ++i)
                if (x[i].Number != y[i].Number || x[i].X != y[i].X || x[i].Y != y[i].Y)
                    return "BranchTurns point" + at;
        }
    }
    return {};
}

inline QByteArray ReadAllBytes(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

inline void WriteAllBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

// Builds scheme files byte by byte.
class TSchemeBytes
{
public:
    TSchemeBytes &Header(const char *magic = "xqMine", std::int16_t version = SchemeFileVersion)
    {
        m_bytes.append(magic, 6);
        Int16(version).Int32(SchemeHeaderSize).Int32(0);
        return *this;
    }
    TSchemeBytes &Record(std::int16_t tag, std::int32_t count, const QByteArray &data)
    {
        Int16(tag).Int32(static_cast<std::int32_t>(data.size())).Int32(count);
        m_bytes += data;
        return *this;
    }
    TSchemeBytes &Int16(std::int16_t v) { return Raw(&v, 2); }
    TSchemeBytes &Int32(std::int32_t v) { return Raw(&v, 4); }
    TSchemeBytes &Double(double v) { return Raw(&v, 8); }
    TSchemeBytes &Raw(const void *p, int size)
    {
        m_bytes.append(static_cast<const char *>(p), size);
        return *this;
    }
    TSchemeBytes &Bytes(const QByteArray &b)
    {
        m_bytes += b;
        return *this;
    }
    const QByteArray &Data() const { return m_bytes; }
    void Save(const QString &path) const { WriteAllBytes(path, m_bytes); }

private:
    QByteArray m_bytes;
};

// Data of a packed int16 record.
inline QByteArray Int16s(std::initializer_list<std::int16_t> values)
{
    QByteArray b;
    for (std::int16_t v : values)
        b.append(reinterpret_cast<const char *>(&v), 2);
    return b;
}

inline QByteArray Doubles(std::initializer_list<double> values)
{
    QByteArray b;
    for (double v : values)
        b.append(reinterpret_cast<const char *>(&v), 8);
    return b;
}
