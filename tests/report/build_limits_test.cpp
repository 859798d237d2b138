// Templates whose sheets run out of room: column footers near a sheet's end,
// subreports that show each other, pages without a usable height. Every
// build here runs against a time limit, so a build that would never end
// fails instead of holding up the suite.
#include "build_fixture.h"

#include "report/band.h"

#include <QtCore/QElapsedTimer>

namespace {

constexpr qint64 BuildTimeLimitMs = 20000;

} // namespace

class ReportBuildLimits : public ReportBuild
{
protected:
    // Builds with the progress window's pump watching the clock; returns the
    // message of the error that stopped the build, empty when none did.
    QString BuildInTime()
    {
        QElapsedTimer clock;
        clock.start();
        bool late = false;
        Report.ShowProgress = true;
        Progress.OnPump = [&](TfrReport &report) {
            if (clock.elapsed() > BuildTimeLimitMs) {
                late = true;
                report.Cancelled = true;
            }
        };
        QString error;
        try {
            Report.PrepareReport();
        } catch (const Exception &e) {
            error = e.Message();
        }
        Progress.OnPump = nullptr;
        EXPECT_FALSE(late) << "the build did not end";
        return error;
    }

    void AddSubReport(int page, int target)
    {
        TfrPage &owner = Page(page);
        const int top = 40 + 40 * static_cast<int>(owner.TemplateObjects.size());
        Band(owner, btMasterData, top, 30, QStringLiteral("1"));
        auto sub = std::make_unique<TfrSubReportView>();
        sub->Top = top;
        sub->Width = 200;
        sub->Height = 30;
        sub->PageIndex = target;
        sub->Name = QStringLiteral("SubReport%1").arg(owner.TemplateObjects.size() + 1);
        owner.TemplateObjects.push_back(std::move(sub));
    }
};

TEST_F(ReportBuildLimits, ColumnFooterClosesEveryColumnOfEverySheet)
{
    // What one record of the master band holds.
    enum TRecord {
        recRow,       // one line of text
        recLongText,  // a stretched, breakable text taller than the room left on a sheet
        recSubReport, // a text and a subreport that runs over several sheets
        recGroup,     // a row with a child band, in groups of seven records
        // A framed cell, a stretched, breakable framed text of one and a half
        // sheets, and beside them a line of the row's height or a picture
        // taller than a sheet: each prints clipped above the column footer.
        recTallLine,
        recTallPicture,
    };
    enum TFooterOn { onPage, onSubReport, onBoth };
    // What else the page prints, apart from the column's flow.
    enum TDecor {
        decorNone,
        decorFrame,      // a page header of 22 holding an empty framed text around the sheet
        decorTitle,      // a title holding a text far taller than itself
        decorHalfHeader, // a page header half the sheet less 30, the column footer the other half
    };
    struct TCase
    {
        int Columns;
        bool Breakable;
        int Records; // 0: exactly one column's worth; a subreport's rows per record
        int FooterHeight;
        TRecord Record = recRow;
        TFooterOn FooterOn = onPage;
        TDecor Decor = decorNone;
        int FrameWidth = 0; // of the long text, framed on all sides
        int Adjust = 0;     // of the long text
    };
    const TCase cases[] = {
        {1, false, 50, 20}, {1, true, 50, 20}, {2, false, 50, 20}, {2, true, 50, 20},  {1, false, 0, 20},
        {2, true, 0, 20},   {1, false, 300, 20}, {2, true, 300, 20}, {1, false, 3, 5000}, {2, true, 3, 5000},
        {1, true, 3, 20, recLongText}, {2, true, 3, 20, recLongText}, {2, true, 4, 40, recLongText},
        {1, false, 120, 20, recSubReport, onPage}, {2, false, 120, 20, recSubReport, onPage},
        {1, false, 120, 20, recSubReport, onSubReport}, {2, false, 120, 20, recSubReport, onBoth},
        // The column footer follows the column, not a frame or a tall title.
        {1, false, 60, 20, recRow, onPage, decorFrame}, {2, false, 60, 20, recRow, onPage, decorFrame},
        {2, true, 60, 20, recRow, onPage, decorFrame}, {1, true, 3, 20, recLongText, onPage, decorFrame},
        {2, false, 120, 20, recSubReport, onPage, decorFrame}, {1, false, 60, 20, recGroup, onPage, decorFrame},
        {1, false, 10, 20, recRow, onPage, decorTitle}, {2, true, 10, 20, recRow, onPage, decorTitle},
        {2, false, 10, 20, recGroup, onPage, decorTitle}, {1, true, 60, 20, recGroup},
        // Rows that just fit between a tall page header and the footer.
        {1, false, 3, 0, recRow, onPage, decorHalfHeader}, {2, true, 3, 0, recRow, onPage, decorHalfHeader},
        {1, false, 3, 0, recGroup, onPage, decorHalfHeader},
        // Thick frames, and centred and bottom-aligned texts, split over sheets.
        {1, true, 3, 20, recLongText, onPage, decorNone, 2}, {1, true, 3, 20, recLongText, onPage, decorNone, 80},
        {1, true, 3, 20, recLongText, onPage, decorNone, 90}, {1, true, 3, 20, recLongText, onPage, decorNone, 100},
        {1, true, 3, 20, recLongText, onPage, decorNone, 300}, {1, true, 3, 20, recLongText, onPage, decorNone, 1000},
        {2, true, 3, 40, recLongText, onPage, decorFrame, 90}, {1, true, 3, 20, recLongText, onPage, decorNone, 4, adjust::VCentre},
        {2, true, 3, 20, recLongText, onPage, decorNone, 0, adjust::VBottom},
        // Rows taller than a sheet, with a column footer of 22 or none.
        {1, true, 2, 22, recTallLine}, {2, true, 2, 22, recTallLine}, {1, true, 2, 0, recTallLine},
        {2, true, 3, 0, recTallLine}, {1, true, 2, 22, recTallPicture}, {2, true, 2, 22, recTallPicture},
        {1, true, 2, 0, recTallPicture}, {2, true, 3, 0, recTallPicture},
        {1, true, 2, 22, recTallLine, onPage, decorFrame}, {2, true, 2, 22, recTallPicture, onPage, decorTitle},
    };
    const QString footerText = QStringLiteral("Подвал");
    const QString subFooterText = QStringLiteral("Подвал подотчета");
    const QString titleText = QStringLiteral("Титул");
    const QString groupHeaderText = QStringLiteral("Группа"), groupFooterText = QStringLiteral("Итог группы");
    // Groups of seven records: the key is taken after each record's step.
    Report.OnGetValue = [this](const QString &name, Variant &value) {
        if (name.compare(QLatin1String("Key"), Qt::CaseInsensitive) == 0)
            value = Variant(Page().CurrentLineNumber() / 7);
    };
    for (const TCase &c : cases) {
        Report.TemplatePages.Clear();
        TfrPage &page = Page();
        page.ColumnCount = c.Columns;
        const int room = page.BottomEdge() - page.TopEdge();
        const int footerHeight = c.Decor == decorHalfHeader ? room / 2 : c.FooterHeight;
        const int records = c.Records ? c.Records : (room - footerHeight) / 20;
        // A long text record fills two thirds of an empty sheet: most records
        // begin on one sheet and end on the next.
        const int textLines = room * 2 / 3 / 15;
        const int subLeft = 50;
        QStringList expected;
        // Designed under the other bands, so that they keep their objects.
        constexpr int decorY = 2000;
        if (c.Decor == decorFrame) {
            Band(page, btPageHeader, decorY, 22, {}, flags::OnFirstPage);
            Memo(page, 10, decorY, 730, 1040, QString()).FrameTyp = frame::All;
        } else if (c.Decor == decorTitle) {
            Band(page, btReportTitle, decorY, 30);
            Memo(page, 10, decorY, 300, 900, titleText).FrameTyp = frame::All;
        } else if (c.Decor == decorHalfHeader) {
            Band(page, btPageHeader, decorY, room / 2 - 30, {}, flags::OnFirstPage);
            Memo(page, 10, decorY, 300, room / 2 - 30, QString()).FrameTyp = frame::All;
        }
        if (c.Record == recRow) {
            Band(page, btMasterData, 40, 20, QString::number(records), c.Breakable ? flags::Breakable : 0);
            Memo(page, 10, 40, 100, 17, QStringLiteral("[LINE#]"));
            for (int n = 1; n <= records; ++n)
                expected << QString::number(n);
        } else if (c.Record == recLongText) {
            Band(page, btMasterData, 40, 20, QString::number(records), flags::Stretched | flags::Breakable);
            QStringList lines;
            for (int k = 1; k <= textLines; ++k)
                lines << QStringLiteral("[LINE#].%1").arg(k);
            // As wide as its lines need inside the frame.
            TfrMemoView &text = Memo(page, 10, 40, 300 + c.FrameWidth, 17, lines.join(u'\n'));
            text.Flags |= flags::Stretched;
            text.FrameWidth = c.FrameWidth;
            text.FrameTyp = c.FrameWidth ? frame::All : 0;
            text.Adjust = c.Adjust;
            for (int n = 1; n <= records; ++n)
                for (int k = 1; k <= textLines; ++k)
                    expected << QStringLiteral("%1.%2").arg(n).arg(k);
        } else if (c.Record == recTallLine || c.Record == recTallPicture) {
            Band(page, btMasterData, 40, 20, QString::number(records), flags::Stretched | flags::Breakable);
            Memo(page, 10, 40, 60, 17, QStringLiteral("[LINE#]")).FrameTyp = frame::All;
            const int tallLines = room * 3 / 2 / 15;
            QStringList lines;
            for (int k = 1; k <= tallLines; ++k)
                lines << QStringLiteral("[LINE#].%1").arg(k);
            TfrMemoView &text = Memo(page, 80, 40, 250, 17, lines.join(u'\n'));
            text.Flags |= flags::Stretched | flags::WordWrap;
            text.FrameTyp = frame::All;
            if (c.Record == recTallLine) {
                auto line = std::make_unique<TfrLineView>();
                line->Left = 340;
                line->Top = 40;
                line->Height = 20;
                line->Flags = flags::Stretched;
                page.TemplateObjects.push_back(std::move(line));
            } else {
                auto picture = std::make_unique<TfrPictureView>();
                picture->Left = 340;
                picture->Top = 40;
                picture->Width = 10;
                picture->Height = room + 100;
                page.TemplateObjects.push_back(std::move(picture));
            }
            for (int n = 1; n <= records; ++n) {
                expected << QString::number(n);
                for (int k = 1; k <= tallLines; ++k)
                    expected << QStringLiteral("%1.%2").arg(n).arg(k);
            }
        } else if (c.Record == recGroup) {
            Band(page, btGroupHeader, 40, 20, QStringLiteral("Key"));
            Memo(page, 10, 40, 100, 17, groupHeaderText);
            Band(page, btMasterData, 70, 20, QString::number(records), c.Breakable ? flags::Breakable : 0);
            Memo(page, 10, 70, 100, 17, QStringLiteral("[CURRENT#]"));
            // A child: a data band without source prints with every record.
            Band(page, btMasterData, 100, 20, {}, c.Breakable ? flags::Breakable : 0);
            Memo(page, 10, 100, 100, 17, QStringLiteral("Дочерняя"));
            Band(page, btGroupFooter, 130, 20);
            Memo(page, 10, 130, 100, 17, groupFooterText);
            for (int n = 1; n <= records; ++n)
                expected << QString::number(n) << QStringLiteral("Дочерняя");
        } else {
            Band(page, btMasterData, 40, 50, QStringLiteral("2"));
            Memo(page, 10, 40, 100, 17, QStringLiteral("Запись [LINE#]"));
            auto sub = std::make_unique<TfrSubReportView>();
            sub->Left = subLeft;
            sub->Top = 60;
            sub->Width = 200;
            sub->Height = 30;
            sub->PageIndex = 1;
            page.TemplateObjects.push_back(std::move(sub));
            TfrPage &target = Page(1);
            Band(target, btMasterData, 10, 20, QString::number(records));
            Memo(target, 0, 10, 150, 17, QStringLiteral("[LINE#]"));
            if (c.FooterOn != onPage) {
                Band(target, btColumnFooter, 100, footerHeight);
                Memo(target, 0, 100, 150, 17, subFooterText);
            }
            for (int n = 1; n <= 2; ++n) {
                expected << QStringLiteral("Запись %1").arg(n);
                for (int k = 1; k <= records; ++k)
                    expected << QString::number(k);
            }
        }
        const bool pageFooter = footerHeight > 0 && (c.Record != recSubReport || c.FooterOn != onSubReport);
        if (pageFooter) {
            Band(page, btColumnFooter, 200, footerHeight);
            Memo(page, 10, 200, 100, 17, footerText);
        }
        const QString trace = QStringLiteral("columns %1 breakable %2 records %3 footer %4 record %5 footer on %6 decor "
                                             "%7 frame %8 adjust %9")
                                  .arg(c.Columns).arg(c.Breakable).arg(records).arg(footerHeight).arg(c.Record)
                                  .arg(c.FooterOn).arg(c.Decor).arg(c.FrameWidth).arg(c.Adjust);
        SCOPED_TRACE(trace.toStdString());
        ASSERT_EQ(BuildInTime(), QString());

        const int sheets = Report.PreparedPages.Count();
        const bool tall = c.Record == recTallLine || c.Record == recTallPicture;
        const bool severalSheets = c.Record == recLongText || tall || c.Record == recSubReport || c.Decor == decorHalfHeader;
        ASSERT_GE(sheets, severalSheets ? 2 : 1);
        const int step = page.ColumnWidth + page.ColumnGap;
        QStringList rows;
        int groupHeaders = 0, groupFooters = 0;
        for (int i = 0; i < sheets; ++i) {
            // Per column: the lowest edge of what its flow holds and the footers.
            std::map<int, int> lowest;
            std::map<int, std::vector<int>> footers;
            for (const TDumpedObject &o : DumpSheet(Report.PreparedPages, i)) {
                const int column = (o.Left - 10) / step;
                EXPECT_NE(o.Text, subFooterText) << "a subreport page's column footer, sheet " << i;
                if (o.Text == footerText) {
                    footers[column].push_back(o.Top);
                    continue;
                }
                // A frame or a title is no part of the column; a row's line or
                // picture is.
                const bool memo = o.Kind == QLatin1String("memo");
                if ((memo && o.Text.isEmpty()) || o.Text == titleText)
                    continue;
                groupHeaders += o.Text == groupHeaderText;
                groupFooters += o.Text == groupFooterText;
                if (memo && o.Text != groupHeaderText && o.Text != groupFooterText)
                    rows << o.Text.split(u'|');
                if (!memo) {
                    EXPECT_TRUE(tall) << o.Kind.toStdString() << ", sheet " << i;
                    EXPECT_LE(o.Top + o.Height, page.BottomEdge() - (pageFooter ? footerHeight : 0)) << "sheet " << i;
                }
                lowest[column] = std::max(lowest[column], o.Top + o.Height);
                EXPECT_TRUE(footers[column].empty()) << "printed after the footer, sheet " << i;
                // Subreport rows stand under their object on every sheet.
                if (c.Record == recSubReport && !o.Text.startsWith(QStringLiteral("Запись"))) {
                    EXPECT_EQ((o.Left - subLeft) % step, 0) << o.Text.toStdString() << " at " << o.Left << ", sheet " << i;
                }
            }
            // A footer taller than an empty sheet is left out.
            const bool fits = pageFooter && footerHeight <= room;
            for (const auto &[column, bottom] : lowest) {
                ASSERT_EQ(footers[column].size(), fits ? 1u : 0u) << "sheet " << i << " column " << column;
                if (!fits)
                    continue;
                // Right under the column's last band, whose text is 3 short of it.
                EXPECT_GE(footers[column][0], bottom) << "sheet " << i << " column " << column;
                EXPECT_LE(footers[column][0], bottom + 3) << "sheet " << i << " column " << column;
                EXPECT_LE(footers[column][0] + footerHeight, page.BottomEdge()) << "sheet " << i;
            }
            EXPECT_EQ(footers.size(), lowest.size()) << "a footer under an empty column, sheet " << i;
            // Every sheet but the last fills all its columns.
            if (i < sheets - 1 && c.Record == recRow) {
                EXPECT_EQ(static_cast<int>(lowest.size()), c.Columns) << "sheet " << i;
            }
        }
        EXPECT_EQ(rows.join(u',').toStdString(), expected.join(u',').toStdString());
        if (c.Record == recGroup) {
            EXPECT_GE(groupHeaders, records / 7);
            EXPECT_EQ(groupHeaders, groupFooters);
        }
        if (c.Records == 0) {
            EXPECT_EQ(sheets, 1);
        }
        if (c.Record == recLongText || tall) {
            // A first pass, which writes nothing, counts the same sheets.
            Report.TwoPassBuild = true;
            ASSERT_EQ(BuildInTime(), QString());
            Report.TwoPassBuild = false;
            EXPECT_EQ(Engine().TotalPagesCount, sheets);
            EXPECT_EQ(Report.PreparedPages.Count(), sheets);
        }
    }
}

TEST_F(ReportBuildLimits, SubReportRingsAreRefusedByName)
{
    struct TCase
    {
        std::vector<std::pair<int, int>> Shows; // page, the page its subreport shows
        QString Ring;                           // empty: the report builds
    };
    const TCase cases[] = {
        {{{0, 1}, {1, 2}, {2, 1}}, QStringLiteral("Стр.2 → Стр.3 → Стр.2")},
        // A damaged template: the page named is not there.
        {{{0, 1}, {1, 5}}, QStringLiteral("SubReport2 на странице Стр.2 показывает страницу Стр.6")},
        {{{0, -3}}, QStringLiteral("SubReport2 на странице Стр.1 показывает страницу Стр.-2")},
        {{{0, 1}, {1, 2}, {2, 3}, {3, 1}}, QStringLiteral("Стр.2 → Стр.3 → Стр.4 → Стр.2")},
        {{{0, 1}, {1, 0}}, QStringLiteral("Стр.1 → Стр.2 → Стр.1")},
        // A chain and a page showing itself are no rings.
        {{{0, 1}, {1, 2}, {2, 2}}, QString()},
    };
    for (const TCase &c : cases) {
        Report.TemplatePages.Clear();
        for (const auto &[page, target] : c.Shows)
            AddSubReport(page, target);
        SCOPED_TRACE(c.Ring.toStdString());
        const QString error = BuildInTime();
        if (c.Ring.isEmpty()) {
            EXPECT_EQ(error, QString());
            EXPECT_GE(Report.PreparedPages.Count(), 1);
        } else {
            EXPECT_TRUE(error.contains(c.Ring)) << error.toStdString();
        }
        for (int i = 0; i < Report.TemplatePages.Count(); ++i)
            EXPECT_FALSE(Report.TemplatePages.GetPage(i).RunModelBuilt);
    }
}

TEST_F(ReportBuildLimits, PageWithoutRoomEndsTheBuildWithAMessage)
{
    enum TLack {
        lackMargins,
        lackFooter,
        lackHeaders,
        lackRowRoom,    // a page header half the sheet less 30, the column footer the other half, a row of 40
                        // (breakable: a picture of 40, which prints clipped)
        lackSubRowRoom, // the same with the row in a subreport
        lackLineRoom,   // a split text framed so thick that not one line fits a sheet
        // The band alone is taller than an empty sheet's room above a column
        // footer: a fixed band of 1100, or a stretched one that grows past it.
        lackTallBand,
        lackGrowingBand,
    };
    struct TCase
    {
        TLack Lack;
        bool Breakable;
        int Columns = 1;
    };
    const TCase cases[] = {
        {lackMargins, true},     {lackFooter, true},     {lackHeaders, true},       {lackMargins, false},
        {lackFooter, false},     {lackHeaders, false},   {lackRowRoom, false},      {lackRowRoom, true},
        {lackRowRoom, false, 2}, {lackRowRoom, true, 2}, {lackSubRowRoom, false},   {lackSubRowRoom, false, 2},
        {lackLineRoom, true},    {lackLineRoom, true, 2},   {lackTallBand, false},     {lackTallBand, false, 2},
        {lackGrowingBand, false}, {lackGrowingBand, false, 2},
    };
    for (const TCase &c : cases) {
        Report.TemplatePages.Clear();
        TfrPage &page = Page();
        page.HonourMargins = -1;
        page.ColumnCount = c.Columns;
        const int sheet = page.PrinterInfo.PageHeight;
        const int room = page.BottomEdge() - page.TopEdge();
        if (c.Lack == lackMargins) {
            page.MarginTop = 600;
            page.MarginBottom = 600;
        } else if (c.Lack == lackFooter) {
            Band(page, btPageFooter, 900, sheet + 100);
            Memo(page, 10, 900, 100, 17, QStringLiteral("Подвал страницы"));
        } else if (c.Lack == lackHeaders) {
            Band(page, btPageHeader, 0, sheet / 2, {}, flags::OnFirstPage);
            Memo(page, 10, 0, 100, 17, QStringLiteral("Шапка"));
            Band(page, btColumnFooter, 900, sheet / 2);
            Memo(page, 10, 900, 100, 17, QStringLiteral("Подвал"));
        } else if (c.Lack == lackTallBand || c.Lack == lackGrowingBand) {
            Band(page, btColumnFooter, 900, 22);
            Memo(page, 10, 900, 100, 17, QStringLiteral("Подвал"));
        } else if (c.Lack != lackLineRoom) {
            Band(page, btPageHeader, 0, room / 2 - 30, {}, flags::OnFirstPage);
            Memo(page, 10, 0, 100, 17, QStringLiteral("Шапка"));
            Band(page, btColumnFooter, 900, room / 2);
            Memo(page, 10, 900, 100, 17, QStringLiteral("Подвал"));
        }
        if (c.Lack == lackRowRoom) {
            Band(page, btMasterData, 5000, 40, QStringLiteral("5"), c.Breakable ? flags::Breakable : 0);
            if (c.Breakable) {
                // A picture does not split.
                auto picture = std::make_unique<TfrPictureView>();
                picture->Top = 5000;
                picture->Width = 100;
                picture->Height = 40;
                page.TemplateObjects.push_back(std::move(picture));
            } else {
                Memo(page, 10, 5000, 100, 40, QStringLiteral("[LINE#]")).FrameTyp = frame::All;
            }
        } else if (c.Lack == lackSubRowRoom) {
            Band(page, btMasterData, 5000, 30, QStringLiteral("1"));
            auto sub = std::make_unique<TfrSubReportView>();
            sub->Top = 5000;
            sub->Width = 200;
            sub->Height = 30;
            sub->PageIndex = 1;
            page.TemplateObjects.push_back(std::move(sub));
            Band(Page(1), btMasterData, 10, 40, QStringLiteral("5"));
            Memo(Page(1), 0, 10, 150, 40, QStringLiteral("[LINE#]")).FrameTyp = frame::All;
        } else if (c.Lack == lackLineRoom) {
            Band(page, btMasterData, 5000, 20, QStringLiteral("2"), flags::Stretched | flags::Breakable);
            TfrMemoView &text = Memo(page, 10, 5000, 300, 17, QStringLiteral("один\nдва\nтри"));
            text.Flags |= flags::Stretched;
            text.FrameTyp = frame::All;
            text.FrameWidth = 3000;
        } else if (c.Lack == lackTallBand) {
            Band(page, btMasterData, 5000, 1100, QStringLiteral("5"), 0, QStringLiteral("Строки"));
            Memo(page, 10, 5000, 100, 17, QStringLiteral("[LINE#]"));
        } else if (c.Lack == lackGrowingBand) {
            Band(page, btMasterData, 5000, 20, QStringLiteral("5"), flags::Stretched, QStringLiteral("Строки"));
            QStringList lines;
            for (int k = 0; k < room / 15 + 5; ++k)
                lines << QStringLiteral("[LINE#]");
            Memo(page, 10, 5000, 100, 17, lines.join(u'\n')).Flags |= flags::Stretched;
        } else {
            Band(page, btMasterData, 5000, 20, QStringLiteral("5"), c.Breakable ? flags::Breakable : 0);
            Memo(page, 10, 5000, 100, 17, QStringLiteral("[LINE#]"));
        }
        SCOPED_TRACE(QStringLiteral("lack %1 breakable %2 columns %3").arg(c.Lack).arg(c.Breakable).arg(c.Columns).toStdString());
        const QString error = BuildInTime();
        if (c.Lack == lackRowRoom && c.Breakable) {
            // Part of the row can be placed: the picture, which does not
            // split, prints on each sheet clipped above the column footer.
            EXPECT_EQ(error, QString());
            int pictures = 0;
            for (int i = 0; i < Report.PreparedPages.Count(); ++i) {
                for (const TDumpedObject &o : DumpSheet(Report.PreparedPages, i)) {
                    if (o.Kind != QLatin1String("picture"))
                        continue;
                    ++pictures;
                    EXPECT_LE(o.Top + o.Height, page.BottomEdge() - room / 2) << "sheet " << i;
                }
            }
            EXPECT_EQ(pictures, 5);
            continue;
        }
        // Where the band alone is too tall, the message names it and says how
        // to mend it; else margins, headers and footers are to blame.
        if (c.Lack == lackTallBand || c.Lack == lackGrowingBand) {
            EXPECT_EQ(error, QStringLiteral("Полоса Строки (Master data) на странице Стр.1 выше места для данных на пустом "
                                            "листе: она не помещается над подвалом колонки. Отметьте у полосы "
                                            "«Разрываемый», чтобы она продолжалась на следующих листах. Отчет не "
                                            "построен."));
        } else {
            EXPECT_EQ(error, QStringLiteral("На листе страницы Стр.1 нет места для данных: поля, колонтитулы и заголовки "
                                            "занимают его целиком. Отчет не построен."));
        }
        EXPECT_LT(Report.PreparedPages.Count(), 5);
    }
}

TEST_F(ReportBuildLimits, DamagedMarginsHoldTheColumnWidthAtTheRangesEnd)
{
    // Margins of a damaged template: the page is four thousand million
    // pixels wide, more than a column width can say.
    constexpr int far = 2'000'000'000;
    const std::pair<int, int> cases[] = {{1, 0}, {2, 0}, {2, INT_MAX}, {3, 0}}; // columns, gap
    for (const auto &[columns, gap] : cases) {
        Report.TemplatePages.Clear();
        TfrPage &page = Page();
        page.ColumnCount = columns;
        page.ColumnGap = gap;
        page.MarginLeft = -far;
        page.MarginRight = -far;
        const int rows = (page.BottomEdge() - page.TopEdge()) / 20;
        Band(page, btMasterData, 40, 20, QString::number(rows * columns));
        Memo(page, 10, 40, 100, 17, QStringLiteral("[LINE#]"));
        SCOPED_TRACE(QStringLiteral("columns %1 gap %2").arg(columns).arg(gap).toStdString());
        ASSERT_EQ(BuildInTime(), QString());
        const std::int64_t width = (std::int64_t{page.PrinterInfo.PageWidth} + 2 * std::int64_t{far}) / columns;
        EXPECT_EQ(page.ColumnWidth, std::min<std::int64_t>(width, INT_MAX));
        ASSERT_EQ(Report.PreparedPages.Count(), 1);
        // Each column stands right of the one before, or at the range's end.
        int left = INT_MIN, printed = 0;
        for (const TDumpedObject &o : DumpSheet(Report.PreparedPages, 0)) {
            EXPECT_GE(o.Left, left);
            left = o.Left;
            ++printed;
        }
        EXPECT_EQ(printed, rows * columns);
    }
}

TEST_F(ReportBuildLimits, DamagedTopAndBottomMarginsEndTheBuild)
{
    // Margins of a damaged template at the ends of the int range, with a
    // column footer and a breakable band: the build ends, with pages or with
    // the no-room message, and no sum on the way wraps round.
    const std::pair<int, int> cases[] = {{INT_MAX, 0}, {INT_MIN, 0}, {0, INT_MAX}, {0, INT_MIN},
                                         {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}}; // top, bottom
    for (const auto &[top, bottom] : cases) {
        for (const bool breakable : {false, true}) {
            Report.TemplatePages.Clear();
            TfrPage &page = Page();
            page.MarginTop = top;
            page.MarginBottom = bottom;
            Band(page, btMasterData, 40, 20, QStringLiteral("3"), breakable ? flags::Breakable : 0);
            Memo(page, 10, 40, 100, 17, QStringLiteral("[LINE#]"));
            Band(page, btColumnFooter, 100, 20);
            Memo(page, 10, 100, 100, 17, QStringLiteral("Подвал"));
            SCOPED_TRACE(QStringLiteral("top %1 bottom %2 breakable %3").arg(top).arg(bottom).arg(breakable).toStdString());
            const QString error = BuildInTime();
            if (!error.isEmpty()) {
                EXPECT_TRUE(error.contains(QStringLiteral("нет места"))) << error.toStdString();
                continue;
            }
            ASSERT_EQ(Report.PreparedPages.Count(), 1);
            EXPECT_EQ(SheetTexts(Report.PreparedPages, 0), QStringList({"1", "2", "3", "Подвал"}));
        }
    }
}
