#include "calc/ui/chart_print.h"

#include <QtCharts/QChart>
#include <QtGui/QPainter>
#include <QtWidgets/QGraphicsLayout>
#include <QtWidgets/QGraphicsScene>

#include <algorithm>

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
