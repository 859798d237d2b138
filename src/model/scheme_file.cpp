#include "model/scheme_file.h"

#include "model/old_scheme_file.h"
#include "model/robust_stream.h"
#include "platform/codepage.h"
#include "platform/prompt.h"

#include <QtCore/QFileInfo>
#include <QtCore/QStorageInfo>
#include <QtCore/QtEndian>
#include <QtCore/QtGlobal>

#include <algorithm>
#include <cstring>
#include <memory>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "tables are copied to and from the file as they lie in memory");

namespace {

const char MagicMine[] = "xqMine";
constexpr int PhoneLinkSize = 8; // int32 telephone key, int16 branch, 2 reserved bytes
const char MagicLite[] = "xqLite";
constexpr int MagicSize = 6;
// The "xqLite" form has 4 bytes of its own between the header and the records.
constexpr int LiteExtraSize = 4;

const QString ContactParagraph =
    QStringLiteral("Последнюю версию программы Tunvex можно получить у её поставщика.");

// A table of the file: where it lies in memory and which index packs it.
struct TTableRef
{
    std::int16_t Tag;
    void *Data; // place 0 of the table
    int ElementSize;
    bool ByNodeIndex;
};

template <typename T>
TTableRef Ref(std::int16_t tag, TTable<T> &table, bool byNodeIndex)
{
    static_assert(std::is_trivially_copyable_v<T> && sizeof(TTable<T>) == sizeof(T) * TableSize);
    return {tag, table.data(), static_cast<int>(sizeof(T)), byNodeIndex};
}

// Tables in the order the writer emits them, in the groups it emits them.
std::vector<TTableRef> NodeTables(TNetworkTables &t)
{
    return {Ref(1, t.NodeNo, true), Ref(2, t.NodeX, true), Ref(3, t.NodeY, true),
            Ref(4, t.NodeAltitude, true), Ref(5, t.NodeLiftToSurface, true), Ref(6, t.NodeIsSurface, true)};
}

std::vector<TTableRef> BranchTables(TNetworkTables &t)
{
    return {Ref(7, t.BranchNo, false), Ref(8, t.BranchStartNode, false), Ref(9, t.BranchEndNode, false),
            Ref(10, t.BranchLength, false), Ref(11, t.BranchPLAPosition, false), Ref(12, t.BranchPeople, false),
            Ref(13, t.BranchR, false), Ref(14, t.BranchAuxDepression, false), Ref(15, t.BranchQ, false),
            Ref(16, t.BranchAlpha, false), Ref(17, t.BranchStartTemp, false), Ref(18, t.BranchEndTemp, false),
            Ref(19, t.BranchArea, false), Ref(20, t.BranchHeight, false), Ref(21, t.BranchAngle, false)};
}

std::vector<TTableRef> BranchFlagTables(TNetworkTables &t)
{
    return {Ref(22, t.BranchFlags, false), Ref(23, t.BranchLabelFlags, false), Ref(24, t.BranchType, false),
            Ref(25, t.BranchDGSMark, false)};
}

std::vector<TTableRef> BranchMoreTables(TNetworkTables &t)
{
    return {Ref(27, t.BranchIsFresh, false), Ref(28, t.BranchPLAColor, false),
            Ref(29, t.BranchGivenDepression, false), Ref(30, t.BranchRequiredFlow, false),
            Ref(36, t.BranchLayer, false), Ref(37, t.BranchFixedDepression, false),
            Ref(38, t.BranchShortCircuitR, false), Ref(39, t.BranchMeasuredDepression, false),
            Ref(40, t.BranchMeasuredFlow, false), Ref(41, t.BranchNormativeFlow, false),
            Ref(52, t.BranchBeltType, false), Ref(53, t.BranchBeltWidth, false),
            Ref(45, t.BranchMinSpeed, false), Ref(46, t.BranchMaxSpeed, false),
            Ref(tagExtraRecord, t.BranchExtraRecord, false)};
}

// Node values that the format packs by the branch index (see the reader).
std::vector<TTableRef> Node3dTables(TNetworkTables &t)
{
    return {Ref(tagNode3dX, t.Node3dX, false), Ref(tagNode3dY, t.Node3dY, false)};
}

struct TTextTable
{
    std::int16_t Tag;
    TTable<QString> *Texts;
};

std::vector<TTextTable> TextTables(TNetworkTables &t)
{
    return {{tagBranchName, &t.BranchName}, {tagCableCells, &t.BranchCableCells},
            {tagDegasValve, &t.BranchDegasValve}, {tagFirePipeDiameter, &t.BranchFirePipeDiameter}};
}

// ---- writing ----

class TSchemeWriter
{
public:
    TSchemeWriter(TRobustFileStream &s, TNetworkTables &t) : m_s(s), m_t(t) {}

    void WritePackedArray(const TTableRef &table)
    {
        const auto &numbers = table.ByNodeIndex ? m_t.NodeNo : m_t.BranchNo;
        const auto *source = static_cast<const char *>(table.Data);
        const std::size_t size = static_cast<std::size_t>(table.ElementSize);
        m_buffer.resize(static_cast<qsizetype>(size) * MaxItems);
        char *out = m_buffer.data();
        for (int n = 1; n <= MaxItems; ++n)
            if (numbers[n] == n) {
                std::memcpy(out, source + size * n, size);
                out += size;
            }
        const auto length = static_cast<std::int32_t>(out - m_buffer.data());
        WriteRecordHeader(m_s, {table.Tag, length, length / table.ElementSize});
        m_s.Write(m_buffer.constData(), length);
    }

    void WritePackedArrays(const std::vector<TTableRef> &tables)
    {
        for (const TTableRef &table : tables)
            WritePackedArray(table);
    }

    void WriteStringRecord(std::int16_t tag, int item, const QString &text)
    {
        const QByteArray bytes = EncodeCp1251(text);
        WriteRecordHeader(m_s, TRecordHeader::ForString(tag, static_cast<std::int32_t>(bytes.size()),
                                                        static_cast<std::int16_t>(item)));
        m_s.WriteBytes(bytes);
    }

    void WriteTexts()
    {
        for (const TTextTable &table : TextTables(m_t))
            for (int n = 1; n <= MaxItems; ++n) {
                if (!BranchPresent(m_t, n))
                    continue;
                const QString &text = (*table.Texts)[n];
                if (text.isEmpty() || (table.Tag == tagBranchName && text == DefaultBranchName))
                    continue;
                WriteStringRecord(table.Tag, n, text);
            }
    }

    void WriteBendPoints()
    {
        constexpr int pointSize = 10;
        // A list that lost its end points (drawing in progress, a plug-in's
        // edit) has no inner points and must not reduce the count of others.
        int count = 0;
        for (int n = 1; n <= MaxItems; ++n)
            if (BranchPresent(m_t, n))
                count += std::max(InnerTurnCount(m_t, n), 0);
        QByteArray data(static_cast<qsizetype>(count) * pointSize, '\0');
        char *p = data.data();
        for (int n = 1; n <= MaxItems; ++n) {
            if (!BranchPresent(m_t, n) || InnerTurnCount(m_t, n) <= 0)
                continue;
            const TTurnList &turns = *m_t.BranchTurns[n];
            for (std::size_t i = 1; i + 1 < turns.size(); ++i, p += pointSize) {
                qToLittleEndian(static_cast<std::int16_t>(n), p);
                qToLittleEndian(turns[i].X, p + 2);
                qToLittleEndian(turns[i].Y, p + 6);
            }
        }
        WriteRecordHeader(m_s, {tagBendPoints, static_cast<std::int32_t>(data.size()), count});
        m_s.WriteBytes(data);
    }

    void WriteProperties(const TMineProperties &mp)
    {
        char data[TMineProperties::Size] = {};
        PutShortString(data, 64, mp.MineName);
        qToLittleEndian(mp.Capacity, data + 64);
        qToLittleEndian(mp.NodeCount, data + 66);
        qToLittleEndian(mp.BranchCount, data + 68);
        qToLittleEndian(mp.SheetWidth, data + 70);
        qToLittleEndian(mp.SheetHeight, data + 74);
        qToLittleEndian(mp.SavedZoom, data + 78);
        qToLittleEndian(mp.Zoom, data + 86);
        qToLittleEndian(mp.ScrollX, data + 94);
        qToLittleEndian(mp.ScrollY, data + 102);
        PutShortString(data + 110, 255, mp.Remarks);
        data[365] = static_cast<char>(mp.ZoomStep);
        WriteRecordHeader(m_s, {tagMineProperties, TMineProperties::Size, 0});
        m_s.Write(data, sizeof data);
    }

    void WriteLayers(const std::vector<TLayer> &layers)
    {
        QByteArray data(static_cast<qsizetype>(layers.size()) * TLayer::Size, '\0');
        char *p = data.data();
        for (const TLayer &layer : layers) {
            PutShortString(p, 64, layer.Name);
            qToLittleEndian(layer.Color, p + 64);
            p += TLayer::Size;
        }
        WriteRecordHeader(m_s, {tagLayers, static_cast<std::int32_t>(data.size()), static_cast<std::int32_t>(layers.size())});
        m_s.WriteBytes(data);
    }

    // Records of fixed-size entries, one record for the whole list.
    template <typename List, typename ToBytes>
    void WriteEntries(std::int16_t tag, const List &list, int entrySize, ToBytes toBytes)
    {
        QByteArray data;
        data.reserve(static_cast<qsizetype>(list.Count()) * entrySize);
        for (int i = 0; i < list.Count(); ++i)
            data += toBytes(list[i]);
        WriteRecordHeader(m_s, {tag, static_cast<std::int32_t>(data.size()), list.Count()});
        m_s.WriteBytes(data);
    }

    // One record per picture file: name length, name, placements.
    void WritePictureSymbols(const TSymbolList &symbols)
    {
        for (const TSymbolPlaces &places : symbols) {
            const QByteArray name = EncodeCp1251(places.FileName);
            QByteArray data(4 + name.size() + static_cast<qsizetype>(places.Places.size()) * 12, '\0');
            char *p = data.data();
            qToLittleEndian(static_cast<std::int32_t>(name.size()), p);
            std::memcpy(p + 4, name.constData(), static_cast<std::size_t>(name.size()));
            p += 4 + name.size();
            for (const TSymbolPlace &place : places.Places) {
                qToLittleEndian(place.Angle, p);
                qToLittleEndian(place.X, p + 4);
                qToLittleEndian(place.Y, p + 8);
                p += 12;
            }
            WriteRecordHeader(m_s, {tagPictureSymbols, static_cast<std::int32_t>(data.size()),
                                    static_cast<std::int32_t>(places.Places.size())});
            m_s.WriteBytes(data);
        }
    }

    void WriteSymbolLinks(const TLinkList &links)
    {
        QByteArray data;
        data.reserve(static_cast<qsizetype>(links.size()) * TLink::Size);
        for (const TLink &link : links)
            data += link.ToBytes();
        WriteRecordHeader(m_s, {tagSymbolLinks, static_cast<std::int32_t>(data.size()), static_cast<std::int32_t>(links.size())});
        m_s.WriteBytes(data);
    }

    // A link names its telephone by the key of the telephone as written.
    void WritePhoneLinks(const TPhonePlaces &phones)
    {
        for (int n = 1; n <= MaxItems; ++n) {
            const TTelephone *phone = m_t.BranchPhone[n];
            if (!phone || !BranchExist(m_t, n) || !phones.Contains(phone))
                continue;
            char bytes[PhoneLinkSize] = {};
            qToLittleEndian(TPhonePlaces::PhoneKey(*phone), bytes);
            qToLittleEndian(static_cast<std::int16_t>(n), bytes + 4);
            WriteRecordHeader(m_s, {tagTelephoneLink, PhoneLinkSize, 1});
            m_s.Write(bytes, PhoneLinkSize);
        }
    }

private:
    TRobustFileStream &m_s;
    TNetworkTables &m_t;
    QByteArray m_buffer;
};

void PackNodeFlags(TNetworkTables &t)
{
    for (int n = 1; n <= MaxItems; ++n)
        if (NodeExist(t, n))
            t.NodeFlags[n] = t.NodeLiftToSurface[n] ? 1 : 0;
    for (int n = 1; n <= MaxItems; ++n)
        t.NodeFlags[n] = static_cast<std::int16_t>(t.NodeIsSurface[n] ? (t.NodeFlags[n] | 2) : (t.NodeFlags[n] & ~2));
}

void UnpackNodeFlags(TNetworkTables &t)
{
    for (int n = 1; n <= MaxItems; ++n)
        if (NodeExist(t, n)) {
            t.NodeLiftToSurface[n] = (t.NodeFlags[n] & 1) ? 1 : 0;
            t.NodeIsSurface[n] = (t.NodeFlags[n] & 2) ? 1 : 0;
        }
}

void SetBit(std::int16_t &word, int bit, bool on)
{
    word = static_cast<std::int16_t>(on ? (word | bit) : (word & ~bit));
}

void PackBranchFlags(TNetworkTables &t)
{
    for (int n = 1; n <= MaxItems; ++n)
        if (BranchPresent(t, n)) {
            SetBit(t.BranchFlags[n], bfFresh, t.BranchIsFresh[n] != 0);
            SetBit(t.BranchFlags[n], bfGasLayerControl, t.BranchGasLayerControl[n] != 0);
        }
}

void UnpackBranchFlags(TNetworkTables &t)
{
    for (int n = 1; n <= MaxItems; ++n)
        if (BranchPresent(t, n)) {
            t.BranchIsFresh[n] = (t.BranchFlags[n] & bfFresh) ? 1 : 0;
            t.BranchGasLayerControl[n] = (t.BranchFlags[n] & bfGasLayerControl) ? 1 : 0;
        }
}

// ---- reading ----

[[noreturn]] void Damaged(const QString &fileName)
{
    throw Exception(DamagedSchemeFileMessage(fileName));
}

class TSchemeReader
{
public:
    TSchemeReader(TRobustFileStream &s, TNetworkTables &t, TSchemeDocument &doc)
        : m_s(s), m_t(t), m_doc(doc), m_texts(TextTables(t))
    {
        for (const auto &group : {NodeTables(t), {Ref(tagNodeFlags, t.NodeFlags, true)}, BranchTables(t),
                                  BranchFlagTables(t), BranchMoreTables(t), Node3dTables(t)})
            m_packed.insert(m_packed.end(), group.begin(), group.end());
    }

    void Read()
    {
        ReadHeader();
        if (m_version == 0)
            return; // the caller hands the file to the old-layout reader
        if (m_version > SchemeFileVersion)
            ShowMessageBox(QStringLiteral("Файл \"%1\" имеет более новый формат чем данная версия программы может "
                                          "полностью прочитать/записать. Часть данных из этого файла будет "
                                          "ПРОИГНОРИРОВАНА при чтении, а при СОХРАНЕНИИ в ЭТОТ ЖЕ ФАЙЛ - "
                                          "УНИЧТОЖЕНА.\r\r%2")
                               .arg(m_s.FileName(), ContactParagraph),
                           QStringLiteral("Обнаружен файл нового формата"), mb::Ok | mb::IconWarning);

        m_s.Seek(m_firstRecord);
        if (!FindRecord(tagNodeIndex))
            throw Exception(QStringLiteral("Не удалось найти описание номеров узлов.\rПохоже, что файл \"%1\" "
                                           "поврежден или не является корректным файлом \"Zyr Вентиляция\"")
                                .arg(m_s.FileName()));
        m_nodeIndex = ReadIndex();
        m_s.Seek(m_firstRecord);
        if (!FindRecord(tagBranchIndex))
            throw Exception(QStringLiteral("Не удалось найти описание номеров ветвей.\rПохоже, что файл \"%1\" "
                                           "поврежден или не является корректным файлом \"Zyr Вентиляция\"")
                                .arg(m_s.FileName()));
        m_branchIndex = ReadIndex();

        m_s.Seek(m_firstRecord);
        while (m_s.Position() < m_size) {
            const qint64 start = m_s.Position();
            const TRecordHeader h = NextHeader();
            if (h.Tag == tagPictureSymbols) {
                ReadPictureSymbols(h, true);
                continue;
            }
            ReadRecord(h);
            SeekTo(start + RecordHeaderSize + h.Length);
        }
        // The file keeps only the inner bend points; every present branch gets
        // its end points, also when the file had no bend-point record.
        RebuildAllEdgeTurns(m_t);
    }

    bool OldLayout() const { return m_version == 0; }

private:
    void ReadHeader()
    {
        m_size = m_s.Size();
        char header[SchemeHeaderSize] = {};
        if (m_size < MagicSize)
            throw Exception(InvalidSchemeFileMessage(m_s.FileName()));
        m_s.Read(header, std::min<qint64>(m_size, SchemeHeaderSize));
        const bool mine = std::memcmp(header, MagicMine, MagicSize) == 0;
        const bool lite = std::memcmp(header, MagicLite, MagicSize) == 0;
        if (!mine && !lite)
            throw Exception(InvalidSchemeFileMessage(m_s.FileName()));
        if (m_size < SchemeHeaderSize)
            throw EUnexpectedEOF();
        m_version = qFromLittleEndian<std::int16_t>(header + 6);
        const auto offset = qFromLittleEndian<std::int32_t>(header + 8);
        m_firstRecord = static_cast<qint64>(offset) + (lite ? LiteExtraSize : 0);
        if (m_version != 0 && (offset < SchemeHeaderSize || m_firstRecord > m_size))
            Damaged(m_s.FileName());
    }

    // The size is taken once: asking the file system on every record would
    // cost more than the reading itself.
    qint64 BytesLeft() const { return m_size - m_s.Position(); }

    // Moving the position drops the stream's read buffer; records read whole
    // are already where the next one starts.
    void SeekTo(qint64 position)
    {
        if (m_s.Position() != position)
            m_s.Seek(position);
    }

    // A record header whose data lies wholly in the file (picture symbols
    // are checked as they are read).
    TRecordHeader NextHeader()
    {
        const TRecordHeader h = ReadRecordHeader(m_s);
        if (h.Tag == tagPictureSymbols)
            return h; // measured by its own contents
        if (h.Length < 0)
            Damaged(m_s.FileName());
        if (h.Length > BytesLeft())
            throw EUnexpectedEOF();
        return h;
    }

    // Data of a record whose length NextHeader has checked.
    QByteArray ReadData(qint64 length)
    {
        QByteArray bytes(length, Qt::Uninitialized);
        m_s.Read(bytes.data(), length);
        return bytes;
    }

    bool FindRecord(std::int16_t tag)
    {
        while (m_s.Position() < m_size) {
            const TRecordHeader h = NextHeader();
            if (h.Tag == tag) {
                m_found = h;
                return true;
            }
            if (h.Tag == tagPictureSymbols)
                ReadPictureSymbols(h, false);
            else
                SeekTo(m_s.Position() + h.Length);
        }
        return false;
    }

    // Elements of a record of fixed-size elements; anything else is damage.
    int ElementCount(const TRecordHeader &h, int elementSize) const
    {
        if (h.Count < 0 || static_cast<qint64>(h.Count) * elementSize != h.Length)
            Damaged(m_s.FileName());
        return h.Count;
    }

    // The entries of a list record; a count of 0 or less holds none.
    std::vector<const char *> Entries(const TRecordHeader &h, int entrySize)
    {
        if (h.Count <= 0)
            return {};
        const int count = ElementCount(h, entrySize);
        m_buffer = ReadData(h.Length);
        std::vector<const char *> entries(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            entries[static_cast<std::size_t>(i)] = m_buffer.constData() + static_cast<qsizetype>(i) * entrySize;
        return entries;
    }

    // A picture-symbol record is measured by its own name length and count,
    // not by the frame's length field. Returns where the next record starts.
    qint64 ReadPictureSymbols(const TRecordHeader &h, bool keep)
    {
        char length[4];
        if (BytesLeft() < 4)
            throw EUnexpectedEOF();
        m_s.Read(length, 4);
        const auto n = qFromLittleEndian<std::int32_t>(length);
        const qint64 count = std::max(h.Count, 0);
        if (n < 0 || n > BytesLeft() || count * 12 > BytesLeft() - n)
            Damaged(m_s.FileName());
        TSymbolPlaces places;
        places.FileName = DecodeCp1251(ReadData(n));
        const QByteArray data = ReadData(count * 12);
        for (qint64 i = 0; i < count; ++i) {
            const char *p = data.constData() + i * 12;
            places.Places.push_back({qFromLittleEndian<std::int32_t>(p + 4), qFromLittleEndian<std::int32_t>(p + 8),
                                     qFromLittleEndian<std::int32_t>(p)});
        }
        if (keep)
            m_doc.PictureSymbolList.push_back(std::move(places));
        return m_s.Position();
    }

    int CheckedItem(int n) const
    {
        if (!ValidItemIndex(n))
            Damaged(m_s.FileName());
        return n;
    }

    std::vector<std::int16_t> ReadIndex()
    {
        if (m_found.Length == 0 || m_found.Count == 0)
            return {};
        const int count = ElementCount(m_found, sizeof(std::int16_t));
        if (count > MaxItems)
            Damaged(m_s.FileName());
        std::vector<std::int16_t> index(static_cast<std::size_t>(count));
        m_s.Read(index.data(), m_found.Length);
        for (const std::int16_t n : index)
            CheckedItem(n);
        return index;
    }

    void ReadPackedArray(const TTableRef &table, const TRecordHeader &h)
    {
        if (h.Length == 0 || h.Count == 0)
            return;
        const std::vector<std::int16_t> &index = table.ByNodeIndex ? m_nodeIndex : m_branchIndex;
        const int count = ElementCount(h, table.ElementSize);
        if (count > static_cast<int>(index.size()))
            Damaged(m_s.FileName());
        m_buffer.resize(h.Length);
        m_s.Read(m_buffer.data(), h.Length);
        const std::size_t size = static_cast<std::size_t>(table.ElementSize);
        auto *dest = static_cast<char *>(table.Data);
        std::memset(dest + size, 0, size * MaxItems);
        const char *in = m_buffer.constData();
        for (int k = 0; k < count; ++k, in += size)
            std::memcpy(dest + size * static_cast<std::size_t>(index[static_cast<std::size_t>(k)]), in, size);
    }

    // Every packed table the reader knows, found by tag.
    const TTableRef *PackedTable(std::int16_t tag) const
    {
        for (const TTableRef &table : m_packed)
            if (table.Tag == tag)
                return &table;
        return nullptr;
    }

    void ReadRecord(const TRecordHeader &h)
    {
        // An older record of the same shape that means nothing now.
        if (h.Tag == tagExtraRecord && m_version < ExtraRecordVersion)
            return;
        if (const TTableRef *table = PackedTable(h.Tag)) {
            ReadPackedArray(*table, h);
            if (h.Tag == tagNodeFlags)
                UnpackNodeFlags(m_t);
            else if (h.Tag == 22)
                UnpackBranchFlags(m_t);
            return;
        }
        for (const TTextTable &table : m_texts)
            if (table.Tag == h.Tag) {
                (*table.Texts)[CheckedItem(h.Item())] = DecodeCp1251(ReadData(h.Length));
                return;
            }
        switch (h.Tag) {
        case tagBendPoints: ReadBendPoints(h); break;
        case tagMineProperties: ReadProperties(h); break;
        case tagLayers: ReadLayers(h); break;
        case tagInstalledFans:
            ElementCount(h, InstalledFan::Size);
            m_doc.InstalledFans.ReadFromStream(m_s, h);
            break;
        case tagBalloons:
            for (const char *p : Entries(h, TPLABaloon::RecordSize))
                m_doc.BalloonList.Add(BalloonFromRecord(m_t, p));
            break;
        case tagTelephones:
            for (const char *p : Entries(h, TTelephone::RecordSize))
                m_doc.PhoneList.Add(PhoneFromRecord(p));
            break;
        case tagMapTexts:
            for (const char *p : Entries(h, TMapText::RecordSize))
                m_doc.MapTexts.Add(MapTextFromRecord(p));
            break;
        case tagTelephoneLink: ReadPhoneLink(h); break;
        case tagSymbolLinks: ReadSymbolLinks(h); break;
        default: break; // unknown records are skipped by their length
        }
    }

    void ReadBendPoints(const TRecordHeader &h)
    {
        constexpr int pointSize = 10;
        const int count = ElementCount(h, pointSize);
        const QByteArray data = ReadData(h.Length);
        const char *p = data.constData();
        for (int i = 0; i < count; ++i, p += pointSize) {
            const int n = CheckedItem(qFromLittleEndian<std::int16_t>(p));
            // A point of a branch that is not present has nowhere to go.
            if (!BranchPresent(m_t, n))
                continue;
            auto &list = m_t.BranchTurns[n];
            if (!list)
                list.emplace().reserve(4);
            list->emplace_back(n, qFromLittleEndian<std::int32_t>(p + 2), qFromLittleEndian<std::int32_t>(p + 6));
        }
    }

    void ReadProperties(const TRecordHeader &h)
    {
        // A later version may add fields at the end; they are skipped.
        if (h.Length < TMineProperties::Size)
            Damaged(m_s.FileName());
        char data[TMineProperties::Size];
        m_s.Read(data, sizeof data);
        TMineProperties &mp = m_doc.MineProperties;
        mp.MineName = GetShortString(data, 64);
        mp.Capacity = qFromLittleEndian<std::int16_t>(data + 64);
        mp.NodeCount = qFromLittleEndian<std::int16_t>(data + 66);
        mp.BranchCount = qFromLittleEndian<std::int16_t>(data + 68);
        mp.SheetWidth = qFromLittleEndian<std::int32_t>(data + 70);
        mp.SheetHeight = qFromLittleEndian<std::int32_t>(data + 74);
        mp.SavedZoom = qFromLittleEndian<double>(data + 78);
        mp.Zoom = qFromLittleEndian<double>(data + 86);
        mp.ScrollX = qFromLittleEndian<double>(data + 94);
        mp.ScrollY = qFromLittleEndian<double>(data + 102);
        mp.Remarks = GetShortString(data + 110, 255);
        mp.ZoomStep = static_cast<std::uint8_t>(data[365]);
    }

    void ReadLayers(const TRecordHeader &h)
    {
        const int count = ElementCount(h, TLayer::Size);
        const QByteArray data = ReadData(h.Length);
        for (int i = 0; i < count; ++i) {
            const char *p = data.constData() + static_cast<qsizetype>(i) * TLayer::Size;
            m_doc.Layers.push_back({GetShortString(p, 64), qFromLittleEndian<std::int32_t>(p + 64)});
        }
    }

    void ReadPhoneLink(const TRecordHeader &h)
    {
        if (h.Length < PhoneLinkSize)
            Damaged(m_s.FileName());
        const QByteArray bytes = ReadData(PhoneLinkSize);
        const int branch = CheckedItem(qFromLittleEndian<std::int16_t>(bytes.constData() + 4));
        m_t.BranchPhone[branch] = m_doc.PhoneList.FindByKey(qFromLittleEndian<std::int32_t>(bytes.constData()));
    }

    void ReadSymbolLinks(const TRecordHeader &h)
    {
        const int count = ElementCount(h, TLink::Size);
        const QByteArray data = ReadData(h.Length);
        for (int i = 0; i < count; ++i)
            m_doc.SymbolLinks.push_back(TLink::FromBytes(data.constData() + static_cast<qsizetype>(i) * TLink::Size));
    }

    TRobustFileStream &m_s;
    TNetworkTables &m_t;
    TSchemeDocument &m_doc;
    qint64 m_size = 0;
    std::int16_t m_version = 0;
    qint64 m_firstRecord = SchemeHeaderSize;
    TRecordHeader m_found;
    std::vector<TTableRef> m_packed;
    std::vector<TTextTable> m_texts;
    std::vector<std::int16_t> m_nodeIndex;
    std::vector<std::int16_t> m_branchIndex;
    QByteArray m_buffer;
};

void DropLinksOfAbsentBranches(TNetworkTables &t, TSchemeDocument &doc)
{
    // Telephone links name only telephones of this document.
    for (int n = 0; n < TableSize; ++n)
        if (t.BranchPhone[n] && !doc.PhoneList.Contains(t.BranchPhone[n]))
            t.BranchPhone[n] = nullptr;
    auto &links = doc.SymbolLinks;
    links.erase(std::remove_if(links.begin(), links.end(),
                               [&t](const TLink &link) { return !BranchExist(t, link.Branch); }),
                links.end());
}

} // namespace

void WriteRecordHeader(TRobustFileStream &s, const TRecordHeader &h)
{
    char bytes[RecordHeaderSize];
    qToLittleEndian(h.Tag, bytes);
    qToLittleEndian(h.Length, bytes + 2);
    qToLittleEndian(h.Count, bytes + 6);
    s.Write(bytes, sizeof bytes);
}

TRecordHeader ReadRecordHeader(TRobustFileStream &s)
{
    char bytes[RecordHeaderSize];
    s.Read(bytes, sizeof bytes);
    return {qFromLittleEndian<std::int16_t>(bytes), qFromLittleEndian<std::int32_t>(bytes + 2),
            qFromLittleEndian<std::int32_t>(bytes + 6)};
}

QByteArray TLink::ToBytes() const
{
    QByteArray bytes(Size, '\0');
    qToLittleEndian(Branch, bytes.data());
    qToLittleEndian(Distance, bytes.data() + 4);
    const QByteArray name = EncodeCp1251(Name.left(MaxNameLength));
    bytes[8] = static_cast<char>(name.size());
    std::memcpy(bytes.data() + 9, name.constData(), static_cast<std::size_t>(name.size()));
    return bytes;
}

TLink TLink::FromBytes(const char *bytes)
{
    TLink link;
    link.Branch = qFromLittleEndian<std::int32_t>(bytes);
    link.Distance = qFromLittleEndian<std::int32_t>(bytes + 4);
    const int length = std::min<int>(static_cast<unsigned char>(bytes[8]), MaxNameLength);
    link.Name = DecodeCp1251(bytes + 9, length);
    return link;
}

void RemoveBranchSymbolLinks(TSchemeDocument &doc, int branch)
{
    std::erase_if(doc.SymbolLinks, [&](const TLink &link) { return link.Branch == branch; });
}

void MoveBranchAttachments(TSchemeDocument &doc, int from, int to)
{
    if (from == to)
        return;
    // Links left under the free number belong to no branch.
    RemoveBranchSymbolLinks(doc, to);
    for (TLink &link : doc.SymbolLinks)
        if (link.Branch == from)
            link.Branch = to;
    doc.InstalledFans.MoveBranch(from, to);
}

void UnlinkAllPhones(TNetworkTables &t)
{
    t.BranchPhone.fill(nullptr);
}

void TSchemeDocument::Clear()
{
    *this = TSchemeDocument();
}

TSchemeView LoadedView(const TMineProperties &p)
{
    return {p.Zoom, p.ScrollX, p.ScrollY, p.ZoomStep};
}

void UpdatePropertiesBeforeSave(TMineProperties &p, const TNetworkTables &t, const QString &fileName,
                                const TSchemeView &view)
{
    const QString title = p.MineName.isEmpty() ? QFileInfo(fileName).fileName() : p.MineName;
    p.MineName = title.left(TMineProperties::MaxNameLength);
    p.Capacity = MaxItems;
    p.NodeCount = static_cast<std::int16_t>(NodeCount(t));
    p.BranchCount = static_cast<std::int16_t>(BranchCount(t));
    p.SavedZoom = view.Zoom;
    p.Zoom = view.Zoom;
    p.ScrollX = view.ScrollX;
    p.ScrollY = view.ScrollY;
    p.ZoomStep = static_cast<std::uint8_t>(view.ZoomStep);
}

bool WriteMineFile(const QString &fileName, TNetworkTables &t, TSchemeDocument &doc, const TSchemeView &view)
{
    try {
        TRobustFileStream s(fileName, TRobustFileStream::fmCreate);
        char header[SchemeHeaderSize] = {};
        std::memcpy(header, MagicMine, MagicSize);
        qToLittleEndian(SchemeFileVersion, header + 6);
        qToLittleEndian<std::int32_t>(SchemeHeaderSize, header + 8);
        s.Write(header, sizeof header);

        TSchemeWriter w(s, t);
        w.WritePackedArrays(NodeTables(t));
        PackNodeFlags(t);
        w.WritePackedArray(Ref(tagNodeFlags, t.NodeFlags, true));
        w.WritePackedArrays(BranchTables(t));
        PackBranchFlags(t);
        w.WritePackedArrays(BranchFlagTables(t));
        w.WriteTexts();
        w.WritePackedArrays(BranchMoreTables(t));
        w.WriteBendPoints();
        doc.InstalledFans.WriteToStream(s);
        UpdatePropertiesBeforeSave(doc.MineProperties, t, fileName, view);
        w.WriteProperties(doc.MineProperties);
        w.WriteLayers(doc.Layers);
        w.WritePictureSymbols(doc.PictureSymbolList);
        w.WriteEntries(tagBalloons, doc.BalloonList, TPLABaloon::RecordSize, BalloonRecordBytes);
        w.WriteEntries(tagTelephones, doc.PhoneList, TTelephone::RecordSize, PhoneRecordBytes);
        w.WriteSymbolLinks(doc.SymbolLinks);
        w.WriteEntries(tagMapTexts, doc.MapTexts, TMapText::RecordSize, MapTextRecordBytes);
        w.WritePhoneLinks(doc.PhoneList);
        w.WritePackedArrays(Node3dTables(t));
        s.Commit();
        return true;
    } catch (const EOutOfDiskSpace &) {
        // The stream is gone and with it the unfinished file; the previous
        // file was never touched.
        ReportDiskFull(fileName);
        return false;
    }
}

void ReadMineFile(const QString &fileName, TNetworkTables &t, TSchemeDocument &doc)
{
    // The file fills only the tables it has records for, and of those only
    // the places of its items: nothing of a network read before may stay.
    ClearAllPlaces(t);
    doc.SymbolLinks.clear();
    // A damaged file keeps what was read up to the failure, so that the
    // engineer can salvage the network; it is made whole as after a complete
    // read (every present branch gets its end points, links to absent
    // branches go).
    const auto completePartial = [&] {
        RebuildAllEdgeTurns(t);
        DropLinksOfAbsentBranches(t, doc);
    };
    try {
        bool oldLayout = false;
        {
            TRobustFileStream s(fileName, TRobustFileStream::fmOpenRead);
            TSchemeReader reader(s, t, doc);
            reader.Read();
            oldLayout = reader.OldLayout();
        }
        if (oldLayout)
            ReadOldMineFile(fileName, t);
        DropLinksOfAbsentBranches(t, doc);
    } catch (const EUnexpectedEOF &) {
        completePartial();
        // The stream does not know which document it was reading for the user.
        throw Exception(TruncatedSchemeFileMessage(fileName));
    } catch (...) {
        completePartial();
        throw;
    }
}

void ReportDiskFull(const QString &fileName)
{
    const QStorageInfo storage(QFileInfo(fileName).absolutePath());
    const QString place = storage.isValid() ? storage.rootPath() : QFileInfo(fileName).absolutePath();
    const qint64 freeKb = storage.isValid() ? storage.bytesAvailable() / 1024 : 0;
    ShowMessageBox(QStringLiteral("На диске %1: %2Кб свободного места.\rЭтого объема недостаточно для сохранения "
                                  "файла.\rВы можете выбрать из меню \"Файл\" команду \"Сохранить как...\" и\r"
                                  "сохранить файл на другом диске")
                       .arg(place)
                       .arg(freeKb),
                   QStringLiteral("Недостаточно места для сохранения файла"), mb::Ok | mb::IconWarning);
}

QString InvalidSchemeFileMessage(const QString &fileName)
{
    return QStringLiteral("Похоже, что файл \"%1\" не является корректным файлом \"Zyr Вентиляция\"").arg(fileName);
}

QString TruncatedSchemeFileMessage(const QString &fileName)
{
    return EUnexpectedEOF(fileName).Message();
}

QString DamagedSchemeFileMessage(const QString &fileName)
{
    return QStringLiteral("Похоже, что файл \"%1\" поврежден или не является корректным файлом \"Zyr Вентиляция\"")
        .arg(fileName);
}
