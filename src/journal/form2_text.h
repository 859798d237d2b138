#pragma once
// The form-2 text: the journal as fixed-width text in the layout of the paper
// ventilation journal, with a 10-line page head, rubric titles, one line per
// record and the rubric totals; pages break with a form-feed line.
#include "journal/journal.h"

#include <QtCore/QStringList>

constexpr int DefaultLinesPerPage = 50;

// The lines of the text (without line ends).
QStringList BuildForm2Lines(const TKerstal &journal, int linesPerPage);
// The whole text: every line ends with CR LF, the last one too.
QString BuildForm2Text(const TKerstal &journal, int linesPerPage);

// Writes the text to the path through a temporary file, in code page 866
// for DOS or 1251 for Windows. A file that cannot be created or written is
// an exception naming it; the previous file then stays.
void ExportForm2Text(const TKerstal &journal, const QString &path, bool dos, int linesPerPage);
