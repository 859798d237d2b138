// Writes the sample journal into the file named on the command line:
//   make_demo_journal data/Шахты/Демо.WVJ
// The measurements are those of the sample mine with its normal air distribution.
#include "demo_journal.h"
#include "demo_scheme.h"
#include "journal/journal_file.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QFileInfo>
#include <QtCore/QStringList>

#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: make_demo_journal FILE.WVJ\n");
        return 2;
    }
    auto t = std::make_unique<TNetworkTables>();
    ClearAllItems(*t);
    TSchemeDocument doc;
    TKerstal journal(QFileInfo(args[1]).fileName());
    try {
        // The sample mine comes with its air distribution.
        MakeDemoScheme(*t, doc);
        MakeDemoJournal(journal, *t);
        SaveJournal(journal, args[1]);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("%d rubrics, %d records\n", journal.Count(), journal.TotalRecords());
    return 0;
}
