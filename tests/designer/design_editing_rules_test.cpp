#include "designer/design_editing_rules.h"

#include "designer/design_state.h"
#include "platform/exceptions.h"
#include "report/engine.h"
#include "report/expression.h"
#include "report/report.h"
#include "report/report_page.h"

#include <gtest/gtest.h>

namespace {

class EditingRules : public ::testing::Test
{
protected:
    TfrEngineScope engine;
    TfrReport report;
    TfrPage *page = nullptr;

    void SetUp() override
    {
        page = &report.TemplatePages.Add();
        ResetNewObjectDefaults();
        ClearDesignClipboard();
        SelectedCount = 0;
        ShowRubberSize = false;
        SelectionRectValid = false;
    }
    void TearDown() override
    {
        ResetNewObjectDefaults();
        SelectedCount = 0;
        ShowRubberSize = false;
        SelectionRectValid = false;
    }

    template <class T> T &Add(int left, int top, int width, int height, bool selected = false)
    {
        auto v = std::make_unique<T>();
        v->Left = left;
        v->Top = top;
        v->Width = width;
        v->Height = height;
        v->Selected = selected;
        SelectedCount += selected;
        T &ref = *v;
        page->TemplateObjects.push_back(std::move(v));
        return ref;
    }
    TfrMemoView &Memo(int l, int t, int w, int h, bool sel = false) { return Add<TfrMemoView>(l, t, w, h, sel); }
    TfrBandView &Band(bool sel = false)
    {
        TfrBandView &b = Add<TfrBandView>(0, 100, 500, 40, sel);
        b.SetBandType(btMasterData);
        return b;
    }
};

bool EnabledIn(int kind, const QString &name)
{
    for (const auto &[n, on] : EnabledControls(kind))
        if (n == name)
            return on;
    ADD_FAILURE() << name.toStdString() << " is not in the table";
    return false;
}

} // namespace

TEST(EditingEnable, GroupsFollowTheSelectionKind)
{
    struct Case
    {
        int kind;
        bool frame, text, any, paste, edit;
    };
    const Case cases[] = {
        {0, false, false, false, false, false},  {1, false, false, true, false, true},
        {2, true, true, true, false, true},      {4, true, false, true, false, true},
        {8, true, true, true, false, false},     {16, false, false, false, true, false},
        {2 | 16, true, true, true, true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(EnabledIn(c.kind, "FrB5"), c.frame);
        EXPECT_EQ(EnabledIn(c.kind, "E1"), c.frame);
        EXPECT_EQ(EnabledIn(c.kind, "C2"), c.text);
        EXPECT_EQ(EnabledIn(c.kind, "HlB1"), c.text);
        EXPECT_EQ(EnabledIn(c.kind, "N27"), c.any);
        EXPECT_EQ(EnabledIn(c.kind, "CutB"), c.any);
        EXPECT_EQ(EnabledIn(c.kind, "PstB"), c.paste);
        EXPECT_EQ(EnabledIn(c.kind, "N6"), c.edit);
    }
}

TEST_F(EditingRules, FormattingTouchesTextsOnlyWhereItShouldAndLeavesBands)
{
    TfrMemoView &memo = Memo(0, 0, 100, 20, true);
    TfrBandView &band = Band(true);
    auto &picture = Add<TfrPictureView>(0, 40, 40, 40, true);
    const std::uint16_t bandTyp = band.FrameTyp;

    for (TfrView *v : SelectedObjects(*page))
        ApplyFormatting(*v, {.Tag = 20});
    EXPECT_EQ(memo.FrameTyp, 15);
    EXPECT_EQ(picture.FrameTyp, 15);
    EXPECT_EQ(band.FrameTyp, bandTyp);
    EXPECT_EQ(LastFrameTyp, 15);

    // A frame button released clears its line only.
    ApplyFormatting(memo, {.Tag = 1, .Down = false});
    EXPECT_EQ(memo.FrameTyp, 15 & ~8);
    ApplyFormatting(memo, {.Tag = 21});
    EXPECT_EQ(memo.FrameTyp, 0);
    EXPECT_EQ(LastFrameTyp, 0);

    // Text rows skip the picture; the defaults follow the text object.
    for (TfrView *v : SelectedObjects(*page))
        ApplyFormatting(*v, {.Tag = 9, .Down = true});
    EXPECT_EQ(memo.FontStyle, 2);
    EXPECT_EQ(LastFontStyle, 2);
    ApplyFormatting(memo, {.Tag = 17, .Color = 0x00FF00});
    EXPECT_EQ(memo.FontColor, TColor(0x00FF00));
    EXPECT_EQ(LastFontColor, TColor(0x00FF00));
    ApplyFormatting(memo, {.Tag = 7, .FontName = QString(40, u'x')});
    EXPECT_EQ(memo.FontName.size(), 32);
    ApplyFormatting(memo, {.Tag = 7});
    EXPECT_EQ(memo.FontName.size(), 32) << "no face chosen, nothing changes";
}

TEST_F(EditingRules, AlignmentButtonsRewriteTheirBitsOfAdjust)
{
    TfrMemoView &memo = Memo(0, 0, 100, 20);
    struct Case
    {
        int before;
        TFormatInput input;
        int after;
    };
    const Case cases[] = {
        {0x0F, {.Tag = 13}, 0x0E},
        {0x0C, {.Tag = 12}, 0x0D},
        {0x08, {.Tag = 22}, 0x0B},
        {0x0B, {.Tag = 11}, 0x08},
        {0x03, {.Tag = 14, .Down = true}, 0x07},
        {0x07, {.Tag = 14, .Down = false}, 0x03},
        {0x0B, {.Tag = 15, .BottomDown = true}, 0x13},
        {0x13, {.Tag = 15}, 0x03},
    };
    for (const Case &c : cases) {
        memo.Adjust = c.before;
        ApplyFormatting(memo, c.input);
        EXPECT_EQ(memo.Adjust, c.after) << "tag " << c.input.Tag << " on " << c.before;
        EXPECT_EQ(LastAdjust, c.after);
    }
}

TEST_F(EditingRules, WidthsGoToTheirDefaultsAndBadBoxTextsChangeNothing)
{
    TfrMemoView &memo = Memo(0, 0, 100, 20);
    auto &line = Add<TfrLineView>(0, 50, 100, 0);
    ApplyFormatting(memo, {.Tag = 6, .Text = QStringLiteral("3")});
    ApplyFormatting(line, {.Tag = 6, .Text = QStringLiteral("4")});
    EXPECT_EQ(memo.FrameWidth, 3);
    EXPECT_EQ(LastFrameWidth, 3);
    EXPECT_EQ(LastLineWidth, 4);

    EXPECT_THROW(ApplyFormatting(memo, {.Tag = 6, .Text = QStringLiteral("2,5")}), EConvertError);
    EXPECT_THROW(ApplyFormatting(memo, {.Tag = 8, .Text = QStringLiteral("big")}), EConvertError);
    EXPECT_EQ(memo.FrameWidth, 3);
    EXPECT_EQ(memo.FontSize, 10);
}

TEST_F(EditingRules, ToolbarsShowOneObjectsFrameFontAndAlignment)
{
    TfrMemoView &memo = Memo(0, 0, 100, 20);
    memo.FrameTyp = 9;
    memo.FontStyle = 2 | 4;
    memo.Adjust = 0x0F;
    TToolbarState s = ToolbarStateOf(memo);
    EXPECT_EQ(s.FrameLines, (std::array<bool, 4>{true, false, false, true}));
    EXPECT_EQ(s.FontButtons, (std::array<bool, 3>{true, false, true}));
    EXPECT_TRUE(s.AlignButtons[8]);
    EXPECT_FALSE(s.AlignButtons[1]);
    EXPECT_TRUE(s.AlignButtons[4]);
    EXPECT_TRUE(s.AlignButtons[5]);
    EXPECT_FALSE(s.AlignButtons[6]);

    memo.Adjust = 0x12;
    s = ToolbarStateOf(memo);
    EXPECT_TRUE(s.AlignButtons[3]);
    EXPECT_TRUE(s.AlignButtons[7]);
    EXPECT_FALSE(s.AlignButtons[4]);

    auto &picture = Add<TfrPictureView>(0, 0, 10, 10);
    EXPECT_FALSE(ToolbarStateOf(picture).IsText);
}

TEST_F(EditingRules, ArrowsJumpToTheNearestObjectAndAltMovesAgainstIt)
{
    TfrMemoView &a = Memo(0, 0, 100, 20, true);
    Band();
    TfrMemoView &b = Memo(150, 0, 50, 20);
    TfrMemoView &c = Memo(120, 100, 50, 20);
    EXPECT_EQ(NearestScore(a, b, 1, 0), 50);
    EXPECT_EQ(NearestScore(a, c, 1, 0), 100);
    EXPECT_EQ(NearestObject(*page, a, 1, 0), 2);
    // Objects behind the direction stay out even where their far edge would
    // bring the score under the limit.
    EXPECT_EQ(NearestObject(*page, a, -1, 0), -1) << "nothing lies left of A";
    EXPECT_EQ(NearestObject(*page, a, 0, 1), 3) << "the band is never a target";
    EXPECT_EQ(NearestObject(*page, b, 0, -1), -1);

    MoveAgainst(a, b);
    EXPECT_EQ(a.Left, 50);
    EXPECT_EQ(a.Top, 0);
    MoveAgainst(a, c);
    EXPECT_EQ(a.Top, 80) << "C lies below: A moves down onto its top";
}

TEST_F(EditingRules, InspectorTextsInUnitsAndSharedValuesOnly)
{
    TfrMemoView &a = Memo(36, 20, 100, 20, true);
    a.Name = QStringLiteral("Memo1");
    EXPECT_EQ(UnitsText(36, 1), QStringLiteral("10,00"));
    EXPECT_EQ(UnitsText(36, 0), QStringLiteral("36"));
    std::array<QString, 7> t = InspectorTexts(*page, 1);
    EXPECT_EQ(t[irName], QStringLiteral("Memo1"));
    EXPECT_EQ(t[irLeft], QStringLiteral("10,00"));
    EXPECT_EQ(t[irWidth], QStringLiteral("27,78"));
    EXPECT_EQ(t[irVisible], QStringLiteral("1"));

    Memo(0, 20, 100, 40, true).Visible = 0;
    t = InspectorTexts(*page, 0);
    EXPECT_EQ(t, (std::array<QString, 7>{{{}, {}, QStringLiteral("20"), QStringLiteral("100"), {}, {}, {}}}));

    DeselectAll(*page);
    EXPECT_EQ(InspectorTexts(*page, 0), (std::array<QString, 7>{}));
}

TEST_F(EditingRules, InspectorWritesBackExpressionsAndRefusesTakenNames)
{
    TfrMemoView &a = Memo(0, 0, 100, 20, true);
    a.Name = QStringLiteral("Memo1");
    Memo(0, 50, 100, 20).Name = QStringLiteral("Memo2");
    report.TemplatePages.Add();
    report.TemplatePages.GetPage(1).TemplateObjects.push_back(std::make_unique<TfrMemoView>());
    report.TemplatePages.GetPage(1).TemplateObjects.back()->Name = QStringLiteral("Other");

    QString v = QStringLiteral("10");
    ApplyInspectorValue(*page, &report, irLeft, v, 1);
    EXPECT_EQ(a.Left, 36);
    v = QStringLiteral("4*9");
    ApplyInspectorValue(*page, &report, irTop, v, 0);
    EXPECT_EQ(a.Top, 36);
    EXPECT_EQ(v, QStringLiteral("36"));
    v = QStringLiteral("0");
    ApplyInspectorValue(*page, &report, irVisible, v, 0);
    EXPECT_EQ(a.Visible, 0);

    for (const char *taken : {"Memo2", "other", "Memo1", "", "  "}) {
        v = QLatin1String(taken);
        ApplyInspectorValue(*page, &report, irName, v, 0);
        EXPECT_EQ(a.Name, QStringLiteral("Memo1"));
        EXPECT_EQ(v, QStringLiteral("Memo1"));
    }
    v = QStringLiteral("Title");
    ApplyInspectorValue(*page, &report, irName, v, 0);
    EXPECT_EQ(a.Name, QStringLiteral("Title"));

    v = QStringLiteral("(1+");
    EXPECT_THROW(ApplyInspectorValue(*page, &report, irWidth, v, 0), EParserError);
    v = QStringLiteral("'wide'");
    EXPECT_THROW(ApplyInspectorValue(*page, &report, irWidth, v, 0), EConvertError);
    EXPECT_EQ(a.Width, 100);
}

TEST_F(EditingRules, ReadOutTexts)
{
    EXPECT_EQ(ReadOutPair(12, 20, 0), QStringLiteral("12;20"));
    EXPECT_EQ(ReadOutPair(12, 20, 1), QStringLiteral("3,33; 5,56"));

    Memo(12, 20, 96, 16, true);
    TReadOut r = ReadOutTexts(*page, 0);
    EXPECT_EQ(r.Position, QStringLiteral("12;20"));
    EXPECT_EQ(r.Size, QStringLiteral("96;16"));
    EXPECT_TRUE(r.Scale.isEmpty());

    // The insertion preview shows instead of the selection.
    ShowRubberSize = true;
    RubberRect = {40, 40, 148, 58};
    r = ReadOutTexts(*page, 0);
    EXPECT_EQ(r.Position, QStringLiteral("40;40"));
    EXPECT_EQ(r.Size, QStringLiteral("108;18"));
    ShowRubberSize = false;

    // A proportional resize of several objects shows its scale.
    Memo(200, 20, 100, 16, true);
    SelectionRectValid = true;
    SavedRect = {12, 20, 300, 36};
    RubberRect = {12, 20, 444, 28};
    r = ReadOutTexts(*page, 0);
    EXPECT_TRUE(r.Position.isEmpty());
    EXPECT_EQ(r.Scale, QStringLiteral("% 150,50"));
    SavedRect = {12, 20, 12, 36};
    EXPECT_EQ(ReadOutTexts(*page, 0).Scale, QStringLiteral("% 0,50"));
}

TEST_F(EditingRules, ContextMenuItemsComeFromCompatibleSelectionsOnly)
{
    TfrMemoView &a = Memo(0, 0, 10, 10, true);
    EXPECT_EQ(PopupItemsOwner(*page), &a);
    TfrMemoView &b = Memo(0, 20, 10, 10, true);
    EXPECT_EQ(PopupItemsOwner(*page), &b);
    Band(true);
    EXPECT_EQ(PopupItemsOwner(*page), nullptr) << "the band is on top";
    page->TemplateObjects.back()->Selected = false;
    --SelectedCount;
    Add<TfrPictureView>(0, 40, 10, 10, true);
    EXPECT_EQ(PopupItemsOwner(*page), nullptr);
    DeselectAll(*page);
    EXPECT_EQ(PopupItemsOwner(*page), nullptr);
    page->TemplateObjects[2]->Selected = true;
    SelectedCount = 1;
    EXPECT_EQ(PopupItemsOwner(*page), page->TemplateObjects[2].get()) << "one band brings its own items";
}
