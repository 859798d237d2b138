#include "scheme/branch_symbols.h"
#include "scheme/builtin_symbols.h"

#include "platform/prompt.h"

#include "scheme_test_network.h"
#include "symbol_services.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <tuple>

namespace api = tunvex_api;

namespace {

using TCorners = std::array<TPoint, 4>;
std::vector<TCorners> Drawn;
std::vector<TColor> DrawnColors;

void RecordDraw(api::TunvexSymbolDC *dc, const api::TunvexPoint *p1, const api::TunvexPoint *p2,
                const api::TunvexPoint *p3, const api::TunvexPoint *p4, std::int32_t color)
{
    Drawn.push_back({TPoint{p1->X, p1->Y}, TPoint{p2->X, p2->Y}, TPoint{p3->X, p3->Y}, TPoint{p4->X, p4->Y}});
    DrawnColors.push_back(color);
    TSymbolDC::CanvasOf(dc).Pen.Width = 9;
}

void ThrowingDraw(api::TunvexSymbolDC *dc, const api::TunvexPoint *, const api::TunvexPoint *,
                  const api::TunvexPoint *, const api::TunvexPoint *, std::int32_t)
{
    TCanvas &c = TSymbolDC::CanvasOf(dc);
    c.Pen.Width = 5;
    c.Pen.Color = clRed;
    throw std::runtime_error("broken symbol");
}

const char *DoorName() { return "Door"; }
const char *BrokenName() { return "Broken"; }
const char *LongName() { return "ABCDEFGHIJK"; }
const char *Description() { return "Test symbol"; }

class BranchSymbolDrawing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Drawn.clear();
        DrawnColors.clear();
        View.Zoom = 1;
        View.ZoomStep = 4; // side 8
        Symbols.Add(DoorName, Description, RecordDraw);
        Symbols.Add(BrokenName, Description, ThrowingDraw);
        Symbols.Add(LongName, Description, RecordDraw);
        // Branch 1: 100 m drawn as two segments of 100 units, right then down.
        AddTestNode(T, 1, 0, 0);
        AddTestNode(T, 2, 100, 100);
        AddTestBranch(T, 1, 1, 2);
        T.BranchTurns[1]->insert(T.BranchTurns[1]->begin() + 1, TTurn(1, 100, 0));
        T.BranchLength[1] = 100;
    }

    void Draw(int branch = 1, bool thick = true)
    {
        DrawBranchSymbols(Canvas, {T, Links, Symbols, View, Settings}, branch, thick, 0x123456);
    }

    TNetworkTables T{};
    TLinkList Links;
    TBranchSymbolList Symbols;
    TViewport View;
    TSchemeDrawSettings Settings;
    TRecordingCanvas Canvas;
};

TEST_F(BranchSymbolDrawing, LinkIsPlacedInProportionOnItsSegmentAndNeverAtABendOrOutside)
{
    Links = {TLink(1, 25, QStringLiteral("Door"))};
    Draw();
    ASSERT_EQ(Drawn.size(), 1u);
    // Centre (50, 0) on the first segment, which runs right: corners ahead
    // and behind on the left (up the screen), then on the right.
    EXPECT_EQ(Drawn[0], (TCorners{TPoint{54, -4}, TPoint{46, -4}, TPoint{54, 4}, TPoint{46, 4}}));
    EXPECT_EQ(DrawnColors[0], 0x123456);
    // The symbol's pen is reset afterwards.
    EXPECT_EQ(Canvas.Pen.Width, 1);
    EXPECT_EQ(Canvas.Pen.Color, clBlack);

    // On the second segment, which runs down, the left of travel is +x.
    Drawn.clear();
    Links = {TLink(1, 75, QStringLiteral("Door"))};
    Draw();
    ASSERT_EQ(Drawn.size(), 1u);
    EXPECT_EQ(Drawn[0], (TCorners{TPoint{104, 54}, TPoint{104, 46}, TPoint{96, 54}, TPoint{96, 46}}));

    for (const int distance : {0, 50, 100, -5, 120}) {
        Drawn.clear();
        Links = {TLink(1, distance, QStringLiteral("Door"))};
        Draw();
        EXPECT_TRUE(Drawn.empty()) << distance;
    }
}

TEST_F(BranchSymbolDrawing, NothingIsDrawnWithoutLengthThicknessOrAKnownName)
{
    Links = {TLink(1, 25, QStringLiteral("Door"))};
    Draw(1, false);
    EXPECT_TRUE(Drawn.empty()) << "thin mode";

    T.BranchLength[1] = 0;
    Draw();
    EXPECT_TRUE(Drawn.empty()) << "branch of length 0";

    // All points in one place: no drawn length.
    T.BranchLength[1] = 100;
    for (TTurn &p : *T.BranchTurns[1])
        p.X = 10, p.Y = 10;
    Draw();
    EXPECT_TRUE(Drawn.empty()) << "coincident points";

    // A name of 11 characters is stored as 10 and matches no symbol.
    AddTestNode(T, 3, 0, 200);
    AddTestNode(T, 4, 100, 200);
    AddTestBranch(T, 2, 3, 4);
    T.BranchLength[2] = 100;
    const TLink link(2, 50, QStringLiteral("ABCDEFGHIJK"));
    EXPECT_EQ(link.Name, QStringLiteral("ABCDEFGHIJ"));
    EXPECT_EQ(TLink::FromBytes(link.ToBytes().constData()), link);
    Links = {link, TLink(1, 25, QStringLiteral("Unknown"))};
    Draw(2);
    Draw(1);
    EXPECT_TRUE(Drawn.empty());
}

TEST_F(BranchSymbolDrawing, ShortScreenSegmentsAndTheSideLimitDependOnTheTarget)
{
    // A 3-pixel segment: only on paper.
    View.Zoom = 0.03;
    Links = {TLink(1, 25, QStringLiteral("Door"))};
    Draw();
    EXPECT_TRUE(Drawn.empty());
    Settings.DrawTarget = dtPrinter;
    Draw();
    ASSERT_EQ(Drawn.size(), 1u);

    // Widest band of 32 pixels: 32 on the screen, 30 on paper.
    View.Zoom = 1;
    View.ZoomStep = LastZoomStep;
    for (const auto &[target, side] : {std::pair{dtScreen, 32}, std::pair{dtPrinter, 30}}) {
        Drawn.clear();
        Settings.DrawTarget = target;
        Draw();
        ASSERT_EQ(Drawn.size(), 1u);
        EXPECT_EQ(Drawn[0][0].X - Drawn[0][1].X, side);
        EXPECT_EQ(Drawn[0][2].Y - Drawn[0][0].Y, side);
    }
}

TEST_F(BranchSymbolDrawing, AFailingSymbolIsSkippedAndTheNextLinkDrawn)
{
    Links = {TLink(1, 20, QStringLiteral("Broken")), TLink(1, 30, QStringLiteral("Door"))};
    EXPECT_NO_THROW(Draw());
    EXPECT_EQ(Drawn.size(), 1u);
    EXPECT_EQ(Canvas.Pen.Width, 1);
    EXPECT_EQ(Canvas.Pen.Color, clBlack);
}

TEST_F(BranchSymbolDrawing, TheLastSymbolOfANameWinsSoBuiltinsHideLibraries)
{
    TBranchSymbolList list;
    list.Add(DoorName, Description, RecordDraw);
    list.Add(DoorName, Description, ThrowingDraw);
    ASSERT_NE(list.FindByName(QStringLiteral("Door")), nullptr);
    EXPECT_EQ(list.FindByName(QStringLiteral("Door"))->DrawSymbol2, &ThrowingDraw);
    EXPECT_EQ(list.FindByName(QStringLiteral("door")), nullptr);

    RegisterBuiltinSymbols(list);
    ASSERT_EQ(list.Count(), 2 + BuiltinSymbolCount);
    EXPECT_EQ(list.GetItem(2).Name, QStringLiteral("Скорость"));
    EXPECT_EQ(list.GetItem(2 + 12).Description, QStringLiteral("Станция замера расхода воздуха"));
    EXPECT_EQ(list.GetItem(list.Count() - 1).Name, QStringLiteral("ВодЗаслон2"));
    for (int i = 2; i < list.Count(); ++i) {
        EXPECT_LE(list.GetItem(i).Name.size(), TLink::MaxNameLength);
        EXPECT_EQ(list.GetItem(i).Module, nullptr);
    }
}

// ---- Libraries ----------------------------------------------------------------

class SymbolLibraries : public ::testing::Test
{
protected:
    void Copy(const char *built, const QString &as)
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(TUNVEX_TEST_SYMBOLS "/%1.so").arg(QLatin1String(built)),
                                Folder.filePath(as)))
            << built;
    }

    QTemporaryDir Folder;
};

TEST_F(SymbolLibraries, OnlyCompleteLoadableLibrariesAreKeptInFileNameOrder)
{
    Copy("test_symbol_twin", QStringLiteral("e_twin.so"));
    Copy("test_symbol", QStringLiteral("a_test.so"));
    Copy("test_symbol_methane", QStringLiteral("b_methane.so"));
    Copy("test_symbol_no_draw1", QStringLiteral("c_no_draw1.so"));
    Copy("test_symbol_needs_missing", QStringLiteral("d_missing.so"));
    QFile text(Folder.filePath(QStringLiteral("x.so")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a library\n");
    text.close();

    TBranchSymbolList list(Folder.path());
    EXPECT_EQ(list.Names(), QStringList({QStringLiteral("Тест"), QStringLiteral("Метан"), QStringLiteral("Тест")}));
    EXPECT_EQ(list.GetItem(0).Description, QStringLiteral("Test Тест"));
    RegisterBuiltinSymbols(list);

    // Of two libraries with one name the later wins; it draws through the handle.
    const TBranchSymbol *test = list.FindByName(QStringLiteral("Тест"));
    ASSERT_EQ(test, &list.GetItem(2));
    TRecordingCanvas canvas;
    const api::TunvexPoint corners[4] = {{10, 10}, {20, 10}, {10, 20}, {20, 20}};
    CallDrawSymbol(canvas, *test, corners, clBlack);
    ASSERT_EQ(canvas.Ops.size(), 2u);
    EXPECT_EQ(canvas.Ops[0].Kind, TRecordingCanvas::TOpKind::Polygon);
    EXPECT_EQ(canvas.Ops[0].Brush.Color, 0xFF00FF);
    EXPECT_EQ(canvas.Ops[1].Text, QStringLiteral("Тест"));
    EXPECT_EQ(canvas.Ops[1].Brush.Style, TBrushStyle::bsClear);
    EXPECT_EQ(canvas.Ops[1].Font.Height, -12);

    // The built-in methane sensor hides the library's.
    const TBranchSymbol *methane = list.FindByName(QStringLiteral("Метан"));
    ASSERT_NE(methane, nullptr);
    EXPECT_EQ(methane->Module, nullptr);

    list.UnloadAll();
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(SymbolLibraries, LibraryThatThrowsIsSkippedByNameAndTheOthersLoad)
{
    Copy("test_symbol_throwing_name", QStringLiteral("a_name.so"));
    Copy("test_symbol", QStringLiteral("b_test.so"));
    Copy("test_symbol_throwing_description", QStringLiteral("c_description.so"));
    TScriptedPrompt prompt;
    TBranchSymbolList list(Folder.path());
    EXPECT_EQ(list.Names(), QStringList{QStringLiteral("Тест")});
    // The boxes are owed, not shown: the list is built while the program starts.
    EXPECT_TRUE(prompt.Asked.empty());
    const std::vector<TMessage> &refusals = list.Refusals();
    ASSERT_EQ(refusals.size(), 2u);
    for (const auto &[i, file, entry] : {std::tuple{0, "a_name.so", "GetSymbolName"},
                                         std::tuple{1, "c_description.so", "GetSymbolDescription"}}) {
        const QString text = refusals[static_cast<std::size_t>(i)].Text;
        EXPECT_TRUE(text.contains(Folder.filePath(QLatin1String(file)))) << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String(entry))) << text.toStdString();
        EXPECT_EQ(refusals[static_cast<std::size_t>(i)].Flags, mb::Ok | mb::IconError);
    }
    EXPECT_TRUE(refusals[1].Text.endsWith(QStringLiteral("no description")));
}

TEST_F(SymbolLibraries, MissingOrEmptyFolderGivesNoSymbols)
{
    EXPECT_EQ(TBranchSymbolList(Folder.filePath(QStringLiteral("none"))).Count(), 0);
    EXPECT_EQ(TBranchSymbolList(Folder.path()).Count(), 0);
    EXPECT_EQ(TBranchSymbolList(QString()).Count(), 0);
}

// ---- Built-in figures -----------------------------------------------------------

TEST(BuiltinSymbols, StationLabelsTheBranchAndSensorsWriteTheirLetterOverTheCircle)
{
    const TSymbolTestServices services(0x202020, 57);
    TBranchSymbolList list;
    RegisterBuiltinSymbols(list);
    const api::TunvexPoint corners[4] = {{120, 96}, {100, 96}, {120, 116}, {100, 116}};

    TRecordingCanvas canvas;
    CallDrawSymbol(canvas, *list.FindByName(QStringLiteral("ЗамернСт")), corners, clBlack);
    ASSERT_EQ(canvas.Texts(), QStringList({QStringLiteral("57")}));
    const TRecordingCanvas::TOp *label = canvas.FindText(QStringLiteral("57"));
    EXPECT_EQ(label->Brush.Color, 0x202020);
    // Below the lowest corner, ending at the left one.
    EXPECT_EQ(label->At.Y, 121);
    EXPECT_EQ(label->At.X + canvas.TextWidth(QStringLiteral("57")), 100);

    for (const auto &[name, letter] : {std::pair{"Скорость", "C"}, std::pair{"Метан2", "M"}}) {
        canvas.Clear();
        canvas.Font.Height = 0;
        CallDrawSymbol(canvas, *list.FindByName(QString::fromUtf8(name)), corners, clBlack);
        ASSERT_FALSE(canvas.Ops.empty());
        EXPECT_EQ(canvas.Ops.back().Kind, TRecordingCanvas::TOpKind::TextOut) << name;
        EXPECT_EQ(canvas.Ops.back().Text, QLatin1String(letter));
        EXPECT_EQ(canvas.Ops.back().Brush.Color, 0x202020);
        // A cell height, and the font exists only while the symbol draws.
        EXPECT_GT(canvas.Ops.back().Font.Height, 0);
        EXPECT_EQ(canvas.Font.Height, 0);
    }
}

} // namespace
