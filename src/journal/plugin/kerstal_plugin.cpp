// The entry points of the journal plug-in, the only names it exports. The
// program finds them by name, puts GetPlugName's text into "Расширения" and
// calls RunPlugIn from that item.
#include "journal/ui/frm_kerstal.h"
#include "journal/ui/journal_reports.h"
#include "journal/ui/program_network.h"
#include "model/plugin_api.h"
#include "platform/guard.h"
#include "platform/prompt.h"
#include "platform/ui/qt_prompt.h"

#include <memory>

extern "C" TUNVEX_PLUGIN_EXPORT const char *GetPlugName(void)
{
    // "Вентжурнал..." in code page 1251, constant so that loading builds nothing.
    static const char name[] = "\xC2\xE5\xED\xF2\xE6\xF3\xF0\xED\xE0\xEB...";
    return name;
}

extern "C" TUNVEX_PLUGIN_EXPORT void RunPlugIn(void)
{
    // The plug-in's copies of the project's libraries have their own prompt:
    // message boxes of the window are asked through it.
    TQtPrompt prompt;
    TPrompt *previous = SetPrompt(&prompt);
    // Its own designer, made at the first print or design.
    LinkJournalDesigner();
    // Nothing may leave into the program: an error is shown here, after the
    // window that it came out of was destroyed.
    GuardedCall([] {
        auto window = std::make_unique<TfrmKerstal>(ProgramNetwork());
        window->exec();
    });
    // The report engine, its windows and the designer, started by the first
    // print or design, go with the window, before the application object can.
    StopJournalReports();
    SetPrompt(previous);
}
