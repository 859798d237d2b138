#include "designer/design_commands_core.h"

#include "designer/design_state.h"
#include "report/engine.h"
#include "report/report.h"
#include "report/report_page.h"

#include <gtest/gtest.h>

namespace {

struct TBox
{
    int Left, Top, Width, Height;
    friend bool operator==(const TBox &, const TBox &) = default;
};

class DesignCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Engine().CurrentReport = &report;
        page = &report.TemplatePages.Add();
        SelectedCount = 0;
        LastClickedView = nullptr;
        ClearDesignClipboard();
    }
    void TearDown() override
    {
        ClearDesignClipboard();
        SelectedCount = 0;
        LastClickedView = nullptr;
    }
    TfrView *Memo(const QString &name, TBox box, bool selected = false)
    {
        auto memo = std::make_unique<TfrMemoView>();
        memo->Name = name;
        memo->Left = box.Left;
        memo->Top = box.Top;
        memo->Width = box.Width;
        memo->Height = box.Height;
        memo->Selected = selected;
        SelectedCount += selected;
        page->TemplateObjects.push_back(std::move(memo));
        return page->TemplateObjects.back().get();
    }
    TfrView *Band(const QString &name, int type, bool selected = false)
    {
        auto band = std::make_unique<TfrBandView>();
        band->SetBandType(type);
        band->Name = name;
        band->Selected = selected;
        SelectedCount += selected;
        page->TemplateObjects.push_back(std::move(band));
        return page->TemplateObjects.back().get();
    }
    QStringList Names() const
    {
        QStringList names;
        for (const auto &v : page->TemplateObjects)
            names << v->Name;
        return names;
    }
    static TBox BoxOf(const TfrView &v) { return {v.Left, v.Top, v.Width, v.Height}; }

    TfrEngineScope engine;
    TfrReport report;
    TfrPage *page = nullptr;
};

} // namespace

TEST_F(DesignCommands, BringToFrontAndSendToBackKeepBandsFirst)
{
    Band(QStringLiteral("Band1"), btMasterData);
    Memo(QStringLiteral("A"), {0, 0, 50, 20});
    Memo(QStringLiteral("B"), {10, 5, 50, 20}, true);
    Memo(QStringLiteral("C"), {20, 10, 50, 20});
    Band(QStringLiteral("Band2"), btPageHeader, true);

    BringToFront(*page);
    EXPECT_EQ(Names(), QStringList({"Band1", "Band2", "A", "C", "B"}));
    SendToBack(*page);
    EXPECT_EQ(Names(), QStringList({"Band2", "Band1", "B", "A", "C"}));
}

TEST_F(DesignCommands, CutThenPasteTwiceKeepsNamesOnceThenRenames)
{
    Memo(QStringLiteral("Memo1"), {40, 30, 50, 20}, true);
    Memo(QStringLiteral("Memo2"), {60, 80, 50, 20}, true);
    Memo(QStringLiteral("Other"), {0, 0, 10, 10});

    CutSelectionToClipboard(*page);
    EXPECT_EQ(Names(), QStringList({"Other"}));
    EXPECT_EQ(SelectedCount, 0);
    ASSERT_EQ(DesignClipboard.size(), 2u);

    std::vector<TfrView *> first = PasteClipboard(*page, 0, 0);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0]->Name, QStringLiteral("Memo1"));
    EXPECT_EQ(first[1]->Name, QStringLiteral("Memo2"));
    // The group's corner goes to the page's corner, the layout within it stays.
    EXPECT_EQ(BoxOf(*first[0]), (TBox{0, 0, 50, 20}));
    EXPECT_EQ(BoxOf(*first[1]), (TBox{20, 50, 50, 20}));

    std::vector<TfrView *> second = PasteClipboard(*page, 0, 0);
    ASSERT_EQ(second.size(), 2u);
    EXPECT_NE(second[0]->Name.compare(QStringLiteral("Memo1"), Qt::CaseInsensitive), 0);
    EXPECT_NE(second[1]->Name.compare(QStringLiteral("Memo2"), Qt::CaseInsensitive), 0);
    EXPECT_NE(second[0]->Name, second[1]->Name);
    // Only the last paste is selected.
    EXPECT_EQ(SelectedCount, 2);
    EXPECT_FALSE(first[0]->Selected);
    EXPECT_TRUE(second[0]->Selected && second[1]->Selected);
    EXPECT_EQ(DesignClipboard.size(), 2u);
}

TEST_F(DesignCommands, NamelessCopiesGetNamesOfTheirOwn)
{
    // Objects of built pages, copied in the page editor, carry no name.
    Memo(QString(), {40, 30, 50, 20}, true);
    CutSelectionToClipboard(*page);
    const QString first = PasteClipboard(*page, 0, 0).front()->Name;
    const QString second = PasteClipboard(*page, 0, 0).front()->Name;
    EXPECT_FALSE(first.isEmpty());
    EXPECT_FALSE(second.isEmpty());
    EXPECT_NE(first, second);
}

TEST_F(DesignCommands, PastedGroupAlignsOnItselfNotOnTheObjectClickedBefore)
{
    TfrView *clicked = Memo(QStringLiteral("A"), {200, 200, 50, 20}, true);
    LastClickedView = clicked;
    Memo(QStringLiteral("B"), {300, 240, 50, 20}, true);
    CopySelectionToClipboard(*page);
    const std::vector<TfrView *> pasted = PasteClipboard(*page, 0, 0);
    ASSERT_EQ(pasted.size(), 2u);
    AlignSelection(*page, TAlignCommand::Lefts, 794, 1123);
    EXPECT_EQ(clicked->Left, 200);
    EXPECT_EQ(pasted[0]->Left, pasted[1]->Left);
    EXPECT_LT(pasted[0]->Left, 200);
}

TEST_F(DesignCommands, PasteSkipsBandsThePageHoldsOnce)
{
    Band(QStringLiteral("Header"), btPageHeader, true);
    Band(QStringLiteral("Data"), btMasterData, true);
    CopySelectionToClipboard(*page);

    std::vector<TfrView *> pasted = PasteClipboard(*page, 0, 0);
    ASSERT_EQ(pasted.size(), 1u);
    EXPECT_EQ(static_cast<TfrBandView *>(pasted[0])->GetBandType(), btMasterData);
    EXPECT_EQ(SelectedCount, 1);
    EXPECT_EQ(page->TemplateObjects.size(), 3u);

    // On a page without a header both come.
    page = &report.TemplatePages.Add();
    EXPECT_EQ(PasteClipboard(*page, 0, 0).size(), 2u);
}

TEST_F(DesignCommands, PasteOnAScrolledPageStartsAtTheFirstVisibleGridLine)
{
    EXPECT_EQ(ScrolledGridOffset(-100, 8), 96);
    EXPECT_EQ(ScrolledGridOffset(-7, 8), 0);
    EXPECT_EQ(ScrolledGridOffset(10, 8), 0);
    Memo(QStringLiteral("Memo1"), {200, 300, 50, 20}, true);
    CopySelectionToClipboard(*page);
    TfrView *copy = PasteClipboard(*page, ScrolledGridOffset(-100, 8), ScrolledGridOffset(0, 8)).front();
    EXPECT_EQ(copy->Left, 96);
    EXPECT_EQ(copy->Top, 0);
}

TEST_F(DesignCommands, FitToGridRoundsHalvesToEvenAndNeverToZeroSize)
{
    TfrView *a = Memo(QStringLiteral("A"), {13, 4, 3, 30}, true);
    TfrView *b = Memo(QStringLiteral("B"), {12, 20, 4, 12}, true);
    TfrView *untouched = Memo(QStringLiteral("C"), {13, 4, 3, 30});
    FitSelectionToGrid(*page, 8);
    EXPECT_EQ(BoxOf(*a), (TBox{16, 0, 8, 32}));
    // 12/8 = 1.5 goes to 2, 20/8 = 2.5 to 2, 4/8 = 0.5 to 0 (then one step).
    EXPECT_EQ(BoxOf(*b), (TBox{16, 16, 8, 16}));
    EXPECT_EQ(BoxOf(*untouched), (TBox{13, 4, 3, 30}));
}

TEST_F(DesignCommands, AlignmentAnchorsOnTheLastClickedObject)
{
    TfrView *a = Memo(QStringLiteral("A"), {10, 10, 40, 20}, true);
    TfrView *b = Memo(QStringLiteral("B"), {100, 50, 60, 30}, true);
    LastClickedView = a;
    struct Case
    {
        TAlignCommand Command;
        TBox B;
    } cases[] = {
        {TAlignCommand::Lefts, {10, 50, 60, 30}},       {TAlignCommand::Rights, {-10, 50, 60, 30}},
        {TAlignCommand::Tops, {100, 10, 60, 30}},       {TAlignCommand::Bottoms, {100, 0, 60, 30}},
        {TAlignCommand::HorzCentres, {0, 50, 60, 30}},  {TAlignCommand::VertCentres, {100, 5, 60, 30}},
    };
    for (const Case &c : cases) {
        b->Left = 100;
        b->Top = 50;
        EXPECT_TRUE(AlignSelection(*page, c.Command, 794, 1123));
        EXPECT_EQ(BoxOf(*b), c.B) << int(c.Command);
        EXPECT_EQ(BoxOf(*a), (TBox{10, 10, 40, 20}));
    }
    // Without a clicked object the last selected one is the anchor.
    LastClickedView = nullptr;
    AlignSelection(*page, TAlignCommand::Lefts, 794, 1123);
    EXPECT_EQ(a->Left, b->Left);
}

TEST_F(DesignCommands, CentringOnThePage)
{
    TfrView *a = Memo(QStringLiteral("A"), {0, 0, 100, 20}, true);
    EXPECT_TRUE(AlignSelection(*page, TAlignCommand::CentreInPageWidth, 794, 1123));
    EXPECT_EQ(a->Left, 347);
    // A group moves as one, its outer edges centred.
    TfrView *b = Memo(QStringLiteral("B"), {50, 100, 30, 40}, true);
    a->Top = 0;
    EXPECT_TRUE(AlignSelection(*page, TAlignCommand::CentreInPageHeight, 794, 1000));
    EXPECT_EQ(a->Top, 430);
    EXPECT_EQ(b->Top, 530);
}

TEST_F(DesignCommands, EvenSpacingOrdersByLeftAsText)
{
    TfrView *right = Memo(QStringLiteral("R"), {100, 0, 10, 10}, true);
    TfrView *left = Memo(QStringLiteral("L"), {10, 0, 10, 10}, true);
    TfrView *middle = Memo(QStringLiteral("M"), {40, 0, 10, 10}, true);
    EXPECT_TRUE(AlignSelection(*page, TAlignCommand::SpaceAcross, 794, 1123));
    EXPECT_EQ(left->Left, 10);
    EXPECT_EQ(middle->Left, 55);
    EXPECT_EQ(right->Left, 100);

    // Four digits at least: 10000 reads before 9999 as text.
    std::vector<TfrView *> order = SpacingOrder({left, middle, right}, false);
    EXPECT_EQ(order, (std::vector<TfrView *>{left, middle, right}));
    right->Left = 10000;
    middle->Left = 9999;
    order = SpacingOrder({left, middle, right}, false);
    EXPECT_EQ(order, (std::vector<TfrView *>{left, right, middle}));
    // Equal places: the later object first.
    middle->Left = left->Left;
    order = SpacingOrder({left, middle}, false);
    EXPECT_EQ(order, (std::vector<TfrView *>{middle, left}));
}

TEST_F(DesignCommands, TooFewSelectedChangeNothing)
{
    TfrView *a = Memo(QStringLiteral("A"), {10, 5, 10, 10}, true);
    TfrView *b = Memo(QStringLiteral("B"), {70, 9, 10, 10}, true);
    EXPECT_FALSE(AlignSelection(*page, TAlignCommand::SpaceAcross, 794, 1123));
    EXPECT_FALSE(AlignSelection(*page, TAlignCommand::SpaceDown, 794, 1123));
    b->Selected = false;
    SelectedCount = 1;
    EXPECT_FALSE(AlignSelection(*page, TAlignCommand::Lefts, 794, 1123));
    EXPECT_EQ(BoxOf(*a), (TBox{10, 5, 10, 10}));
    EXPECT_EQ(BoxOf(*b), (TBox{70, 9, 10, 10}));
}

TEST(DesignCommandHelpers, SpinFileNamesAndHelpTopics)
{
    EXPECT_EQ(SpinFrameWidth(QStringLiteral("1"), -1), 1);
    EXPECT_EQ(SpinFrameWidth(QStringLiteral("3"), -1), 2);
    EXPECT_EQ(SpinFrameWidth(QStringLiteral("3"), 1), 4);
    EXPECT_EQ(SpinFrameWidth(QStringLiteral("x"), 1), std::nullopt);

    EXPECT_EQ(FormFileName(QStringLiteral("/tmp/report")), QStringLiteral("/tmp/report.frf"));
    EXPECT_EQ(FormFileName(QStringLiteral("/tmp/report.frt")), QStringLiteral("/tmp/report.frf"));
    EXPECT_EQ(FormFileName(QStringLiteral("/tmp/a.b/report")), QStringLiteral("/tmp/a.b/report.frf"));

    EXPECT_EQ(ControlHelpTopic(55, false), 455);
    EXPECT_EQ(ControlHelpTopic(2, true), 432);
    EXPECT_EQ(ControlHelpTopic(11, true), 435);
}
