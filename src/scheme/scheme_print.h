#pragma once
// Printing the scheme at a physical size tiled over printer pages: how many
// pages a size needs, the area of the scheme that is printed, the zoom that
// maps it onto the paper, and the run that draws every page with the view
// switched to the printer and gives the view back however the run ends.
#include "platform/canvas.h"
#include "scheme/viewport.h"

#include <QtCore/QString>

#include <functional>

// What printing needs of a printer: the printable area in whole millimetres
// and in pixels, the resolution, and a job of pages on its canvas.
class TSchemePrinter
{
public:
    virtual ~TSchemePrinter() = default;
    virtual int HorzSize() const = 0;   // mm
    virtual int VertSize() const = 0;
    virtual int HorzRes() const = 0;    // pixels
    virtual int VertRes() const = 0;
    virtual int LogPixelsX() const = 0; // pixels per inch
    virtual int LogPixelsY() const = 0;
    virtual void BeginDoc(const QString &title) = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    // The canvas of the page being printed, between BeginDoc and EndDoc.
    virtual TCanvas &Canvas() = 0;
};

// Pages of pageSize needed for size: the quotient rounded up.
int PagesFor(int size, int pageSize);
// The zoom step whose factor is nearest to z; ties keep the lower step.
int NearestZoomIndex(double z);
// The sheet's extent, widened past the scheme's far edge when the scheme
// reaches beyond the sheet.
int PrintedExtent(int sheet, int schemeEdge);

struct TSchemePrintPlan
{
    int WidthMm = 0;
    int HeightMm = 0;
    int PagesX = 0;
    int PagesY = 0;
    int AreaWidth = 0;   // scheme units
    int AreaHeight = 0;
    double Zoom = 1;     // printer pixels per scheme unit
    int ZoomStep = 0;
};

// The plan for a size in millimetres on the printer, for a sheet of the
// given size and a scheme with the given bounds. A size below 1 mm cannot
// be printed: the plan then has no pages.
TSchemePrintPlan MakeSchemePrintPlan(int widthMm, int heightMm, const TSchemePrinter &printer, int sheetWidth,
                                     int sheetHeight, const TRect &schemeBounds);

// The main window's side of a print run.
struct TSchemePrintHost
{
    TViewport *View = nullptr;
    // The drawing goes to the printer's canvas (null: back to the screen).
    std::function<void(TCanvas *printerCanvas)> SetPrinterTarget;
    // Draws the scheme on a page; may raise an error.
    std::function<void(TCanvas &canvas)> PaintPage;
    // After a page that is not the last: page printed so far of all pages;
    // pumps the messages.
    std::function<void(int page, int pages)> PageDone;
    std::function<void()> Redraw;
};

// Prints every page of the plan, column by column. A page whose drawing
// fails stays as far as it was drawn and the job goes on. The view, the
// drawing target and the screen come back on every path; errors of the job
// itself leave through the caller.
void PrintSchemePages(TSchemePrinter &printer, const QString &title, const TSchemePrintPlan &plan,
                      const TSchemePrintHost &host);
