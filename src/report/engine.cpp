#include "report/engine.h"

#include "report/dataset.h"
#include "report/interpreter.h"
#include "report/library.h"

namespace {

// The one engine of this program (or of this plug-in: each links its own).
std::unique_ptr<TfrEngine> RunningEngine;

} // namespace

TfrEngine::TfrEngine()
{
    BandTypeNames = {
        QStringLiteral("Report title"),     QStringLiteral("Report summary"),  QStringLiteral("Page header"),
        QStringLiteral("Page footer"),      QStringLiteral("Master header"),   QStringLiteral("Master data"),
        QStringLiteral("Master footer"),    QStringLiteral("Detail header"),   QStringLiteral("Detail data"),
        QStringLiteral("Detail footer"),    QStringLiteral("Subdetail header"), QStringLiteral("Subdetail data"),
        QStringLiteral("Subdetail footer"), QStringLiteral("Overlay"),         QStringLiteral("Column header"),
        QStringLiteral("Column footer"),    QStringLiteral("Group header"),    QStringLiteral("Group footer"),
        QStringLiteral("Cross header"),     QStringLiteral("Cross data"),      QStringLiteral("Cross footer"),
        QStringLiteral("Нет"),
    };
    SpecialValueNames = {
        QStringLiteral("Страница"), QStringLiteral("Выражение"),    QStringLiteral("Дата"),
        QStringLiteral("Время"),    QStringLiteral("Line#"),        QStringLiteral("Line through#"),
        QStringLiteral("Column#"),  QStringLiteral("Current line#"), QStringLiteral("Всего страниц"),
    };
    BooleanFormats = {QStringLiteral("0;1"), QStringLiteral("Нет;Да"), QStringLiteral("_;x"),
                      QStringLiteral("False;True")};
    DateFormats = {QStringLiteral("dd.mm.yy"), QStringLiteral("dd.mm.yyyy"), QStringLiteral("d mmm yyyy"),
                   QStringLiteral("d mmmm yyyy")};
    TimeFormats = {QStringLiteral("hh:nn:ss"), QStringLiteral("h:nn:ss"), QStringLiteral("hh:nn"),
                   QStringLiteral("h:nn")};
    ReportInterpreter = std::make_unique<TInterpretator>();
}

TfrEngine::~TfrEngine()
{
    // The output layer's objects go first: they may still refer to ours.
    Extension.reset();
    ScratchLines.clear();
    FunctionLibraryRegistry.clear();
    ReportInterpreter.reset();
    ScriptVariables.Clear();
}

TfrEngine &Engine()
{
    if (!RunningEngine)
        throw Exception(QStringLiteral("The report engine has not been started"));
    return *RunningEngine;
}

bool EngineRunning()
{
    return RunningEngine != nullptr;
}

void EngineStartup()
{
    if (RunningEngine)
        return;
    RunningEngine = std::make_unique<TfrEngine>();
    RegisterFunctionLibrary<TfrStdFunctionLibrary>();
}

void EngineShutdown()
{
    if (!RunningEngine)
        return;
    // The output layer's state goes first, while the engine it may still
    // call is running.
    RunningEngine->Extension.reset();
    RunningEngine.reset();
}

TfrComponent::~TfrComponent()
{
    if (EngineRunning())
        Engine().Components.Unregister(this);
}

void TfrComponentDirectory::Register(const QString &form, TfrComponent *component)
{
    if (!component)
        return;
    for (auto &entry : m_entries) {
        if (entry.Component == component) {
            entry.Form = form;
            return;
        }
    }
    m_entries.push_back({form, component});
}

void TfrComponentDirectory::Unregister(TfrComponent *component)
{
    std::erase_if(m_entries, [component](const TEntry &e) { return e.Component == component; });
    for (const auto &entry : m_entries)
        entry.Component->Notification(component);
}

bool TfrComponentDirectory::HasForm(const QString &form) const
{
    for (const auto &entry : m_entries)
        if (entry.Form.compare(form, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

TfrComponent *TfrComponentDirectory::Find(const QString &form, const QString &name) const
{
    for (const auto &entry : m_entries) {
        if (entry.Form.compare(form, Qt::CaseInsensitive) == 0
            && entry.Component->Name.compare(name, Qt::CaseInsensitive) == 0)
            return entry.Component;
    }
    return nullptr;
}
