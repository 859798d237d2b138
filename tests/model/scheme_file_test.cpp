#include "model/old_scheme_file.h"
#include "model/robust_stream.h"
#include "model/scheme_file.h"
#include "platform/codepage.h"
#include "platform/prompt.h"
#include "scheme_test_support.h"
#include "tiny_disk.h"

#include <QtCore/QDir>
#include <QtCore/QStorageInfo>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <sys/resource.h>

namespace {

const TSchemeView SavedView{1.75, 120.5, -40, 3};

// Reads a file into new-document tables; the reader's failure message, if any.
struct TLoaded
{
    std::unique_ptr<TNetworkTables> Tables = NewDocumentTables();
    TSchemeDocument Doc;
    QString Error;
};

TLoaded Load(const QString &path)
{
    TLoaded r;
    try {
        ReadMineFile(path, *r.Tables, r.Doc);
    } catch (const Exception &e) {
        r.Error = e.Message();
    }
    return r;
}

struct TFileRecord
{
    std::int16_t Tag = 0;
    std::int32_t Count = 0;
    QByteArray Data;
};

// The records of a file, in order: tag, count and data.
std::vector<TFileRecord> Records(const QByteArray &file)
{
    std::vector<TFileRecord> records;
    qsizetype p = SchemeHeaderSize;
    while (p + RecordHeaderSize <= file.size()) {
        const auto tag = qFromLittleEndian<std::int16_t>(file.constData() + p);
        const auto length = qFromLittleEndian<std::int32_t>(file.constData() + p + 2);
        const auto count = qFromLittleEndian<std::int32_t>(file.constData() + p + 6);
        records.push_back({tag, count, file.mid(p + RecordHeaderSize, length)});
        p += RecordHeaderSize + length;
    }
    return records;
}

std::vector<TFileRecord> RecordsWithTag(const QByteArray &file, std::int16_t tag)
{
    std::vector<TFileRecord> found;
    for (const TFileRecord &r : Records(file))
        if (r.Tag == tag)
            found.push_back(r);
    return found;
}

class SchemeFile : public ::testing::Test
{
protected:
    QString Path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    // Writes a network made by fill and returns the file's bytes.
    template <typename Fill>
    QByteArray Save(const char *name, Fill fill)
    {
        auto t = NewDocumentTables();
        TSchemeDocument doc;
        fill(*t, doc);
        EXPECT_TRUE(WriteMineFile(Path(name), *t, doc, SavedView));
        return ReadAllBytes(Path(name));
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(SchemeFile, WriteReadWriteIsByteIdenticalAndKeepsEveryTable)
{
    auto t = NewDocumentTables();
    TSchemeDocument doc;
    MakeFullScheme(*t, doc);
    ASSERT_TRUE(WriteMineFile(Path("a.mine"), *t, doc, SavedView));

    TLoaded loaded = Load(Path("a.mine"));
    ASSERT_TRUE(loaded.Error.isEmpty()) << loaded.Error.toStdString();
    // What the reader cannot tell apart from the written tables: the default
    // name comes back empty, absent places read 0.
    auto expected = NewDocumentTables();
    *expected = *t;
    expected->BranchName[5].clear();
    for (int n = 1; n <= MaxItems; ++n)
    {
        if (!NodeExist(*t, n))
            expected->NodeAltitude[n] = 0;
        if (!BranchPresent(*t, n)) {
            expected->BranchStartTemp[n] = expected->BranchEndTemp[n] = expected->BranchAngle[n] = 0;
            expected->BranchMinSpeed[n] = expected->BranchMaxSpeed[n] = 0;
        }
    }
    EXPECT_EQ(TablesDiffer(*loaded.Tables, *expected), "");
    EXPECT_EQ(loaded.Doc, doc);
    EXPECT_EQ(loaded.Doc.MineProperties.NodeCount, NodeCount(*t));
    EXPECT_EQ(loaded.Doc.MineProperties.Zoom, 1.75);
    EXPECT_EQ(LoadedView(loaded.Doc.MineProperties).ZoomStep, 3);

    EXPECT_EQ(loaded.Tables->BranchPhone[8], &loaded.Doc.PhoneList[1]);
    ASSERT_TRUE(WriteMineFile(Path("b.mine"), *loaded.Tables, loaded.Doc, LoadedView(loaded.Doc.MineProperties)));
    EXPECT_EQ(ReadAllBytes(Path("b.mine")), ReadAllBytes(Path("a.mine")));
}

TEST_F(SchemeFile, TablesArePackedByTheIndexRecords)
{
    const QByteArray file = Save("p.mine", [](TNetworkTables &t, TSchemeDocument &) {
        for (int n : {2, 5, 9}) {
            CreateNode(t, n);
            t.NodeX[n] = static_cast<std::int16_t>(n * 100);
        }
        CreateNode(t, 7);
        CreateBranch(t, 7);
        t.BranchStartNode[7] = 2;
        t.BranchEndNode[7] = 5;
        InsertBranchEdgeTurns(t, 7);
        t.Node3dX[7] = 3.5; // kept: a branch 7 is present
        t.Node3dX[9] = 4.5; // lost: no branch 9
        t.NodeIsSurface[9] = 1;
    });
    const auto records = Records(file);
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(QByteArray(file.constData(), 8), QByteArray("xqMine\x07\x02", 8));
    EXPECT_EQ(records[0].Tag, 1);
    EXPECT_EQ(records[0].Count, 4);
    EXPECT_EQ(records[0].Data, Int16s({2, 5, 7, 9}));
    EXPECT_EQ(records[1].Tag, 2);
    EXPECT_EQ(records[1].Data, Int16s({200, 500, 0, 900}));
    std::vector<std::int16_t> order;
    for (const auto &r : records)
        order.push_back(r.Tag);
    const std::vector<std::int16_t> writerOrder = {1, 2, 3, 4, 5, 6, 34, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18,
                                                   19, 20, 21, 22, 23, 24, 25, 27, 28, 29, 30, 36, 37, 38, 39, 40, 41,
                                                   52, 53, 45, 46, 999, 31, 35, 32, 33, 43, 44, 48, 54,
                                                   1000, 1001};
    EXPECT_EQ(order, writerOrder); // the default name and a branch without bends write no record of their own
    EXPECT_EQ(RecordsWithTag(file, 31)[0].Count, 0);
    EXPECT_EQ(RecordsWithTag(file, 34)[0].Data, Int16s({0, 0, 0, 2}));

    const TLoaded loaded = Load(Path("p.mine"));
    ASSERT_TRUE(loaded.Error.isEmpty());
    EXPECT_EQ(loaded.Tables->Node3dX[7], 3.5);
    EXPECT_EQ(loaded.Tables->Node3dX[9], 0);
    EXPECT_EQ(loaded.Tables->NodeIsSurface[9], 1);
    EXPECT_EQ(loaded.Tables->BranchName[7], QString());
    EXPECT_EQ(loaded.Tables->BranchTurns[7]->size(), 2u);
}

TEST_F(SchemeFile, OnlyInnerBendPointsAreStored)
{
    const QByteArray file = Save("t.mine", [](TNetworkTables &t, TSchemeDocument &) {
        for (int n : {1, 2}) {
            CreateNode(t, n);
            t.NodeX[n] = static_cast<std::int16_t>(n * 10);
        }
        for (int b : {3, 4, 6}) {
            CreateBranch(t, b);
            t.BranchStartNode[b] = 1;
            t.BranchEndNode[b] = 2;
        }
        t.BranchTurns[3].emplace(); // a list without even its end points
        InsertBranchEdgeTurns(t, 4);
        t.BranchTurns[4]->insert(t.BranchTurns[4]->begin() + 1, {TTurn(4, 11, -70000), TTurn(4, 12, 5), TTurn(4, 13, 6)});
        InsertBranchEdgeTurns(t, 6);
    });
    const auto points = RecordsWithTag(file, 31);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].Count, 3);
    EXPECT_EQ(points[0].Data.size(), 30);
    EXPECT_EQ(points[0].Data.left(10), TSchemeBytes().Int16(4).Int32(11).Int32(-70000).Data());

    const TLoaded loaded = Load(Path("t.mine"));
    ASSERT_TRUE(loaded.Error.isEmpty());
    const TTurnList &turns = *loaded.Tables->BranchTurns[4];
    ASSERT_EQ(turns.size(), 5u);
    EXPECT_EQ(turns[0].X, 10);
    EXPECT_EQ(turns[1].Y, -70000);
    EXPECT_EQ(turns[4].X, 20);
    EXPECT_EQ(loaded.Tables->BranchTurns[3]->size(), 2u);
    EXPECT_EQ(loaded.Tables->BranchTurns[6]->size(), 2u);
}

TEST_F(SchemeFile, AnEmptyNetworkLeavesTheNodeTablesAsAResetDoes)
{
    const QByteArray file = Save("e.mine", [](TNetworkTables &, TSchemeDocument &) {});
    EXPECT_EQ(Records(file)[0].Tag, 1);
    EXPECT_EQ(Records(file)[0].Count, 0);
    EXPECT_TRUE(Records(file)[0].Data.isEmpty());

    auto t = NewDocumentTables();
    t->NodeAltitude[3] = 123; // not what a reset leaves: it goes
    TSchemeDocument doc;
    ReadMineFile(Path("e.mine"), *t, doc);
    EXPECT_EQ(t->NodeAltitude[3], AltitudeNotGiven);
    EXPECT_EQ(NodeCount(*t), 0);
    EXPECT_EQ(doc.MineProperties.MineName, QStringLiteral("e.mine")); // the file name stands for a missing title
}

TEST_F(SchemeFile, NewerVersionsWarnOnceAndSkipUnknownRecords)
{
    QByteArray file = Save("n.mine", [](TNetworkTables &t, TSchemeDocument &doc) { MakeFullScheme(t, doc); });
    // Version 520 and a record of a tag this version does not know, in front of the rest.
    file[6] = 0x08;
    file.insert(SchemeHeaderSize, TSchemeBytes().Record(77, 3, QByteArray(12, '\x7F')).Data());
    WriteAllBytes(Path("n.mine"), file);

    TScriptedPrompt prompt;
    const TLoaded loaded = Load(Path("n.mine"));
    ASSERT_TRUE(loaded.Error.isEmpty()) << loaded.Error.toStdString();
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Caption, QStringLiteral("Обнаружен файл нового формата"));
    EXPECT_TRUE(prompt.Asked[0].Text.startsWith(
        QStringLiteral("Файл \"%1\" имеет более новый формат чем данная версия программы может полностью "
                       "прочитать/записать. Часть данных из этого файла будет ПРОИГНОРИРОВАНА при чтении, а при "
                       "СОХРАНЕНИИ в ЭТОТ ЖЕ ФАЙЛ - УНИЧТОЖЕНА.\r\r")
            .arg(Path("n.mine"))));
    EXPECT_EQ(prompt.Asked[0].Flags, mb::Ok | mb::IconWarning);
    auto full = NewDocumentTables();
    TSchemeDocument fullDoc;
    MakeFullScheme(*full, fullDoc);
    EXPECT_EQ(BranchCount(*loaded.Tables), BranchCount(*full));
    EXPECT_EQ(loaded.Tables->BranchName[6], full->BranchName[6]);
}

TEST_F(SchemeFile, OlderVersionsDropTheExtraRecord)
{
    QByteArray file = Save("o.mine", [](TNetworkTables &t, TSchemeDocument &doc) { MakeFullScheme(t, doc); });
    qToLittleEndian<std::int16_t>(517, file.data() + 6);
    WriteAllBytes(Path("o.mine"), file);
    const TLoaded loaded = Load(Path("o.mine"));
    ASSERT_TRUE(loaded.Error.isEmpty());
    EXPECT_EQ(loaded.Tables->BranchExtraRecord[4][0], 0);
    EXPECT_EQ(loaded.Tables->BranchAlpha[4], 0.0012 * 4); // the records around it are read
}

TEST_F(SchemeFile, LinksOfAbsentBranchesAreDroppedAndPhoneLinksOnlyForExistingBranches)
{
    auto t = NewDocumentTables();
    TSchemeDocument doc;
    MakeFullScheme(*t, doc);
    doc.SymbolLinks.push_back(TLink(4000, 0, {}));
    ASSERT_TRUE(WriteMineFile(Path("l.mine"), *t, doc, SavedView));
    EXPECT_EQ(RecordsWithTag(ReadAllBytes(Path("l.mine")), 48)[0].Count, 3);

    TLoaded loaded = Load(Path("l.mine"));
    ASSERT_EQ(loaded.Doc.SymbolLinks.size(), 2u);
    EXPECT_EQ(loaded.Doc.SymbolLinks[1].Branch, 4);
    EXPECT_EQ(RecordsWithTag(ReadAllBytes(Path("l.mine")), 47).size(), 1u);

    // A telephone link is written only while its branch exists.
    DestroyNode(*loaded.Tables, loaded.Tables->BranchEndNode[8]);
    ASSERT_TRUE(WriteMineFile(Path("l2.mine"), *loaded.Tables, loaded.Doc, SavedView));
    EXPECT_TRUE(RecordsWithTag(ReadAllBytes(Path("l2.mine")), 47).empty());
}

TEST_F(SchemeFile, DamagedFilesGiveTheirMessageAndKeepWhatWasRead)
{
    auto full = NewDocumentTables();
    const QByteArray good = Save("g.mine", [&](TNetworkTables &t, TSchemeDocument &doc) {
        MakeFullScheme(t, doc);
        *full = t;
    });
    const auto at = [&](std::int16_t tag) {
        qsizetype p = SchemeHeaderSize;
        while (qFromLittleEndian<std::int16_t>(good.constData() + p) != tag)
            p += RecordHeaderSize + qFromLittleEndian<std::int32_t>(good.constData() + p + 2);
        return p;
    };
    const QString path = Path("bad.mine");
    const QString eof = QStringLiteral("Неожиданный конец файла. Возможно файл поврежден\r\"%1\"").arg(path);
    const QString invalid = InvalidSchemeFileMessage(path);
    const QString damaged = DamagedSchemeFileMessage(path);
    const QString noNodes = QStringLiteral("Не удалось найти описание номеров узлов.\rПохоже, что файл \"%1\" "
                                           "поврежден или не является корректным файлом \"Zyr Вентиляция\"").arg(path);
    const QString noBranches = QStringLiteral("Не удалось найти описание номеров ветвей.\rПохоже, что файл \"%1\" "
                                              "поврежден или не является корректным файлом \"Zyr Вентиляция\"").arg(path);
    const auto patched = [&](qsizetype pos, const QByteArray &bytes) {
        QByteArray b = good;
        b.replace(pos, bytes.size(), bytes);
        return b;
    };
    const auto int16 = [](std::int16_t v) { return QByteArray(reinterpret_cast<const char *>(&v), 2); };
    const auto int32 = [](std::int32_t v) { return QByteArray(reinterpret_cast<const char *>(&v), 4); };
    const struct
    {
        const char *what;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {"wrong magic", patched(0, "xqMind"), invalid},
        {"too short for a magic", QByteArray("xq"), invalid},
        {"header cut short", good.left(12), eof},
        {"cut in the middle of the resistances", good.left(at(13) + RecordHeaderSize + 20), eof},
        {"cut inside a record header", good.left(at(32) + 4), eof},
        {"no node index", patched(at(1), int16(77)), noNodes},
        {"no branch index", patched(at(7), int16(77)), noBranches},
        {"node number above 5000", patched(at(1) + RecordHeaderSize, int16(5001)), damaged},
        {"node number 0", patched(at(1) + RecordHeaderSize, int16(0)), damaged},
        {"name of branch 0", patched(at(26) + 8, int16(0)), damaged},
        {"bend point of branch -3", patched(at(31) + RecordHeaderSize, int16(-3)), damaged},
        {"table longer than its index", patched(at(2) + 6, int32(500)), damaged},
        {"element size unlike the table's",
         patched(at(13) + 6, int32(2 * qFromLittleEndian<std::int32_t>(good.constData() + at(13) + 6))), damaged},
        {"negative length", patched(at(13) + 2, int32(-8)), damaged},
        {"length past the end", patched(at(32) + 2, int32(0x7FFFFFF0)), eof},
        {"short properties", patched(at(32) + 2, int32(100)), damaged},
        {"fan count unlike the length", patched(at(35) + 6, int32(1000000)), damaged},
        {"first record beyond the end", patched(8, int32(1 << 30)), damaged},
    };
    for (const auto &c : cases) {
        WriteAllBytes(path, c.bytes);
        auto t = NewDocumentTables();
        TSchemeDocument doc;
        try {
            ReadMineFile(path, *t, doc);
            ADD_FAILURE() << c.what << ": no exception";
        } catch (const Exception &e) {
            EXPECT_EQ(e.Message(), c.message) << c.what;
        }
        // Whatever was read is whole: present branches have their end points.
        for (int n = 1; n <= MaxItems; ++n)
            ASSERT_EQ(t->BranchTurns[n].has_value(), BranchPresent(*t, n)) << c.what << " branch " << n;
    }

    // A file cut inside the resistances keeps the network read before them:
    // nodes, branches, their ends and lengths, and the geometry of the ends.
    WriteAllBytes(path, good.left(at(13) + RecordHeaderSize + 20));
    auto t = NewDocumentTables();
    TSchemeDocument doc;
    EXPECT_THROW(ReadMineFile(path, *t, doc), Exception);
    ASSERT_GT(BranchCount(*t), 0);
    EXPECT_EQ(BranchCount(*t), BranchCount(*full));
    EXPECT_EQ(NodeCount(*t), NodeCount(*full));
    for (int n = 1; n <= MaxItems; ++n) {
        if (!BranchPresent(*full, n))
            continue;
        EXPECT_EQ(t->BranchStartNode[n], full->BranchStartNode[n]) << n;
        EXPECT_EQ(t->BranchEndNode[n], full->BranchEndNode[n]) << n;
        EXPECT_EQ(t->BranchLength[n], full->BranchLength[n]) << n;
        ASSERT_EQ(t->BranchTurns[n]->size(), 2u) << n;  // the bend points come later in the file
        EXPECT_EQ(t->BranchTurns[n]->front().X, full->NodeX[full->BranchStartNode[n]]) << n;
    }
}

TEST_F(SchemeFile, KnownRecordsLongerThanTheirLayoutAreReadAndPassed)
{
    TSchemeBytes b;
    QByteArray props(TMineProperties::Size + 30, '\0');
    props[0] = 3;
    props.replace(1, 3, "abc");
    b.Header("xqLite").Raw("\xAA\xBB\xCC\xDD", 4) // the 4 bytes of the xqLite form
        .Record(1, 1, Int16s({4}))
        .Record(7, 0, {})
        .Record(32, 0, props)
        .Record(2, 1, Int16s({-17}));
    b.Save(Path("lite.mine"));
    const TLoaded loaded = Load(Path("lite.mine"));
    ASSERT_TRUE(loaded.Error.isEmpty()) << loaded.Error.toStdString();
    EXPECT_EQ(loaded.Doc.MineProperties.MineName, QStringLiteral("abc"));
    EXPECT_TRUE(NodeExist(*loaded.Tables, 4));
    EXPECT_EQ(loaded.Tables->NodeX[4], -17);
}

TEST_F(SchemeFile, AFailedSaveKeepsThePreviousFile)
{
    auto t = NewDocumentTables();
    TSchemeDocument doc;
    MakeFullScheme(*t, doc);
    const QString path = Path("keep.mine");
    WriteAllBytes(path, "previous");

    // A write error injected through the file-size limit of the process.
    {
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 1000;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        TScriptedPrompt prompt;
        const bool saved = WriteMineFile(path, *t, doc, SavedView);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_FALSE(saved);
        ASSERT_EQ(prompt.Asked.size(), 1u);
        EXPECT_EQ(prompt.Asked[0].Caption, QStringLiteral("Недостаточно места для сохранения файла"));
        const QStorageInfo storage(m_dir.path());
        EXPECT_TRUE(prompt.Asked[0].Text.startsWith(QStringLiteral("На диске %1: ").arg(storage.rootPath())));
        EXPECT_TRUE(prompt.Asked[0].Text.endsWith(
            QStringLiteral("Кб свободного места.\rЭтого объема недостаточно для сохранения файла.\rВы можете выбрать "
                           "из меню \"Файл\" команду \"Сохранить как...\" и\rсохранить файл на другом диске")));
    }
    EXPECT_EQ(ReadAllBytes(path), QByteArray("previous"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.mine")});

    // Any other failure is an exception and touches nothing.
    EXPECT_THROW(WriteMineFile(Path("no/such/folder/x.mine"), *t, doc, SavedView), EFCreateError);
}

TEST_F(SchemeFile, AFullDiskNamesItsMountPoint)
{
    TinyDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << "cannot mount a small file system here";
    const QString path = disk.Path(QStringLiteral("full.mine"));
    auto t = NewDocumentTables();
    TSchemeDocument doc;
    MakeGridNetwork(*t, 10);
    ASSERT_TRUE(WriteMineFile(path, *t, doc, SavedView));
    const QByteArray previous = ReadAllBytes(path);

    MakeGridNetwork(*t, 400);
    TScriptedPrompt prompt;
    EXPECT_FALSE(WriteMineFile(path, *t, doc, SavedView));
    ASSERT_EQ(prompt.Asked.size(), 1u);
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    EXPECT_TRUE(prompt.Asked[0].Text.startsWith(
        QStringLiteral("На диске %1: %2Кб").arg(QFileInfo(path).absolutePath()).arg(storage.bytesAvailable() / 1024)))
        << prompt.Asked[0].Text.toStdString();
    EXPECT_EQ(ReadAllBytes(path), previous);
}

// ---- the old fixed layout ----

namespace {

// An old-layout file of capacity n with nodes 1 and 2 and branch 1 between them.
QByteArray OldLayoutFile(std::int16_t capacity, bool withPoints = true)
{
    TSchemeBytes b;
    b.Raw("xqMine", 6).Int16(0).Int16(capacity).Bytes(QByteArray(36, '\0'));
    b.Bytes(QByteArray(276, '\x55'));
    const int n = capacity;
    const auto table = [&](int size, auto fill) {
        QByteArray data(size * n, '\0');
        fill(data.data());
        b.Bytes(data);
    };
    const auto int16At = [](std::initializer_list<std::pair<int, std::int16_t>> values) {
        return [values](char *p) {
            for (auto [place, v] : values)
                qToLittleEndian(v, p + 2 * (place - 1));
        };
    };
    const auto none = [](char *) {};
    table(2, int16At({{1, 1}, {2, 2}, {n, static_cast<std::int16_t>(n)}})); // NodeNo
    table(2, int16At({{1, 100}, {2, 300}}));                                 // NodeX
    table(2, int16At({{1, 50}, {2, 60}}));                                   // NodeY
    table(1, none);                                                          // rise to surface
    table(1, [](char *p) { p[0] = 1; });                                     // surface
    table(8, [](char *p) { qToLittleEndian(-250.5, p + 8); });               // altitude
    table(2, int16At({{1, 1}, {3, 7}}));                                     // BranchNo (place 3 holds 7)
    table(2, int16At({{1, 1}}));
    table(2, int16At({{1, 2}}));
    table(2, int16At({{1, 420}}));                                           // length
    table(2, none);
    table(2, none);
    table(8, [](char *p) { qToLittleEndian(0.125, p); }); // R
    for (int i = 0; i < 8; ++i)
        table(8, none);                         // aux depression .. angle
    table(1, [](char *p) { p[0] = 7; });        // type
    table(1, none);                             // fresh
    table(4, none);                             // PLA colour
    table(64, [](char *p) {
        p[0] = 5;
        std::memcpy(p + 1, "\xCB\xE0\xE2\xE0 1", 6); // "Лава 1"; length 5 keeps "Лава "
        p[128] = 3;
        std::memcpy(p + 129, "abc", 3); // place 3 holds number 7: dropped
    });
    if (withPoints) {
        b.Int32(2).Int32(1).Int32(150).Int32(55).Int32(9).Int32(1).Int32(1); // the second: branch 9 is not present
    } else {
        b.Int32(0);
    }
    return b.Data();
}

} // namespace

TEST_F(SchemeFile, OldLayoutFilesLoadWithAWarningForAnotherCapacity)
{
    for (const std::int16_t capacity : {std::int16_t(5000), std::int16_t(1000)}) {
        WriteAllBytes(Path("old.min"), OldLayoutFile(capacity));
        TScriptedPrompt prompt;
        const TLoaded loaded = Load(Path("old.min"));
        ASSERT_TRUE(loaded.Error.isEmpty()) << loaded.Error.toStdString();
        const TNetworkTables &t = *loaded.Tables;
        if (capacity == 5000) {
            EXPECT_TRUE(prompt.Asked.empty());
        } else {
            ASSERT_EQ(prompt.Asked.size(), 1u);
            EXPECT_EQ(prompt.Asked[0].Caption, QStringLiteral("Обнаружен файл старого формата"));
            EXPECT_TRUE(prompt.Asked[0].Text.startsWith(
                QStringLiteral("Это отладочное сообщение.\rФайл \"%1\" содержит 1000 записей.\rТекущая версия "
                               "программы настроена на 5000 записей.\rБудет предпринята попытка загрузить файл "
                               "старого формата.Если при этом возникнут какие-либо ошибки\r\r")
                    .arg(Path("old.min"))));
        }
        EXPECT_EQ(NodeCount(t), 3) << capacity; // nodes 1, 2 and the last place
        EXPECT_TRUE(NodeExist(t, capacity));
        EXPECT_EQ(t.NodeX[2], 300);
        EXPECT_EQ(t.NodeIsSurface[1], 1);
        EXPECT_EQ(t.NodeAltitude[2], -250.5);
        EXPECT_TRUE(BranchExist(t, 1));
        EXPECT_EQ(t.BranchLength[1], 420);
        EXPECT_EQ(t.BranchR[1], 0.125);
        EXPECT_EQ(t.BranchType[1], 7);
        EXPECT_EQ(t.BranchName[1], QStringLiteral("Лава "));
        EXPECT_EQ(t.BranchName[3], QString());
        ASSERT_TRUE(t.BranchTurns[1].has_value());
        ASSERT_EQ(t.BranchTurns[1]->size(), 3u);
        EXPECT_EQ((*t.BranchTurns[1])[0].X, 100);
        EXPECT_EQ((*t.BranchTurns[1])[1].X, 150);
        EXPECT_EQ((*t.BranchTurns[1])[2].Y, 60);
        EXPECT_FALSE(t.BranchTurns[9].has_value());
    }
}

TEST_F(SchemeFile, OldLayoutFilesWithABadCapacityOrCutShortFail)
{
    const QString path = Path("old.min");
    for (const std::int16_t capacity : {std::int16_t(0), std::int16_t(3), std::int16_t(-5000), std::int16_t(6000)}) {
        QByteArray file = OldLayoutFile(5000);
        qToLittleEndian(capacity, file.data() + 8);
        WriteAllBytes(path, file);
        EXPECT_EQ(Load(path).Error, InvalidSchemeFileMessage(path)) << capacity;
    }
    const QByteArray full = OldLayoutFile(1000);
    for (const qsizetype cut : {qsizetype(30), qsizetype(46 + 276 + 5000), full.size() - 4}) {
        WriteAllBytes(path, full.left(cut));
        TScriptedPrompt prompt;
        const TLoaded loaded = Load(path);
        EXPECT_EQ(loaded.Error, TruncatedSchemeFileMessage(path)) << cut;
        for (int n = 1; n <= MaxItems; ++n)
            ASSERT_EQ(loaded.Tables->BranchTurns[n].has_value(), BranchPresent(*loaded.Tables, n)) << cut;
    }
    QByteArray negative = OldLayoutFile(1000, false);
    qToLittleEndian<std::int32_t>(-1, negative.data() + negative.size() - 4);
    WriteAllBytes(path, negative);
    TScriptedPrompt prompt;
    EXPECT_EQ(Load(path).Error, DamagedSchemeFileMessage(path));
}

// ---- installed fans ----

TEST(InstalledFans, NamesAreCutAndTheFirstEntryOfABranchIsFound)
{
    TInstFanList fans;
    EXPECT_FALSE(fans.HasCurrent());
    fans.Add(12, QString(40, QChar(u'В')), 3, 80);
    fans.Add(12, QStringLiteral("ВМЭ-8"), 1, 70);
    EXPECT_FALSE(fans.HasCurrent()); // adding makes nothing current
    ASSERT_TRUE(fans.FindBranch(12));
    EXPECT_EQ(fans.GetFanName(), QString(32, QChar(u'В')));
    EXPECT_EQ(fans.GetCurveIndex(), 3);
    fans.SetEfficiency(65);
    fans.SetFanName(QString(33, QChar(u'x')));
    EXPECT_EQ(fans.Item(0).Efficiency, 65);
    EXPECT_EQ(fans.Item(0).FanName.size(), 32);
    EXPECT_EQ(fans.Item(1).Efficiency, 70);

    EXPECT_FALSE(fans.FindBranch(13));
    EXPECT_FALSE(fans.HasCurrent());
    try {
        fans.GetEfficiency();
        FAIL() << "no exception";
    } catch (const EListError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Вентилятор не был найден в списке"));
    }
    EXPECT_THROW(fans.SetCurveIndex(1), EListError); // nothing is written without a current entry
    EXPECT_EQ(fans.Count(), 2);
}

TEST(InstalledFans, RecordHoldsThirtyEightBytesAnEntry)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fans.bin"));
    TInstFanList fans;
    fans.Add(-2, QStringLiteral("ВЦ-25"), 4, 75);
    {
        TRobustFileStream s(path, TRobustFileStream::fmCreate);
        fans.WriteToStream(s);
        s.Commit();
    }
    const QByteArray bytes = ReadAllBytes(path);
    ASSERT_EQ(bytes.size(), RecordHeaderSize + InstalledFan::Size);
    EXPECT_EQ(bytes.left(RecordHeaderSize), QByteArray("\x23\x00\x26\x00\x00\x00\x01\x00\x00\x00", 10));
    EXPECT_EQ(bytes.mid(10, 6), QByteArray("\x05\xC2\xD6-25", 6));
    EXPECT_EQ(bytes.mid(10 + 33), QByteArray("\x00\xFE\xFF\x4B\x04", 5));

    // A record that promises more entries than the file holds.
    QByteArray cut = bytes;
    qToLittleEndian<std::int32_t>(2, cut.data() + 6);
    WriteAllBytes(path, cut);
    TRobustFileStream s(path, TRobustFileStream::fmOpenRead);
    const TRecordHeader h = ReadRecordHeader(s);
    TInstFanList read;
    EXPECT_THROW(read.ReadFromStream(s, h), EUnexpectedEOF);
}

namespace {

// A tag-42 record: name length, name, then the placements as angle, X, Y.
QByteArray PictureRecord(const QByteArray &name, int count, std::int32_t lengthField)
{
    QByteArray r(RecordHeaderSize, '\0');
    qToLittleEndian<std::int16_t>(tagPictureSymbols, r.data());
    qToLittleEndian<std::int32_t>(lengthField, r.data() + 2);
    qToLittleEndian<std::int32_t>(count, r.data() + 6);
    QByteArray n(4, '\0');
    qToLittleEndian<std::int32_t>(static_cast<std::int32_t>(name.size()), n.data());
    r += n + name;
    for (int i = 0; i < count; ++i) {
        QByteArray place(12, '\0');
        qToLittleEndian<std::int32_t>(90 * i, place.data());
        qToLittleEndian<std::int32_t>(10 + i, place.data() + 4);
        qToLittleEndian<std::int32_t>(20 + i, place.data() + 8);
        r += place;
    }
    return r;
}

} // namespace

TEST_F(SchemeFile, TelephoneLinksNameTheFirstTelephoneWithTheKey)
{
    EXPECT_EQ(TPhonePlaces::PhoneKey(TTelephone(100, QStringLiteral("12"), 50)), 6553749);
    // Cyrillic counts by its 1251 codes: "Д" is 0xC4.
    EXPECT_EQ(TPhonePlaces::PhoneKey(TTelephone(0, QStringLiteral("Д"), 0)), 0xC4);

    const QByteArray file = Save("k.mine", [](TNetworkTables &t, TSchemeDocument &doc) {
        MakeFullScheme(t, doc);
        // Two telephones with one key: the link must come back to the first.
        doc.PhoneList.Add(TTelephone(5, QStringLiteral("7"), 6));
        t.BranchPhone[2] = doc.PhoneList.Add(TTelephone(5, QStringLiteral("7"), 6));
        // A number longer than the file keeps: the key is that of the kept part.
        t.BranchPhone[3] = doc.PhoneList.Add(TTelephone(1, QStringLiteral("1234567890123456789"), 1));
        // An unknown key: written for branch 4, then made to name nothing.
        t.BranchPhone[4] = doc.PhoneList.Add(TTelephone(9, QStringLiteral("99"), 9));
    });
    QByteArray patched = file;
    const auto links = RecordsWithTag(file, tagTelephoneLink);
    ASSERT_EQ(links.size(), 4u);
    // In branch order: 2, 3, 4, 8.
    const qsizetype at = file.indexOf(links[2].Data);
    qToLittleEndian<std::int32_t>(123456, patched.data() + at);
    QFile out(Path("k2.mine"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(patched);
    out.close();

    const TLoaded loaded = Load(Path("k2.mine"));
    ASSERT_TRUE(loaded.Error.isEmpty());
    const TPhonePlaces &phones = loaded.Doc.PhoneList;
    ASSERT_EQ(phones.Count(), 6);
    EXPECT_EQ(loaded.Tables->BranchPhone[2], &phones[2]);
    EXPECT_EQ(loaded.Tables->BranchPhone[3], &phones[4]);
    EXPECT_EQ(phones[4].Number, QStringLiteral("123456789012345"));
    EXPECT_EQ(loaded.Tables->BranchPhone[4], nullptr);
    EXPECT_EQ(loaded.Tables->BranchPhone[8], &phones[1]);
}

TEST_F(SchemeFile, TextsAndFontNamesAreCutToTheirFields)
{
    const QByteArray file = Save("c.mine", [](TNetworkTables &, TSchemeDocument &doc) {
        TMapText text;
        text.SetText(QString(300, QChar(u'ж')));
        text.SetFontName(QString(31, QChar(u'F')));
        text.SetSizeFactor(2);
        doc.MapTexts.Add(text);
    });
    const auto records = RecordsWithTag(file, tagMapTexts);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].Count, 1);
    ASSERT_EQ(records[0].Data.size(), TMapText::RecordSize);
    const TLoaded loaded = Load(Path("c.mine"));
    ASSERT_EQ(loaded.Doc.MapTexts.Count(), 1);
    EXPECT_EQ(loaded.Doc.MapTexts[0].Text, QString(250, QChar(u'ж')));
    EXPECT_EQ(loaded.Doc.MapTexts[0].FontName, QString(30, QChar(u'F')));
    EXPECT_EQ(loaded.Doc.MapTexts[0].SizeFactor, 2);
}

TEST_F(SchemeFile, TextSizeFactorIsReadIntoTheDialogsRange)
{
    for (const auto &[stored, read] : {std::pair{600, 3}, {4, 3}, {INT_MAX, 3}, {2, 2}, {0, 1}, {-7, 1}, {INT_MIN, 1}}) {
        Save("f.mine", [stored](TNetworkTables &, TSchemeDocument &doc) {
            TMapText text;
            text.SetText(QStringLiteral("Ствол"));
            text.SetSizeFactor(stored);
            doc.MapTexts.Add(text);
        });
        const TLoaded loaded = Load(Path("f.mine"));
        ASSERT_EQ(loaded.Doc.MapTexts.Count(), 1);
        EXPECT_EQ(loaded.Doc.MapTexts[0].SizeFactor, read) << stored;
    }
}

TEST_F(SchemeFile, PictureSymbolsAreReadByTheirOwnLayoutAndNeverWritten)
{
    const QByteArray good = Save("s.mine", [](TNetworkTables &t, TSchemeDocument &doc) { MakeFullScheme(t, doc); });
    const auto withRecords = [&](const char *name, const QByteArray &records) {
        QFile out(Path(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(good + records);
        out.close();
        return Load(Path(name));
    };
    // The frame's length field is not what measures the record.
    TLoaded loaded = withRecords("s2.mine", PictureRecord(EncodeCp1251(QStringLiteral("Насос.emf")), 3, 0) + PictureRecord("a.emf", 0, 999));
    ASSERT_TRUE(loaded.Error.isEmpty()) << loaded.Error.toStdString();
    ASSERT_EQ(loaded.Doc.PictureSymbolList.size(), 2u);
    EXPECT_EQ(loaded.Doc.PictureSymbolList[0].FileName, QStringLiteral("Насос.emf"));
    const std::vector<TSymbolPlace> places{{10, 20, 0}, {11, 21, 90}, {12, 22, 180}};
    EXPECT_EQ(loaded.Doc.PictureSymbolList[0].Places, places);
    EXPECT_TRUE(loaded.Doc.PictureSymbolList[1].Places.empty());

    loaded.Doc.PictureSymbolList.clear();
    ASSERT_TRUE(WriteMineFile(Path("s3.mine"), *loaded.Tables, loaded.Doc, SavedView));
    EXPECT_EQ(ReadAllBytes(Path("s3.mine")), good);

    // A name or placements running past the end are damage, not a huge allocation.
    for (const std::int32_t nameLength : {0x7FFFFFF0, -1}) {
        QByteArray r = PictureRecord("x", 0, 0);
        qToLittleEndian<std::int32_t>(nameLength, r.data() + RecordHeaderSize);
        EXPECT_EQ(withRecords("s4.mine", r).Error, DamagedSchemeFileMessage(Path("s4.mine"))) << nameLength;
    }
    QByteArray tooMany = PictureRecord("x", 2, 0);
    qToLittleEndian<std::int32_t>(0x10000000, tooMany.data() + 6);
    EXPECT_EQ(withRecords("s5.mine", tooMany).Error, DamagedSchemeFileMessage(Path("s5.mine")));
}

// Read over tables that still hold another network (every column filled),
// a file leaves the same tables as read into new ones: nothing of the
// network before stays, also where the file has no record for a table.
TEST_F(SchemeFile, AReadLeavesNothingOfTheNetworkBefore)
{
    const QByteArray grid = Save("g.mine", [](TNetworkTables &t, TSchemeDocument &) { MakeGridNetwork(t, 12); });
    QByteArray older = grid;
    qToLittleEndian<std::int16_t>(517, older.data() + 6);
    const struct
    {
        const char *Name;
        QByteArray File;
    } cases[] = {{"this version", grid}, {"an older version", older}, {"the old fixed layout", OldLayoutFile(5000)}};
    for (const auto &c : cases) {
        WriteAllBytes(Path("r.mine"), c.File);
        const TLoaded fresh = Load(Path("r.mine"));
        ASSERT_TRUE(fresh.Error.isEmpty()) << c.Name;
        auto t = NewDocumentTables();
        TSchemeDocument doc;
        MakeFullScheme(*t, doc);
        UnlinkAllPhones(*t);
        TSchemeDocument readDoc;
        ReadMineFile(Path("r.mine"), *t, readDoc);
        EXPECT_EQ(TablesDiffer(*t, *fresh.Tables), "") << c.Name;
    }
}
