// Printing the scheme over pages: the page counts, the printed area, the
// zoom step on paper and the run over the pages with the view given back.
#include "scheme/scheme_print.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

namespace {

// A printer with a printable area of 200 × 287 mm at 100 pixels per inch.
class FakePrinter : public TSchemePrinter
{
public:
    int HorzSize() const override { return 200; }
    int VertSize() const override { return 287; }
    int HorzRes() const override { return 787; }
    int VertRes() const override { return 1130; }
    int LogPixelsX() const override { return 100; }
    int LogPixelsY() const override { return 100; }
    void BeginDoc(const QString &title) override { Log.push_back("begin " + title.toStdString()); }
    void NewPage() override { Log.push_back("new page"); }
    void EndDoc() override { Log.push_back("end"); }
    TCanvas &Canvas() override { return Page; }

    TRecordingCanvas Page;
    std::vector<std::string> Log;
};

} // namespace

TEST(SchemePrint, PagesAndPrintedArea)
{
    FakePrinter printer;
    const TRect bounds{0, 0, 1200, 800};
    TSchemePrintPlan plan = MakeSchemePrintPlan(1500, 1000, printer, 1500, 1000, bounds);
    EXPECT_EQ(plan.PagesX, 8);
    EXPECT_EQ(plan.PagesY, 4);
    EXPECT_EQ(plan.AreaWidth, 1500);
    // 2 × 1 pages ask for 400 × 287 mm.
    plan = MakeSchemePrintPlan(2 * printer.HorzSize(), 1 * printer.VertSize(), printer, 1500, 1000, bounds);
    EXPECT_EQ(plan.WidthMm, 400);
    EXPECT_EQ(plan.HeightMm, 287);
    EXPECT_EQ(std::make_pair(plan.PagesX, plan.PagesY), std::make_pair(2, 1));
    // An exact multiple needs no extra page.
    EXPECT_EQ(PagesFor(1400, 200), 7);
    EXPECT_EQ(PagesFor(1401, 200), 8);
    // A scheme reaching past the sheet widens the area, not the sheet.
    plan = MakeSchemePrintPlan(1500, 1000, printer, 1500, 1000, TRect{0, 0, 2000, 900});
    EXPECT_EQ(plan.AreaWidth, 2101);
    EXPECT_EQ(plan.AreaHeight, 1000);
    EXPECT_DOUBLE_EQ(plan.Zoom, std::min(1500 / 25.4 * 100 / 2101, 1000 / 25.4 * 100 / 1000));
    // Nothing below a millimetre is printed.
    for (auto [w, h] : {std::pair{0, 1000}, std::pair{1500, -3}}) {
        plan = MakeSchemePrintPlan(w, h, printer, 1500, 1000, bounds);
        EXPECT_EQ(plan.PagesX * plan.PagesY, 0) << w << " x " << h;
    }
}

TEST(SchemePrint, NearestZoomStepKeepsTheLowerOnATie)
{
    const std::pair<double, int> cases[] = {{1.5, 1}, {2.5, 2}, {40, 13}, {0.1, 0}, {26, 13}};
    for (auto [zoom, step] : cases)
        EXPECT_EQ(NearestZoomIndex(zoom), step) << zoom;
}

TEST(SchemePrint, PagesGoColumnByColumnAndAFailedPageDoesNotStopTheJob)
{
    FakePrinter printer;
    TViewport view;
    view.Zoom = 3;
    view.ZoomStep = 3;
    view.ScrollX = 120;
    view.ScrollY = 40;
    std::vector<std::pair<double, double>> offsets;
    std::vector<int> progress;
    TCanvas *target = nullptr;
    int redraws = 0;
    TSchemePrintHost host;
    host.View = &view;
    host.SetPrinterTarget = [&](TCanvas *canvas) { target = canvas; };
    host.PaintPage = [&](TCanvas &canvas) {
        EXPECT_EQ(&canvas, target);
        offsets.emplace_back(view.ScrollX, view.ScrollY);
        if (offsets.size() == 2)
            throw std::runtime_error("page failed");
    };
    host.PageDone = [&](int page, int pages) {
        EXPECT_EQ(pages, 6);
        progress.push_back(page);
    };
    host.Redraw = [&] { ++redraws; };

    TSchemePrintPlan plan = MakeSchemePrintPlan(400, 861, printer, 1500, 1000, TRect{0, 0, 100, 100});
    ASSERT_EQ(std::make_pair(plan.PagesX, plan.PagesY), std::make_pair(2, 3));
    PrintSchemePages(printer, QStringLiteral("t"), plan, host);

    const std::vector<std::pair<double, double>> expected = {{0, 0}, {0, 1130}, {0, 2260}, {787, 0}, {787, 1130}, {787, 2260}};
    EXPECT_EQ(offsets, expected);
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(printer.Log.front(), "begin t");
    EXPECT_EQ(printer.Log.back(), "end");
    EXPECT_EQ(std::count(printer.Log.begin(), printer.Log.end(), "new page"), 5);
    // The screen has its view back.
    EXPECT_EQ(target, nullptr);
    EXPECT_EQ(view.Zoom, 3);
    EXPECT_EQ(view.ZoomStep, 3);
    EXPECT_EQ(std::make_pair(view.ScrollX, view.ScrollY), std::make_pair(120.0, 40.0));
    EXPECT_EQ(redraws, 1);
}

TEST(SchemePrint, TheViewComesBackWhenTheJobFails)
{
    class FailingPrinter : public FakePrinter
    {
    public:
        void NewPage() override { throw std::runtime_error("printer gone"); }
    } printer;
    TViewport view;
    view.Zoom = 5;
    view.ScrollX = 7;
    int redraws = 0;
    TCanvas *target = nullptr;
    TSchemePrintHost host;
    host.View = &view;
    host.SetPrinterTarget = [&](TCanvas *canvas) { target = canvas; };
    host.PaintPage = [&](TCanvas &) { EXPECT_NE(target, nullptr); };
    host.Redraw = [&] { ++redraws; };
    const TSchemePrintPlan plan = MakeSchemePrintPlan(400, 287, printer, 1500, 1000, TRect{0, 0, 100, 100});
    EXPECT_THROW(PrintSchemePages(printer, QStringLiteral("t"), plan, host), std::runtime_error);
    EXPECT_EQ(target, nullptr);
    EXPECT_EQ(view.Zoom, 5);
    EXPECT_EQ(view.ScrollX, 7);
    EXPECT_EQ(redraws, 1);
}
