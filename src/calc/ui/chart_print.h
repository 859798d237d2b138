#pragma once
// Printing a chart of a window on one landscape page.
#include <QtCore/QString>

class QChart;
class QPrinter;

// The chart fills the page from a twentieth of its width in from each side
// and a tenth of its height down to a twelfth above its foot; a caption, when
// given, stands centred in Arial 12 below it. The chart is laid out again in
// the rectangle's proportions at its screen size, so that its screen fonts
// and pens scale up evenly. A failure aborts the job and is told; false then.
bool PrintChartPage(QPrinter &printer, QChart *chart, const QString &caption = QString());
