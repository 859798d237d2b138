#include "calc/ui/study_report.h"

#include "platform/prompt.h"
#include "report/engine.h"
#include "report/ui/report_chooser.h"

#include <QtCore/QFileInfo>

TStudyReport::TStudyReport(const QString &owner, std::vector<TfrDataset *> datasets, TGetValue getValue)
    : m_owner(owner), m_datasets(std::move(datasets))
{
    frMain.Name = QStringLiteral("frMain");
    frMain.OwnerName = owner;
    frMain.OnGetValue = [getValue = std::move(getValue)](const QString &name, Variant &value) { getValue(name, value); };
}

bool TStudyReport::CanShow() { return bool(ReportChooserHooks.Preview); }

void TStudyReport::Register()
{
    if (Engine().Components.HasForm(m_owner))
        return;
    Engine().Components.Register(m_owner, &frMain);
    for (TfrDataset *ds : m_datasets)
        Engine().Components.Register(m_owner, ds);
}

bool TStudyReport::CanDesign() { return bool(ReportChooserHooks.Design); }

bool TStudyReport::Load(const QString &file)
{
    Register();
    // A failed load may leave the component half filled: it no longer holds
    // the template of any file.
    m_loaded.clear();
    if (!QFileInfo(file).isFile()) {
        ShowMessageBox(LookupText(QStringLiteral("Не найден шаблон отчёта") + u'\r' + file), QString(),
                       mb::Ok | mb::IconWarning);
        return false;
    }
    frMain.LoadFromFile(file);
    m_loaded = file;
    return true;
}

void TStudyReport::Show(const QString &file)
{
    if (CanShow() && Load(file))
        ReportChooserHooks.Preview(frMain);
}

void TStudyReport::Design(const QString &file)
{
    if (CanDesign() && Load(file))
        ReportChooserHooks.Design(frMain, file);
}

bool TStudyReport::Save(const QString &file)
{
    if (m_loaded.isEmpty() || m_loaded != file)
        return false;
    frMain.SaveToFile(file);
    return true;
}
