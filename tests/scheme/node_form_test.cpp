#include "scheme/node_form.h"

#include "platform/prompt.h"
#include "scheme_test_network.h"
#include "../model/scheme_test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Node 12 at (300, 200) with branch 1 entering from 10, branch 2 leaving
// to 11 and branch 3 entering from 13; node 20 is free, node 11 a surface node.
struct TNodeFormTest : ::testing::Test
{
    std::unique_ptr<TNetworkTables> Tables = NewDocumentTables();
    TNetworkTables &t = *Tables;
    std::vector<std::pair<int, TChangeKind>> Handed;
    int ModifiedCalls = 0;
    TScriptedPrompt Prompt;

    void SetUp() override
    {
        AddTestNode(t, 10, 0, 0);
        AddTestNode(t, 11, 600, 200);
        AddTestNode(t, 12, 300, 200);
        AddTestNode(t, 13, 300, 500);
        AddTestNode(t, 20, 50, 50);
        t.NodeAltitude[12] = -150.5;
        t.NodeLiftToSurface[12] = 1;
        t.Node3dX[12] = 1.5;
        t.Node3dY[12] = -2.5;
        AddTestBranch(t, 1, 10, 12);
        AddTestBranch(t, 2, 12, 11);
        AddTestBranch(t, 3, 13, 12);
        t.BranchName[2] = QStringLiteral("Ствол");
        t.BranchTurns[1]->insert(t.BranchTurns[1]->begin() + 1, TTurn(1, 150, 20));
    }

    TNodeFormHost Host()
    {
        TNodeFormHost host;
        host.ObjectChanged = [this](std::unique_ptr<TMineObject> s, TChangeKind kind) {
            Handed.emplace_back(s->Number, kind);
        };
        host.SetModified = [this](bool) { ++ModifiedCalls; };
        host.NodePressure = [](int node) { return std::optional<double>(1000 + node + 0.25); };
        return host;
    }

    std::unique_ptr<TNodeForm> Open(int n, bool deletable = false)
    {
        auto form = std::make_unique<TNodeForm>(t, Host());
        form->Load(n, deletable);
        return form;
    }
};

TEST_F(TNodeFormTest, OpensWithTheStoredValuesAndTheBranchLists)
{
    auto f = Open(12);
    EXPECT_EQ(f->NodeNoText, QStringLiteral("12"));
    EXPECT_EQ(f->XText, QStringLiteral("300"));
    EXPECT_EQ(f->YText, QStringLiteral("200"));
    EXPECT_EQ(f->AltitudeText, QStringLiteral("-150,5"));
    EXPECT_TRUE(f->XModified && f->YModified && f->AltitudeModified);
    EXPECT_FALSE(f->IsSurface);
    EXPECT_TRUE(f->IsExit);
    EXPECT_FALSE(f->Modified);
    EXPECT_EQ(f->IncomingBranches(), (std::vector<int>{1, 3}));
    EXPECT_EQ(f->OutgoingBranches(), (std::vector<int>{2}));
    EXPECT_EQ(f->IncomingCaption(), QStringLiteral("Входящих ветвей: 2"));
    EXPECT_EQ(f->OutgoingCaption(), QStringLiteral("Выходящих ветвей: 1"));

    // An unplaced node shows 0 and does not count its position as edited.
    t.NodeX[20] = UnplacedX;
    t.NodeY[20] = UnplacedY;
    auto unplaced = Open(20);
    EXPECT_EQ(unplaced->XText, QStringLiteral("0"));
    EXPECT_FALSE(unplaced->XModified || unplaced->YModified);
}

TEST_F(TNodeFormTest, PressureOnlyForANodeThatCannotBeDeletedAndHasBranches)
{
    struct TCase
    {
        int Node;
        bool Deletable;
        const char *Text;
    } cases[] = {
        {12, false, "1012,25"},
        {12, true, "xxx"},
        {20, false, "xxx"},
        {20, true, "xxx"},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Node * 10 + c.Deletable);
        EXPECT_EQ(Open(c.Node, c.Deletable)->PressureText, QString::fromUtf8(c.Text));
    }
    // Without the pressures the designed text stays.
    TNodeForm f(t);
    f.Load(12, false);
    EXPECT_EQ(f.PressureText, QStringLiteral("xxx"));
}

TEST_F(TNodeFormTest, RenumberingMovesTheWholeNodeAndItsBranches)
{
    auto f = Open(12);
    f->NodeNoText = QStringLiteral("40");
    f->IsSurface = false;
    f->Modified = true;
    ASSERT_TRUE(f->Apply());

    EXPECT_EQ(f->Node, 40);
    EXPECT_FALSE(NodeExist(t, 12));
    ASSERT_TRUE(NodeExist(t, 40));
    EXPECT_EQ(t.NodeX[40], 300);
    EXPECT_EQ(t.NodeY[40], 200);
    EXPECT_EQ(t.NodeAltitude[40], -150.5);
    EXPECT_EQ(t.NodeLiftToSurface[40], 1);
    EXPECT_EQ(t.Node3dX[40], 1.5);
    EXPECT_EQ(t.Node3dY[40], -2.5);
    EXPECT_EQ(t.BranchEndNode[1], 40);
    EXPECT_EQ(t.BranchStartNode[2], 40);
    EXPECT_EQ(t.BranchEndNode[3], 40);
    for (int b : {1, 2, 3}) {
        const TTurnList &turns = *t.BranchTurns[b];
        const TTurn &atNode = b == 2 ? turns.front() : turns.back();
        EXPECT_EQ(atNode.X, 300) << b;
        EXPECT_EQ(atNode.Y, 200) << b;
    }
    EXPECT_EQ(t.BranchTurns[1]->size(), 3u);
    EXPECT_EQ((*t.BranchTurns[1])[1].X, 150);
    const std::vector<std::pair<int, TChangeKind>> handed{{40, ckChanged}};
    EXPECT_EQ(Handed, handed);
    EXPECT_EQ(ModifiedCalls, 1);
    EXPECT_TRUE(Prompt.Asked.empty());
}

TEST_F(TNodeFormTest, AnUnplacedNodeStaysUnplacedWhenRenumbered)
{
    t.NodeX[20] = UnplacedX;
    t.NodeY[20] = UnplacedY;
    auto f = Open(20);
    f->NodeNoText = QStringLiteral("21");
    f->Modified = true;
    ASSERT_TRUE(f->Apply());
    EXPECT_TRUE(NodeExist(t, 21));
    EXPECT_FALSE(IsPlacedNode(t, 21));
}

TEST_F(TNodeFormTest, ADuplicateNumberIsRefusedAndStoresNothing)
{
    const auto before = std::make_unique<TNetworkTables>(t);
    auto f = Open(12);
    f->NodeNoText = QStringLiteral("13");
    f->XText = QStringLiteral("999");
    f->Modified = true;
    EXPECT_FALSE(f->Apply());
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Caption, QStringLiteral("Ошибка: Дублирование номера узла"));
    EXPECT_EQ(Prompt.Asked[0].Text, QStringLiteral("Этот узел не может иметь номер 13. Узел №13 уже был определен."));
    EXPECT_EQ(Prompt.Asked[0].Flags & mb::IconMask, mb::IconError);
    EXPECT_EQ(f->FocusField, TNodeField::No);
    EXPECT_EQ(f->Node, 12);
    EXPECT_TRUE(Handed.empty());
    EXPECT_EQ(t.NodeX, before->NodeX);
    EXPECT_EQ(t.NodeNo, before->NodeNo);

    // A bad field is named before anything is stored.
    f->NodeNoText = QStringLiteral("40");
    f->YText = QStringLiteral("1e5");
    EXPECT_FALSE(f->Apply());
    EXPECT_EQ(f->FocusField, TNodeField::Y);
    EXPECT_TRUE(NodeExist(t, 12));
    EXPECT_FALSE(NodeExist(t, 40));
}

TEST_F(TNodeFormTest, OkWithoutAChangeWritesNothingButTheBranchEnds)
{
    // A branch end off its node is put back on it: filling marks a placed
    // node's position as edited.
    t.BranchTurns[2]->front() = TTurn(2, 1, 1);
    const auto before = std::make_unique<TNetworkTables>(t);
    ASSERT_TRUE(Open(12)->Apply());
    EXPECT_TRUE(Handed.empty());
    EXPECT_EQ(ModifiedCalls, 0);
    EXPECT_EQ(t.NodeX, before->NodeX);
    EXPECT_EQ(t.NodeAltitude, before->NodeAltitude);
    EXPECT_EQ(t.BranchTurns[2]->front().X, 300);
    EXPECT_EQ(t.BranchTurns[2]->front().Y, 200);

    // An unplaced node moves nothing.
    t.NodeX[12] = UnplacedX;
    t.NodeY[12] = UnplacedY;
    t.BranchTurns[2]->front() = TTurn(2, 1, 1);
    ASSERT_TRUE(Open(12)->Apply());
    EXPECT_EQ(t.BranchTurns[2]->front().X, 1);
}

TEST_F(TNodeFormTest, ASecondSurfaceNodeOnABranchIsRefused)
{
    t.NodeIsSurface[11] = 1;
    auto f = Open(12);
    EXPECT_FALSE(f->SetSurface(true));
    EXPECT_FALSE(f->IsSurface);
    EXPECT_TRUE(f->Modified);
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Text, QStringLiteral("Этот узел не может быть узлом поверхности. \n"
                                                   "У ветви №2 (Ствол) уже был задан узел поверхности."));

    auto free = Open(10);
    EXPECT_TRUE(free->SetSurface(true));
    EXPECT_EQ(Prompt.Asked.size(), 1u);
}

TEST_F(TNodeFormTest, OnlyAFreeNodeCanBeDeleted)
{
    auto busy = Open(12, true);
    EXPECT_FALSE(busy->Deletable);
    EXPECT_FALSE(busy->Delete());
    EXPECT_TRUE(NodeExist(t, 12));

    auto free = Open(20, true);
    EXPECT_TRUE(free->Deletable);
    EXPECT_FALSE(Open(20, false)->Deletable);
    ASSERT_TRUE(free->Delete());
    EXPECT_FALSE(NodeExist(t, 20));
    const std::vector<std::pair<int, TChangeKind>> handed{{20, ckDeleted}};
    EXPECT_EQ(Handed, handed);
}

TEST_F(TNodeFormTest, KeepingOneSurfaceNodeOfABranch)
{
    t.NodeIsSurface[12] = t.NodeIsSurface[11] = 1;
    KeepSurfaceNode(t, 2, false, Host());
    EXPECT_EQ(t.NodeIsSurface[12], 0);
    EXPECT_EQ(t.NodeIsSurface[11], 1);
    KeepSurfaceNode(t, 2, true, Host());
    EXPECT_EQ(t.NodeIsSurface[12], 1);
    EXPECT_EQ(t.NodeIsSurface[11], 0);
    const std::vector<std::pair<int, TChangeKind>> handed{{12, ckChanged}, {11, ckChanged}};
    EXPECT_EQ(Handed, handed);
}

TEST(BranchOfRowCaption, TheNumberInTheFirstBrackets)
{
    const std::pair<const char *, std::optional<int>> cases[] = {
        {"(12). Штрек", 12},
        {"(7). Штрек (север)", 7},
        {" >>> Эта ветвь без названия? <<<", std::nullopt},
        {"(. x)", std::nullopt},
        {"(12", std::nullopt},
    };
    for (const auto &[caption, number] : cases)
        EXPECT_EQ(BranchOfRowCaption(QString::fromUtf8(caption)), number) << caption;
}

} // namespace
