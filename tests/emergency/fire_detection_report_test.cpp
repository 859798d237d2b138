// The fire-detection report's data on the sample mine.
#include "emergency/fire_detection_report.h"
#include "sample_mine.h"

#include <gtest/gtest.h>

#include <memory>

TEST(FireDetectionReport, EveryComputedFireBranchWithItsDetection)
{
    auto tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *tables;
    LoadSampleMine(t);
    ASSERT_FALSE(HasFatalFailure());
    TDetectionResults results;
    ASSERT_EQ(CalcFireDetectionTimes(t, results), crSolved);
    int computed = 0;
    for (int b = 1; b <= MaxBranchNo(t); ++b)
        computed += results[b].FireBranch == b;

    TFireDetectionReport report(t, results);
    auto value = [&report](const char *name) {
        Variant v;
        report.GetValue(QString::fromUtf8(name), v);
        return v.ToString();
    };
    int rows = 0;
    int withoutDetection = 0;
    for (report.udAllBrnFire.First(); !report.udAllBrnFire.Eof(); report.udAllBrnFire.Next()) {
        const int b = report.Sources.CurrentBranch;
        ++rows;
        EXPECT_EQ(results[b].FireBranch, b);
        EXPECT_TRUE(PossibleFireBranch(t.BranchType[b])) << b;
        EXPECT_EQ(value("НомерВетви"), QString::number(b));
        const TDetectionRecord &r = results[b];
        EXPECT_EQ(value("НомВетвДым"), QString::number(r.DetectBranch));
        EXPECT_EQ(value("ВрНВетвДым"), QString::number(r.DetectUpTime));
        EXPECT_EQ(value("ВрКВетвДым"), QString::number(r.DetectDownTime));
        if (r.DetectBranch == 0) {
            ++withoutDetection;
            EXPECT_EQ(value("НомВетвДым"), QStringLiteral("0"));
            EXPECT_EQ(value("ВрНВетвДым"), QStringLiteral("0"));
            EXPECT_EQ(value("НазвВетвДым"), QString());
        } else {
            EXPECT_EQ(value("НазвВетвДым"), GetBranchName(t, r.DetectBranch));
            EXPECT_EQ(value("НУВетвДым"), QString::number(t.BranchStartNode[r.DetectBranch]));
        }
    }
    EXPECT_EQ(rows, computed);
    EXPECT_GT(rows, 0);
    EXPECT_GT(withoutDetection, 0); // nobody works in the sample mine's returns

    // Nothing traces the smoke of one fire: its sources are empty, its values 0.
    report.frudTNF.First();
    EXPECT_TRUE(report.frudTNF.Eof());
    report.udBrnTFr.First();
    EXPECT_TRUE(report.udBrnTFr.Eof());
    EXPECT_EQ(value("Время1"), QStringLiteral("0"));
    EXPECT_EQ(value("УзК"), QStringLiteral("0"));
}
