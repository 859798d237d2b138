#include "generated_network.h"
#include "model/network.h"
#include "scheme_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Tables are large: each test gets its own on the heap.
std::unique_ptr<TNetworkTables> NewTables() { return std::make_unique<TNetworkTables>(); }

void Link(TNetworkTables &t, int b, int from, int to)
{
    CreateBranch(t, b);
    t.BranchStartNode[b] = static_cast<std::int16_t>(from);
    t.BranchEndNode[b] = static_cast<std::int16_t>(to);
}

} // namespace

TEST(NetworkTables, NumberingInBothModes)
{
    auto t = NewTables();
    EXPECT_EQ(NodeCount(*t), 0);
    EXPECT_EQ(MaxNodeNo(*t), 0);
    EXPECT_EQ(MaxBranchNo(*t), 0);
    EXPECT_EQ(GetNewNodeNo(*t, true), 1);
    EXPECT_EQ(GetNewNodeNo(*t, false), 1);

    CreateNode(*t, 1);
    CreateNode(*t, 3);
    EXPECT_EQ(GetNewNodeNo(*t, true), 2);
    EXPECT_EQ(GetNewNodeNo(*t, false), 4);

    CreateNode(*t, 5000);
    EXPECT_EQ(GetNewNodeNo(*t, false), NoFreeNumber);
    EXPECT_EQ(GetNewNodeNo(*t, true), 2);
    CreateNode(*t, NoFreeNumber); // ignored, nothing written beyond the tables
    EXPECT_EQ(NodeCount(*t), 3);

    for (int n = 1; n <= MaxItems; ++n)
        CreateBranch(*t, n);
    EXPECT_EQ(GetNewBranchNo(*t, true), NoFreeNumber);
    EXPECT_EQ(GetNewBranchNo(*t, false), NoFreeNumber);
    DestroyBranch(*t, 7);
    EXPECT_EQ(GetNewBranchNo(*t, true), 7);
    EXPECT_EQ(BranchCount(*t), MaxItems - 1);
}

TEST(NetworkTables, CreateAndDestroyResetTheirOwnColumns)
{
    auto t = NewTables();
    CreateNode(*t, 2);
    EXPECT_EQ(t->NodeNo[2], 2);
    EXPECT_EQ(t->NodeAltitude[2], 0);
    t->Node3dX[2] = 7;
    DestroyNode(*t, 2);
    EXPECT_EQ(t->NodeNo[2], 0);
    EXPECT_EQ(t->NodeAltitude[2], AltitudeNotGiven);
    EXPECT_EQ(t->Node3dX[2], 0);

    t->BranchAlpha[4] = 0.5;
    t->BranchMinSpeed[4] = 0.25;
    t->BranchDGSMark[4] = 3;
    CreateBranch(*t, 4);
    EXPECT_EQ(t->BranchName[4], DefaultBranchName);
    EXPECT_EQ(t->BranchAlpha[4], 0);
    EXPECT_EQ(t->BranchStartTemp[4], 0);
    EXPECT_EQ(t->BranchAngle[4], 0);
    EXPECT_EQ(t->BranchDGSMark[4], 0);       // nothing of what the place held
    EXPECT_EQ(t->BranchMinSpeed[4], SpeedTypeDefault);
    EXPECT_FALSE(t->BranchTurns[4].has_value());

    t->BranchAlpha[4] = 0.7;
    t->BranchMinSpeed[4] = 0.25;
    t->BranchTurns[4].emplace(3);
    DestroyBranch(*t, 4);
    EXPECT_EQ(t->BranchNo[4], 0);
    EXPECT_EQ(t->BranchStartTemp[4], TempNotGiven);
    EXPECT_EQ(t->BranchEndTemp[4], TempNotGiven);
    EXPECT_EQ(t->BranchAngle[4], AngleNotGiven);
    EXPECT_EQ(t->BranchAlpha[4], 0);         // nothing handed on to a later branch here
    EXPECT_EQ(t->BranchMinSpeed[4], SpeedTypeDefault);
    EXPECT_EQ(t->BranchDGSMark[4], 0);
    EXPECT_TRUE(t->BranchName[4].isEmpty());
    EXPECT_FALSE(t->BranchTurns[4].has_value());

    for (int bad : {0, -1, 5001, 30000}) {
        CreateNode(*t, bad);
        CreateBranch(*t, bad);
        DestroyBranch(*t, bad);
    }
    EXPECT_EQ(t->NodeNo[0], 0);
    EXPECT_EQ(t->BranchNo[0], 0);
}

// A network with every column filled, destroyed item by item, leaves the
// tables of a new document: nothing of it stays for a later item at its
// number, whichever way the items go.
TEST(NetworkTables, DestroyedItemsLeaveNothingAtTheirNumbers)
{
    const auto empty = NewDocumentTables();
    const struct
    {
        const char *Name;
        void (*Clear)(TNetworkTables &);
    } cases[] = {{"every item destroyed", ClearAllItems}, {"every place cleared", ClearAllPlaces}};
    for (const auto &c : cases) {
        auto t = NewDocumentTables();
        TSchemeDocument doc;
        MakeFullScheme(*t, doc);
        c.Clear(*t);
        EXPECT_EQ(TablesDiffer(*t, *empty), "") << c.Name;
    }
}

// A renumber moves the whole entry: done to a free number and back, or as a
// swap done twice, it gives the network back with nothing left at the
// number used on the way.
TEST(NetworkTables, ARenumberMovesTheEntryAndLeavesNothingBehind)
{
    auto before = NewDocumentTables();
    TSchemeDocument doc;
    MakeFullScheme(*before, doc);
    const int spare = MaxBranchNo(*before) + 29;
    const int spareNode = MaxNodeNo(*before) + 11;
    ASSERT_TRUE(before->BranchCableCells[6].size() > 0 && before->BranchPhone[8] != nullptr);
    const struct
    {
        const char *Name;
        std::vector<std::pair<int, int>> Moves;
        bool Nodes = false;
    } cases[] = {
        {"there and back", {{6, spare}, {spare, 6}}},
        {"a swap done twice", {{8, spare}, {6, 8}, {spare, 6}, {8, spare}, {6, 8}, {spare, 6}}},
        {"a node there and back", {{2, spareNode}, {spareNode, 2}}, true},
    };
    for (const auto &c : cases) {
        auto t = NewDocumentTables();
        *t = *before;
        for (const auto &[from, to] : c.Moves) {
            if (c.Nodes) {
                ASSERT_TRUE(RenumberNode(*t, to, from)) << c.Name;
            } else {
                MoveBranchEntry(*t, from, to);
            }
        }
        EXPECT_EQ(TablesDiffer(*t, *before), "") << c.Name;
    }
    // The first move alone: the value is at the new number only.
    auto t = NewDocumentTables();
    *t = *before;
    MoveBranchEntry(*t, 6, spare);
    EXPECT_EQ(t->BranchCableCells[spare], before->BranchCableCells[6]);
    EXPECT_TRUE(t->BranchCableCells[6].isEmpty());
    EXPECT_EQ(t->BranchExtraRecord[6][0], 0);
    EXPECT_EQ(t->BranchMinSpeed[6], SpeedTypeDefault);
}

TEST(NetworkTables, ExistenceNeedsBothEndNodes)
{
    auto t = NewTables();
    CreateNode(*t, 1);
    CreateNode(*t, 2);
    Link(*t, 1, 1, 2);
    SetBranchName(*t, 1, QStringLiteral("Ствол"));
    EXPECT_TRUE(BranchExist(*t, 1));
    EXPECT_EQ(GetBranchName(*t, 1), QStringLiteral("Ствол"));
    EXPECT_FALSE(IsFreeNode(*t, 1));
    DestroyNode(*t, 2);
    EXPECT_TRUE(BranchPresent(*t, 1));
    EXPECT_FALSE(BranchExist(*t, 1));
    EXPECT_TRUE(GetBranchName(*t, 1).isEmpty());
    EXPECT_TRUE(IsFreeNode(*t, 1));
    EXPECT_EQ(TBranch(*t, 1).Name, QString());

    EXPECT_FALSE(NodeExist(*t, 0));
    EXPECT_FALSE(NodeExist(*t, 5001));
    EXPECT_FALSE(NodeExist(*t, 32767));
    EXPECT_TRUE(GetBranchName(*t, 0).isEmpty());
    EXPECT_TRUE(GetBranchName(*t, 5001).isEmpty());
    EXPECT_TRUE(ValidItemIndex(5000));
    EXPECT_FALSE(ValidItemIndex(5001));
}

TEST(NetworkTables, UnplacedNodesExistButAreNotPlaced)
{
    auto t = NewTables();
    CreateNode(*t, 1);
    CreateNode(*t, 2);
    t->NodeX[2] = UnplacedX;
    t->NodeY[2] = UnplacedY;
    EXPECT_TRUE(NodeExist(*t, 2));
    EXPECT_FALSE(IsPlacedNode(*t, 2));
    EXPECT_EQ(PlacedNodeCount(*t), 1);
    t->NodeY[2] = 0;
    EXPECT_EQ(PlacedNodeCount(*t), 2);
}

TEST(NetworkTables, EdgeTurnsFollowTheEndNodes)
{
    auto t = NewTables();
    CreateNode(*t, 1);
    CreateNode(*t, 2);
    t->NodeX[1] = 10; t->NodeY[1] = 20;
    t->NodeX[2] = 90; t->NodeY[2] = 80;
    Link(*t, 3, 1, 2);
    // No list yet: one is made rather than crashing.
    InsertBranchEdgeTurns(*t, 3);
    ASSERT_TRUE(t->BranchTurns[3].has_value());
    EXPECT_EQ(InnerTurnCount(*t, 3), 0);
    RemoveBranchEdgeTurns(*t, 3);
    t->BranchTurns[3]->push_back(TTurn(3, 50, 50));
    RebuildAllEdgeTurns(*t);
    const TTurnList &list = *t->BranchTurns[3];
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.front().X, 10);
    EXPECT_EQ(list.back().Y, 80);
    EXPECT_EQ(InnerTurnCount(*t, 3), 1);
    EXPECT_EQ(TotalInnerTurns(*t), 1);
    EXPECT_EQ(InnerTurnCount(*t, 4), 0);
    RemoveBranchEdgeTurns(*t, 4); // no list: nothing happens
}

TEST(NetworkTables, DuplicateTurnsKeepTheFirstOfARun)
{
    TTurnList list = {{1, 0, 0}, {1, 5, 5}, {1, 5, 5}, {1, 5, 5}, {1, 9, 1}, {1, 0, 0}};
    RemoveDuplicateTurns(list);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[1].X, 5);
    EXPECT_EQ(list[2].X, 9);
    EXPECT_EQ(list[3].X, 0); // equal to an earlier point but not to its neighbour
}

TEST(NetworkTables, IncidenceListsInBranchOrder)
{
    auto t = NewTables();
    for (int n = 1; n <= 3; ++n)
        CreateNode(*t, n);
    Link(*t, 5, 1, 2);
    Link(*t, 2, 2, 3);
    Link(*t, 9, 0, 3); // start node 0: not in any list
    BuildNodeBranchLists(*t);
    ASSERT_TRUE(t->NodeBranchLists[2].has_value());
    const TNodeBranchList &at2 = *t->NodeBranchLists[2];
    ASSERT_EQ(at2.size(), 2u);
    EXPECT_EQ(at2[0].Branch, 2);
    EXPECT_EQ(at2[0].Direction, TBranchToNode::Leaving);
    EXPECT_EQ(at2[1].Branch, 5);
    EXPECT_EQ(at2[1].Direction, TBranchToNode::Entering);
    EXPECT_EQ(t->NodeBranchLists[3]->size(), 1u);
    EXPECT_FALSE(t->NodeBranchLists[4].has_value());
}

TEST(NetworkTables, TypeNamesAndLookup)
{
    EXPECT_EQ(GetBranchTypeList().size(), 27);
    EXPECT_EQ(GetBranchTypeList().front(), QStringLiteral("Выработка"));
    EXPECT_EQ(BranchTypeByName(QStringLiteral("Лава")), 7);
    EXPECT_EQ(BranchTypeByName(QStringLiteral("Нет такого")), UnknownBranchType);
    EXPECT_EQ(BranchTypeName(200), QStringLiteral("Неизвестный ошибочный тип"));
}

TEST(NetworkTables, ClearAllItemsEmptiesAGeneratedNetwork)
{
    auto t = NewTables();
    const int branches = MakeGridNetwork(*t, 200);
    EXPECT_GE(branches, 150);
    EXPECT_GT(NodeCount(*t), 50);
    ClearAllItems(*t);
    EXPECT_EQ(NodeCount(*t), 0);
    EXPECT_EQ(BranchCount(*t), 0);
}
