// The characteristics of the sample main fan drawn by the curve toolkit on an
// image, as the fan editor shows them. The image is written beside the test
// program for a look; the test checks what the support graphs rely on: only
// pure colours, the working curve pure red inside its range.
#include "calc/curve_toolkit.h"
#include "calc/fan_catalogue.h"
#include "platform/prompt.h"
#include "platform/ui/qt_canvas.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDir>
#include <QtGui/QImage>

#include <gtest/gtest.h>

#include <set>

TEST(FanChartImage, SampleMainFan)
{
    TScriptedPrompt prompt;
    TPlotState plot;
    plot.QCaption = QStringLiteral("Q,m3/с");
    plot.HCaption = QStringLiteral("H,даПа");
    TFanCatalogue catalogue(plot);
    catalogue.Folder = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Вентиляторы/");
    catalogue.TypeName = QStringLiteral("ВЦД-31,5М");
    ASSERT_EQ(catalogue.ScanFanTypes(), TFanCatalogue::lrLoaded);
    const int current = 2;
    ASSERT_GE(catalogue.LastCurve, current);

    QImage image(760, 500, QImage::Format_RGB32);
    {
        TQtCanvas canvas(&image);
        canvas.Font.Name = QStringLiteral("Arial");
        canvas.Font.Size = 8;
        DrawGraphFrame(canvas, image.width(), image.height(), plot);
        for (int k = 0; k <= catalogue.LastCurve; ++k)
            if (catalogue.Curves[k].LastIndex >= 1)
                PlotCurve(canvas, plot, catalogue.Curves[k]);
        FitParabola(plot, catalogue.Curves[current]);
        PlotWorkingCurve(canvas, plot, catalogue.Curves[current]);
        const QString title = QStringLiteral("Характеристики вентилятора ") + catalogue.ChosenTypeText();
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.TextOut((plot.Left + plot.Right - canvas.TextWidth(title)) / 2,
                       plot.Bottom + 3 * canvas.TextHeight(title) / 2, title);
    }
    const QString shot = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("sample_main_fan.png"));
    EXPECT_TRUE(image.save(shot));

    std::set<QRgb> colours;
    int red = 0;
    const int xFrom = PlotX(plot, plot.QminWork), xTo = PlotX(plot, plot.QmaxWork);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y) & 0xFFFFFF;
            colours.insert(c);
            if (c == 0xFF0000) {
                ++red;
                EXPECT_GE(x, xFrom - 2);
                EXPECT_LE(x, xTo + 2);
            }
        }
    EXPECT_EQ(colours, (std::set<QRgb>{0x000000, 0xFF0000, 0xFFFFFF}));
    EXPECT_GT(red, 300);
}
