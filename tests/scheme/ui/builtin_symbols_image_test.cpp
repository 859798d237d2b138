#include "scheme/builtin_symbols.h"

#include "../symbol_services.h"
#include "platform/ui/qt_canvas.h"

#include <QtGui/QImage>

#include <gtest/gtest.h>

namespace api = tunvex_api;

namespace {

class BuiltinSymbolImages : public ::testing::Test
{
protected:
    void SetUp() override { RegisterBuiltinSymbols(Symbols); }

    QImage Blank() const
    {
        QImage image(240, 240, QImage::Format_RGB32);
        image.fill(QColor(0x80, 0x80, 0x80));
        return image;
    }

    // The symbol on an airway from p0 to p1 at its middle, as the scheme draws it.
    QImage OnAirway(const TBranchSymbol &symbol, TPoint p0, TPoint p1, TDrawTarget target = dtScreen)
    {
        QImage image = Blank();
        TQtCanvas canvas(&image);
        TSchemeDrawSettings settings;
        settings.DrawTarget = target;
        DrawLinkSymbol(canvas, symbol, settings, LastZoomStep, 20, p0, p1, 50, 100, clBlack);
        return image;
    }

    QImage WithCorners(const TBranchSymbol &symbol, const api::TunvexPoint (&corners)[4])
    {
        QImage image = Blank();
        TQtCanvas canvas(&image);
        CallDrawSymbol(canvas, symbol, corners, clBlack);
        return image;
    }

    const TSymbolTestServices Services{clWhite, 4321};
    TBranchSymbolList Symbols;
};

TEST_F(BuiltinSymbolImages, EachSymbolStaysUprightWhicheverWayTheAirwayRuns)
{
    const QImage blank = Blank();
    for (int i = 0; i < Symbols.Count(); ++i) {
        const TBranchSymbol &symbol = Symbols.GetItem(i);
        SCOPED_TRACE(symbol.Name.toStdString());
        const QImage right = OnAirway(symbol, {60, 120}, {180, 120});
        EXPECT_NE(right, blank);
        EXPECT_EQ(right, OnAirway(symbol, {180, 120}, {60, 120}));
        // A slanting airway (direction 3:4): going back turns the square's
        // corners end for end.
        const api::TunvexPoint forward[4] = {{134, 122}, {122, 106}, {118, 134}, {106, 118}};
        const api::TunvexPoint back[4] = {forward[3], forward[2], forward[1], forward[0]};
        EXPECT_EQ(WithCorners(symbol, forward), WithCorners(symbol, back));
    }
}

TEST_F(BuiltinSymbolImages, PrintedLettersAndLabelsStandOnTheWhiteBackground)
{
    const auto white = QColor(Qt::white).rgb();
    const auto count = [](const QImage &image, QRgb colour, const QRect &area) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += image.pixel(x, y) == colour;
        return n;
    };
    // Sensor: centre two sides above the airway at (120, 120), side 20.
    const QImage sensor = OnAirway(*Symbols.FindByName(QStringLiteral("Скорость")), {60, 120}, {180, 120}, dtPrinter);
    const QRect letterCell(110, 70, 20, 20);
    EXPECT_GT(count(sensor, white, letterCell), 40);
    EXPECT_GT(count(sensor, QColor(Qt::black).rgb(), letterCell), 10);

    // Station: red stripes along both edges and the number below, on white.
    const QImage station = OnAirway(*Symbols.FindByName(QStringLiteral("ЗамернСт")), {60, 120}, {180, 120}, dtPrinter);
    EXPECT_EQ(station.pixel(120, 111), QColor(Qt::red).rgb());
    EXPECT_EQ(station.pixel(120, 129), QColor(Qt::red).rgb());
    const QRect label(60, 135, 50, 20);
    EXPECT_GT(count(station, white, label), 40);
    EXPECT_GT(count(station, QColor(Qt::black).rgb(), label), 10);
}

} // namespace
