// The sample fan catalogue that comes with the program: the kept files are
// what the generator writes, and every fan of the sample mine works inside
// the working range of the characteristic it was given.
#include "calc/fan_catalogue.h"
#include "calc/solver.h"
#include "model/scheme_file.h"
#include "platform/prompt.h"
#include "sample_fans.h"

#include "file_bytes.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

namespace {
const QString SampleFolder = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Вентиляторы/");
}

TEST(SampleFans, TheKeptFilesAreWhatTheGeneratorWrites)
{
    QTemporaryDir dir;
    const QStringList written = WriteSampleFanCatalogue(dir.path());
    ASSERT_GE(written.size(), 3);
    for (const QString &file : written) {
        const QString name = QFileInfo(file).fileName();
        EXPECT_EQ(ReadAll(file), ReadAll(SampleFolder + name)) << "remake data/Вентиляторы with make_fan_catalogue";
    }
    EXPECT_EQ(QDir(SampleFolder).entryList({QStringLiteral("*.Fan")}, QDir::Files).size(), written.size());
}

TEST(SampleFans, EverySampleFanWorksInsideItsRange)
{
    auto t = std::make_unique<TNetworkTables>();
    TSchemeDocument doc;
    ReadMineFile(QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine"), *t, doc);
    ASSERT_EQ(CalcAirDistribution(*t, MaxBranchNo(*t), MaxNodeNo(*t), t->BranchNo, t->BranchStartNode,
                                  t->BranchEndNode, t->NodeIsSurface, t->BranchR, t->BranchAuxDepression, t->BranchQ),
              crSolved);
    ASSERT_GE(doc.InstalledFans.Count(), 3);

    TScriptedPrompt prompt;
    TPlotState plot;
    TFanCatalogue catalogue(plot);
    catalogue.Folder = SampleFolder;
    for (int i = 0; i < doc.InstalledFans.Count(); ++i) {
        const InstalledFan &fan = doc.InstalledFans.Item(i);
        catalogue.TypeName = fan.FanName;
        ASSERT_EQ(catalogue.ScanFanTypes(), TFanCatalogue::lrLoaded) << fan.FanName.toStdString();
        ASSERT_LE(fan.CurveIndex, catalogue.LastCurve);
        TFanCurve curve = catalogue.Curves[fan.CurveIndex];
        EXPECT_GE(curve.LastIndex, 3);
        EXPECT_LE(curve.LastIndex, 14);

        TRecordingCanvas canvas;
        DrawGraphFrame(canvas, 700, 450, plot);
        PlotWorkingCurve(canvas, plot, curve);
        const double q = std::fabs(t->BranchQ[fan.Branch]);
        EXPECT_GT(q, plot.QminWork) << fan.FanName.toStdString();
        EXPECT_LT(q, plot.QmaxWork) << fan.FanName.toStdString();

        // The characteristic gives about the depression the fan's branch
        // hands to the network.
        int i1 = 1;
        while (curve.Q[i1] < q)
            ++i1;
        const double h = SplineSegmentValue(curve, i1, q);
        const double depression = t->BranchAuxDepression[fan.Branch] - t->BranchR[fan.Branch] * q * q;
        EXPECT_NEAR(h, depression, 0.1 * depression) << fan.FanName.toStdString() << " Q " << q;
    }
    EXPECT_TRUE(prompt.Asked.empty());
}
