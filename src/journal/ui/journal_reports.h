#pragma once
// The journal plug-in carries its own copy of the report engine and its
// windows. What the program's main() sets up for its copy, the plug-in sets
// up for its own at the first print or design (never when the library is
// loaded), and takes down again before its entry point returns, so that
// nothing of it outlives the window or the application object.
#include <QtCore/QString>

#include <functional>

// The engine, the work canvas that texts measure on, the progress window,
// the preview (with the engine's input box) and the printer. Once per run.
void StartJournalReports();
// Frees all of it in the reverse order; nothing when it was not started.
void StopJournalReports();
bool JournalReportsStarted();

// The plug-in's report designer, which the designer fills in when it is
// linked: Install makes the designer form (StartJournalReports calls it),
// SetFileName hands the form the template's
// path so that Save writes there, Remove frees the form before the
// application object goes. Without Install "Дизайнер отчетов" stays disabled.
struct TJournalDesignerHooks
{
    std::function<void()> Install;
    std::function<void(const QString &fileName)> SetFileName;
    std::function<void()> Remove;
};
extern TJournalDesignerHooks JournalDesignerHooks;

// Fills JournalDesignerHooks from the plug-in's own copy of the designer
// and its dialogs. It only links them: the form is made by Install.
void LinkJournalDesigner();
