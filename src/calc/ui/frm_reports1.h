#pragma once
// "Управление отчетами" over the network: the templates of the reports
// folder, previewed or printed over every existing branch or over the list
// of branches its opener hands it, with the nodes, the node cross table and
// the branch categories.
#include "calc/report_manager.h"
#include "report/ui/report_chooser.h"

class TfrmReports1 : public TReportChooser
{
    Q_OBJECT

public:
    // Solves t for the node pressures (a failure is shown and they stay zero).
    TfrmReports1(QWidget *owner, TNetworkTables &t, const QString &mineTitle);
    ~TfrmReports1() override;

    TReportManagerData Data;

    // The branches the branch source walks, in the opener's order.
    void SetBranches(const std::vector<std::int16_t> &branches);
    void ListTemplates(const QString &folder);
    // Loads a template of the reports folder and previews it over the data.
    void PreviewTemplate(const QString &file);

protected:
    void FolderFound(const QString &folder) override;
    void BeforeBuild() override;
};

extern TfrmReports1 *frmReports1;

// The reports folder of the options, where the result windows find their templates.
QString NetworkReportsFolder();
// A window's "Печать...": a manager (not shown) previews one template of the
// reports folder over the branches given, or over every existing branch.
void PreviewNetworkTemplate(QWidget *owner, const QString &file, const std::vector<std::int16_t> *branches = nullptr);

inline const QString StandardReportTemplate = QStringLiteral("Стандартный отчет без сетки.frf");
inline const QString NodeCrossTableTemplate = QStringLiteral("Кросс. табл. давл. в узлах.frf");
