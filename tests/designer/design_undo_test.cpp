#include "designer/design_undo.h"

#include "designer/design_state.h"
#include "report/engine.h"
#include "report/report.h"

#include <gtest/gtest.h>

namespace {

class UndoLists : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 9; ++i) {
            auto v = CreateReportObject(i % 3 == 2 ? gtPicture : gtMemo);
            v->CreateUniqueName();
            v->Name += QString::number(i);
            v->Left = 10 * i;
            v->Width = 30;
            v->Height = 20;
            page.TemplateObjects.push_back(std::move(v));
        }
    }
    // Name and ID of every object in list order.
    std::vector<std::pair<QString, std::uint32_t>> Order() const
    {
        std::vector<std::pair<QString, std::uint32_t>> out;
        for (const auto &v : page.TemplateObjects)
            out.emplace_back(v->Name, v->ObjectID);
        return out;
    }
    void Select(std::initializer_list<int> indexes)
    {
        DeselectAll(page);
        for (int i : indexes)
            page.TemplateObjects[i]->Selected = true;
        SelectedCount = int(indexes.size());
    }
    void Record(int kind) { undo.Add(kind, UndoPairs(page, kind)); }

    TfrEngineScope engine;
    TfrReport report;
    TfrPage &page = report.TemplatePages.Add();
    TUndoList undo, redo;
};

} // namespace

TEST_F(UndoLists, DeletedObjectsReturnAtTheirPlacesWithNamesAndIds)
{
    const auto before = Order();
    Select({2, 5, 7});
    Record(ukDelete);
    for (int i : {7, 5, 2})
        page.Delete(i);
    ASSERT_EQ(page.TemplateObjects.size(), 6u);

    ASSERT_TRUE(ApplyUndoEntry(page, undo, redo));
    EXPECT_EQ(Order(), before);
    EXPECT_EQ(undo.Count(), 0);
    ASSERT_EQ(redo.Count(), 1);
    EXPECT_EQ(redo.Last().Kind, ukInsert);

    // Redo deletes the same three again, found by their IDs.
    ASSERT_TRUE(ApplyUndoEntry(page, redo, undo));
    EXPECT_EQ(page.TemplateObjects.size(), 6u);
    for (const auto &v : page.TemplateObjects)
        for (int i : {2, 5, 7})
            EXPECT_NE(v->ObjectID, before[i].second);
    ASSERT_TRUE(ApplyUndoEntry(page, undo, redo));
    EXPECT_EQ(Order(), before);
}

TEST_F(UndoLists, InsertUndoRedoKeepsNameIdAndPosition)
{
    auto added = CreateReportObject(gtMemo);
    added->Name = QStringLiteral("Memo99");
    const std::uint32_t id = added->ObjectID;
    added->Selected = true;
    page.TemplateObjects.push_back(std::move(added));
    Select({9});
    Record(ukInsert);
    const auto with = Order();

    ASSERT_TRUE(ApplyUndoEntry(page, undo, redo));
    EXPECT_EQ(page.TemplateObjects.size(), 9u);
    EXPECT_EQ(page.FindObjectByID(id), -1);
    ASSERT_TRUE(ApplyUndoEntry(page, redo, undo));
    EXPECT_EQ(Order(), with);
    EXPECT_EQ(page.FindObjectByID(id), 9);
    EXPECT_EQ(redo.Count(), 0);
    EXPECT_EQ(undo.Count(), 1);
}

TEST_F(UndoLists, ModifyStepsRestoreEveryPropertyAndRedoBringsThemBack)
{
    Select({1, 3});
    Record(ukModify);
    auto &memo = static_cast<TfrMemoView &>(*page.TemplateObjects[1]);
    memo.Left = 500;
    memo.Lines = QStringList{QStringLiteral("новый")};
    memo.FontSize = 20;
    page.TemplateObjects[3]->FrameTyp = frame::All;

    ASSERT_TRUE(ApplyUndoEntry(page, undo, redo));
    EXPECT_EQ(memo.Left, 10);
    EXPECT_TRUE(memo.Lines.isEmpty());
    EXPECT_EQ(memo.FontSize, 10);
    EXPECT_EQ(page.TemplateObjects[3]->FrameTyp, 0);
    ASSERT_TRUE(ApplyUndoEntry(page, redo, undo));
    EXPECT_EQ(memo.Left, 500);
    EXPECT_EQ(memo.FontSize, 20);
    EXPECT_EQ(page.TemplateObjects[3]->FrameTyp, frame::All);
}

TEST_F(UndoLists, ZOrderStepPutsEveryObjectBack)
{
    const auto before = Order();
    Record(ukZOrder);
    // Bring objects 1 and 4 to the front.
    auto a = std::move(page.TemplateObjects[4]);
    auto b = std::move(page.TemplateObjects[1]);
    page.TemplateObjects.erase(page.TemplateObjects.begin() + 4);
    page.TemplateObjects.erase(page.TemplateObjects.begin() + 1);
    page.TemplateObjects.push_back(std::move(b));
    page.TemplateObjects.push_back(std::move(a));
    const auto after = Order();
    ASSERT_NE(after, before);

    ASSERT_TRUE(ApplyUndoEntry(page, undo, redo));
    EXPECT_EQ(Order(), before);
    ASSERT_TRUE(ApplyUndoEntry(page, redo, undo));
    EXPECT_EQ(Order(), after);
}

TEST_F(UndoLists, HoldAHundredStepsDroppingTheOldest)
{
    Select({0});
    for (int step = 0; step < 101; ++step) {
        page.TemplateObjects[0]->Left = step;
        Record(ukModify);
    }
    EXPECT_EQ(undo.Count(), 100);
    EXPECT_EQ(undo.Entry(0).Records[0].Copy->Left, 1);
    while (ApplyUndoEntry(page, undo, redo)) {
    }
    EXPECT_EQ(page.TemplateObjects[0]->Left, 1);
    EXPECT_EQ(redo.Count(), 100);
    EXPECT_FALSE(ApplyUndoEntry(page, undo, redo));
}
