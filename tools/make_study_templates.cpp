// Writes the short-circuiting study's and the depressiogram's templates into
// the reports folder given (data/Отчеты of the repository).
#include "study_templates.h"

#include "report/engine.h"

#include <QtCore/QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        std::fprintf(stderr, "usage: make_study_templates <reports folder>\n");
        return 2;
    }
    TfrEngineScope engine;
    WriteStudyTemplates(app.arguments().at(1));
    return 0;
}
