#include "model/robust_stream.h"
#include "platform/codepage.h"
#include "platform/exceptions.h"
#include "platform/prompt.h"
#include "shell/foreign_files.h"

#include "kladon_fixture.h"

#include "file_bytes.h"

#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QLocale>
#include <QtCore/QTemporaryDir>
#include <QtCore/QtEndian>

#include <cmath>
#include <memory>

namespace {

class ForeignFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Reset();
    }
    // As the document empties the tables before an import: every number
    // destroyed, with the markers of "not given".
    void Reset()
    {
        for (int n = 1; n <= MaxItems; ++n) {
            DestroyBranch(*T, n);
            DestroyNode(*T, n);
        }
    }

    QString Path(const QString &name) const { return Dir.filePath(name); }
    QString Write(const QString &name, const QByteArray &bytes)
    {
        WriteFile(Path(name), bytes);
        return Path(name);
    }
    int TurnCount(int b) const { return T->BranchTurns[b] ? static_cast<int>(T->BranchTurns[b]->size()) : 0; }

    QTemporaryDir Dir;
    std::unique_ptr<TNetworkTables> T = std::make_unique<TNetworkTables>();
    TScriptedPrompt Prompt;
};

// ---- РЕВОД ------------------------------------------------------------------

TEST_F(ForeignFilesTest, RevodSetFillsTheTables)
{
    // Names in any letter case, as copied from another system.
    Write("MineName.dat", EncodeCp866(QStringLiteral("РЕВОД 2\r\nШахта Северная\r\n3\r\n")));
    Write("mvs.dat", "12 1 2 950000.0\n"
                     "13 2 3 0.5 6.2\n"
                     "14 3\n"                       // too short for a branch
                     "6000 1 2 0.1 1\n"             // beyond the tables
                     "15 3 4 1e7 2.0 9 9 9\n"
                     "\n   \n");
    Write("VENT.DAT", "12 0 150.0 -0.5 0 0\n");
    Write("VentSor.DAT", "ABCD 12 0.25\nAB   12 0.25\n");
    Write("Uzel.DAT", "2 152.6 18.5 0\n9999 1 1 0\n");
    Write("UzPov.DAT", "1-3, 7\n");

    const TRevodTitles titles = ImportRevodFiles(*T, Path("mvs.dat"));
    EXPECT_TRUE(Prompt.Asked.empty());
    EXPECT_EQ(titles.Mine, QStringLiteral("Шахта Северная"));

    // 950000 was capped, then replaced by |-0.5| and raised by 0.25 twice.
    EXPECT_DOUBLE_EQ(T->BranchR[12], 1.0);
    EXPECT_EQ(T->BranchArea[12], 0.0);
    EXPECT_EQ(T->BranchAuxDepression[12], 150.0);
    EXPECT_EQ(T->BranchR[15], 900000.0);
    EXPECT_EQ(T->BranchArea[15], 2.0);
    EXPECT_EQ(T->BranchArea[13], 6.2);
    EXPECT_FALSE(BranchPresent(*T, 14));
    EXPECT_EQ(BranchCount(*T), 3);

    EXPECT_EQ(T->NodeAltitude[2], 153.0);
    EXPECT_EQ(T->BranchEndTemp[12], 18.5);
    EXPECT_EQ(T->BranchStartTemp[13], 18.5);
    for (int n : {1, 2, 3, 7})
        EXPECT_TRUE(NodeExist(*T, n) && T->NodeIsSurface[n]) << n;
    EXPECT_FALSE(T->NodeIsSurface[4]);
    // Nodes stay where the format leaves them; the branches can be drawn.
    EXPECT_EQ(T->NodeX[3], 0);
    EXPECT_TRUE(BranchExist(*T, 13));
    EXPECT_EQ(TurnCount(13), 2);
}

TEST_F(ForeignFilesTest, RevodNeedsTheMinimumSet)
{
    struct Case { const char *name; std::vector<const char *> files; bool imports; };
    const Case cases[] = {
        {"MVS.DAT and VMP.DAT", {"MVS.DAT", "VMP.DAT"}, true},
        {"MVS.DAT alone", {"MVS.DAT"}, false},
        {"no MVS.DAT", {"Vent.DAT", "Uzel.DAT"}, false},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        for (const char *file : c.files)
            WriteFile(dir.filePath(file), QString::fromLatin1(file) == "MVS.DAT" ? "1 1 2 0.5\n" : "");
        Reset();
        Prompt.Asked.clear();
        ImportRevodFiles(*T, dir.filePath(c.files.front()));
        EXPECT_EQ(BranchExist(*T, 1), c.imports) << c.name;
        ASSERT_EQ(Prompt.Asked.size(), c.imports ? 0u : 1u) << c.name;
        if (!c.imports) {
            EXPECT_EQ(NodeCount(*T), 0) << c.name;
            EXPECT_EQ(Prompt.Asked[0].Text,
                      QStringLiteral("В папке ") + QDir::toNativeSeparators(dir.path()) + QStringLiteral("/")
                          + QStringLiteral(" отсутствует минимально необходимый набор файлов для импорта (MVS.DAT и "
                                           "один из Vent.DAT или VMP.DAT, Otvod.DAT, Depres.DAT, Uzel.DAT)"));
        }
    }
}

TEST_F(ForeignFilesTest, RevodBadFieldNamesFileAndLineAndKeepsWhatWasRead)
{
    Write("MVS.DAT", "1 1 2 0.5\n2 2 x 0.5\n3 3 4 0.5\n");
    Write("Uzel.DAT", "");
    try {
        ImportRevodFiles(*T, Path("MVS.DAT"));
        FAIL() << "no error";
    } catch (const Exception &e) {
        EXPECT_TRUE(e.Message().contains(Path("MVS.DAT"))) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains(QStringLiteral("строка 2"))) << e.Message().toStdString();
    }
    EXPECT_TRUE(BranchExist(*T, 1));
    EXPECT_EQ(TurnCount(1), 2);
    EXPECT_FALSE(BranchPresent(*T, 3));
}

// ---- VENT -------------------------------------------------------------------

TEST_F(ForeignFilesTest, VentOrdinaryAndFanLines)
{
    Write("mine.sp1", "5 2 3 0.01234 1 12.5 3.1 8.0 120 6.4 0\n"
                      "   8    1    9 -120.50000   16  30.00 -50.00    0.0    0    0.0   0.00\r\n"
                      "  31    9    4    0.02000   14  30.00  50.00    0.0    0    0.0   0.00\r\n"
                      "10 4 10 -20 26 2 -5 0 0 0 0\n"
                      "11 10 5 0.3 24 2 5 0 0 0 0\n"
                      "7000 2 3 0.1 1 0 0 0 0 0 0\n");
    ImportVentFiles(*T, Path("mine.sp1"));

    EXPECT_EQ(T->BranchStartNode[5], 2);
    EXPECT_EQ(T->BranchEndNode[5], 3);
    EXPECT_DOUBLE_EQ(T->BranchR[5], 0.01234);
    EXPECT_EQ(T->BranchDGSMark[5], 1);
    EXPECT_EQ(T->BranchQ[5], 12.5);
    EXPECT_EQ(T->BranchGivenDepression[5], 3.1);
    EXPECT_DOUBLE_EQ(T->BranchAlpha[5], 0.8);
    EXPECT_EQ(T->BranchLength[5], 120);
    EXPECT_EQ(T->BranchArea[5], 6.4);
    EXPECT_TRUE(BranchExist(*T, 5));

    // A fan from the surface is a main fan, else a local one; its resistance
    // and end node come from the companion, which makes no branch.
    EXPECT_EQ(BranchTypeName(T->BranchType[8]), QStringLiteral("ВГП"));
    EXPECT_EQ(BranchTypeName(T->BranchType[10]), QStringLiteral("ВМП"));
    EXPECT_EQ(T->BranchAuxDepression[8], 120.5);
    EXPECT_EQ(T->BranchGivenDepression[8], 50.0);
    EXPECT_EQ(T->BranchEndNode[8], 4);
    EXPECT_EQ(T->BranchR[8], 0.02);
    EXPECT_EQ(T->BranchEndNode[10], 5);
    EXPECT_FALSE(BranchPresent(*T, 31));
    EXPECT_FALSE(BranchPresent(*T, 11));
    EXPECT_EQ(BranchCount(*T), 3);

    EXPECT_TRUE(NodeExist(*T, 1) && T->NodeIsSurface[1]);
    EXPECT_FALSE(T->NodeIsSurface[2]);
    EXPECT_TRUE(BranchExist(*T, 8));
    EXPECT_EQ(TurnCount(8), 2);
}

TEST_F(ForeignFilesTest, VentRepeatedBranchAsksAndTheLaterLineWins)
{
    Write("a.sp1", "5 2 3 0.1 1 1 0 0 10 1 0\n5 4 6 0.2 1 2 0 0 20 2 0\n\x1A");
    ImportVentFiles(*T, Path("a.sp1"));
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Text, QStringLiteral("Ветвь №5 уже встречалась в файле %1. \rБудут приняты новые "
                                                   "данные для этой ветви.")
                                        .arg(Path("a.sp1")));
    EXPECT_EQ(T->BranchStartNode[5], 4);
    EXPECT_EQ(T->BranchLength[5], 20);
    EXPECT_EQ(TurnCount(5), 2);
}

TEST_F(ForeignFilesTest, VentBrokenFilesEndInAnErrorNamingTheFile)
{
    struct Case { const char *name; QByteArray text; const char *line; };
    const Case cases[] = {
        {"fan without companion", "1 2 3 0.1 1 0 0 0 0 0 0\n2 3 4 -10 16 0 0 0 0 0 0\n", "строка 2"},
        {"field not a number", "1 2 3 0.1 1 0 0 0 0 0 0\n2 3 4 abc 1 0 0 0 0 0 0\n", "строка 2"},
        {"short line", "1 2 3 0.1 1 0 0\n", "строка 1"},
    };
    for (const Case &c : cases) {
        Reset();
        const QString file = Write("bad.sp1", c.text);
        try {
            ImportVentFiles(*T, file);
            ADD_FAILURE() << c.name;
        } catch (const Exception &e) {
            EXPECT_TRUE(e.Message().contains(file)) << c.name;
            EXPECT_TRUE(e.Message().contains(QString::fromUtf8(c.line))) << c.name << e.Message().toStdString();
        }
    }
    // What was read before stays, ready to draw.
    Reset();
    Write("bad.sp1", cases[1].text);
    EXPECT_THROW(ImportVentFiles(*T, Path("bad.sp1")), Exception);
    EXPECT_TRUE(BranchExist(*T, 1));
    EXPECT_EQ(TurnCount(1), 2);
    EXPECT_THROW(ImportVentFiles(*T, Path("none.sp1")), EFOpenError);
}

TEST_F(ForeignFilesTest, VentExportWritesTheFanAsTwoLinesWithPoints)
{
    for (int n = 1; n <= 4; ++n)
        CreateNode(*T, n);
    T->NodeIsSurface[1] = 1;
    const int ends[][2] = {{1, 2}, {2, 3}, {3, 4}};
    for (int b = 1; b <= 3; ++b) {
        CreateBranch(*T, b);
        T->BranchStartNode[b] = static_cast<std::int16_t>(ends[b - 1][0]);
        T->BranchEndNode[b] = static_cast<std::int16_t>(ends[b - 1][1]);
        T->BranchR[b] = 0.5 * b;
        T->BranchQ[b] = 10;
        T->BranchAlpha[b] = 0.8;
        T->BranchLength[b] = 100;
        T->BranchArea[b] = 5;
        T->BranchDGSMark[b] = 1;
    }
    T->BranchDGSMark[2] = 16;
    T->BranchAuxDepression[2] = 100;
    T->BranchGivenDepression[2] = 5;

    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    WriteVentFiles(*T, Path("out.sp"));
    QLocale::setDefault(previous);

    EXPECT_EQ(ReadAll(Path("out.sp")),
              QByteArray("   1    1    2    0.50000    1  10.00   0.00    8.0  100    5.0   0.00\r\n"
                         "   2    2    5 -100.00000   16  10.00  -5.00    8.0  100    5.0   0.00\r\n"
                         "   4    3    5    1.00000   14  10.00   5.00    8.0  100    5.0   0.00\r\n"
                         "   3    3    4    1.50000    1  10.00   0.00    8.0  100    5.0   0.00\r\n"));
}

TEST_F(ForeignFilesTest, VentExportReadsBackAsTheSameNetwork)
{
    // A main fan 1 from the surface, an airway 2 and a local fan 3 in a chain.
    for (int n = 1; n <= 4; ++n)
        CreateNode(*T, n);
    T->NodeIsSurface[1] = 1;
    struct Branch { int start, end, code; double r, aux; };
    const Branch net[] = {{1, 2, 16, 0.25, 300}, {2, 3, 1, 0.5, 0}, {3, 4, 26, 1.5, 80}};
    for (int b = 1; b <= 3; ++b) {
        const Branch &n = net[b - 1];
        CreateBranch(*T, b);
        T->BranchStartNode[b] = static_cast<std::int16_t>(n.start);
        T->BranchEndNode[b] = static_cast<std::int16_t>(n.end);
        T->BranchDGSMark[b] = static_cast<std::int16_t>(n.code);
        T->BranchR[b] = n.r;
        T->BranchAuxDepression[b] = n.aux;
    }
    WriteVentFiles(*T, Path("round.sp"));
    Reset();
    ImportVentFiles(*T, Path("round.sp"));

    EXPECT_EQ(BranchCount(*T), 3);
    for (int b = 1; b <= 3; ++b) {
        const Branch &n = net[b - 1];
        EXPECT_EQ(T->BranchStartNode[b], n.start) << b;
        EXPECT_EQ(T->BranchEndNode[b], n.end) << b;
        EXPECT_DOUBLE_EQ(T->BranchR[b], n.r) << b;
        EXPECT_DOUBLE_EQ(T->BranchAuxDepression[b], n.aux) << b;
    }
    EXPECT_EQ(BranchTypeName(T->BranchType[1]), QStringLiteral("ВГП"));
    EXPECT_EQ(BranchTypeName(T->BranchType[3]), QStringLiteral("ВМП"));
}

TEST_F(ForeignFilesTest, VentNamesGoOutInCp866AndComeBack)
{
    CreateBranch(*T, 7);
    T->BranchName[7] = QStringLiteral("Квершлаг 1");
    CreateBranch(*T, 9);
    T->BranchName[9].clear();  // no line for an empty name
    WriteVentNames(*T, Path("mine.bn2"));
    EXPECT_EQ(ReadAll(Path("mine.bn2")),
              QByteArray("    7  *") + EncodeCp866(QStringLiteral("Квершлаг 1")) + QByteArray("*\r\n"));

    // The branch file "mine.SP2" finds its names whatever their case.
    Write("mine.SP2", "7 2 3 0.1 1 0 0 0 0 0 0\n");
    ASSERT_TRUE(QFile::rename(Path("mine.bn2"), Path("MINE.BN2")));
    EXPECT_EQ(VentNamesFileFor(Path("mine.SP2")), Path("MINE.BN2"));
    EXPECT_EQ(VentNamesFileFor(Path("other.sp2")), QString());
    Reset();
    ImportVentFiles(*T, Path("mine.SP2"));
    EXPECT_EQ(T->BranchName[7], QStringLiteral("Квершлаг 1"));

    // A name for a branch the file lacks is reported and dropped.
    Write("x.bn1", QByteArray("    8  *") + EncodeCp866(QStringLiteral("Штрек")) + "*\r\n");
    ReadVentNames(*T, Path("x.bn1"));
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Text, QStringLiteral("Для ветви #8 (Штрек) в файле *.sp? нет соответствующей записи"));
}

// ---- Кладон 5.5 -------------------------------------------------------------

TEST_F(ForeignFilesTest, Real48Values)
{
    // The fraction has 39 bits: exact for these, within 2^-39 of others.
    for (double v : {1.0, -1.0, -2.5, 20.5, 900000.0, 0.0, 0.01234, -1e-5}) {
        const QByteArray b = Real48(v);
        EXPECT_NEAR(Real48ToDouble(reinterpret_cast<const unsigned char *>(b.constData())), v,
                    std::fabs(v) * 1e-11)
            << v;
    }
    const unsigned char one[6] = {129, 0, 0, 0, 0, 0};
    EXPECT_EQ(Real48ToDouble(one), 1.0);
}

class KladonTest : public ForeignFilesTest
{
protected:
    QString WriteSet(bool withNames) { return WriteKladonSet(Dir.path(), withNames); }
};

TEST_F(KladonTest, SetFillsNodesBranchesAndBends)
{
    const QString file = WriteSet(true);
    const QString name = ImportKladonFiles(*T, file);
    EXPECT_EQ(name, QStringLiteral("ШАХТА Импортировано из Кладон 5.5 (%1).Mine")
                        .arg(QString(file).replace(u'/', u' ')));

    EXPECT_EQ(NodeCount(*T), 4);
    EXPECT_EQ(T->NodeX[5], 30);
    EXPECT_EQ(T->NodeY[5], 40);
    EXPECT_EQ(T->NodeAltitude[1], 100);
    EXPECT_EQ(T->NodeAltitude[5], -50);
    EXPECT_EQ(T->NodeAltitude[1200], AltitudeNotGiven);
    // Node 5 twice in the list marks it once; node 3 after it is still found.
    EXPECT_TRUE(T->NodeIsSurface[5]);
    EXPECT_TRUE(T->NodeIsSurface[3]);
    EXPECT_FALSE(T->NodeIsSurface[1]);

    EXPECT_EQ(BranchCount(*T), 3);
    EXPECT_EQ(T->BranchLength[1], 150);
    EXPECT_NEAR(T->BranchR[1], 0.0125, 1e-12);
    EXPECT_EQ(T->BranchAuxDepression[1], -30);
    EXPECT_EQ(T->BranchArea[1], 8.5);
    EXPECT_EQ(T->BranchStartTemp[1], 0);   // 0 and 60 are no temperatures
    EXPECT_EQ(T->BranchEndTemp[1], 0);
    EXPECT_EQ(T->BranchStartTemp[2], 20.5);
    EXPECT_EQ(T->BranchType[1], 0);         // byte 1
    EXPECT_EQ(T->BranchType[2], 8);         // byte 9
    EXPECT_EQ(T->BranchType[3], 0);         // byte 0
    EXPECT_TRUE(T->BranchIsFresh[1]);
    EXPECT_FALSE(T->BranchIsFresh[2]);
    EXPECT_EQ(T->BranchPLAColor[1], 0x000080);
    EXPECT_EQ(T->BranchPLAColor[2], 0);     // index 20: black
    EXPECT_EQ(T->BranchPLAColor[3], 0xFFFFFF);
    EXPECT_EQ(T->BranchName[1], QStringLiteral("Ствол"));
    EXPECT_EQ(T->BranchName[2], QString());  // name number 0
    EXPECT_EQ(T->BranchName[3], QStringLiteral("Штрек"));

    const auto points = [&](int b) {
        std::vector<std::pair<int, int>> p;
        for (const TTurn &t : *T->BranchTurns[b])
            p.emplace_back(t.X, t.Y);
        return p;
    };
    using P = std::vector<std::pair<int, int>>;
    EXPECT_EQ(points(1), (P{{10, 20}, {30, 40}}));
    EXPECT_EQ(points(2), (P{{30, 40}, {100, 200}, {50, 60}}));
    EXPECT_EQ(points(3), (P{{50, 60}, {300, 400}, {500, 600}, {70, 80}}));
}

TEST_F(KladonTest, MissingNamesAndBrokenFiles)
{
    const QString file = WriteSet(false);
    ImportKladonFiles(*T, file);
    EXPECT_EQ(T->BranchName[1], QString());
    EXPECT_EQ(T->BranchName[3], QString());

    EXPECT_EQ(KladonDocumentName(QStringLiteral("ШАХТА"), QStringLiteral("C:\\MINES\\A.NF1")),
              QStringLiteral("ШАХТА Импортировано из Кладон 5.5 (C  MINES A.NF1).Mine"));

    // A record cut short names its file; what was read stays drawable.
    QByteArray vt = ReadAll(Path("shahta.vt1"));
    Write("shahta.vt1", vt.chopped(10));
    Reset();
    try {
        ImportKladonFiles(*T, file);
        FAIL() << "no error";
    } catch (const EUnexpectedEOF &e) {
        EXPECT_TRUE(e.Message().contains(Path("shahta.vt1")));
    }
    EXPECT_EQ(NodeCount(*T), 4);

    ASSERT_TRUE(QFile::remove(Path("SHAHTA.ND1")));
    Reset();
    EXPECT_THROW(ImportKladonFiles(*T, file), EFOpenError);
    Write("short.nf1", QByteArray(100, '\0'));
    EXPECT_THROW(ImportKladonFiles(*T, Path("short.nf1")), EUnexpectedEOF);
}

} // namespace
