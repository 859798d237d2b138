#include "build_fixture.h"

#include "report/band.h"

namespace {

QString NumberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("строка %1").arg(i);
    return lines.join(u'\n');
}

} // namespace

TEST_F(ReportBuild, StretchedBandGrowsToItsText)
{
    TfrPage &page = Page();
    Band(page, btReportTitle, 10, 17, {}, flags::Stretched);
    Memo(page, 10, 10, 100, 17, QStringLiteral("[Text]\nдва\nтри")).Flags |= flags::Stretched;
    auto line = std::make_unique<TfrLineView>();
    line->Left = 200;
    line->Top = 10;
    line->Width = 0;
    line->Height = 17;
    line->Flags = flags::Stretched;
    page.TemplateObjects.push_back(std::move(line));
    Band(page, btReportSummary, 60, 20);
    Memo(page, 10, 60, 100, 17, QStringLiteral("Ниже"));
    Report.OnGetValue = [](const QString &name, Variant &value) {
        if (name == QLatin1String("Text"))
            value = Variant(QStringLiteral("один"));
    };
    Report.PrepareReport();
    const auto sheet = DumpSheet(Report.PreparedPages, 0);
    ASSERT_EQ(sheet.size(), 3u);
    const int top = page.TopEdge();
    // Three lines of 15 pixels where one was designed: 30 more.
    EXPECT_EQ(sheet[0].Kind, QStringLiteral("memo"));
    EXPECT_EQ(sheet[0].Text.count(u'|'), 2);
    EXPECT_EQ(sheet[0].Height, 47);
    EXPECT_EQ(sheet[1].Kind, QStringLiteral("line"));
    EXPECT_EQ(sheet[1].Height, 47);
    EXPECT_EQ(sheet[2].Text, QStringLiteral("Ниже"));
    EXPECT_EQ(sheet[2].Top, top + 47);
    EXPECT_EQ(sheet[0].Text, QStringLiteral("один|два|три"));
}

TEST_F(ReportBuild, BreakableTextSplitsOverSheetsWithNothingLostOrDoubled)
{
    TfrPage &page = Page();
    Band(page, btReportTitle, 10, 20);
    Memo(page, 10, 10, 100, 17, QStringLiteral("Заголовок"));
    Band(page, btMasterData, 40, 40, QStringLiteral("1"), flags::Stretched | flags::Breakable);
    Memo(page, 10, 40, 300, 17, NumberedLines(150)).Flags |= flags::Stretched;
    Memo(page, 400, 60, 100, 17, QStringLiteral("Рядом"));
    Band(page, btReportSummary, 100, 20);
    Memo(page, 10, 100, 100, 17, QStringLiteral("Конец"));
    Report.PrepareReport();
    ASSERT_GE(Report.PreparedPages.Count(), 3);
    QStringList printed;
    int beside = 0;
    for (int i = 0; i < Report.PreparedPages.Count(); ++i) {
        for (const TDumpedObject &o : DumpSheet(Report.PreparedPages, i)) {
            if (o.Text.startsWith(QStringLiteral("строка"))) {
                EXPECT_LE(o.Top + o.Height, page.BottomEdge()) << i;
                printed << o.Text.split(u'|');
            } else if (o.Text == QStringLiteral("Рядом")) {
                ++beside;
            } else {
                // No empty remnant of the text is printed.
                EXPECT_FALSE(o.Text.isEmpty()) << i;
            }
        }
    }
    EXPECT_EQ(printed, NumberedLines(150).split(u'\n'));
    EXPECT_EQ(beside, 1);
    const QStringList last = SheetTexts(Report.PreparedPages, Report.PreparedPages.Count() - 1);
    EXPECT_EQ(last.last(), QStringLiteral("Конец"));
}

TEST_F(ReportBuild, RemnantUnderHalfALineIsDropped)
{
    TfrPage &page = Page();
    const int avail = page.BottomEdge() - page.TopEdge() - 2;
    const int lines = (avail - 3) / 15; // all lines fit on the sheet, with 6 pixels left over
    Band(page, btMasterData, 40, avail - 10, QStringLiteral("1"), flags::Stretched | flags::Breakable);
    Memo(page, 10, 40, 300, 17, NumberedLines(lines)).Flags |= flags::Stretched;
    // Starts less than a line above the limit, so it goes to the next sheet.
    Memo(page, 400, 40 + avail - 14, 100, 17, QStringLiteral("Подпись"));
    Report.PrepareReport();
    ASSERT_EQ(Report.PreparedPages.Count(), 2);
    const QStringList first = SheetTexts(Report.PreparedPages, 0);
    ASSERT_EQ(first.size(), 1);
    EXPECT_EQ(first[0].split(u'|'), NumberedLines(lines).split(u'\n'));
    EXPECT_EQ(SheetTexts(Report.PreparedPages, 1), QStringList({"Подпись"}));
}

TEST_F(ReportBuild, BreakableBandUnderAFullSheetKeepsItsLayoutOnTheNext)
{
    // The title leaves nothing, or less, for the band's split on the first sheet.
    for (const int left : {-5, -1, 0}) {
        Report.TemplatePages.Clear();
        TfrPage &page = Page();
        Band(page, btReportTitle, 0, page.BottomEdge() - page.TopEdge() - 2 - left);
        Memo(page, 10, 0, 100, 17, QStringLiteral("Титул"));
        Band(page, btMasterData, 2000, 40, QStringLiteral("1"), flags::Breakable);
        Memo(page, 10, 2005, 100, 17, QStringLiteral("Строка"));
        Memo(page, 10, 2020, 100, 17, QStringLiteral("Ниже"));
        Report.PrepareReport();
        ASSERT_EQ(Report.PreparedPages.Count(), 2) << left;
        const auto next = DumpSheet(Report.PreparedPages, 1);
        ASSERT_EQ(next.size(), 2u) << left;
        EXPECT_EQ(next[0].Top, page.TopEdge() + 5) << left;
        EXPECT_EQ(next[1].Top, page.TopEdge() + 20) << left;
    }
}

TEST_F(ReportBuild, TooTallObjectsPrintClippedOnAFreshSheetSoTheBuildEnds)
{
    // A picture taller than a sheet in a breakable band, and a text band
    // taller than a sheet that may not break.
    TfrPage &page = Page();
    const int tall = 2 * (page.BottomEdge() - page.TopEdge());
    Band(page, btMasterData, 40, tall, QStringLiteral("1"), flags::Breakable);
    auto picture = std::make_unique<TfrPictureView>();
    picture->Top = 40;
    picture->Width = 100;
    picture->Height = tall;
    page.TemplateObjects.push_back(std::move(picture));
    Band(page, btReportSummary, tall + 100, tall);
    Memo(page, 10, tall + 100, 100, tall, QStringLiteral("Итог"));
    Report.PrepareReport();
    EXPECT_LE(Report.PreparedPages.Count(), 3);
    int pictures = 0;
    bool summary = false;
    for (int i = 0; i < Report.PreparedPages.Count(); ++i) {
        for (const TDumpedObject &o : DumpSheet(Report.PreparedPages, i)) {
            pictures += o.Kind == QLatin1String("picture");
            summary = summary || o.Text == QStringLiteral("Итог");
        }
    }
    EXPECT_EQ(pictures, 1);
    EXPECT_TRUE(summary);
}

TEST_F(ReportBuild, AnObjectUnderASplitTextMovesByTheCutsCarry)
{
    // A text of fixed height, too tall for the sheet, with a cell 5 under
    // it; the cut leaves the carry d = a - cut + 1 of the room a it had.
    TfrPage &page = Page();
    const int avail = page.BottomEdge() - page.TopEdge() - 2;
    const int lines = avail / 15 + 10;
    const int textHeight = lines * 15 + 2;
    Band(page, btMasterData, 40, textHeight + 30, QStringLiteral("1"), flags::Breakable);
    Memo(page, 10, 40, 300, textHeight, NumberedLines(lines));
    Memo(page, 10, 40 + textHeight + 5, 100, 17, QStringLiteral("Под текстом"));
    Report.PrepareReport();
    ASSERT_EQ(Report.PreparedPages.Count(), 2);
    const auto first = DumpSheet(Report.PreparedPages, 0);
    ASSERT_EQ(first.size(), 1u);
    const int a = avail + 1, cut = first[0].Height;
    EXPECT_EQ(cut, (a - 3) / 15 * 15 + 3);
    const auto next = DumpSheet(Report.PreparedPages, 1);
    ASSERT_EQ(next.size(), 2u);
    EXPECT_EQ(next[1].Text, QStringLiteral("Под текстом"));
    EXPECT_EQ(next[1].Top, page.TopEdge() + textHeight + 5 + (a - cut + 1) - avail);
    // The rest of the text keeps the height its lines need.
    EXPECT_EQ(next[0].Height, (lines - (cut - 3) / 15) * 15 + 3);
}

TEST_F(ReportBuild, SubreportsRunSideBySide)
{
    TfrPage &main = Page(0);
    Band(main, btMasterData, 40, 30, QStringLiteral("1"));
    for (const auto &[x, target] : {std::pair{10, 1}, std::pair{300, 2}}) {
        auto sub = std::make_unique<TfrSubReportView>();
        sub->Left = x;
        sub->Top = 40;
        sub->Width = 200;
        sub->Height = 30;
        sub->PageIndex = target;
        main.TemplateObjects.push_back(std::move(sub));
    }
    Band(main, btReportSummary, 100, 20);
    Memo(main, 10, 100, 100, 17, QStringLiteral("После"));
    const int rows = (main.BottomEdge() - main.TopEdge()) / 20;
    for (const auto &[index, count, text] :
         {std::tuple{1, 3, QStringLiteral("левый")}, std::tuple{2, rows + 2, QStringLiteral("правый")}}) {
        TfrPage &sub = Page(index);
        Band(sub, btMasterData, 10, 20, QString::number(count));
        Memo(sub, 0, 10, 150, 17, text + QStringLiteral(" [LINE#]"));
    }
    Report.PrepareReport();
    ASSERT_EQ(Report.PreparedPages.Count(), 2);
    const auto first = DumpSheet(Report.PreparedPages, 0);
    const int top = main.TopEdge();
    int left = 0, right = 0;
    for (const TDumpedObject &o : first) {
        if (o.Text.startsWith(QStringLiteral("левый"))) {
            EXPECT_EQ(o.Left, 10);
            EXPECT_EQ(o.Top, top + 20 * left);
            ++left;
        } else if (o.Text.startsWith(QStringLiteral("правый"))) {
            EXPECT_EQ(o.Left, 300);
            EXPECT_EQ(o.Top, top + 20 * right);
            ++right;
        }
    }
    EXPECT_EQ(left, 3);
    EXPECT_EQ(right, rows);
    // The longer one goes on at the top of the next sheet; the band ends under it.
    const auto second = DumpSheet(Report.PreparedPages, 1);
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(second[0].Text, QStringLiteral("правый %1").arg(rows + 1));
    EXPECT_EQ(second[0].Top, top);
    EXPECT_EQ(second[2].Text, QStringLiteral("После"));
    EXPECT_EQ(second[2].Top, top + 40);
}

// Outside every band the objects keep the template's order: a text after a
// subreport prints as well as one before it, and only the subreport runs
// its page.
TEST_F(ReportBuild, TextsOutsideEveryBandPrintAroundAnUnbandedSubreport)
{
    TfrPage &main = Page(0);
    Memo(main, 10, 20, 100, 17, QStringLiteral("До"));
    auto sub = std::make_unique<TfrSubReportView>();
    sub->Left = 10;
    sub->Top = 60;
    sub->Width = 200;
    sub->Height = 30;
    sub->PageIndex = 1;
    main.TemplateObjects.push_back(std::move(sub));
    Memo(main, 300, 20, 100, 17, QStringLiteral("После"));
    Band(Page(1), btMasterData, 10, 20, QStringLiteral("2"));
    Memo(Page(1), 0, 10, 150, 17, QStringLiteral("строка [LINE#]"));
    Report.PrepareReport();
    ASSERT_EQ(Report.PreparedPages.Count(), 1);
    const auto sheet = DumpSheet(Report.PreparedPages, 0);
    ASSERT_EQ(sheet.size(), 4u);
    EXPECT_EQ(sheet[0].Text, QStringLiteral("До"));
    EXPECT_EQ(sheet[1].Text, QStringLiteral("После"));
    EXPECT_EQ(sheet[1].Left, 300);
    EXPECT_EQ(sheet[1].Top, 20);
    EXPECT_EQ(sheet[2].Text, QStringLiteral("строка 1"));
    EXPECT_EQ(sheet[2].Top, 60);
    EXPECT_EQ(sheet[3].Text, QStringLiteral("строка 2"));
}

TEST_F(ReportBuild, SubreportBandTallerThanASheetEnds)
{
    Band(Page(0), btMasterData, 40, 30, QStringLiteral("1"));
    auto sub = std::make_unique<TfrSubReportView>();
    sub->Top = 40;
    sub->Width = 200;
    sub->Height = 30;
    sub->PageIndex = 1;
    Page(0).TemplateObjects.push_back(std::move(sub));
    TfrPage &target = Page(1);
    const int tall = 2 * (target.BottomEdge() - target.TopEdge());
    Band(target, btMasterData, 10, tall, QStringLiteral("2"));
    Memo(target, 0, 10, 150, 17, QStringLiteral("высокая [LINE#]"));
    Report.PrepareReport();
    EXPECT_EQ(AllSheetTexts(Report.PreparedPages), QStringList({"высокая 1", "высокая 2"}));
}

TEST_F(ReportBuild, ManySubreportsInOneBandAllRun)
{
    Band(Page(0), btMasterData, 40, 30, QStringLiteral("1"));
    constexpr int count = 40;
    for (int i = 0; i < count; ++i) {
        auto sub = std::make_unique<TfrSubReportView>();
        sub->Left = i * 15;
        sub->Top = 40;
        sub->Width = 15;
        sub->Height = 30;
        sub->PageIndex = i + 1;
        Page(0).TemplateObjects.push_back(std::move(sub));
        Band(Page(i + 1), btMasterData, 10, 20, QStringLiteral("1"));
        Memo(Page(i + 1), 0, 10, 15, 17, QStringLiteral("x"));
    }
    Report.PrepareReport();
    EXPECT_EQ(SheetTexts(Report.PreparedPages, 0).size(), count);
}

TEST_F(ReportBuild, CrossColumnsWiderThanTheSheetGoOnAtTheSameHeight)
{
    TfrPage &page = Page();
    Band(page, btMasterData, 40, 20, QStringLiteral("2"));
    auto &header = Band(page, btCrossHeader, 0, 0, {}, flags::RepeatOnPages);
    header.Left = 100;
    header.Width = 100;
    auto &data = Band(page, btCrossData, 0, 0, QStringLiteral("12"));
    data.Left = 200;
    data.Width = 100;
    Memo(page, 100, 40, 90, 17, QStringLiteral("Ш[LINE#]"));
    Memo(page, 200, 40, 90, 17, QStringLiteral("[LINE#].[COLUMN#]"));
    std::vector<int> columns;
    Report.OnPrintColumn = [&](int column, int &width) { columns.push_back(column); };
    Report.PrepareReport();
    const int right = page.RightEdge(), left = page.LeftEdge();
    const int firstSheet = (right - 200) / 100; // columns that fit after the header
    const int later = (right - left - 100) / 100;
    ASSERT_GE(Report.PreparedPages.Count(), 2);
    const auto sheet0 = DumpSheet(Report.PreparedPages, 0);
    const auto sheet1 = DumpSheet(Report.PreparedPages, 1);
    ASSERT_EQ(static_cast<int>(sheet0.size()), 2 * (1 + firstSheet));
    EXPECT_EQ(sheet0[0].Text, QStringLiteral("Ш1"));
    EXPECT_EQ(sheet0[0].Left, 100);
    EXPECT_EQ(sheet0[1].Text, QStringLiteral("1.1"));
    EXPECT_EQ(sheet0[1].Left, 200);
    // The next sheet repeats the marked header at the left edge, at the row's height.
    EXPECT_EQ(sheet1[0].Text, QStringLiteral("Ш1"));
    EXPECT_EQ(sheet1[0].Left, left);
    EXPECT_EQ(sheet1[0].Top, sheet0[0].Top);
    EXPECT_EQ(sheet1[1].Text, QStringLiteral("1.%1").arg(firstSheet + 1));
    EXPECT_EQ(sheet1[1].Left, left + 100);
    EXPECT_EQ(sheet1[1].Top, sheet0[1].Top);
    // The second row starts on the first sheet again, one row lower.
    EXPECT_EQ(sheet0[1 + firstSheet].Text, QStringLiteral("Ш2"));
    EXPECT_EQ(sheet0[1 + firstSheet].Top, sheet0[0].Top + 20);
    QStringList all;
    for (int i = 0; i < Report.PreparedPages.Count(); ++i)
        all << SheetTexts(Report.PreparedPages, i);
    EXPECT_EQ(all.filter(QStringLiteral("2.")).size(), 12);
    EXPECT_EQ(columns.size(), 24u);
    EXPECT_EQ(Report.PreparedPages.Count(), 1 + (12 - firstSheet + later - 1) / later);
}

TEST_F(ReportBuild, HiddenMasterBandStillCountsWhenTheSumSaysSo)
{
    TfrPage &page = Page();
    auto &master = Band(page, btMasterData, 40, 20, QStringLiteral("3"), 0, QStringLiteral("MasterData1"));
    master.ScriptLines = QStringList{QStringLiteral("if [LINE#] = 2 then Visible := 0 else Visible := 1")};
    Memo(page, 10, 40, 100, 17, QStringLiteral("[LINE#]"));
    Band(page, btMasterFooter, 80, 20);
    Memo(page, 10, 80, 100, 17, QStringLiteral("[SUM(LINE#, MasterData1, 1)]/[SUM(LINE# + 0, MasterData1)]"));
    Report.PrepareReport();
    EXPECT_EQ(SheetTexts(Report.PreparedPages, 0), QStringList({"1", "3", "6/4"}));
}
