// Tunvex: mine ventilation networks.
#include <QtWidgets/QApplication>

#include "platform/paths.h"
#include "platform/ui/qt_prompt.h"
#include "platform/ui/translations.h"
#include "program_wiring.h"
#include "report/engine.h"
#include "shell/ui/frm_main.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tunvex"));
    InstallQtTranslations();
    TQtPrompt prompt;
    SetPrompt(&prompt);
    // The report engine runs for the whole session, its progress window with it.
    TfrEngineScope reportEngine;
    InstallProgramServices();

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    TfrmMain window(arguments, StartFolder());
    InstallMainWindowCommands(window);
    window.show();
    const int code = app.exec();
    RemoveProgramServices();
    return code;
}
