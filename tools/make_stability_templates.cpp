// Writes the network, stability, fire-detection and result-window templates into the reports folder
// given (data/Отчеты of the repository).
#include "stability_templates.h"

#include "report/engine.h"

#include <QtCore/QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        std::fprintf(stderr, "usage: make_stability_templates <reports folder>\n");
        return 2;
    }
    TfrEngineScope engine;
    WriteStabilityTemplates(app.arguments().at(1));
    WriteNetworkTemplates(app.arguments().at(1));
    WriteResultWindowTemplates(app.arguments().at(1));
    return 0;
}
