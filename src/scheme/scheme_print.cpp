#include "scheme/scheme_print.h"

#include <cmath>
#include <exception>

int PagesFor(int size, int pageSize)
{
    if (pageSize <= 0)
        return 0;
    return size / pageSize + (size % pageSize != 0 ? 1 : 0);
}

int NearestZoomIndex(double z)
{
    double best = 1e8;
    int result = 0;
    for (int i = 0; i < ZoomStepCount; ++i) {
        const double d = std::fabs(ZoomFactors[static_cast<std::size_t>(i)] - z);
        if (d < best) {
            best = d;
            result = i;
        }
    }
    return result;
}

int PrintedExtent(int sheet, int schemeEdge)
{
    if (sheet < schemeEdge)
        return static_cast<int>(std::trunc(schemeEdge * 1.05)) + 1;
    return sheet;
}

TSchemePrintPlan MakeSchemePrintPlan(int widthMm, int heightMm, const TSchemePrinter &printer, int sheetWidth,
                                     int sheetHeight, const TRect &schemeBounds)
{
    TSchemePrintPlan plan;
    plan.WidthMm = widthMm;
    plan.HeightMm = heightMm;
    if (widthMm < 1 || heightMm < 1)
        return plan;
    plan.PagesX = PagesFor(widthMm, printer.HorzSize());
    plan.PagesY = PagesFor(heightMm, printer.VertSize());
    plan.AreaWidth = PrintedExtent(sheetWidth, schemeBounds.Right);
    plan.AreaHeight = PrintedExtent(sheetHeight, schemeBounds.Bottom);
    const double kx = widthMm / 25.4 * printer.LogPixelsX() / std::max(1, plan.AreaWidth);
    const double ky = heightMm / 25.4 * printer.LogPixelsY() / std::max(1, plan.AreaHeight);
    plan.Zoom = std::min(kx, ky);
    plan.ZoomStep = NearestZoomIndex(plan.Zoom);
    return plan;
}

namespace {
// Gives the screen its view, drawing canvas and target back when the run ends.
class TPrintViewScope
{
public:
    TPrintViewScope(const TSchemePrintHost &host, TCanvas *canvas) : m_host(host), m_saved(*host.View)
    {
        if (m_host.SetPrinterTarget)
            m_host.SetPrinterTarget(canvas);
    }
    ~TPrintViewScope()
    {
        TViewport &view = *m_host.View;
        view.Zoom = m_saved.Zoom;
        if (m_host.SetPrinterTarget)
            m_host.SetPrinterTarget(nullptr);
        view.SetScrollX(m_saved.ScrollX);
        view.SetScrollY(m_saved.ScrollY);
        view.ZoomStep = m_saved.ZoomStep;
        if (m_host.Redraw)
            m_host.Redraw();
    }
    TPrintViewScope(const TPrintViewScope &) = delete;
    TPrintViewScope &operator=(const TPrintViewScope &) = delete;

private:
    const TSchemePrintHost &m_host;
    TViewport m_saved;
};
} // namespace

void PrintSchemePages(TSchemePrinter &printer, const QString &title, const TSchemePrintPlan &plan,
                      const TSchemePrintHost &host)
{
    if (plan.PagesX < 1 || plan.PagesY < 1 || !host.View)
        return;
    printer.BeginDoc(title);
    const TPrintViewScope scope(host, &printer.Canvas());
    TViewport &view = *host.View;
    view.SetScrollX(0);
    view.SetScrollY(0);
    view.Zoom = plan.Zoom;
    view.ZoomStep = plan.ZoomStep;
    const int pages = plan.PagesX * plan.PagesY;
    int page = 0;
    for (int i = 1; i <= plan.PagesX; ++i) {
        for (int j = 1; j <= plan.PagesY; ++j) {
            view.SetScrollX(double(i - 1) * printer.HorzRes());
            view.SetScrollY(double(j - 1) * printer.VertRes());
            ++page;
            try {
                if (host.PaintPage)
                    host.PaintPage(printer.Canvas());
            } catch (const std::exception &) {
                // The page keeps what was drawn; the other pages still print.
            }
            if (i == plan.PagesX && j == plan.PagesY)
                continue;
            printer.NewPage();
            if (host.PageDone)
                host.PageDone(page, pages);
        }
    }
    printer.EndDoc();
}
