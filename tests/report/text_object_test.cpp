#include "report/text_object.h"

#include "report/report_objects.h"
#include "report_fixture.h"

#include <gtest/gtest.h>

namespace {

const QString Mark = QString(ParagraphMark);

// A memo at (0, 0) whose text area is `chars` characters of 6 pixels wide
// (the insets take 2 pixels on each side).
std::unique_ptr<TfrMemoView> Memo(int chars, QStringList lines, int height = 200)
{
    auto memo = std::make_unique<TfrMemoView>();
    memo->Width = 4 + 6 * chars;
    memo->Height = height;
    memo->Lines = std::move(lines);
    return memo;
}

QStringList Wrapped(TfrMemoView &memo)
{
    memo.ScaleToCanvas();
    memo.WrapLines();
    memo.RestoreCoords();
    return memo.WrappedLines();
}

} // namespace

TEST(HyphenPoints, RussianSyllablesOnly)
{
    EXPECT_EQ(HyphenPoints(QStringLiteral("ПРОГРАММА")), (std::vector<int>{4, 7}));
    EXPECT_EQ(HyphenPoints(QStringLiteral("программа")), (std::vector<int>{4, 7}));
    EXPECT_TRUE(HyphenPoints(QStringLiteral("ДОМА")).empty());
    EXPECT_TRUE(HyphenPoints(QStringLiteral("PROGRAMMA")).empty());
    // A sign keeps the consonant before it in its syllable.
    EXPECT_EQ(HyphenPoints(QStringLiteral("ОБЪЕКТЫ")), (std::vector<int>{5}));
}

TEST_F(ReportObjects, ExpansionReplacesBracketsOnceAndKeepsEmptyLines)
{
    Report.Values[QStringLiteral("A")] = QStringLiteral("12,5");
    Report.Values[QStringLiteral("B")] = QStringLiteral("[A]");
    Report.Values[QStringLiteral("COPY('a]b', 1, 1)")] = QStringLiteral("a");
    auto memo = Memo(20, {QStringLiteral("Итого: [A] руб."), QString(), QStringLiteral("[B][A]"),
                          QStringLiteral("[COPY('a]b', 1, 1)]!"), QStringLiteral("[не закрыта")});
    memo->ExpandText();
    EXPECT_EQ(memo->OutputLines, (QStringList{QStringLiteral("Итого: 12,5 руб."), QString(), QStringLiteral("[A]12,5"),
                                              QStringLiteral("a!"), QStringLiteral("[не закрыта")}));
}

TEST_F(ReportObjects, WrappingParagraphsWordsAndLongWords)
{
    struct Case
    {
        const char *name;
        int chars;
        QString text;
        QStringList expected;
        std::uint16_t flags = flags::WordWrap;
    };
    const Case cases[] = {
        {"two paragraphs", 30, QStringLiteral("первый\r\n\r\nвторой"), {QStringLiteral("первый") + Mark, QStringLiteral("второй") + Mark}},
        {"ends in a break", 30, QStringLiteral("строка\r\n"), {QStringLiteral("строка") + Mark}},
        {"exactly the width", 10, QStringLiteral("аааа бббб ."), {QStringLiteral("аааа бббб") , QStringLiteral(".") + Mark}},
        {"fits exactly", 9, QStringLiteral("аааа бббб"), {QStringLiteral("аааа бббб") + Mark}},
        {"at blanks", 10, QStringLiteral("аааа бббб вввв"), {QStringLiteral("аааа бббб"), QStringLiteral("вввв") + Mark}},
        {"no wrap", 3, QStringLiteral("аааа бббб вввв"), {QStringLiteral("аааа бббб вввв") + Mark}, 0},
        // A word wider than the line is broken where it stops fitting and the paragraph goes on.
        {"long word", 10, QStringLiteral("ааааааааааааааа конец"),
         {QStringLiteral("аааааааааа"), QStringLiteral("ааааа"), QStringLiteral("конец") + Mark}},
        {"hyphenation", 6, QStringLiteral("ПРОГРАММА"), {QStringLiteral("ПРОГ-"), QStringLiteral("РАММА") + Mark},
         flags::WordWrap | flags::Hyphenation},
        {"hyphenation after a word", 10, QStringLiteral("ОК ПРОГРАММА"), {QStringLiteral("ОК ПРОГ-"), QStringLiteral("РАММА") + Mark},
         flags::WordWrap | flags::Hyphenation},
        // No point fits after "ОК ": the line breaks at the blank and the word is
        // hyphenated on the next line.
        {"no point fits", 6, QStringLiteral("ОК ПРОГРАММА ОК"),
         {QStringLiteral("ОК"), QStringLiteral("ПРОГ-"), QStringLiteral("РАММА"), QStringLiteral("ОК") + Mark},
         flags::WordWrap | flags::Hyphenation},
        {"no points at all", 4, QStringLiteral("ок zzzzzz"), {QStringLiteral("ок"), QStringLiteral("zzzz"), QStringLiteral("zz") + Mark},
         flags::WordWrap | flags::Hyphenation},
    };
    for (const Case &c : cases) {
        auto memo = Memo(c.chars, {c.text});
        memo->Flags = c.flags;
        memo->OutputLines = memo->Lines;
        EXPECT_EQ(Wrapped(*memo), c.expected) << c.name;
    }
}

TEST_F(ReportObjects, LineHeightsAreArithmetic)
{
    for (auto [lines, height] : {std::pair{1, 17}, {3, 47}}) {
        QStringList text;
        for (int i = 0; i < lines; ++i)
            text << QStringLiteral("строка");
        auto memo = Memo(30, text);
        EXPECT_EQ(memo->MeasureHeight(), height);
        EXPECT_EQ(memo->LineHeight, 15);
        EXPECT_EQ(memo->PrintState, 2);
    }
    auto hidden = Memo(30, {QStringLiteral("x")});
    hidden->Visible = 0;
    EXPECT_EQ(hidden->MeasureHeight(), 0);
    EXPECT_EQ(Memo(30, {})->MeasureHeight(), 0);
}

TEST_F(ReportObjects, HorizontalAlignments)
{
    // Width 100: the text area runs from 2 to 98; "абв гд" is 36 pixels.
    struct Case
    {
        int adjust;
        int x;
    };
    for (Case c : {Case{0, 2}, Case{1, 100 - 1 - 2 - 36}, Case{2, 2 + (96 - 36) / 2}, Case{3, 2}}) {
        TfrMemoView memo;
        memo.Width = 100;
        memo.Height = 40;
        memo.Adjust = c.adjust;
        memo.Lines = {QStringLiteral("абв гд")};
        TRecordingCanvas canvas;
        canvas.CharWidth = 6;
        memo.Draw(canvas);
        const auto *text = canvas.FindText(QStringLiteral("абв гд"));
        ASSERT_NE(text, nullptr) << c.adjust;
        EXPECT_EQ(text->At, (TPoint{c.x, 1})) << c.adjust;
        // A last line of a paragraph is never spread.
        EXPECT_EQ(text->JustifyExtra, 0);
    }
}

TEST_F(ReportObjects, JustifiedLinesSpreadExceptParagraphEndsAndBlankless)
{
    TfrMemoView memo;
    memo.Width = 4 + 6 * 10;
    memo.Height = 100;
    memo.Adjust = adjust::Justify;
    memo.Lines = {QStringLiteral("аа бб вв гг дд"), QStringLiteral("ааааааааааааа")};
    TRecordingCanvas canvas;
    canvas.CharWidth = 6;
    memo.Draw(canvas);
    ASSERT_EQ(canvas.Texts(), (QStringList{QStringLiteral("аа бб вв"), QStringLiteral("гг дд"), QStringLiteral("аааааааааа"),
                                           QStringLiteral("ааа")}));
    EXPECT_EQ(canvas.Ops[canvas.Ops.size() - 4].JustifyExtra, 60 - 48);
    EXPECT_EQ(canvas.Ops[canvas.Ops.size() - 4].JustifyCount, 2);
    EXPECT_EQ(canvas.Ops[canvas.Ops.size() - 3].JustifyExtra, 0);
    EXPECT_EQ(canvas.Ops[canvas.Ops.size() - 2].JustifyExtra, 0);
    EXPECT_EQ(canvas.JustifyExtra(), 0);
}

TEST_F(ReportObjects, VerticalPlacementAndTurnedText)
{
    // Arial 27 at scale 1 is 36 pixels: one line needs 36 + 2 + 2 = 40.
    TfrMemoView memo;
    memo.Width = 200;
    memo.Height = 100;
    memo.FontSize = 27;
    memo.Lines = {QStringLiteral("центр")};
    memo.Adjust = adjust::VCentre;
    TRecordingCanvas canvas;
    canvas.CharWidth = 6;
    memo.Draw(canvas);
    EXPECT_EQ(memo.TextHeight(), 40);
    EXPECT_EQ(canvas.FindText(QStringLiteral("центр"))->At, (TPoint{2, 30 + 1}));
    EXPECT_EQ(memo.Top, 0);
    EXPECT_EQ(memo.Adjust, adjust::VCentre);

    memo.Adjust = adjust::VBottom;
    canvas.Clear();
    memo.Draw(canvas);
    EXPECT_EQ(canvas.FindText(QStringLiteral("центр"))->At, (TPoint{2, 60 + 1}));

    // Turned text reads upwards: bottom-aligned starts at the bottom inset,
    // top-aligned ends at the top inset.
    memo.FontSize = 10;
    memo.Height = 100;
    for (auto [adj, y] : {std::pair{4, 100 - 1}, {5, 1 + 30}, {6, 100 - 1 - 1 - (98 - 30) / 2}}) {
        memo.Adjust = adj;
        memo.Lines = {QStringLiteral("вверх")};
        canvas.Clear();
        memo.Draw(canvas);
        const auto *text = canvas.FindText(QStringLiteral("вверх"));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->At, (TPoint{2, y})) << adj;
        EXPECT_EQ(text->Font.Orientation, 900);
    }
}

TEST_F(ReportObjects, HighlightPrintsWithItsAttributesAndRestoresTheObject)
{
    TfrMemoView memo;
    memo.Width = 100;
    memo.Height = 20;
    memo.Lines = {QStringLiteral("x")};
    memo.HighlightCondition = QStringLiteral("1");
    memo.HighlightAttrs = {2, clRed, 0x00FFFF};
    TfrStream stream;
    memo.PrintToStream(stream);
    EXPECT_EQ(memo.FontStyle, 0);
    EXPECT_EQ(memo.FontColor, clBlack);
    EXPECT_EQ(memo.FillColor, clNone);

    stream.Seek(0);
    ASSERT_EQ(stream.ReadValue<std::uint8_t>(), gtMemo);
    TfrMemoView back;
    back.PreparedMode = true;
    back.LoadFromStream(stream);
    EXPECT_EQ(back.FontStyle, 2);
    EXPECT_EQ(back.FontColor, clRed);
    EXPECT_EQ(back.FillColor, 0x00FFFF);
    EXPECT_EQ(back.Lines, QStringList{QStringLiteral("x")});
}

TEST_F(ReportObjects, SplitWritesWhatFitsAndKeepsTheRest)
{
    // Height 40: lines start at 1, 16, 31; the third would end at 46.
    auto memo = Memo(10, {QStringLiteral("один два три четыре пять")}, 40);
    memo->ExpandText();
    memo->OutputLines = Wrapped(*memo);
    ASSERT_EQ(memo->OutputLines.size(), 3);
    memo->PrintState = 3;
    TfrStream stream;
    memo->PrintToStream(stream);
    EXPECT_EQ(memo->LinesDrawn, 2);
    EXPECT_EQ(memo->OutputLines, (QStringList{QStringLiteral("пять") + Mark}));
    EXPECT_EQ(memo->PrintState, 0);

    stream.Seek(1);
    TfrMemoView part;
    part.PreparedMode = true;
    part.LoadFromStream(stream);
    EXPECT_EQ(part.Lines, (QStringList{QStringLiteral("один два"), QStringLiteral("три четыре"), Mark}));

    // Drawn, the part keeps its own line breaks.
    TRecordingCanvas canvas;
    canvas.CharWidth = 6;
    part.Draw(canvas);
    EXPECT_EQ(canvas.Texts(), (QStringList{QStringLiteral("один два"), QStringLiteral("три четыре")}));
}

TEST_F(ReportObjects, EnterRectTextIsKeptUnexpandedAndInvisibleObjectsWriteNothing)
{
    Report.Values[QStringLiteral("A")] = QStringLiteral("1");
    Report.OnEnterRect = [](QStringList &lines, TfrView &) { lines = {QStringLiteral("[A] от хоста")}; };
    auto memo = Memo(30, {QStringLiteral("[A]")});
    TfrStream stream;
    memo->PrintToStream(stream);
    stream.Seek(1);
    TfrMemoView back;
    back.PreparedMode = true;
    back.LoadFromStream(stream);
    EXPECT_EQ(back.Lines, QStringList{QStringLiteral("[A] от хоста")});

    Report.OnEnterRect = nullptr;
    memo->Visible = 0;
    TfrStream none;
    memo->PrintToStream(none);
    EXPECT_EQ(none.Size(), 0);
}

TEST_F(ReportObjects, ExportHandsLinesAtTheirPositions)
{
    TfrMemoView memo;
    memo.Left = 10;
    memo.Top = 20;
    memo.Width = 4 + 6 * 8;
    memo.Height = 60;
    memo.Adjust = adjust::Justify;
    memo.Lines = {QStringLiteral("аа бб вв гг")};
    memo.ExportObject();
    EXPECT_EQ(Report.ExportedObjects, 1);
    ASSERT_EQ(Report.ExportedTexts.size(), 2u);
    EXPECT_EQ(Report.ExportedTexts[0].X, 12);
    EXPECT_EQ(Report.ExportedTexts[0].Y, 21);
    EXPECT_EQ(Report.ExportedTexts[0].Text, QStringLiteral("аа бб вв"));
    EXPECT_EQ(Report.ExportedTexts[1].Y, 36);
    EXPECT_FALSE(memo.ExportMode);
}

TEST_F(ReportObjects, WrappingNeverLosesTextAndKeepsLinesInside)
{
    // Random paragraphs of Russian and Latin words, punctuation and line
    // breaks at random widths: every letter comes out once, in order, and no
    // line is wider than the room unless it is a single character.
    const QString alphabet = QStringLiteral("АОПРГМКТЫЬЪаоlx  ,.\r\n");
    std::uint32_t seed = 12345;
    const auto next = [&seed](std::uint32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    const auto letters = [](QString text) {
        for (const char *drop : {" ", "-", "\r", "\n", "\x01"})
            text.remove(QString::fromLatin1(drop));
        return text;
    };
    for (int round = 0; round < 400; ++round) {
        QString text;
        const int length = static_cast<int>(next(60));
        for (int i = 0; i < length; ++i)
            text += alphabet[next(static_cast<std::uint32_t>(alphabet.size()))];
        const int chars = 1 + static_cast<int>(next(12));
        auto memo = Memo(chars, {text});
        memo->Flags = next(2) ? flags::WordWrap | flags::Hyphenation : flags::WordWrap;
        memo->OutputLines = memo->Lines;
        const QStringList lines = Wrapped(*memo);
        EXPECT_EQ(letters(lines.join(QString())), letters(text)) << text.toStdString() << " / " << chars;
        for (QString line : lines) {
            line.remove(ParagraphMark);
            while (line.endsWith(u' '))
                line.chop(1);
            if (line.size() > 1) {
                EXPECT_LE(line.size(), chars) << text.toStdString() << " / " << chars;
            }
        }
    }
}

TEST_F(ReportObjects, PreparedPageModelsAreEditedAndExported)
{
    TfrPage page(9, 0, 0, 0);
    TfrEMFPages pages;
    TfrPreparedPage &prepared = pages.Add(page);
    auto memo = Memo(20, {QStringLiteral("было")}, 30);
    memo->PreparedMode = true;
    memo->Left = 40;
    memo->Top = 50;
    memo->PrintToStream(prepared.Stream);

    pages.BuildPageModel(0);
    ASSERT_EQ(prepared.PageModel->TemplateObjects.size(), 1u);
    prepared.PageModel->TemplateObjects[0]->Lines = {QStringLiteral("стало")};
    pages.StorePageModel(0);
    pages.BuildPageModel(0);
    EXPECT_EQ(prepared.PageModel->TemplateObjects[0]->Lines, QStringList{QStringLiteral("стало")});

    pages.ExportPage(0);
    EXPECT_EQ(Report.ExportedObjects, 1);
    ASSERT_EQ(Report.ExportedTexts.size(), 1u);
    EXPECT_EQ(Report.ExportedTexts[0].X, 42);
    EXPECT_EQ(Report.ExportedTexts[0].Y, 51);
    EXPECT_EQ(Report.ExportedTexts[0].Text, QStringLiteral("стало"));
}
