// Writes the sample fan catalogue into the folder named on the command line:
//   make_fan_catalogue data/Вентиляторы
#include "sample_fans.h"

#include "platform/exceptions.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: make_fan_catalogue FOLDER\n");
        return 2;
    }
    try {
        for (const QString &file : WriteSampleFanCatalogue(args[1]))
            std::printf("%s\n", qPrintable(file));
    } catch (const Exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
