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
    };
    enum TFooterOn { onPage, onSubReport, onBoth };
    struct TCase
    {
        int Columns;
        bool Breakable;
        int Records; // 0: exactly one column's worth; a subreport's rows per record
        int FooterHeight;
        TRecord Record = recRow;
        TFooterOn FooterOn = onPage;
    };
    const TCase cases[] = {
        {1, false, 50, 20}, {1, true, 50, 20}, {2, false, 50, 20}, {2, true, 50, 20},  {1, false, 0, 20},
        {2, true, 0, 20},   {1, false, 300, 20}, {2, true, 300, 20}, {1, false, 3, 5000}, {2, true, 3, 5000},
        {1, true, 3, 20, recLongText}, {2, true, 3, 20, recLongText}, {2, true, 4, 40, recLongText},
        {1, false, 120, 20, recSubReport, onPage}, {2, false, 120, 20, recSubReport, onPage},
        {1, false, 120, 20, recSubReport, onSubReport}, {2, false, 120, 20, recSubReport, onBoth},
    };
    const QString footerText = QStringLiteral("Подвал");
    const QString subFooterText = QStringLiteral("Подвал подотчета");
    for (const TCase &c : cases) {
        Report.TemplatePages.Clear();
        TfrPage &page = Page();
        page.ColumnCount = c.Columns;
        const int room = page.BottomEdge() - page.TopEdge();
        const int records = c.Records ? c.Records : (room - c.FooterHeight) / 20;
        // A long text record fills two thirds of an empty sheet: most records
        // begin on one sheet and end on the next.
        const int textLines = room * 2 / 3 / 15;
        const int subLeft = 50;
        QStringList expected;
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
            Memo(page, 10, 40, 300, 17, lines.join(u'\n')).Flags |= flags::Stretched;
            for (int n = 1; n <= records; ++n)
                for (int k = 1; k <= textLines; ++k)
                    expected << QStringLiteral("%1.%2").arg(n).arg(k);
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
                Band(target, btColumnFooter, 100, c.FooterHeight);
                Memo(target, 0, 100, 150, 17, subFooterText);
            }
            for (int n = 1; n <= 2; ++n) {
                expected << QStringLiteral("Запись %1").arg(n);
                for (int k = 1; k <= records; ++k)
                    expected << QString::number(k);
            }
        }
        const bool pageFooter = c.Record != recSubReport || c.FooterOn != onSubReport;
        if (pageFooter) {
            Band(page, btColumnFooter, 200, c.FooterHeight);
            Memo(page, 10, 200, 100, 17, footerText);
        }
        const QString trace = QStringLiteral("columns %1 breakable %2 records %3 footer %4 record %5 footer on %6")
                                  .arg(c.Columns).arg(c.Breakable).arg(records).arg(c.FooterHeight)
                                  .arg(c.Record).arg(c.FooterOn);
        SCOPED_TRACE(trace.toStdString());
        ASSERT_EQ(BuildInTime(), QString());

        const int sheets = Report.PreparedPages.Count();
        ASSERT_GE(sheets, c.Record == recRow ? 1 : 2);
        const int step = page.ColumnWidth + page.ColumnGap;
        QStringList rows;
        for (int i = 0; i < sheets; ++i) {
            // Per column: the lowest edge of what it holds and the footers.
            std::map<int, int> lowest;
            std::map<int, std::vector<int>> footers;
            for (const TDumpedObject &o : DumpSheet(Report.PreparedPages, i)) {
                const int column = (o.Left - 10) / step;
                EXPECT_NE(o.Text, subFooterText) << "a subreport page's column footer, sheet " << i;
                if (o.Text == footerText) {
                    footers[column].push_back(o.Top);
                    continue;
                }
                rows << o.Text.split(u'|');
                lowest[column] = std::max(lowest[column], o.Top + o.Height);
                EXPECT_TRUE(footers[column].empty()) << "printed after the footer, sheet " << i;
                // Subreport rows stand under their object on every sheet.
                if (c.Record == recSubReport && !o.Text.startsWith(QStringLiteral("Запись"))) {
                    EXPECT_EQ((o.Left - subLeft) % step, 0) << o.Text.toStdString() << " at " << o.Left << ", sheet " << i;
                }
            }
            // A footer taller than an empty sheet is left out.
            const bool fits = pageFooter && c.FooterHeight <= room;
            for (const auto &[column, bottom] : lowest) {
                ASSERT_EQ(footers[column].size(), fits ? 1u : 0u) << "sheet " << i << " column " << column;
                if (!fits)
                    continue;
                EXPECT_GE(footers[column][0], bottom) << "sheet " << i << " column " << column;
                EXPECT_LE(footers[column][0] + c.FooterHeight, page.BottomEdge()) << "sheet " << i;
            }
            EXPECT_EQ(footers.size(), lowest.size()) << "a footer under an empty column, sheet " << i;
            // Every sheet but the last fills all its columns.
            if (i < sheets - 1 && c.Record == recRow) {
                EXPECT_EQ(static_cast<int>(lowest.size()), c.Columns) << "sheet " << i;
            }
        }
        EXPECT_EQ(rows, expected);
        if (c.Records == 0) {
            EXPECT_EQ(sheets, 1);
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
    enum TLack { lackMargins, lackFooter, lackHeaders };
    for (const auto &[lack, breakable] : {std::pair{lackMargins, true}, std::pair{lackFooter, true},
                                          std::pair{lackHeaders, true}, std::pair{lackMargins, false},
                                          std::pair{lackFooter, false}, std::pair{lackHeaders, false}}) {
        Report.TemplatePages.Clear();
        TfrPage &page = Page();
        page.HonourMargins = -1;
        const int sheet = page.PrinterInfo.PageHeight;
        if (lack == lackMargins) {
            page.MarginTop = 600;
            page.MarginBottom = 600;
        } else if (lack == lackFooter) {
            Band(page, btPageFooter, 900, sheet + 100);
            Memo(page, 10, 900, 100, 17, QStringLiteral("Подвал страницы"));
        } else {
            Band(page, btPageHeader, 0, sheet / 2, {}, flags::OnFirstPage);
            Memo(page, 10, 0, 100, 17, QStringLiteral("Шапка"));
            Band(page, btColumnFooter, 900, sheet / 2);
            Memo(page, 10, 900, 100, 17, QStringLiteral("Подвал"));
        }
        Band(page, btMasterData, 5000, 20, QStringLiteral("5"), breakable ? flags::Breakable : 0);
        Memo(page, 10, 5000, 100, 17, QStringLiteral("[LINE#]"));
        SCOPED_TRACE(QStringLiteral("lack %1 breakable %2").arg(lack).arg(breakable).toStdString());
        const QString error = BuildInTime();
        EXPECT_TRUE(error.contains(QStringLiteral("Стр.1")) && error.contains(QStringLiteral("нет места")))
            << error.toStdString();
        EXPECT_LT(Report.PreparedPages.Count(), 5);
    }
}
