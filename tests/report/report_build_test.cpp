#include "build_fixture.h"

#include "report/band.h"
#include "report/library.h"

// A host record source of n records whose values the host answers by record.
class THostRecords : public TfrUserDataset
{
public:
    explicit THostRecords(const QString &name, int count)
    {
        Name = name;
        RangeEnd = reCount;
        RangeEndCount = count;
    }
};

TEST_F(ReportBuild, CountingSourceNumbersItsLines)
{
    TfrPage &page = Page();
    Band(page, btReportTitle, 10, 20);
    Memo(page, 10, 10, 100, 17, QStringLiteral("Заголовок"));
    Band(page, btMasterData, 40, 20, QStringLiteral("3"));
    Memo(page, 10, 40, 100, 17, QStringLiteral("[LINE#]"));
    Band(page, btReportSummary, 70, 20);
    Memo(page, 10, 70, 100, 17, QStringLiteral("Итого"));

    EXPECT_TRUE(Report.PrepareReport());
    ASSERT_EQ(Report.PreparedPages.Count(), 1);
    const auto sheet = DumpSheet(Report.PreparedPages, 0);
    ASSERT_EQ(sheet.size(), 5u);
    const int top = page.TopEdge();
    // Bands follow each other from the top edge, whatever their design Y.
    const std::vector<std::pair<QString, int>> expected{
        {QStringLiteral("Заголовок"), top}, {QStringLiteral("1"), top + 20}, {QStringLiteral("2"), top + 40},
        {QStringLiteral("3"), top + 60}, {QStringLiteral("Итого"), top + 80}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(sheet[i].Text, expected[i].first);
        EXPECT_EQ(sheet[i].Top, expected[i].second) << i;
        EXPECT_EQ(sheet[i].Left, 10);
        EXPECT_EQ(sheet[i].Width, 100);
    }
    // The run-time model is gone after the build.
    EXPECT_FALSE(page.RunModelBuilt);
    EXPECT_EQ(page.BandsByKind[btMasterData], nullptr);
}

TEST_F(ReportBuild, MultipleReportRepeatsTheTemplatePerRecord)
{
    THostRecords records(QStringLiteral("Recs"), 3);
    Report.Dataset = &records;
    Report.ReportType = rtMultiple;
    Memo(Page(0), 10, 10, 100, 17, QStringLiteral("Лист 1"));
    Memo(Page(1), 10, 10, 100, 17, QStringLiteral("Лист 2"));
    std::vector<int> begins, ends;
    int beginDoc = 0, endDoc = 0;
    Report.OnBeginDoc = [&] { ++beginDoc; };
    Report.OnEndDoc = [&] { ++endDoc; };
    Report.OnBeginPage = [&](int pg, QStringList &, QStringList &, QStringList &) { begins.push_back(pg); };
    Report.OnEndPage = [&](int pg) { ends.push_back(pg); };

    Report.PrepareReport();
    EXPECT_EQ(AllSheetTexts(Report.PreparedPages),
              QStringList({"Лист 1", "Лист 2", "Лист 1", "Лист 2", "Лист 1", "Лист 2"}));
    EXPECT_EQ(begins, (std::vector<int>{0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(ends, std::vector<int>(6, 1));
    EXPECT_EQ(beginDoc, 1);
    EXPECT_EQ(endDoc, 1);

    // Two passes fire the document events twice.
    Report.TwoPassBuild = true;
    Report.PrepareReport();
    EXPECT_EQ(beginDoc, 3);
    EXPECT_EQ(Report.PreparedPages.Count(), 6);
}

TEST_F(ReportBuild, PageFooterFlagsChooseTheFirstAndLastSheets)
{
    struct TCase
    {
        std::uint16_t Flags;
        QStringList Sheets;
    };
    const std::vector<TCase> cases{
        {0, {"L1", "L2,Низ", "L3"}},
        {flags::OnFirstPage, {"L1,Низ", "L2,Низ", "L3"}},
        {flags::OnLastPage, {"L1", "L2,Низ", "L3,Низ"}},
        {flags::OnFirstPage | flags::OnLastPage, {"L1,Низ", "L2,Низ", "L3,Низ"}},
    };
    for (const TCase &c : cases) {
        Report.TemplatePages.Clear();
        TfrPage &page = Page();
        // A new sheet after every record: three sheets.
        Band(page, btMasterData, 40, 20, QStringLiteral("3"), 2);
        Memo(page, 10, 40, 100, 17, QStringLiteral("L[LINE#]"));
        Band(page, btPageFooter, 300, 20, {}, c.Flags);
        Memo(page, 10, 300, 100, 17, QStringLiteral("Низ"));
        Report.PrepareReport();
        EXPECT_EQ(AllSheetTexts(Report.PreparedPages), c.Sheets) << c.Flags;
        // The footer's own height comes off the bottom edge; it sits there.
        for (const TDumpedObject &o : DumpSheet(Report.PreparedPages, 1)) {
            if (o.Text == QStringLiteral("Низ")) {
                EXPECT_EQ(o.Top, page.BottomEdge() - 20);
            }
        }
    }
}

TEST_F(ReportBuild, NewPagesKeepToTheirMargins)
{
    // The page the designer gets for an empty template, and one added later.
    Report.DesignReport();
    ASSERT_EQ(Report.TemplatePages.Count(), 1);
    Report.TemplatePages.Add();
    for (int i = 0; i < 2; ++i) {
        TfrPage &page = Page(i);
        EXPECT_NE(page.HonourMargins, 0) << i;
        page.MarginTop = 100;
        Band(page, btReportTitle, 10, 20);
        Memo(page, 10, 10, 100, 17, QStringLiteral("Заголовок"));
    }
    Report.PrepareReport();
    ASSERT_EQ(Report.PreparedPages.Count(), 2);
    for (int i = 0; i < 2; ++i) {
        const auto sheet = DumpSheet(Report.PreparedPages, i);
        ASSERT_EQ(sheet.size(), 1u);
        EXPECT_EQ(sheet[0].Top, 100) << i;
    }
}

TEST_F(ReportBuild, TotalPagesIsKnownOnlyInTwoPasses)
{
    TfrPage &page = Page();
    Band(page, btMasterData, 40, 20, QStringLiteral("3"), 2);
    Memo(page, 10, 40, 100, 17, QStringLiteral("[PAGE#]/[TOTALPAGES]"));
    Report.PrepareReport();
    EXPECT_EQ(AllSheetTexts(Report.PreparedPages), QStringList({"1/0", "2/0", "3/0"}));
    Report.TwoPassBuild = true;
    Report.PrepareReport();
    EXPECT_EQ(AllSheetTexts(Report.PreparedPages), QStringList({"1/3", "2/3", "3/3"}));
    EXPECT_TRUE(Report.TwoPassBuild);
    EXPECT_FALSE(FirstPassRunning);
    // And back to one pass: the total of the last build does not stay.
    Report.TwoPassBuild = false;
    Report.PrepareReport();
    EXPECT_EQ(SheetTexts(Report.PreparedPages, 0), QStringList({"1/0"}));
}

TEST_F(ReportBuild, PrintOnPreviousSheetContinuesUnderTheLastBand)
{
    const auto build = [&](int columns, int records, int height) {
        Report.TemplatePages.Clear();
        TfrPage &first = Page(0);
        first.ColumnCount = columns;
        Band(first, btMasterData, 40, height, QString::number(records));
        Memo(first, 10, 40, 100, 17, QStringLiteral("a[LINE#]"));
        TfrPage &second = Page(1);
        second.PrintOnPreviousSheet = -1;
        Band(second, btReportTitle, 10, 20);
        Memo(second, 10, 10, 100, 17, QStringLiteral("Второй"));
        Report.PrepareReport();
    };
    build(1, 2, 20);
    ASSERT_EQ(Report.PreparedPages.Count(), 1);
    const auto sheet = DumpSheet(Report.PreparedPages, 0);
    ASSERT_EQ(sheet.size(), 3u);
    EXPECT_EQ(sheet[2].Text, QStringLiteral("Второй"));
    EXPECT_EQ(sheet[2].Top, sheet[1].Top + 20);

    // A sheet whose records went on into a second column is not appended to.
    const int rows = (Page(0).BottomEdge() - Page(0).TopEdge()) / 20;
    build(2, rows + 1, 20);
    ASSERT_EQ(Report.PreparedPages.Count(), 2);
    EXPECT_EQ(SheetTexts(Report.PreparedPages, 1), QStringList({"Второй"}));

    // Nor is a full sheet.
    build(1, 1, Page(0).BottomEdge() - Page(0).TopEdge());
    EXPECT_EQ(AllSheetTexts(Report.PreparedPages), QStringList({"a1", "Второй"}));
}

TEST_F(ReportBuild, GroupChangePrintsFootersInnermostFirstAndRestartsLines)
{
    // Records: outer key A A B B B, inner key x y y y z.
    THostRecords records(QStringLiteral("Recs"), 5);
    Engine().Components.Register(QStringLiteral("frmHost"), &records);
    const QString outer = QStringLiteral("AABBB"), inner = QStringLiteral("xyyyz");
    Report.OnGetValue = [&](const QString &name, Variant &value) {
        const int r = std::min(records.RecordNo, 4);
        if (name.compare(QLatin1String("Outer"), Qt::CaseInsensitive) == 0)
            value = Variant(QString(outer[r]));
        else if (name.compare(QLatin1String("Inner"), Qt::CaseInsensitive) == 0)
            value = Variant(QString(inner[r]));
    };
    TfrPage &page = Page();
    Band(page, btGroupHeader, 10, 20, QStringLiteral("Outer"));
    Memo(page, 10, 10, 100, 17, QStringLiteral("H[Outer]"));
    Band(page, btGroupHeader, 40, 20, QStringLiteral("Inner"));
    Memo(page, 10, 40, 100, 17, QStringLiteral("h[Inner]"));
    Band(page, btMasterData, 70, 20, QStringLiteral("Recs"));
    Memo(page, 10, 70, 100, 17, QStringLiteral("[LINE#]"));
    Band(page, btMasterFooter, 100, 20);
    Memo(page, 10, 100, 100, 17, QStringLiteral("MF"));
    Band(page, btGroupFooter, 130, 20);
    Memo(page, 10, 130, 100, 17, QStringLiteral("f"));
    Band(page, btGroupFooter, 160, 20);
    Memo(page, 10, 160, 100, 17, QStringLiteral("F"));

    Report.PrepareReport();
    EXPECT_EQ(SheetTexts(Report.PreparedPages, 0),
              QStringList({"HA", "hx", "1", "MF", "f", "hy", "1",                 // inner change
                           "MF", "f", "F", "HB", "hy", "1", "2", "MF", "f", "hz", // outer change
                           "1", "MF", "f", "F"}));
}

TEST_F(ReportBuild, MasterWithEmptyDetailIsDroppedUnlessFlagged)
{
    THostRecords masters(QStringLiteral("Masters"), 3);
    THostRecords details(QStringLiteral("Details"), 0);
    Engine().Components.Register(QStringLiteral("frmHost"), &masters);
    Engine().Components.Register(QStringLiteral("frmHost"), &details);
    // The second master has two details, the others none.
    details.OnCheckEOF = [&](TfrComponent *, bool &eof) { eof = masters.RecordNo != 1 || details.RecordNo >= 2; };
    for (const bool flagged : {false, true}) {
        Report.TemplatePages.Clear();
        TfrPage &page = Page();
        Band(page, btMasterHeader, 10, 20);
        Memo(page, 10, 10, 100, 17, QStringLiteral("MH"));
        Band(page, btMasterData, 40, 20, QStringLiteral("Masters"), flagged ? 4 : 0);
        Memo(page, 10, 40, 100, 17, QStringLiteral("M[LINE#]"));
        Band(page, btDetailData, 70, 20, QStringLiteral("Details"));
        Memo(page, 10, 70, 100, 17, QStringLiteral("d[LINE#]"));
        Band(page, btMasterFooter, 100, 20);
        Memo(page, 10, 100, 100, 17, QStringLiteral("MF"));
        Report.PrepareReport();
        EXPECT_EQ(SheetTexts(Report.PreparedPages, 0),
                  flagged ? QStringList({"MH", "M1", "M2", "d1", "d2", "M3", "MF"})
                          : QStringList({"MH", "M1", "d1", "d2", "MF"}))
            << flagged;
    }
}

TEST_F(ReportBuild, ColumnsFillInTurnThenANewSheetWithRepeatedHeaders)
{
    TfrPage &page = Page();
    page.ColumnCount = 3;
    const int rows = (page.BottomEdge() - page.TopEdge() - 20) / 20;
    Band(page, btMasterHeader, 10, 20, {}, flags::RepeatOnPages);
    Memo(page, 10, 10, 100, 17, QStringLiteral("Шапка"));
    Band(page, btMasterData, 40, 20, QString::number(3 * rows + 1));
    Memo(page, 10, 40, 100, 17, QStringLiteral("[LINE#]"));
    Report.PrepareReport();
    ASSERT_EQ(Report.PreparedPages.Count(), 2);
    const auto sheet = DumpSheet(Report.PreparedPages, 0);
    const int top = page.TopEdge(), shift = page.ColumnWidth;
    // Every column starts with the header marked for every sheet; column 1
    // under the page's top, columns 2 and 3 at the column top.
    ASSERT_EQ(sheet.size(), static_cast<std::size_t>(3 * (rows + 1)));
    for (int column = 0; column < 3; ++column) {
        const TDumpedObject &header = sheet[column * (rows + 1)];
        const TDumpedObject &line = sheet[column * (rows + 1) + 1];
        EXPECT_EQ(header.Text, QStringLiteral("Шапка"));
        EXPECT_EQ(header.Top, top);
        EXPECT_EQ(header.Left, 10 + column * shift);
        EXPECT_EQ(line.Text, QString::number(column * rows + 1));
        EXPECT_EQ(line.Top, top + 20);
        EXPECT_EQ(line.Left, 10 + column * shift);
    }
    EXPECT_EQ(SheetTexts(Report.PreparedPages, 1), QStringList({"Шапка", QString::number(3 * rows + 1)}));
}

TEST_F(ReportBuild, CompositeReportBuildsTwoReportsIntoOnePageSet)
{
    TfrReport second;
    second.Name = QStringLiteral("frReport2");
    Memo(Page(), 10, 10, 100, 17, QStringLiteral("Первый"));
    second.TemplatePages.Add();
    TfrPage &page = second.TemplatePages.GetPage(0);
    Band(page, btMasterData, 10, 20, QStringLiteral("2"));
    Memo(page, 10, 10, 100, 17, QStringLiteral("Второй [LINE#]"));
    TfrCompositeReport composite;
    composite.ShowProgress = false;
    composite.Reports = {&Report, &second};
    composite.PrepareReport();
    EXPECT_EQ(AllSheetTexts(composite.PreparedPages), QStringList({"Первый", "Второй 1,Второй 2"}));
    EXPECT_EQ(Report.PreparedPages.Count(), 0);

    // The second report's first page continues the first's sheet.
    page.PrintOnPreviousSheet = -1;
    composite.PrepareReport();
    EXPECT_EQ(AllSheetTexts(composite.PreparedPages), QStringList({"Первый,Второй 1,Второй 2"}));
}

TEST_F(ReportBuild, BandScriptsAndTheHostHaveTheirSayBeforePrinting)
{
    TfrPage &page = Page();
    auto &master = Band(page, btMasterData, 40, 20, QStringLiteral("3"));
    // The script's new sheet comes before the band.
    master.ScriptLines = QStringList{QStringLiteral("if [LINE#] = 3 then NewPage(0)")};
    Memo(page, 10, 40, 100, 17, QStringLiteral("[LINE#]"));
    Memo(page, 200, 40, 100, 17, QStringLiteral("[LINE#]")).Name = QStringLiteral("Host");
    // Text the host gives is printed as it is.
    Report.OnEnterRect = [](QStringList &memo, TfrView &view) {
        if (view.Name == QLatin1String("Host"))
            memo = QStringList{QStringLiteral("№")};
    };
    Report.PrepareReport();
    EXPECT_EQ(AllSheetTexts(Report.PreparedPages), QStringList({"1,№,2,№", "3,№"}));
}
