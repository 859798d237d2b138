#include "model/old_scheme_file.h"

#include "model/robust_stream.h"
#include "model/scheme_file.h"
#include "platform/codepage.h"
#include "platform/prompt.h"

#include <QtCore/QtEndian>

#include <algorithm>
#include <cstring>

namespace {

// Reads places 1 to count of a table straight from the file.
template <typename T>
void ReadTable(TRobustFileStream &s, TTable<T> &table, int count)
{
    static_assert(std::is_trivially_copyable_v<T>);
    s.Read(table.data() + 1, static_cast<qint64>(sizeof(T)) * count);
}

} // namespace

void ReadOldMineFile(const QString &fileName, TNetworkTables &t)
{
    TRobustFileStream s(fileName, TRobustFileStream::fmOpenRead);
    char header[OldSchemeHeaderSize];
    s.Read(header, sizeof header);
    if (std::memcmp(header, "xqMine", 6) != 0)
        throw Exception(InvalidSchemeFileMessage(fileName));
    const int capacity = qFromLittleEndian<std::int16_t>(header + 8);
    // Each table holds the full capacity's bytes divided by 5000 / N; only a
    // capacity that divides 5000 gives whole tables.
    if (capacity <= 0 || capacity > MaxItems || MaxItems % capacity != 0)
        throw Exception(InvalidSchemeFileMessage(fileName));
    if (capacity != MaxItems)
        ShowMessageBox(QStringLiteral("Это отладочное сообщение.\rФайл \"%1\" содержит %2 записей.\rТекущая версия "
                                      "программы настроена на %3 записей.\rБудет предпринята попытка загрузить файл "
                                      "старого формата.Если при этом возникнут какие-либо ошибки\r\r"
                                      "сообщите о них поставщику программы Tunvex.")
                           .arg(fileName)
                           .arg(capacity)
                           .arg(MaxItems),
                       QStringLiteral("Обнаружен файл старого формата"), mb::Ok | mb::IconWarning);

    for (int n = 1; n <= MaxItems; ++n)
        DestroyBranch(t, n);
    char properties[OldSchemePropertiesSize];
    s.Read(properties, sizeof properties);

    const int n = capacity;
    ReadTable(s, t.NodeNo, n);
    ReadTable(s, t.NodeX, n);
    ReadTable(s, t.NodeY, n);
    ReadTable(s, t.NodeLiftToSurface, n);
    ReadTable(s, t.NodeIsSurface, n);
    ReadTable(s, t.NodeAltitude, n);
    ReadTable(s, t.BranchNo, n);
    ReadTable(s, t.BranchStartNode, n);
    ReadTable(s, t.BranchEndNode, n);
    ReadTable(s, t.BranchLength, n);
    ReadTable(s, t.BranchPLAPosition, n);
    ReadTable(s, t.BranchPeople, n);
    ReadTable(s, t.BranchR, n);
    ReadTable(s, t.BranchAuxDepression, n);
    ReadTable(s, t.BranchQ, n);
    ReadTable(s, t.BranchStartTemp, n);
    ReadTable(s, t.BranchEndTemp, n);
    ReadTable(s, t.BranchAlpha, n);
    ReadTable(s, t.BranchArea, n);
    ReadTable(s, t.BranchHeight, n);
    ReadTable(s, t.BranchAngle, n);
    ReadTable(s, t.BranchType, n);
    ReadTable(s, t.BranchIsFresh, n);
    ReadTable(s, t.BranchPLAColor, n);

    const QByteArray names = s.ReadBytes(static_cast<qint64>(OldSchemeNameSize) * n);
    for (int i = 1; i <= n; ++i) {
        const char *p = names.constData() + static_cast<qsizetype>(i - 1) * OldSchemeNameSize;
        const int length = std::min<int>(static_cast<std::uint8_t>(p[0]), OldSchemeNameSize - 1);
        t.BranchName[i] = t.BranchNo[i] == i ? DecodeCp1251(p + 1, length) : QString();
    }

    constexpr int pointSize = 12;
    const auto points = s.ReadValue<std::int32_t>();
    if (points < 0)
        throw Exception(DamagedSchemeFileMessage(fileName));
    const QByteArray data = s.ReadBytes(static_cast<qint64>(points) * pointSize);
    for (int i = 0; i < points; ++i) {
        const char *p = data.constData() + static_cast<qsizetype>(i) * pointSize;
        const auto branch = qFromLittleEndian<std::int32_t>(p);
        if (!ValidItemIndex(branch))
            throw Exception(DamagedSchemeFileMessage(fileName));
        // A point of a branch that is not present has nowhere to go.
        if (!BranchPresent(t, branch))
            continue;
        auto &list = t.BranchTurns[branch];
        if (!list)
            list.emplace().reserve(4);
        list->emplace_back(branch, qFromLittleEndian<std::int32_t>(p + 4), qFromLittleEndian<std::int32_t>(p + 8));
    }
    RebuildAllEdgeTurns(t);
}
