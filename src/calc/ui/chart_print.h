#pragma once
// Printing a chart of a window onto a page.
class QChart;
class QPainter;
class QRect;

// Draws chart into target of the painter's device. The chart is laid out
// again in the target's proportions at its screen size, so that it fills the
// rectangle with its screen fonts and pens scaled up evenly.
void RenderChartInto(QPainter &painter, QChart *chart, const QRect &target);
