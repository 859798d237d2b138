#include "report/template_preview.h"

#include "platform/guard.h"
#include "report/engine.h"

#include <QtCore/QScopeGuard>

bool PreviewTemplateFile(const QString &formName, const QString &file, const std::vector<TfrDataset *> &datasets,
                         const TDetailEvent &values)
{
    TfrReport report;
    report.Name = QStringLiteral("frReport");
    report.OwnerName = formName;
    report.OnGetValue = values;
    TfrComponentDirectory &directory = Engine().Components;
    directory.Register(formName, &report);
    for (TfrDataset *ds : datasets)
        directory.Register(formName, ds);
    // The data sets may outlive the preview: they leave the directory with it.
    const auto forget = qScopeGuard([&] {
        for (TfrDataset *ds : datasets)
            directory.Unregister(ds);
    });
    return GuardedCall([&] {
        report.LoadFromFile(file);
        report.ShowReport();
    });
}
