#include "scheme/scheme_objects.h"

#include "scheme_test_network.h"

#include "platform/prompt.h"

#include <gtest/gtest.h>

namespace {
using Op = TRecordingCanvas::TOpKind;

const TRecordingCanvas::TOp *FirstOp(const TRecordingCanvas &canvas, Op kind)
{
    for (const auto &op : canvas.Ops)
        if (op.Kind == kind)
            return &op;
    return nullptr;
}

} // namespace

TEST(SchemeObjectDrawing, BalloonsShareOneSizeAndTakeTheirPositionsColour)
{
    auto t = std::make_unique<TNetworkTables>();
    AddTestNode(*t, 1, 0, 0);
    AddTestNode(*t, 2, 100, 0);
    AddTestBranch(*t, 4, 1, 2);
    t->BranchPLAPosition[4] = 7;
    t->BranchPLAColor[4] = 0x00FFFF;
    TViewport view;
    view.Zoom = 2;
    view.ZoomStep = 4;
    TSchemeDrawSettings settings;
    TRecordingCanvas canvas;
    canvas.CharWidth = 6;

    TPLABaloon seven(*t, 50, 7, 20), big(*t, 80, 777, 20);
    DrawBalloon(canvas, seven, view, settings);
    DrawBalloon(canvas, big, view, settings);
    EXPECT_EQ(seven.Runtime.Radius, big.Runtime.Radius);
    EXPECT_GT(seven.Runtime.Radius, 0);
    ASSERT_EQ(canvas.Ops.size(), 4u);
    const auto &circle = canvas.Ops[0];
    EXPECT_EQ(circle.Kind, Op::Ellipse);
    EXPECT_EQ(circle.Brush.Color, 0x00FFFF);
    const int r = seven.Runtime.Radius;
    EXPECT_EQ(circle.Rect, (TRect{100 - r, 40 - r, 100 + r, 40 + r}));
    EXPECT_EQ(canvas.Ops[1].Text, QStringLiteral("7"));
    EXPECT_EQ(canvas.Ops[1].Brush.Color, 0x00FFFF); // written on the balloon's colour
    EXPECT_EQ(canvas.Ops[2].Brush.Color, 0);         // no branch has 777: black
    EXPECT_EQ(canvas.Ops[3].Text, QStringLiteral("777"));

    // The colour follows the branches only when the number is set again.
    t->BranchPLAColor[4] = 0x0000FF;
    EXPECT_EQ(seven.Color, 0x00FFFF);
    seven.SetNumber(*t, 7);
    EXPECT_EQ(seven.Color, 0x0000FF);
}

TEST(SchemeObjectDrawing, ATelephoneIsAWhiteCircleWithItsNumberAboveOnAClearBrush)
{
    TViewport view;
    view.Zoom = 1;
    view.ZoomStep = 4;
    TSchemeDrawSettings settings;
    TRecordingCanvas canvas;
    canvas.CharWidth = 6;
    TTelephone phone(100, QStringLiteral("2-15"), 50);
    DrawPhone(canvas, phone, view, settings);
    ASSERT_EQ(canvas.Ops.size(), 3u);
    EXPECT_EQ(canvas.Ops[0].Kind, Op::Ellipse);
    EXPECT_EQ(canvas.Ops[0].Brush.Color, clWhite);
    EXPECT_EQ(canvas.Ops[1].Text, QStringLiteral("T"));
    const auto &number = canvas.Ops[2];
    EXPECT_EQ(number.Text, QStringLiteral("2-15"));
    EXPECT_EQ(number.Brush.Style, TBrushStyle::bsClear);
    const TSize size = canvas.TextExtent(QStringLiteral("2-15"));
    EXPECT_EQ(number.At, (TPoint{100 - 1 - size.cx / 2, 50 - phone.Runtime.Radius - 1 - size.cy}));
    EXPECT_EQ(canvas.Brush.Style, TBrushStyle::bsSolid); // the next pass gets its brush back
}

TEST(SchemeObjectDrawing, TextsTakeTheirFontAndStandOnTheBackgroundOrOnWhitePaper)
{
    TViewport view;
    view.Zoom = 1;
    view.ZoomStep = 11;
    TSchemeDrawSettings settings;
    settings.Colors[0] = 0x404040;
    TMapText text;
    text.SetText(QStringLiteral("Ствол"));
    text.SetFontName(QStringLiteral("Liberation Serif"));
    text.SetSizeFactor(3);
    text.SetStyle(ts::Bold | ts::Underline);
    text.SetColor(0x0000C0);
    text.SetPos(10, 20);
    for (const bool printer : {false, true}) {
        TRecordingCanvas canvas(96, 96, printer);
        DrawMapText(canvas, text, view, settings);
        ASSERT_EQ(canvas.Ops.size(), 1u);
        const auto &op = canvas.Ops[0];
        EXPECT_EQ(op.Font.Size, 30);
        EXPECT_EQ(op.Font.Name, QStringLiteral("Liberation Serif"));
        EXPECT_EQ(op.Font.Style, fs::Bold | fs::Underline);
        EXPECT_EQ(op.Font.Color, 0x0000C0);
        EXPECT_EQ(op.Brush.Color, printer ? clWhite : 0x404040);
        EXPECT_EQ(op.At, (TPoint{10, 20}));
    }
}

TEST(SchemeObjectDrawing, EachPassDrawsOnlyWithItsSwitchAndCheckAndTextsComeFirst)
{
    auto t = std::make_unique<TNetworkTables>();
    AddTestNode(*t, 1, 0, 30);
    AddTestNode(*t, 2, 300, 30);
    AddTestBranch(*t, 1, 1, 2);
    TSchemeDocument doc;
    doc.BalloonList.Add(TPLABaloon(*t, 40, 3, 40));
    doc.PhoneList.Add(TTelephone(80, QStringLiteral("12"), 80));
    TMapText text;
    text.SetText(QStringLiteral("Надпись"));
    doc.MapTexts.Add(text);
    TSchemeOverlays overlays;
    overlays.DrawTexts = [&](TCanvas &c, const TViewport &v, const TSchemeDrawSettings &s) { DrawMapTexts(c, doc.MapTexts, v, s); };
    overlays.DrawBalloons = [&](TCanvas &c, const TViewport &v, const TSchemeDrawSettings &s) { DrawBalloons(c, doc.BalloonList, v, s); };
    overlays.DrawPhones = [&](TCanvas &c, const TViewport &v, const TSchemeDrawSettings &s) { DrawPhones(c, doc.PhoneList, v, s); };
    TBranchColors colors{};
    TViewport view;
    view.Zoom = 1;
    view.ZoomStep = 4;

    const auto drawn = [&](bool switches, bool checks) {
        TSchemeDrawSettings settings;
        settings.Switches.Text = settings.Switches.Pla = settings.Switches.Phones = switches;
        settings.Checks.Texts = settings.Checks.PLA = settings.Checks.Phones = checks;
        TRecordingCanvas canvas;
        TPaintGuard guard;
        TSchemeRenderer(*t, colors, view, settings, overlays).PaintScheme(canvas, guard);
        return canvas.Texts();
    };
    EXPECT_EQ(drawn(true, true), (QStringList{"Надпись", "3", "T", "12"}));
    EXPECT_EQ(drawn(false, true), QStringList{});
    EXPECT_EQ(drawn(true, false), QStringList{});

    TSchemeDrawSettings settings;
    settings.Checks.Texts = true;
    TRecordingCanvas canvas;
    TPaintGuard guard;
    TSchemeRenderer(*t, colors, view, settings, overlays).PaintScheme(canvas, guard);
    const auto text_ = FirstOp(canvas, Op::TextOut);
    const auto line = FirstOp(canvas, Op::LineTo);
    ASSERT_TRUE(text_ && line);
    EXPECT_LT(text_, line); // a branch drawn across a text covers it
}

TEST(SchemeObjectHits, CirclesHitTheirSquareAndTextsTheirRectangleEdgesIncluded)
{
    struct TCase
    {
        int X, Y;
        bool Hit;
    };
    // Zoom 2, radius 10 pixels: 5 scheme units around (100, 50).
    for (const TCase c : {TCase{95, 45, true}, {105, 55, true}, {95, 55, true}, {100, 50, true}, {94, 50, false},
                          {100, 56, false}, {106, 44, false}})
        EXPECT_EQ(CircleHit(100, 50, 10, 2, c.X, c.Y), c.Hit) << c.X << "," << c.Y;

    TRecordingCanvas measure;
    measure.CharWidth = 7;
    TMapText text;
    text.SetText(QStringLiteral("abcd")); // 28 × em pixels
    text.SetPos(10, 20);
    TFont font;
    font.Size = 12; // 16 pixels at 96 per inch
    const TPoint lr = MapTextLowerRight(text, measure, 2, font);
    EXPECT_EQ(lr, (TPoint{10 + 14, 20 + 8}));
}

namespace {

// The layers over a small document, with dialogs answered by the test.
struct TLayersTest : ::testing::Test
{
    std::unique_ptr<TNetworkTables> Tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *Tables;
    TSchemeDocument Doc;
    TViewport View;
    TRecordingCanvas Measure;
    TScriptedPrompt Prompt;
    int Modified = 0, Redraws = 0;
    std::vector<int> Opened;
    std::function<TObjectEditResult(TPLABaloon &)> OnBalloon;
    std::function<TObjectEditResult(TMapText &)> OnText;
    TSchemeObjectLayers Layers;

    void SetUp() override
    {
        View.Zoom = 2;
        View.ZoomStep = 4;
        Measure.CharWidth = 8;
        TSchemeObjectServices s;
        s.Tables = &t;
        s.Doc = &Doc;
        s.View = &View;
        s.DrawSettings = [] { return TSchemeDrawSettings{}; };
        s.MeasureCanvas = [this] { return &Measure; };
        s.Redraw = [this] { ++Redraws; };
        s.SetModified = [this](bool m) { Modified += m ? 1 : 0; };
        s.EditBalloon = [this](TPLABaloon &b) {
            Opened.push_back(b.Number);
            return OnBalloon ? OnBalloon(b) : oeCancel;
        };
        s.EditText = [this](TMapText &text, const QString &, bool) { return OnText ? OnText(text) : oeCancel; };
        Layers = MakeSchemeObjectLayers(s);
    }

    TPLABaloon *Balloon(int x, int number, int y, int radius = 10)
    {
        TPLABaloon *b = Doc.BalloonList.Add(TPLABaloon(t, x, number, y));
        b->Runtime.Radius = radius;
        return b;
    }
};

} // namespace

TEST_F(TLayersTest, ABalloonDeletedInItsDialogLetsTheOthersHitOpenInOrder)
{
    Balloon(100, 1, 100);
    Balloon(102, 2, 101);
    Balloon(300, 3, 300);
    OnBalloon = [&](TPLABaloon &b) { return b.Number == 1 ? oeDelete : oeCancel; };
    Layers.Balloons->Click(101, 100);
    EXPECT_EQ(Opened, (std::vector<int>{1, 2}));
    ASSERT_EQ(Doc.BalloonList.Count(), 2);
    EXPECT_EQ(Doc.BalloonList[0].Number, 2);
    EXPECT_EQ(Modified, 1);

    // A new number on OK is a change; the same number is not.
    Opened.clear();
    Modified = 0;
    OnBalloon = [&](TPLABaloon &b) {
        b.SetNumber(t, b.Number);
        return oeOk;
    };
    Layers.Balloons->Click(101, 100);
    EXPECT_EQ(Modified, 0);
    OnBalloon = [&](TPLABaloon &b) {
        b.SetNumber(t, 9);
        return oeOk;
    };
    Layers.Balloons->Click(101, 100);
    EXPECT_EQ(Modified, 1);
}

TEST_F(TLayersTest, DragsMarkTheDocumentOnlyWhenSomethingMovedExceptTexts)
{
    Balloon(100, 1, 100);
    TTelephone *phone = Doc.PhoneList.Add(TTelephone(200, QStringLiteral("5"), 200));
    phone->Runtime.Radius = 10;
    TRecordingCanvas xorCanvas;

    ASSERT_TRUE(Layers.Balloons->MouseDown(100, 100));
    EXPECT_FALSE(Layers.Balloons->MouseUp());
    EXPECT_EQ(Modified, 0);
    EXPECT_EQ(Redraws, 1);

    ASSERT_TRUE(Layers.Phones->MouseDown(203, 198));
    Layers.Phones->MouseMove(xorCanvas, 250, 260);
    EXPECT_EQ(xorCanvas.Ops.size(), 2u); // the old outline off, the new one on
    EXPECT_TRUE(Layers.Phones->MouseUp());
    EXPECT_EQ(phone->X, 250);
    EXPECT_EQ(phone->Y, 260);
    EXPECT_EQ(Modified, 1);
    EXPECT_FALSE(Layers.Phones->MouseDown(0, 0));

    TMapText text;
    text.SetText(QStringLiteral("ab"));
    text.SetPos(10, 10);
    Doc.MapTexts.Add(text);
    ASSERT_TRUE(Layers.Texts->MouseDown(12, 12));
    EXPECT_TRUE(Layers.Texts->MouseUp()); // pressing alone counts for a text
    EXPECT_EQ(Modified, 2);
    ASSERT_TRUE(Layers.Texts->MouseDown(12, 12));
    Layers.Texts->MouseMove(xorCanvas, 40, 50);
    Layers.Texts->MouseUp();
    EXPECT_EQ(Doc.MapTexts[0].X, 38); // the press point keeps its place on the text
    EXPECT_EQ(Doc.MapTexts[0].Y, 48);

    Layers.Texts->MoveBy(-8, -8);
    Layers.Phones->MoveBy(-8, -8);
    EXPECT_EQ(Layers.Texts->MinPoint(), (TPoint{30, 40}));
    EXPECT_EQ(Layers.Phones->MinPoint(), (TPoint{242, 252}));
    EXPECT_EQ(Layers.Balloons->MinPoint(), (TPoint{100, 100}));
}

TEST_F(TLayersTest, ATelephonesNumberIsEditedAsTypedAndSpacesDeleteIt)
{
    TTelephone *phone = Doc.PhoneList.Add(TTelephone(100, QStringLiteral("12"), 100));
    phone->Runtime.Radius = 10;
    t.BranchPhone[3] = phone;
    t.BranchPhone[9] = phone;

    Prompt.AnswerText(QStringLiteral(" 12"));
    Layers.Phones->Click(100, 100);
    EXPECT_EQ(phone->Number, QStringLiteral(" 12"));
    EXPECT_EQ(Modified, 1);
    ASSERT_EQ(Prompt.Queried.size(), 1u);
    EXPECT_EQ(Prompt.Queried[0].Caption, QStringLiteral("Телефон"));
    EXPECT_EQ(Prompt.Queried[0].Prompt, QStringLiteral("Номер (для удаления - очистите строку)"));
    EXPECT_EQ(Prompt.Queried[0].Start, QStringLiteral("12"));

    Prompt.AnswerText(QStringLiteral("1234567890123456789"));
    Layers.Phones->Click(100, 100);
    EXPECT_EQ(phone->Number, QStringLiteral("123456789012345"));

    Prompt.AnswerText(std::nullopt);
    Layers.Phones->Click(100, 100);
    EXPECT_EQ(Doc.PhoneList.Count(), 1);

    Prompt.AnswerText(QStringLiteral("   "));
    Layers.Phones->Click(100, 100);
    EXPECT_EQ(Doc.PhoneList.Count(), 0);
    EXPECT_EQ(t.BranchPhone[3], nullptr);
    EXPECT_EQ(t.BranchPhone[9], nullptr);
}

TEST_F(TLayersTest, PlacingAsksAndAddsAtThePoint)
{
    t.BranchPLAPosition[2] = 4;
    t.BranchPLAColor[2] = 0x00FF00;
    Prompt.AnswerText(QStringLiteral("4"));
    Layers.Balloons->AddAt(30, 40);
    ASSERT_EQ(Doc.BalloonList.Count(), 1);
    EXPECT_EQ(Doc.BalloonList[0].Color, 0x00FF00);
    EXPECT_EQ(Doc.BalloonList[0].X, 30);
    Prompt.AnswerText(QStringLiteral("четыре"));
    EXPECT_THROW(Layers.Balloons->AddAt(30, 40), EConvertError);
    EXPECT_EQ(Doc.BalloonList.Count(), 1);

    Prompt.AnswerText(QStringLiteral("3-15"));
    Layers.Phones->AddAt(5, 6);
    ASSERT_EQ(Doc.PhoneList.Count(), 1);
    EXPECT_EQ(Layers.Phones->Caption(0), QStringLiteral("Телефон №3-15"));

    Modified = 0;
    OnText = [](TMapText &text) {
        EXPECT_EQ(text.Text, QStringLiteral("Введите текст"));
        text.SetText(QStringLiteral("Лава"));
        return oeCancel;
    };
    Layers.Texts->AddAt(7, 8);
    EXPECT_EQ(Doc.MapTexts.Count(), 0);
    EXPECT_EQ(Modified, 1); // as the tool always did
    OnText = [](TMapText &) { return oeOk; };
    Layers.Texts->AddAt(7, 8);
    ASSERT_EQ(Doc.MapTexts.Count(), 1);
    EXPECT_EQ(Layers.Texts->Caption(0), QStringLiteral("Строка \"Введите текст\""));
    EXPECT_EQ(Layers.Texts->HitAt(7, 8), std::vector<int>{0});
}

TEST(BranchPhones, TheBranchDialogCreatesRenamesAndDeletesTheLinkedTelephone)
{
    auto t = std::make_unique<TNetworkTables>();
    TSchemeDocument doc;
    EXPECT_FALSE(StoreBranchPhone(*t, doc, 5, QString(), {1, 2}));
    ASSERT_TRUE(StoreBranchPhone(*t, doc, 5, QStringLiteral("44"), {1, 2}));
    ASSERT_EQ(doc.PhoneList.Count(), 1);
    EXPECT_EQ(t->BranchPhone[5], &doc.PhoneList[0]);
    EXPECT_EQ(doc.PhoneList[0].X, 1);
    EXPECT_EQ(BranchPhoneNumber(*t, 5), QStringLiteral("44"));
    EXPECT_FALSE(StoreBranchPhone(*t, doc, 5, QStringLiteral("44"), {}));
    EXPECT_TRUE(StoreBranchPhone(*t, doc, 5, QStringLiteral("45"), {}));
    EXPECT_EQ(doc.PhoneList[0].Number, QStringLiteral("45"));
    EXPECT_TRUE(StoreBranchPhone(*t, doc, 5, QString(), {}));
    EXPECT_EQ(doc.PhoneList.Count(), 0);
    EXPECT_EQ(t->BranchPhone[5], nullptr);

    // A destroyed branch takes its link along: a new branch of that number has none.
    CreateBranch(*t, 6);
    StoreBranchPhone(*t, doc, 6, QStringLiteral("7"), {});
    DestroyBranch(*t, 6);
    CreateBranch(*t, 6);
    EXPECT_EQ(BranchPhoneNumber(*t, 6), QString());
}
