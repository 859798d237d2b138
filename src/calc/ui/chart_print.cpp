#include "calc/ui/chart_print.h"

#include "platform/prompt.h"

#include <QtCharts/QChart>
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

} // namespace

bool PrintChartPage(QPrinter &printer, QChart *chart, const QString &caption)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    bool ok = painter.begin(&printer);
    if (ok) {
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
        ok = painter.end();
    }
    QApplication::restoreOverrideCursor();
    if (!ok) {
        printer.abort();
        ShowMessageBox(LookupText(QStringLiteral("Ошибка печати")) + QStringLiteral(": ") + printer.printerName(),
                       LookupText(QStringLiteral("Ошибка")), mb::Ok | mb::IconError);
    }
    return ok;
}
