// The balloon and text dialogs as the engineer drives them, and placed
// objects drawn on a real image.
#include "scheme/ui/frm_symbols_property.h"
#include "scheme/ui/frm_text_prop.h"

#include "../scheme_test_network.h"
#include "when_shown.h"

#include "platform/prompt.h"
#include "platform/ui/qt_canvas.h"

#include <QtCore/QTimer>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QToolButton>

#include <gtest/gtest.h>

#include <functional>

TEST(FrmSymbolsProperty, ANumberThatIsNoIntegerKeepsTheDialogOpen)
{
    auto t = std::make_unique<TNetworkTables>();
    t->BranchPLAPosition[3] = 12;
    t->BranchPLAColor[3] = 0x00FF00;
    TPLABaloon balloon(*t, 10, 5, 10);
    TScriptedPrompt prompt;
    bool stillOpen = false;
    WhenShown<TfrmSymbolsProperty>([&](TfrmSymbolsProperty &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Свойства"));
        EXPECT_EQ(d.xqeText->text(), QStringLiteral("5"));
        d.xqeText->setText(QStringLiteral("12,5"));
        QTest::mouseClick(d.btnOK, Qt::LeftButton);
        stillOpen = d.isVisible();
        d.xqeText->setText(QStringLiteral("12"));
        QTest::mouseClick(d.btnOK, Qt::LeftButton);
    });
    EXPECT_EQ(TfrmSymbolsProperty::Edit(balloon, *t), oeOk);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_TRUE(prompt.Asked[0].Text.contains(QStringLiteral("12,5")));
    EXPECT_EQ(balloon.Number, 12);
    EXPECT_EQ(balloon.Color, 0x00FF00);

    WhenShown<TfrmSymbolsProperty>([](TfrmSymbolsProperty &d) { QTest::mouseClick(d.btnDelete, Qt::LeftButton); });
    EXPECT_EQ(TfrmSymbolsProperty::Edit(balloon, *t), oeDelete);
    WhenShown<TfrmSymbolsProperty>([](TfrmSymbolsProperty &d) { QTest::mouseClick(d.btnCancel, Qt::LeftButton); });
    EXPECT_EQ(TfrmSymbolsProperty::Edit(balloon, *t), oeCancel);
}

TEST(FrmSymbolsProperty, DeletingTheFirstOfTwoOverlappingBalloonsStillOpensTheSecond)
{
    auto t = std::make_unique<TNetworkTables>();
    TSchemeDocument doc;
    TViewport view;
    view.Zoom = 1;
    for (const int number : {1, 2})
        doc.BalloonList.Add(TPLABaloon(*t, 50, number, 50))->Runtime.Radius = 8;
    TSchemeObjectServices s;
    s.Tables = t.get();
    s.Doc = &doc;
    s.View = &view;
    s.EditBalloon = [&](TPLABaloon &b) { return TfrmSymbolsProperty::Edit(b, *t); };
    const TSchemeObjectLayers layers = MakeSchemeObjectLayers(s);
    QStringList shown;
    std::function<void(TfrmSymbolsProperty &)> next = [&](TfrmSymbolsProperty &d) {
        shown << d.xqeText->text();
        if (shown.size() == 1) {
            WhenShown(next);
            QTest::mouseClick(d.btnDelete, Qt::LeftButton);
        } else {
            QTest::mouseClick(d.btnCancel, Qt::LeftButton);
        }
    };
    WhenShown(next);
    layers.Balloons->Click(52, 48);
    EXPECT_EQ(shown, (QStringList{"1", "2"}));
    ASSERT_EQ(doc.BalloonList.Count(), 1);
    EXPECT_EQ(doc.BalloonList[0].Number, 2);
}

TEST(FrmTextProp, OpensShowingTheTextAndCancelGivesItBack)
{
    TMapText text;
    text.SetText(QStringLiteral("Лава 3"));
    text.SetFontName(QStringLiteral("Шрифт, которого нет"));
    text.SetSizeFactor(2);
    text.SetStyle(ts::Italic);
    text.SetColor(0x0000FF);
    const TMapText before = text;

    WhenShown<TfrmTextProp>([](TfrmTextProp &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Корректировка надписи"));
        EXPECT_EQ(d.Edit1->text(), QStringLiteral("Лава 3"));
        EXPECT_EQ(d.ComboBox1->currentIndex(), -1); // the font is not installed
        EXPECT_EQ(d.SpinEdit1->value(), 2);
        EXPECT_FALSE(d.btnBold->isChecked());
        EXPECT_TRUE(d.btnItalic->isChecked());
        EXPECT_TRUE(d.btnDelete->isEnabled());
        d.Edit1->setText(QStringLiteral("Лава 4"));
        QTest::mouseClick(d.btnBold, Qt::LeftButton);
        d.SpinEdit1->setValue(3);
        EXPECT_EQ(d.lblSample->text(), QStringLiteral("Лава 4"));
        EXPECT_TRUE(d.lblSample->font().bold());
        QTest::mouseClick(d.btnCancel, Qt::LeftButton);
    });
    EXPECT_EQ(TfrmTextProp::Edit(text, QStringLiteral("Корректировка надписи"), true), oeCancel);
    EXPECT_EQ(text, before);
    EXPECT_EQ(text.Style, ts::Italic);

    WhenShown<TfrmTextProp>([](TfrmTextProp &d) {
        EXPECT_FALSE(d.btnDelete->isEnabled());
        d.Edit1->setText(QStringLiteral("Лава 4"));
        QTest::mouseClick(d.btnItalic, Qt::LeftButton);
        QTest::mouseClick(d.btnUnderline, Qt::LeftButton);
        QTest::mouseClick(d.btnSave, Qt::LeftButton);
    });
    EXPECT_EQ(TfrmTextProp::Edit(text, QStringLiteral("Новая надпись"), false), oeOk);
    EXPECT_EQ(text.Text, QStringLiteral("Лава 4"));
    EXPECT_EQ(text.Style, ts::Underline);
}

TEST(SchemeObjectsImage, BalloonsAreFilledWithTheirColourAndTelephonesWhite)
{
    auto t = std::make_unique<TNetworkTables>();
    t->BranchPLAPosition[1] = 7;
    t->BranchPLAColor[1] = 0x00FFFF;
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::gray);
    TViewport view;
    view.Zoom = 1;
    view.ZoomStep = 11;
    TSchemeDrawSettings settings;
    {
        TQtCanvas canvas(&image);
        TPLABaloon balloon(*t, 50, 7, 50);
        DrawBalloon(canvas, balloon, view, settings);
        TTelephone phone(150, QStringLiteral("12"), 60);
        DrawPhone(canvas, phone, view, settings);
        ASSERT_GT(balloon.Runtime.Radius, 4);
        // Inside the circle, beside its text.
        const int r = balloon.Runtime.Radius;
        EXPECT_EQ(QColorToTColor(image.pixelColor(50, 50 + r - 3)), 0x00FFFF);
        EXPECT_EQ(QColorToTColor(image.pixelColor(150, 60 + phone.Runtime.Radius - 3)), clWhite);
        // The number stands above the circle, on the grey that was there.
        bool dark = false;
        for (int y = 60 - phone.Runtime.Radius - 14; y < 60 - phone.Runtime.Radius; ++y)
            for (int x = 140; x < 160; ++x)
                dark = dark || image.pixelColor(x, y).lightness() < 60;
        EXPECT_TRUE(dark);
        EXPECT_EQ(QColorToTColor(image.pixelColor(138, 60 - phone.Runtime.Radius - 2)),
                  QColorToTColor(QColor(Qt::gray)));
    }
}
