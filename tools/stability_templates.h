#pragma once
// Plain report templates of the network reports, the stability studies and
// the fire-detection times that a new user finds in the reports folder: a title with the mine's
// name, a header row and one row per record of the window's data set.
#include "report/report.h"

// "Устойчивость.frf": the descending study's table over udStability.
void MakeDescendingStabilityTemplate(TfrReport &report);
// The ascending study's places of reversal over udStability.
void MakeAscendingStabilityTemplate(TfrReport &report);
// The detection branch and times of every fire branch over udAllBrnFire.
void MakeFireDetectionTemplate(TfrReport &report);

// "Вентжурнал.frf": a ventilation journal in the layout of form 2, a band
// per rubric over frStringsDataset, a band per record over frUserDatasetRec
// and the rubric's totals line in its footer, on a landscape sheet.
void MakeJournalTemplate(TfrReport &report);

// The files as they lie in the reports folder, relative to it.
inline const QString DescendingTemplateFile = QStringLiteral("Устойчивость.frf");
inline const QString AscendingTemplateFile = QStringLiteral("Уст. при восх/Устойчивость при восходящем проветривании.frf");
inline const QString FireDetectionTemplateFile = QStringLiteral("Время обнаружения пожара.frf");
inline const QString JournalTemplateFile = QStringLiteral("Вентжурнал.frf");

// "Стандартный отчет без сетки.frf": the air distribution table's branches
// over udBranchSource.
void MakeStandardReportTemplate(TfrReport &report);
// "Кросс. табл. давл. в узлах.frf": the pressure and altitude of every node,
// ten nodes a row, over udNodeCrossTabRows and udNodeCrossTabColumns.
void MakeNodeCrossTableTemplate(TfrReport &report);
inline const QString StandardReportFile = QStringLiteral("Стандартный отчет без сетки.frf");
inline const QString NodeCrossTableFile = QStringLiteral("Кросс. табл. давл. в узлах.frf");
// Writes the report manager's two templates into the reports folder.
void WriteNetworkTemplates(const QString &reportsFolder);

// "Естественная.frf": the natural draught window's branch rows over frHet.
void MakeNaturalDraughtTemplate(TfrReport &report);
// "zona_frm.frf": the fire window's list over frBranches, with the flow totals.
void MakeFireZoneTemplate(TfrReport &report);
// "Маршруты.frf": the route table's lines and steps.
void MakeRouteTemplate(TfrReport &report);
// Writes the natural draught, fire zone and route templates into the reports
// folder, under the names their windows load.
void WriteResultWindowTemplates(const QString &reportsFolder);

// Writes the stability, fire-detection and journal templates into the reports
// folder (its sub-folder made).
void WriteStabilityTemplates(const QString &reportsFolder);
