#pragma once
// Report templates of the short-circuiting study (one per result tab) and of
// the depressiogram's route table: the mine's name and a title, a header row,
// one row per record of the window's record source and page numbers.
#include "report/report.h"

#include <QtCore/QString>

// The tab's template: tab is the study's result tab (0 "Двери" … 5 "Связи").
void MakeShortCircuitTemplate(TfrReport &report, int tab);
// "Депрессиограмма.frf": the route's branches over udDepres.
void MakeDepressiogramTemplate(TfrReport &report);

// Writes the six study templates into the sub-folder "Закорачивание" and the
// route's template into "Депрессиограмма" of the reports folder.
void WriteStudyTemplates(const QString &reportsFolder);
