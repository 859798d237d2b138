// Writes the sample mine into the file named on the command line:
//   make_demo_scheme data/Шахты/Демо.mine
#include "demo_scheme.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QStringList>

#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: make_demo_scheme FILE.mine\n");
        return 2;
    }
    auto t = std::make_unique<TNetworkTables>();
    ClearAllItems(*t);
    TSchemeDocument doc;
    try {
        MakeDemoScheme(*t, doc);
        if (!WriteMineFile(args[1], *t, doc, DemoSchemeView()))
            return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("%d nodes, %d branches\n", NodeCount(*t), BranchCount(*t));
    return 0;
}
