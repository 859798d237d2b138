#pragma once
// Printing a chart of a window on one landscape page.
#include <QtCore/QString>

class QChart;

// Prints on the program's printer, the one the reports print on: with no
// system printer, or with it chosen, that is "Печать в файл PDF", which asks
// for the file (titled after the job) and prints nothing when none is given.
// The chart fills the page from a twentieth of its width in from each side
// and a tenth of its height down to a twelfth above its foot; a caption, when
// given, stands centred in Arial 12 below it. The chart is laid out again in
// the rectangle's proportions at its screen size, so that its screen fonts
// and pens scale up evenly. A job that cannot start is aborted and its
// reason told. True when the page was printed.
bool PrintChartPage(QChart *chart, const QString &jobTitle, const QString &caption = QString());
