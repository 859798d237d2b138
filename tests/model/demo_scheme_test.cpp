// The sample mine in data/: what a new user opens first must be a sound network.
#include "demo_scheme.h"
#include "scheme_test_support.h"

#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

namespace {
const QString DemoPath = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine");
}

TEST(DemoScheme, TheKeptFileIsWhatTheGeneratorMakes)
{
    auto t = NewDocumentTables();
    TSchemeDocument doc;
    MakeDemoScheme(*t, doc);
    QTemporaryDir dir;
    ASSERT_TRUE(WriteMineFile(dir.filePath(QStringLiteral("Демо.mine")), *t, doc, DemoSchemeView()));
    EXPECT_EQ(ReadAllBytes(dir.filePath(QStringLiteral("Демо.mine"))), ReadAllBytes(DemoPath))
        << "remake data/Шахты/Демо.mine with make_demo_scheme";
}

TEST(DemoScheme, IsASmallMineASolverCanWorkOn)
{
    auto t = NewDocumentTables();
    TSchemeDocument doc;
    ReadMineFile(DemoPath, *t, doc);
    const int branches = BranchCount(*t);
    EXPECT_GE(branches, 60);
    EXPECT_LE(branches, 150);

    std::map<int, int> kinds;
    int surfaceEnds = 0;
    int withBends = 0;
    bool fanOnReturnShaft = false;
    BuildNodeBranchLists(*t);
    for (int b = 1; b <= MaxBranchNo(*t); ++b) {
        ASSERT_TRUE(BranchExist(*t, b)) << b;
        EXPECT_GT(t->BranchR[b], 0.00001) << b;
        EXPECT_LT(t->BranchR[b], 10000) << b;
        EXPECT_FALSE(t->BranchName[b].isEmpty()) << b;
        ++kinds[t->BranchType[b]];
        surfaceEnds += t->NodeIsSurface[t->BranchStartNode[b]] + t->NodeIsSurface[t->BranchEndNode[b]];
        withBends += InnerTurnCount(*t, b) > 0;
        if (t->BranchType[b] == 26 && t->BranchAuxDepression[b] > 100)
            fanOnReturnShaft = true;
        EXPECT_GT(t->BranchStartTemp[b], TempNotGiven) << b;
        // Only the leakages inside the mine have no length of their own; the
        // studies that check lengths accept every other airway.
        const int type = t->BranchType[b];
        if (type != 1 && type != 3 && type != 5 && type != 20) {
            EXPECT_GT(t->BranchLength[b], 0) << b;
        }
    }
    for (int n = 1; n <= MaxNodeNo(*t); ++n) {
        ASSERT_TRUE(NodeExist(*t, n));
        EXPECT_NE(t->NodeAltitude[n], AltitudeNotGiven);
        if (!t->NodeIsSurface[n]) {
            EXPECT_GE(t->NodeBranchLists[n]->size(), 2u) << "node " << n;
        }
    }
    EXPECT_GE(surfaceEnds, 2);
    EXPECT_TRUE(fanOnReturnShaft);
    EXPECT_GE(kinds[7], 2);  // longwalls
    EXPECT_GE(kinds[10], 2); // development faces
    EXPECT_GE(kinds[8], 2);  // their local fans
    EXPECT_GE(kinds[3] + kinds[22], 2); // doors
    EXPECT_GE(kinds[6], 2);  // regulators
    EXPECT_GT(withBends, 5);
    EXPECT_EQ(doc.InstalledFans.Count(), 3);
    EXPECT_EQ(doc.MineProperties.MineName, QStringLiteral("Шахта «Демонстрационная»"));
}
