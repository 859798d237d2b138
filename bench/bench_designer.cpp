// Repainting the designer's page of 1,000 objects: the whole page, and the
// area an object left and entered after it was dragged.
#include "designer/design_state.h"
#include "designer/ui/design_page.h"
#include "designer/ui/frm_designer.h"
#include "report/engine.h"
#include "report/report.h"
#include "report/report_page.h"

#include <QtWidgets/QApplication>

#include <benchmark/benchmark.h>

namespace {

QApplication &App()
{
    static int argc = 1;
    static char name[] = "bench_designer";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// Ten bands, each with a row of text objects under it, lines between: 1,000 objects.
struct TBusyPage
{
    TfrEngineScope Engine_;
    TfrReport Report;
    TfrPage &Page = Report.TemplatePages.Add();
    std::unique_ptr<TfrDesignerForm> Form;

    TBusyPage()
    {
        App();
        SetCurrentDocument(&Report);
        for (int row = 0; row < 50; ++row) {
            if (row % 5 == 0) {
                auto band = CreateReportObject(gtBand);
                static_cast<TfrBandView &>(*band).SetBandType(row == 0 ? btPageHeader : btMasterData);
                band->Top = 20 + row * 21;
                band->Height = 100;
                Page.TemplateObjects.push_back(std::move(band));
            }
            for (int col = 0; col < 19; ++col) {
                auto memo = CreateReportObject(gtMemo);
                memo->Left = 10 + col * 40;
                memo->Top = 20 + row * 21;
                memo->Width = 38;
                memo->Height = 18;
                memo->FrameTyp = frame::All;
                memo->Lines = QStringList{QStringLiteral("Ствол %1").arg(row * 19 + col)};
                Page.TemplateObjects.push_back(std::move(memo));
            }
        }
        while (Page.TemplateObjects.size() < 1000) {
            auto line = CreateReportObject(gtLine);
            line->Left = 10;
            line->Top = 15 + int(Page.TemplateObjects.size() % 1000);
            line->Width = 760;
            Page.TemplateObjects.push_back(std::move(line));
        }
        Form = std::make_unique<TfrDesignerForm>();
        Form->Page = &Page;
        Form->PageView->PlacePage();
        Form->PageView->DrawPage();
    }
    ~TBusyPage()
    {
        Form.reset();
        SetCurrentDocument(nullptr);
    }
};

void BM_DesignPageFullRepaint(benchmark::State &state)
{
    TBusyPage busy;
    for (auto _ : state)
        busy.Form->PageView->DrawPage();
}
BENCHMARK(BM_DesignPageFullRepaint)->Unit(benchmark::kMillisecond);

void BM_DesignPageRepaintAfterMove(benchmark::State &state)
{
    TBusyPage busy;
    TfrView &moved = *busy.Page.TemplateObjects[500];
    moved.Selected = true;
    SelectedCount = 1;
    int step = 8;
    for (auto _ : state) {
        // As the surface does at the release: the region where the object
        // was, then the object at its new place.
        BuildSelectionRegion(busy.Page);
        moved.Left += step;
        step = -step;
        busy.Form->PageView->DrawPage(TopSelectedIndex(busy.Page), SelectionRegion);
    }
    DeselectAll(busy.Page);
}
BENCHMARK(BM_DesignPageRepaintAfterMove)->Unit(benchmark::kMillisecond);

} // namespace
