#include "calc/ui/chart_print.h"

#include "platform/exceptions.h"
#include "platform/prompt.h"
#include "platform/ui/qt_canvas.h"
#include "report/ui/qt_printer.h"

#include <QtCharts/QChart>
#include <QtCore/QScopeGuard>
#include <QtGui/QPainter>
#include <QtPrintSupport/QPrinter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QGraphicsLayout>
#include <QtWidgets/QGraphicsScene>

#include <algorithm>

namespace {

void RenderChartInto(QPainter &painter, QChart *chart, const QRect &target)
{
    const QSizeF shown = chart->size();
    const double scale = target.width() / std::max(1.0, shown.width());
    chart->resize(QSizeF(shown.width(), target.height() / scale));
    if (QGraphicsLayout *layout = chart->layout())
        layout->activate();
    chart->scene()->render(&painter, QRectF(target), QRectF(chart->pos(), chart->size()));
    chart->resize(shown);
    if (QGraphicsLayout *layout = chart->layout())
        layout->activate();
}

void DrawPage(QPainter &painter, const QPrinter &printer, QChart *chart, const QString &caption)
{
    // The scheme's canvas draws without smoothing; a chart is drawn as on screen.
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const int w = page.width(), h = page.height();
    if (!caption.isEmpty()) {
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(12);
        painter.setFont(font);
        const int width = painter.fontMetrics().horizontalAdvance(caption);
        painter.drawText(QPoint((w - width) / 2, h - h / 11 + painter.fontMetrics().ascent()), caption);
    }
    RenderChartInto(painter, chart, QRect(QPoint(w / 20, h / 10), QPoint(w - w / 20 - 1, h - h / 12 - 1)));
}

} // namespace

bool PrintChartPage(QChart *chart, const QString &jobTitle, const QString &caption)
{
    InstallQtPrinter();
    TQtPrinter &device = *InstalledQtPrinter();
    QPrinter &printer = device.Device();
    // The chart's page is landscape; the program's printer is shared with the
    // reports and the scheme, so it gets its own page layout back however the
    // print ends.
    const auto restore = qScopeGuard([&printer, layout = printer.pageLayout()] { printer.setPageLayout(layout); });
    printer.setPageOrientation(QPageLayout::Landscape);
    try {
        device.BeginDoc(jobTitle);
    } catch (const Exception &e) {
        ShowMessageBox(e.Message(), LookupText(QStringLiteral("Ошибка")), mb::Ok | mb::IconError);
        return false;
    }
    // No file chosen for the PDF: nothing to print, nothing to tell.
    if (!device.Printing())
        return false;
    auto *canvas = static_cast<TQtCanvas *>(device.Canvas());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        DrawPage(canvas->Painter(), printer, chart, caption);
    } catch (...) {
        QApplication::restoreOverrideCursor();
        device.Abort();
        throw;
    }
    device.EndDoc();
    QApplication::restoreOverrideCursor();
    return true;
}
