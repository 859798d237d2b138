// The sample journal beside the sample mine.
#include "calc/solver.h"
#include "demo_journal.h"
#include "demo_scheme.h"
#include "file_bytes.h"
#include "journal/form2_text.h"
#include "journal/journal_file.h"
#include "model/scheme_file.h"

#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace {

const QString SampleFolder = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты");

} // namespace

TEST(DemoJournal, TheStoredSampleIsWhatTheToolWrites)
{
    auto t = std::make_unique<TNetworkTables>();
    ClearAllItems(*t);
    TSchemeDocument doc;
    MakeDemoScheme(*t, doc);
    ASSERT_EQ(CalcAirDistribution(*t, MaxBranchNo(*t), MaxNodeNo(*t), t->BranchNo, t->BranchStartNode,
                                  t->BranchEndNode, t->NodeIsSurface, t->BranchR, t->BranchAuxDepression, t->BranchQ),
              crSolved);
    TKerstal made(QStringLiteral("Демо.WVJ"));
    MakeDemoJournal(made, *t);
    QTemporaryDir dir;
    SaveJournal(made, dir.filePath(QStringLiteral("Демо.WVJ")));
    EXPECT_EQ(ReadAll(dir.filePath(QStringLiteral("Демо.WVJ"))), ReadAll(SampleFolder + QStringLiteral("/Демо.WVJ")))
        << "run make_demo_journal data/Шахты/Демо.WVJ";
}

TEST(DemoJournal, ReadsBackAndRefreshesFromTheSampleMine)
{
    const TOpenedJournals opened = OpenAllJournals(SampleFolder);
    ASSERT_EQ(opened.Error, QString());
    ASSERT_EQ(opened.Journals.size(), 1u);
    TKerstal &j = *opened.Journals.front();
    EXPECT_EQ(j.VGPCount, 2);
    std::set<int> types;
    for (int i = 0; i < j.Count(); ++i)
        types.insert(j.Items(i)->RubricType);
    EXPECT_EQ(types, (std::set<int>{0, 1, 2, 3, 4}));
    EXPECT_GT(j.Items(0)->InTotal(), 0);
    const QStringList text = BuildForm2Lines(j, DefaultLinesPerPage);
    EXPECT_EQ(text.filter(QStringLiteral("% от подачи ВГП")).size(), 3);

    // The stored values are those of the sample mine's normal air distribution,
    // so a refresh against the solved mine changes nothing; it reports the
    // branch the mine lacks, and the leakages, which have no cross-section.
    auto t = std::make_unique<TNetworkTables>();
    TSchemeDocument doc;
    ReadMineFile(SampleFolder + QStringLiteral("/Демо.mine"), *t, doc);
    ASSERT_EQ(CalcAirDistribution(*t, MaxBranchNo(*t), MaxNodeNo(*t), t->BranchNo, t->BranchStartNode,
                                  t->BranchEndNode, t->NodeIsSurface, t->BranchR, t->BranchAuxDepression, t->BranchQ),
              crSolved);
    const QString before = BuildForm2Text(j, DefaultLinesPerPage);
    const QStringList log = RefreshFromNetwork(j, JournalNetworkOf(*t));
    EXPECT_EQ(log.filter(QStringLiteral("нет в БД")),
              QStringList{QStringLiteral("Пост.: Ветвь № %1: нет в БД").arg(DemoMissingBranch)});
    EXPECT_EQ(log.filter(QStringLiteral("сечение = 0")).size(), 5);
    EXPECT_EQ(BuildForm2Text(j, DefaultLinesPerPage), before);
}
