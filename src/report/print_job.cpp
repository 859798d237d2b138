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
    // The job starts on the paper of the first page it prints.
    int firstIndex = 0;
    while (firstIndex < pages.Count() - 1 && !list.Contains(firstIndex + 1))
        ++firstIndex;
    applyPaper(pages[firstIndex]);
    const QString title = QStringLiteral("Kvadrep: ") + (request.Title.isEmpty() ? QStringLiteral("Untitled") : request.Title);
    printer.BeginDoc(title);
    bool first = true;
    for (int index = 0; index < pages.Count(); ++index) {
        if (!list.Contains(index + 1))
            continue;
        for (int copy = 0; copy < copies; ++copy) {
            TfrPreparedPage &page = pages[index];
            if (settings.SameSettings(page.PaperCode, page.PaperWidth, page.PaperHeight, page.Orientation)) {
                if (!first)
                    printer.NewPage();
            } else if (printer.ChangesPaperWithinJob()) {
                // The next page of the same job comes on the new paper.
                settings.SetPaper(page.PaperCode, page.PaperWidth, page.PaperHeight, page.Orientation);
                if (!first)
                    printer.NewPage();
            } else {
                // Each run of pages on one paper is a print job of its own.
                printer.EndDoc();
                settings.SetPaper(page.PaperCode, page.PaperWidth, page.PaperHeight, page.Orientation);
                printer.BeginDoc(title);
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
