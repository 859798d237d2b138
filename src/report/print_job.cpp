#include "report/print_job.h"

void PrintPreparedPages(TfrEMFPages &pages, TPrinterDevice &printer, const TPrintRequest &request)
{
    TPrinterSettings &settings = *PrinterSettings;
    settings.AttachPrinter(&printer);
    const TPageList list = ParsePageList(request.PageList);
    const int copies = std::max(1, request.Copies);
    if (pages.Count() == 0)
        return;
    const auto applyPaper = [&settings](TfrPreparedPage &page) {
        settings.SetPaper(page.PaperCode, page.PaperWidth, page.PaperHeight, page.Orientation);
        settings.FillPrinterInfo(page.PrinterInfo);
    };
    applyPaper(pages[0]);
    const QString title = QStringLiteral("Kvadrep: ") + (request.Title.isEmpty() ? QStringLiteral("Untitled") : request.Title);
    printer.BeginDoc(title);
    bool first = true;
    for (int index = 0; index < pages.Count(); ++index) {
        if (!list.Contains(index + 1))
            continue;
        for (int copy = 0; copy < copies; ++copy) {
            TfrPreparedPage &page = pages[index];
            if (!settings.SameSettings(page.PaperCode, page.PaperWidth, page.PaperHeight, page.Orientation)) {
                // Each run of pages on one paper is a print job of its own.
                printer.EndDoc();
                settings.SetPaper(page.PaperCode, page.PaperWidth, page.PaperHeight, page.Orientation);
                printer.BeginDoc(title);
            } else if (!first) {
                printer.NewPage();
            }
            settings.FillPrinterInfo(page.PrinterInfo);
            const TPrinterInfo &info = page.PrinterInfo;
            const TRect target = page.HonourMargins
                                     ? TRect{-info.DeviceOffsetX, -info.DeviceOffsetY, info.DevicePageWidth - info.DeviceOffsetX,
                                             info.DevicePageHeight - info.DeviceOffsetY}
                                     : TRect{0, 0, info.DevicePrintableWidth, info.DevicePrintableHeight};
            // A page out of the preview's view is printed all the same.
            const bool visible = page.Visible;
            page.Visible = true;
            pages.BuildPageModel(index);
            pages.Draw(index, *printer.Canvas(), target);
            page.PageModel.reset();
            page.Visible = visible;
            if (request.Progress)
                request.Progress(index + 1);
            first = false;
            if (request.Cancelled && *request.Cancelled) {
                printer.Abort();
                return;
            }
        }
    }
    printer.EndDoc();
}
