#include "report/ui/speed_button.h"

#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

QImage Glyph(int width, int height, QColor fill = QColor(128, 128, 0))
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

} // namespace

TEST(SpeedButton, GlyphWidthGivesTheNumberOfCells)
{
    struct TCase
    {
        int Width;
        int Before;
        int Expected;
    };
    for (const TCase &c : {TCase{64, 1, 4}, TCase{80, 2, 1}, TCase{30, 3, 3}, TCase{32, 1, 2}}) {
        TfrSpeedButton button;
        button.SetNumGlyphs(c.Before);
        button.SetGlyph(Glyph(c.Width, 16));
        EXPECT_EQ(button.NumGlyphs(), c.Expected) << c.Width;
    }
    TfrSpeedButton button;
    button.SetMargin(-2);
    EXPECT_EQ(button.Margin(), -1);
    button.SetNumGlyphs(9);
    EXPECT_EQ(button.NumGlyphs(), 4);
}

TEST(SpeedButton, StateImagesGreyAndEmbossTheGlyph)
{
    QImage glyph = Glyph(16, 16);
    glyph.setPixelColor(3, 4, QColor(255, 0, 0));
    glyph.setPixelColor(5, 5, QColor(0, 0, 255));
    const QColor olive(128, 128, 0);
    const QImage grey = ButtonStateImage(glyph, 1, bsGrayed, olive);
    EXPECT_EQ(grey.pixelColor(3, 4), QColor(76, 76, 76));
    EXPECT_EQ(grey.pixelColor(5, 5), QColor(28, 28, 28));
    EXPECT_EQ(grey.pixelColor(0, 0).alpha(), 0);
    const QImage up = ButtonStateImage(glyph, 1, bsUp, olive);
    EXPECT_EQ(up.pixelColor(3, 4), QColor(255, 0, 0));
    EXPECT_EQ(up.pixelColor(0, 0).alpha(), 0);
    // One cell: the disabled look is the shape in shadow with a highlight below right.
    const QImage disabled = ButtonStateImage(glyph, 1, bsDisabled, olive);
    EXPECT_EQ(disabled.pixelColor(3, 4), QColor(128, 128, 128));
    EXPECT_EQ(disabled.pixelColor(4, 5), QColor(255, 255, 255));
    EXPECT_TRUE(ButtonStateImage(glyph, 1, 5, olive).isNull());
}

TEST(SpeedButton, GlyphAndCaptionPlacement)
{
    const QRect client(0, 0, 60, 22);
    // Centred together with the spacing between them.
    TButtonPlacement p = PlaceGlyphAndCaption(client, {16, 16}, {20, 13}, blGlyphLeft, -1, 4);
    EXPECT_EQ(p.GlyphPos, QPoint(10, 3));
    EXPECT_EQ(p.TextBounds, QRect(30, 5, 20, 13));
    p = PlaceGlyphAndCaption(client, {16, 16}, {20, 13}, blGlyphRight, 2, 4);
    EXPECT_EQ(p.GlyphPos, QPoint(42, 3));
    EXPECT_EQ(p.TextBounds.left(), 18);
    // Without a caption the glyph alone is centred.
    p = PlaceGlyphAndCaption(QRect(1, 1, 22, 22), {16, 16}, {}, blGlyphLeft, -1, 4);
    EXPECT_EQ(p.GlyphPos, QPoint(4, 4));
}

TEST(SpeedButton, GroupsReleaseTheOtherButtonAndClicksNeedTheRelease)
{
    QWidget parent;
    TfrSpeedButton first(&parent), second(&parent), plain(&parent);
    for (TfrSpeedButton *b : {&first, &second})
        b->SetGroupIndex(1);
    second.move(30, 0);
    parent.resize(100, 30);
    parent.show();

    plain.SetDown(true);
    EXPECT_FALSE(plain.Down());

    int clicks = 0;
    second.OnClick = [&] { ++clicks; };
    first.SetDown(true);
    QTest::mouseClick(&second, Qt::LeftButton);
    EXPECT_TRUE(second.Down());
    EXPECT_FALSE(first.Down());
    EXPECT_EQ(clicks, 1);

    // Without AllowAllUp the down button stays down, clicked or set.
    QTest::mouseClick(&second, Qt::LeftButton);
    EXPECT_TRUE(second.Down());
    second.SetDown(false);
    EXPECT_TRUE(second.Down());
    EXPECT_EQ(clicks, 2);

    // A release outside the button clicks nothing.
    QTest::mousePress(&second, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&second, Qt::LeftButton, {}, QPoint(50, 5));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(second.State(), bsExclusive);

    // AllowAllUp set on one button goes to the whole group.
    first.SetAllowAllUp(true);
    EXPECT_TRUE(second.AllowAllUp());
    second.SetDown(false);
    EXPECT_FALSE(second.Down());
}

TEST(SpeedButton, FlatGreyedButtonColoursUnderTheMouse)
{
    QImage glyph = Glyph(16, 16);
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            glyph.setPixelColor(x, y, QColor(255, 0, 0));
    TfrSpeedButton button;
    button.SetFlat(true);
    button.SetGlyph(glyph);
    button.show();
    EXPECT_EQ(button.grab().toImage().pixelColor(11, 11), QColor(76, 76, 76));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&button, &enter);
    EXPECT_TRUE(button.MouseInControl());
    EXPECT_EQ(button.grab().toImage().pixelColor(11, 11), QColor(255, 0, 0));
    button.SetGrayedInactive(false);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    EXPECT_EQ(button.grab().toImage().pixelColor(11, 11), QColor(255, 0, 0));
}
