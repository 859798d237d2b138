#include "scheme/node_table.h"

#include "scheme/branch_table.h"
#include "platform/prompt.h"
#include "scheme_test_network.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString Invalid = QStringLiteral("Недопустимое значение");

// Nodes 1..4 joined by branches 1..3; node 1 on the surface, node 3 with
// 3D coordinates, node 4 with its altitude unset.
struct NodeTable : ::testing::Test
{
    std::unique_ptr<TNetworkTables> Tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *Tables;
    TScriptedPrompt Prompt;
    std::vector<std::pair<int, TChangeKind>> Handed;

    void SetUp() override
    {
        for (int n = 1; n <= 4; ++n) {
            AddTestNode(t, n, n * 100, 50);
            t.NodeAltitude[n] = -100 * n;
        }
        for (int n = 1; n <= 3; ++n)
            AddTestBranch(t, n, n, n + 1);
        t.NodeIsSurface[1] = 1;
        t.Node3dX[3] = 12.5;
        t.Node3dY[3] = 7;
        t.NodeAltitude[4] = AltitudeNotGiven;
    }

    std::unique_ptr<TNodeTable> Open(int filter = 0)
    {
        TBranchFormHost host;
        host.ObjectChanged = [this](std::unique_ptr<TMineObject> s, TChangeKind kind) {
            Handed.emplace_back(s->Number, kind);
        };
        auto table = std::make_unique<TNodeTable>(t, host);
        table->Open(filter);
        return table;
    }

    static TLeave Type(TNodeTable &table, int col, int row, const QString &text)
    {
        table.LeaveCell(col, row);
        table.SetCell(col, row, text);
        return table.LeaveCell(col == ncY ? ncX : col + 1, row);
    }

    QStringList Messages() const
    {
        QStringList texts;
        for (const auto &asked : Prompt.Asked)
            texts << asked.Text;
        return texts;
    }
};

TEST_F(NodeTable, RowsShowTheNodes)
{
    auto table = Open();
    ASSERT_EQ(table->RowCount(), 5);
    EXPECT_EQ(table->FilterItems(), (QStringList{QStringLiteral("1-4"), QStringLiteral("С неполной информацией")}));
    EXPECT_EQ(table->Cell(ncNotes, 1), QStringLiteral("узел поверхности"));
    EXPECT_EQ(table->Cell(ncAltitude, 2), QStringLiteral("-200,0"));
    EXPECT_EQ(table->Cell(nc3dX, 3), QStringLiteral("12,5"));
    EXPECT_EQ(table->Cell(nc3dX, 2), QString());
    EXPECT_EQ(table->Cell(ncAltitude, 4), QString());
    EXPECT_EQ(table->Cell(ncX, 4), QStringLiteral("400"));

    auto incomplete = Open(1);
    ASSERT_EQ(incomplete->RowCount(), 2);
    EXPECT_EQ(incomplete->RowNumber(1), 4);
}

TEST_F(NodeTable, CellsAreCheckedAndStoredWhenLeft)
{
    const struct
    {
        int Col;
        QString Text;
        bool Accepted;
        std::function<bool(const TNetworkTables &)> Stored;
    } cases[] = {
        {ncAltitude, QStringLiteral("2000"), true, [](const TNetworkTables &t) { return t.NodeAltitude[2] == 2000; }},
        {ncAltitude, QStringLiteral("-2500"), true, [](const TNetworkTables &t) { return t.NodeAltitude[2] == -2500; }},
        {ncAltitude, QStringLiteral("2000,5"), false, {}},
        {ncAltitude, QStringLiteral("-2500,5"), false, {}},
        {ncAltitude, QString(), true, [](const TNetworkTables &t) { return t.NodeAltitude[2] == AltitudeNotGiven; }},
        {ncNotes, QStringLiteral("подъем на поверхность"), true,
         [](const TNetworkTables &t) { return t.NodeLiftToSurface[2] && !t.NodeIsSurface[2]; }},
        {ncNotes, QStringLiteral("прочее"), false, {}},
        {nc3dX, QStringLiteral("3dX"), false, {}},
        {nc3dY, QStringLiteral("4,25"), true, [](const TNetworkTables &t) { return t.Node3dY[2] == 4.25; }},
        {ncX, QStringLiteral("777"), true, [](const TNetworkTables &t) { return t.NodeX[2] == 200; }},
        {ncY, QStringLiteral("abc"), true, [](const TNetworkTables &t) { return t.NodeY[2] == 50; }},
    };
    for (const auto &c : cases) {
        SetUp();
        Prompt.Asked.clear();
        auto table = Open();
        const TLeave result = Type(*table, c.Col, 2, c.Text);
        const std::string what = std::to_string(c.Col) + " " + c.Text.toStdString();
        if (c.Accepted) {
            EXPECT_EQ(result, TLeave::Allowed) << what;
            EXPECT_TRUE(Prompt.Asked.empty()) << what;
            EXPECT_TRUE(c.Stored(t)) << what;
        } else {
            EXPECT_EQ(result, TLeave::Refused) << what;
            EXPECT_EQ(Messages(), QStringList{Invalid}) << what;
            EXPECT_EQ(table->CurCol, c.Col) << what;
        }
    }
}

TEST_F(NodeTable, NotesOnASurfaceNode)
{
    auto table = Open();
    // The combined text is accepted and changes nothing.
    ASSERT_EQ(Type(*table, ncNotes, 1, QStringLiteral("узел поверхности, подъем на поверхность")), TLeave::Allowed);
    EXPECT_TRUE(t.NodeIsSurface[1]);
    EXPECT_FALSE(t.NodeLiftToSurface[1]);
    EXPECT_FALSE(table->ChangedNodes[1]);
    ASSERT_EQ(Type(*table, ncNotes, 1, QStringLiteral("подъем на поверхность")), TLeave::Allowed);
    EXPECT_FALSE(t.NodeIsSurface[1]);
    EXPECT_TRUE(t.NodeLiftToSurface[1]);
    ASSERT_EQ(Type(*table, ncNotes, 1, QString()), TLeave::Allowed);
    EXPECT_FALSE(t.NodeLiftToSurface[1]);
}

TEST_F(NodeTable, AnEmpty3dCellMayBeLeftOnlyAsItWas)
{
    auto table = Open();
    EXPECT_EQ(Type(*table, nc3dX, 2, QString()), TLeave::Allowed);
    EXPECT_EQ(Type(*table, nc3dX, 3, QString()), TLeave::Refused);
    EXPECT_TRUE(Prompt.Asked.empty());
    EXPECT_EQ(t.Node3dX[3], 12.5);
}

TEST_F(NodeTable, ANewRowMakesTheNodeWithWhatWasTypedAndCancelTakesItBack)
{
    const TNetworkTables before = t;
    const TTableBackup backup(t);
    auto table = Open();
    ASSERT_TRUE(table->AppendRow());
    const int row = table->RowCount() - 1;
    table->LeaveCell(ncNumber, row);
    table->SetCell(ncNumber, row, QStringLiteral("2"));
    EXPECT_EQ(table->LeaveCell(ncAltitude, row), TLeave::Refused);
    EXPECT_EQ(Messages(), (QStringList{QStringLiteral("Узел с таким номером уже есть"), Invalid}));

    table->SetCell(ncNumber, row, QStringLiteral("9"));
    ASSERT_EQ(table->LeaveCell(ncAltitude, row), TLeave::Allowed);
    table->SetCell(ncAltitude, row, QStringLiteral("-300"));
    ASSERT_EQ(table->LeaveCell(ncNotes, row), TLeave::Allowed);
    table->SetCell(ncNotes, row, QStringLiteral("подъем на поверхность"));
    ASSERT_EQ(table->LeaveCell(nc3dX, row), TLeave::Allowed);
    ASSERT_TRUE(NodeExist(t, 9));
    EXPECT_EQ(t.NodeAltitude[9], -300);
    EXPECT_TRUE(t.NodeLiftToSurface[9]);

    table->Confirm();
    EXPECT_EQ(Handed, (std::vector<std::pair<int, TChangeKind>>{{9, ckCreated}}));

    // A node renumbered in its dialog comes back with its branches' ends.
    ASSERT_TRUE(RenumberNode(t, 30, 2));
    backup.Restore(t);
    EXPECT_EQ(t.NodeNo, before.NodeNo);
    EXPECT_EQ(t.NodeAltitude, before.NodeAltitude);
    EXPECT_EQ(t.NodeLiftToSurface, before.NodeLiftToSurface);
    EXPECT_EQ(t.NodeX, before.NodeX);
    EXPECT_EQ(t.BranchEndNode, before.BranchEndNode);
    EXPECT_EQ(t.BranchStartNode, before.BranchStartNode);
    EXPECT_EQ(t.BranchTurns[1]->back().X, 200);
}

} // namespace
