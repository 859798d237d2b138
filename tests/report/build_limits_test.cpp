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
        owner.TemplateObjects.push_back(std::move(sub));
    }
};

TEST_F(ReportBuildLimits, ColumnFooterClosesEveryColumnOfEverySheet)
{
    struct TCase
    {
        int Columns;
        bool Breakable;
        int Records; // 0: exactly one column's worth
        int FooterHeight;
    };
    const TCase cases[] = {
        {1, false, 50, 20}, {1, true, 50, 20}, {2, false, 50, 20}, {2, true, 50, 20},  {1, false, 0, 20},
        {2, true, 0, 20},   {1, false, 300, 20}, {2, true, 300, 20}, {1, false, 3, 5000}, {2, true, 3, 5000},
    };
    for (const TCase &c : cases) {
        Report.TemplatePages.Clear();
        TfrPage &page = Page();
        page.ColumnCount = c.Columns;
        const int room = page.BottomEdge() - page.TopEdge();
        const int records = c.Records ? c.Records : (room - c.FooterHeight) / 20;
        Band(page, btMasterData, 40, 20, QString::number(records), c.Breakable ? flags::Breakable : 0);
        Memo(page, 10, 40, 100, 17, QStringLiteral("[LINE#]"));
        Band(page, btColumnFooter, 100, c.FooterHeight);
        Memo(page, 10, 100, 100, 17, QStringLiteral("Подвал"));
        const QString trace = QStringLiteral("columns %1 breakable %2 records %3 footer %4")
                                  .arg(c.Columns).arg(c.Breakable).arg(records).arg(c.FooterHeight);
        SCOPED_TRACE(trace.toStdString());
        ASSERT_EQ(BuildInTime(), QString());

        const int sheets = Report.PreparedPages.Count();
        ASSERT_GE(sheets, 1);
        QStringList rows;
        for (int i = 0; i < sheets; ++i) {
            // Per column: the lowest row and the footers under it.
            std::map<int, int> lowestRow;
            std::map<int, std::vector<int>> footers;
            for (const TDumpedObject &o : DumpSheet(Report.PreparedPages, i)) {
                const int column = (o.Left - 10) / page.ColumnWidth;
                if (o.Text == QStringLiteral("Подвал")) {
                    footers[column].push_back(o.Top);
                } else {
                    rows << o.Text;
                    lowestRow[column] = std::max(lowestRow[column], o.Top + o.Height);
                    EXPECT_TRUE(footers[column].empty()) << "a row under the footer, sheet " << i;
                }
            }
            // A footer taller than an empty sheet is left out.
            const bool fits = c.FooterHeight <= room;
            for (const auto &[column, bottom] : lowestRow) {
                ASSERT_EQ(footers[column].size(), fits ? 1u : 0u) << "sheet " << i << " column " << column;
                if (!fits)
                    continue;
                EXPECT_GE(footers[column][0], bottom) << "sheet " << i << " column " << column;
                EXPECT_LE(footers[column][0] + c.FooterHeight, page.BottomEdge()) << "sheet " << i;
            }
            // Every sheet but the last fills all its columns.
            if (i < sheets - 1)
                EXPECT_EQ(static_cast<int>(lowestRow.size()), c.Columns) << "sheet " << i;
        }
        QStringList expected;
        for (int n = 1; n <= records; ++n)
            expected << QString::number(n);
        EXPECT_EQ(rows, expected);
        if (c.Records == 0)
            EXPECT_EQ(sheets, 1);
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
    for (const TLack lack : {lackMargins, lackFooter, lackHeaders}) {
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
        Band(page, btMasterData, 5000, 20, QStringLiteral("5"), flags::Breakable);
        Memo(page, 10, 5000, 100, 17, QStringLiteral("[LINE#]"));
        SCOPED_TRACE(static_cast<int>(lack));
        const QString error = BuildInTime();
        EXPECT_TRUE(error.contains(QStringLiteral("Стр.1")) && error.contains(QStringLiteral("нет места")))
            << error.toStdString();
        EXPECT_LT(Report.PreparedPages.Count(), 5);
    }
}
