// Loads a plug-in as the program does (every symbol resolved at once) into a
// program that exports nothing. Exit 0 when the outcome is the one named:
// "refused" (the load fails for a missing program function) or "loaded".
#include <QtCore/QCoreApplication>
#include <QtCore/QLibrary>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    QCoreApplication app(argc, argv);
    QLibrary library(QString::fromLocal8Bit(argv[1]));
    library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    const bool loaded = library.load();
    std::printf("%s\n", loaded ? "loaded" : qPrintable(library.errorString()));
    if (std::strcmp(argv[2], "loaded") == 0)
        return loaded ? 0 : 1;
    return !loaded && library.errorString().contains(QStringLiteral("undefined symbol")) ? 0 : 1;
}
