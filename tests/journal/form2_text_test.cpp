// The form-2 text and its export.
#include "file_bytes.h"
#include "journal/form2_text.h"
#include "journal_fixture.h"
#include "model/robust_stream.h"
#include "platform/codepage.h"

#include <QtCore/QDir>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TRubricRecord &Measure(TRubric &r, int index, TBranchRecord in, TBranchRecord out = {})
{
    TRubricRecord &rec = *r.Items(index);
    rec.InBranch = in;
    static_cast<TBranchRecord &>(rec.OutBranch) = out;
    return rec;
}

// Rubrics of every type: a leakage rubric before the mine intake, three
// outer-leakage rubrics for two main fans, titles grouped by their text
// before the colon, long names, and enough records for a second page.
std::unique_ptr<TKerstal> SampleJournal()
{
    auto j = std::make_unique<TKerstal>(QStringLiteral("Северная.WVJ"));
    j->MineName = QStringLiteral("Северная");
    j->VGPCount = 2;
    j->VJBegins = EncodeDate(2024, 3, 1) + EncodeTime(8, 0, 0);
    j->VJEnds = EncodeDate(2024, 3, 31) + EncodeTime(17, 30, 0);

    AddRubric(*j, QStringLiteral("Утечки до замера поступающей"), rtInnerLeakage, {{30, 0}});
    TRubric &intake = AddRubric(*j, QStringLiteral("Стволы: поступающая"), rtMineIntake, {{1200, 0}, {2300, 0}});
    Measure(intake, 0, {1, QStringLiteral("Скиповой ствол"), 28.3, 1200, 0.71, 11.5, 78});
    Measure(intake, 1, {2, QStringLiteral("Клетевой ствол"), 33.2, 2300, 1.15, 12, 76});
    TRubric &fan1 = AddRubric(*j, QStringLiteral("Стволы: вентилятор №1"), rtOuterLeakage, {{4000, 0}, {150, 0}});
    Measure(fan1, 0, {3, QStringLiteral("Канал ВГП №1"), 12, 4000, 5.56, 21, 98});
    AddRubric(*j, QStringLiteral("Вентилятор №2"), rtOuterLeakage, {{3000, 0}, {120, 0}});
    TRubric &lava1 = AddRubric(*j, QStringLiteral("Участок №1: лава 1-Ю"), rtOrdinary, {{0, 0}, {0, 0}});
    TRubricRecord &full = Measure(lava1, 0, {10, QStringLiteral("Конвейерный штрек лавы 1-Ю"), 9.5, 620, 1.09, 18.5, 80},
                                  {11, QStringLiteral("Вентиляционный штрек лавы 1-Ю"), 8.7, 655, 1.25, 22.5, 96});
    full.OutBranch.CH4 = QStringLiteral("0,6");
    full.OutBranch.CO2 = QStringLiteral("0,35");
    full.OutBranch.O2 = QStringLiteral("20,3");
    full.OutBranch.CO = QStringLiteral("0,0008");
    Measure(lava1, 1,
            {12, QStringLiteral("Очень длинное название выработки, которое шире своего столбца в журнале"), 7.5, 35,
             0.08, 19, 85},
            {13, QStringLiteral("Утечки"), 0, 40, 0, 0, 0});
    TRubric &lava2 = AddRubric(
        *j,
        QStringLiteral("Участок №1: лава 2-Ю, название рубрики длиннее восьмидесяти знаков, остаток отрезается "
                       "при печати"),
        rtOrdinary, {{0, 700}});
    Measure(lava2, 0, {}, {21, QStringLiteral("Вентиляционный штрек лавы 2-Ю"), 8, 700, 1.46, 23, 97});
    TRubric &chambers = AddRubric(*j, QStringLiteral("Камеры"), rtNoTotals, {{0, 0}});
    chambers.Items(0)->InBranch.Number = 30;
    TRubric &faces = AddRubric(*j, QStringLiteral("Участок №2: подготовительные забои"), rtOrdinary);
    for (int i = 1; i <= 40; ++i) {
        TRubricRecord &rec = *faces.Add(std::make_unique<TRubricRecord>(&faces));
        rec.InBranch = {static_cast<std::int16_t>(100 + i), QStringLiteral("Забой %1").arg(i), 10, 100 + i, 0.17, 15, 80};
    }
    AddRubric(*j, QStringLiteral("Участок №1: внутренние утечки"), rtInnerLeakage, {{150, 0}, {200, 0}});
    AddRubric(*j, QStringLiteral("Вентилятор №3: резерв"), rtOuterLeakage, {{0, 0}, {60, 0}});
    return j;
}

QString Fixture(const QString &name)
{
    return QString::fromUtf8(ReadAll(QStringLiteral(TUNVEX_FIXTURES "/journal/") + name));
}

} // namespace

TEST(Form2Text, MatchesTheStoredText)
{
    const auto j = SampleJournal();
    const QString text = BuildForm2Text(*j, DefaultLinesPerPage);
    const QString expected = Fixture(QStringLiteral("form2.txt"));
    if (text != expected) {
        QFile actual(QDir::temp().filePath(QStringLiteral("form2.actual.txt")));
        if (actual.open(QIODevice::WriteOnly))
            actual.write(text.toUtf8());
        ADD_FAILURE() << "differs; see " << actual.fileName().toStdString();
    }
    const QStringList lines = BuildForm2Lines(*j, DefaultLinesPerPage);
    ASSERT_EQ(text, lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    for (int i = 4; i < 10; ++i)
        EXPECT_EQ(lines[i].size(), 220) << i + 1;
    EXPECT_EQ(lines.count(QString(QChar(12))), 1);
    const qsizetype feed = lines.indexOf(QString(QChar(12)));
    EXPECT_EQ(lines[feed + 1], QString(45, u' ') + QStringLiteral("2 "));
    EXPECT_EQ(lines.filter(QStringLiteral("% от подачи ВГП")).size(), 4);
}

TEST(Form2Text, AJournalWithoutRubricsIsTheHeadAlone)
{
    TKerstal j(QStringLiteral("j"));
    j.MineName = QStringLiteral("Южная");
    j.VJBegins = j.VJEnds = EncodeDate(2025, 12, 31) + EncodeTime(23, 0, 0);
    const QStringList lines = BuildForm2Lines(j, DefaultLinesPerPage);
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[0], QString(45, u' ') + QStringLiteral("1 "));
    EXPECT_EQ(lines[2], QString(35, u' ') + QStringLiteral("Шахта  Южная"));
    EXPECT_EQ(lines[3], QString(39, u' ') + QStringLiteral("31.12.2025") + QString(128, u' ') + QStringLiteral("Форма 2"));
}

TEST(Form2Text, SmallPagesBreakAfterFewLines)
{
    TKerstal j(QStringLiteral("j"));
    AddRubric(j, QStringLiteral("р"), rtOrdinary, {{1, 1}, {2, 2}, {3, 3}});
    // The head counts 10 lines and a title breaks the page from LinesPerPage - 2
    // on; a page length below 2 wraps round as an unsigned count, so only
    // records break, each onto a page of its own.
    struct Case { int linesPerPage; int pages; };
    for (const Case c : {Case{12, 3}, Case{13, 3}, Case{14, 1}, Case{1, 4}, Case{0, 4}}) {
        const QStringList lines = BuildForm2Lines(j, c.linesPerPage);
        EXPECT_EQ(lines.count(QString(QChar(12))) + 1, c.pages) << c.linesPerPage;
    }
}

TEST(Form2Text, ExportsInTheDosOrWindowsCodePage)
{
    QTemporaryDir dir;
    TKerstal j(QStringLiteral("j"));
    const QString dos = dir.filePath(QStringLiteral("dos.txt"));
    const QString win = dir.filePath(QStringLiteral("win.txt"));
    ExportForm2Text(j, dos, true, DefaultLinesPerPage);
    ExportForm2Text(j, win, false, DefaultLinesPerPage);
    const QByteArray d = ReadAll(dos);
    const QByteArray w = ReadAll(win);
    const QByteArray mine = QByteArray(35, ' ');
    const qsizetype at = w.indexOf(mine + '\xD8');
    ASSERT_GT(at, 0);
    EXPECT_EQ(d[at + 35], '\x98');
    EXPECT_EQ(w, EncodeCp1251(BuildForm2Text(j, DefaultLinesPerPage)));
    EXPECT_EQ(d, AnsiToOemBytes(w));
    EXPECT_TRUE(w.endsWith("\r\n"));

    const QString blocked = dir.filePath(QStringLiteral("нет/отчет.txt"));
    try {
        ExportForm2Text(j, blocked, true, DefaultLinesPerPage);
        ADD_FAILURE() << "exported into a missing folder";
    } catch (const EFCreateError &e) {
        EXPECT_TRUE(e.Message().contains(blocked));
    }
}
