// The Кладон 5.5 set: a main file of fixed blocks and three companions of
// fixed records (".nd" nodes and bend points, ".mm" names, ".vt" branches).
#include "shell/foreign_files.h"

#include "model/helpers.h"
#include "model/robust_stream.h"
#include "platform/codepage.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QtEndian>

#include <cmath>

namespace {

constexpr qsizetype MainFileSize = 3000;
constexpr qsizetype NodeRecordSize = 8;
constexpr qsizetype NameRecordSize = 51;
constexpr qsizetype BranchRecordSize = 72;
constexpr int SurfaceListSize = 50;
constexpr int AltitudeCount = 1000;
constexpr int MaxNames = 2000;
constexpr std::uint16_t NoBendRecord = 0xFFFF;

// The standard VGA palette in its usual order, as TColor values.
constexpr std::array<std::int32_t, 16> PlaColors = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// A whole file in memory, addressed by record; reading past its end is a
// short read of that file.
class TRecords
{
public:
    TRecords() = default;
    TRecords(const QString &fileName, qsizetype recordSize) : m_fileName(fileName), m_recordSize(recordSize)
    {
        TRobustFileStream s(fileName, TRobustFileStream::fmOpenRead);
        m_bytes = s.ReadBytes(s.Size());
    }

    // Whole records, and whether a piece of one follows them.
    qsizetype Count() const { return m_bytes.size() / m_recordSize; }
    bool HasPartialRecord() const { return m_bytes.size() % m_recordSize != 0; }

    const unsigned char *Record(qsizetype index) const
    {
        if (index < 0 || (index + 1) * m_recordSize > m_bytes.size())
            throw EUnexpectedEOF(m_fileName);
        return reinterpret_cast<const unsigned char *>(m_bytes.constData()) + index * m_recordSize;
    }
    void CheckWhole() const
    {
        if (HasPartialRecord())
            throw EUnexpectedEOF(m_fileName);
    }

private:
    QString m_fileName;
    qsizetype m_recordSize = 1;
    QByteArray m_bytes;
};

std::int16_t I16(const unsigned char *p) { return qFromLittleEndian<std::int16_t>(p); }
std::uint16_t U16(const unsigned char *p) { return qFromLittleEndian<std::uint16_t>(p); }

// A length-prefixed OEM string in a field of `size` bytes.
QString PascalString(const unsigned char *p, int size)
{
    const int length = std::min<int>(p[0], size - 1);
    return DecodeCp866(QByteArray(reinterpret_cast<const char *>(p + 1), length));
}

void AppendBend(TNetworkTables &t, int b, const unsigned char *record)
{
    auto &list = t.BranchTurns[b];
    if (!list)
        list.emplace().reserve(4);
    list->push_back(TTurn(b, I16(record + 4), I16(record + 6)));
}

} // namespace

double Real48ToDouble(const unsigned char *b)
{
    if (b[0] == 0)
        return 0.0;
    std::uint64_t fraction = b[5] & 0x7F;
    for (int i = 4; i >= 1; --i)
        fraction = (fraction << 8) | b[i];
    const double value = std::ldexp(1.0 + std::ldexp(static_cast<double>(fraction), -39), b[0] - 129);
    return (b[5] & 0x80) ? -value : value;
}

QString KladonDocumentName(const QString &mineName, const QString &mainFile)
{
    // The mine name is cleaned as well: a slash in it would turn the
    // document's name into a path into another folder.
    return ReplaceFileNameChars(mineName + QStringLiteral(" Импортировано из Кладон 5.5 (") + mainFile
                                + QStringLiteral(")"))
           + QStringLiteral(".Mine");
}

QString ImportKladonFiles(TNetworkTables &t, const QString &mainFile)
{
    const TRecords main(mainFile, MainFileSize);
    const unsigned char *m = main.Record(0);
    const QString documentName = KladonDocumentName(PascalString(m, 21), mainFile);
    const QString base = PascalString(m + 21, 9);
    const QString suffix = PascalString(m + 30, 10);

    const QString folder = QFileInfo(mainFile).path();
    const auto companion = [&](const char *extension) {
        const QString name = base + QString::fromLatin1(extension) + suffix;
        const QString found = FindFileNoCase(folder, name);
        return found.isEmpty() ? QDir(folder).filePath(name) : found;
    };

    try {
        std::vector<int> surface;
        const int surfaceCount = std::clamp<int>(I16(m + 898), 0, SurfaceListSize);
        for (int i = 0; i < surfaceCount; ++i)
            surface.push_back(I16(m + 900 + 2 * i));

        const TRecords nodes(companion(".nd"), NodeRecordSize);
        for (qsizetype r = 0;; ++r) {
            if (r == nodes.Count()) {
                nodes.CheckWhole();
                break;
            }
            const unsigned char *record = nodes.Record(r);
            const int n = I16(record);
            if (n == 0)
                break;
            if (!ValidItemIndex(n))
                continue;
            t.NodeNo[n] = static_cast<std::int16_t>(n);
            // Nodes beyond the altitude table keep "no altitude".
            if (n <= AltitudeCount)
                t.NodeAltitude[n] = I16(m + 1000 + 2 * (n - 1));
            t.NodeX[n] = I16(record + 4);
            t.NodeY[n] = I16(record + 6);
            t.NodeIsSurface[n] = 0;
            // Each entry of the list marks one node.
            const auto at = std::find(surface.begin(), surface.end(), n);
            if (at != surface.end()) {
                t.NodeIsSurface[n] = 1;
                *at = surface.back();
                surface.pop_back();
            }
        }

        std::vector<QString> names;
        const QString namesFile = FindFileNoCase(folder, base + QStringLiteral(".mm") + suffix);
        if (!namesFile.isEmpty()) {
            const TRecords records(namesFile, NameRecordSize);
            records.CheckWhole();
            for (qsizetype r = 0; r < records.Count() && r < MaxNames; ++r)
                names.push_back(PascalString(records.Record(r), NameRecordSize));
        }

        const TRecords branches(companion(".vt"), BranchRecordSize);
        branches.CheckWhole();
        const auto temperature = [](double value) { return value > 0 && value < 56 ? value : 0.0; };
        for (qsizetype r = 0; r < branches.Count(); ++r) {
            const unsigned char *v = branches.Record(r);
            const int b = I16(v), start = I16(v + 2), end = I16(v + 4);
            // Number 0 marks an empty record; other numbers beyond the
            // tables carry no rule and are passed over as well.
            if (!ValidItemIndex(b) || !ValidItemIndex(start) || !ValidItemIndex(end))
                continue;
            CreateBranch(t, b);
            t.BranchStartNode[b] = static_cast<std::int16_t>(start);
            t.BranchEndNode[b] = static_cast<std::int16_t>(end);
            t.BranchLength[b] = I16(v + 6);
            t.BranchPLAPosition[b] = I16(v + 8);
            t.BranchR[b] = Real48ToDouble(v + 12);
            t.BranchAuxDepression[b] = Real48ToDouble(v + 18);
            t.BranchQ[b] = Real48ToDouble(v + 24);
            t.BranchStartTemp[b] = temperature(Real48ToDouble(v + 30));
            t.BranchEndTemp[b] = temperature(Real48ToDouble(v + 36));
            t.BranchArea[b] = Real48ToDouble(v + 42);
            t.BranchHeight[b] = Real48ToDouble(v + 48);
            t.BranchAngle[b] = Real48ToDouble(v + 54);
            t.BranchType[b] = v[61] == 0 ? 0 : v[61] - 1;
            t.BranchIsFresh[b] = v[62] == 1;
            t.BranchPLAColor[b] = v[63] < PlaColors.size() ? PlaColors[v[63]] : PlaColors[0];
            const int nameNo = I16(v + 10);
            t.BranchName[b] = nameNo >= 1 && nameNo <= static_cast<int>(names.size()) ? names[nameNo - 1] : QString();
            const std::uint16_t bend = U16(v + 68);
            if (bend != NoBendRecord) {
                const unsigned char *first = nodes.Record(bend);
                AppendBend(t, b, first);
                if (I16(first) != 0)
                    AppendBend(t, b, nodes.Record(bend + 1));
            }
        }
    } catch (...) {
        RebuildAllEdgeTurns(t);
        throw;
    }
    RebuildAllEdgeTurns(t);
    return documentName;
}
