#pragma once
// Plain report templates of the stability studies and the fire-detection
// times that a new user finds in the reports folder: a title with the mine's
// name, a header row and one row per record of the window's data set.
#include "report/report.h"

// "Устойчивость.frf": the descending study's table over udStability.
void MakeDescendingStabilityTemplate(TfrReport &report);
// The ascending study's places of reversal over udStability.
void MakeAscendingStabilityTemplate(TfrReport &report);
// The detection branch and times of every fire branch over udAllBrnFire.
void MakeFireDetectionTemplate(TfrReport &report);

// The files as they lie in the reports folder, relative to it.
inline const QString DescendingTemplateFile = QStringLiteral("Устойчивость.frf");
inline const QString AscendingTemplateFile = QStringLiteral("Уст. при восх/Устойчивость при восходящем проветривании.frf");
inline const QString FireDetectionTemplateFile = QStringLiteral("Время обнаружения пожара.frf");

// Writes the three templates into the reports folder (its sub-folder made).
void WriteStabilityTemplates(const QString &reportsFolder);
