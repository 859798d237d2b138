#include "scheme/branch_table.h"

#include "platform/prompt.h"
#include "scheme/scheme_render.h"
#include "scheme_test_network.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString Invalid = QStringLiteral("Недопустимое значение");
const QString Exists = QStringLiteral("Ветвь с таким номером уже есть");
const QString Pair = QStringLiteral("Недопустимы у ветви одновременно фиксированные депрессия и расход.");

// Ten branches 1..10 in a chain of nodes 1..11, every value given, with a bend
// point in the middle of each.
struct BranchTable : ::testing::Test
{
    std::unique_ptr<TNetworkTables> Tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *Tables;
    TScriptedPrompt Prompt;
    std::vector<std::pair<int, TChangeKind>> Handed;

    void SetUp() override
    {
        for (int n = 1; n <= 11; ++n)
            AddTestNode(t, n, n * 100, 0);
        for (int n = 1; n <= 10; ++n) {
            AddTestBranch(t, n, n, n + 1);
            t.BranchTurns[n]->insert(t.BranchTurns[n]->begin() + 1, TTurn(n, n * 100 + 50, 30));
            t.BranchR[n] = 0.01 * n;
            t.BranchLength[n] = static_cast<std::int16_t>(100 + n);
            t.BranchArea[n] = 10;
            t.BranchHeight[n] = 3;
            t.BranchAngle[n] = 5;
            t.BranchStartTemp[n] = t.BranchEndTemp[n] = 20;
            t.BranchQ[n] = 5;
            t.BranchName[n] = QStringLiteral("Штрек %1").arg(n);
        }
    }

    std::unique_ptr<TBranchTable> Open(int filter = btfAll, const QString &range = {})
    {
        TBranchFormHost host;
        host.ObjectChanged = [this](std::unique_ptr<TMineObject> s, TChangeKind kind) {
            Handed.emplace_back(s->Number, kind);
        };
        auto table = std::make_unique<TBranchTable>(t, host);
        table->Open(filter, range);
        return table;
    }

    // Types text into (col, row) and leaves it for the next column.
    static TLeave Type(TBranchTable &table, int col, int row, const QString &text)
    {
        table.LeaveCell(col, row);
        table.SetCell(col, row, text);
        return table.LeaveCell(col + 1, row);
    }

    QStringList Messages() const
    {
        QStringList texts;
        for (const auto &asked : Prompt.Asked)
            texts << asked.Text;
        return texts;
    }

    std::vector<int> ShownNumbers(const TBranchTable &table) const
    {
        std::vector<int> numbers;
        for (int row = 1; row < table.RowCount(); ++row)
            if (const int n = table.RowNumber(row))
                numbers.push_back(n);
        return numbers;
    }
};

TEST_F(BranchTable, FiltersChooseTheRows)
{
    t.BranchR[3] = 0;
    t.BranchType[4] = UnknownBranchType;
    t.BranchQ[5] = -1;
    t.BranchLength[6] = 0;
    t.BranchAngle[7] = AngleNotGiven;
    const struct
    {
        int Filter;
        QString Range;
        std::vector<int> Rows;
    } cases[] = {
        {btfIncomplete, {}, {6, 7}},
        {btfZeroR, {}, {3}},
        {btfNoType, {}, {4}},
        {btfNegativeQ, {}, {5}},
        {btfZeroLength, {}, {6}},
        {btfRange, QStringLiteral("9, 2..3; 8-7 5000-6000"), {2, 3, 9}},
    };
    for (const auto &c : cases) {
        auto table = Open(c.Filter, c.Range);
        EXPECT_EQ(ShownNumbers(*table), c.Rows) << c.Filter;
    }
    auto table = Open();
    EXPECT_EQ(table->FilterItems().value(0), QStringLiteral("1-10"));
    EXPECT_EQ(ShownNumbers(*table).size(), 10u);
    EXPECT_EQ(table->Cell(bcR, 1), QStringLiteral("0,01000"));
    EXPECT_EQ(table->Cell(bcType, 1), BranchTypeNames[0]);
}

TEST_F(BranchTable, WithEveryResistanceSetZeroRShowsOneEmptyRow)
{
    auto table = Open(btfZeroR);
    ASSERT_EQ(table->RowCount(), 2);
    for (int col = 0; col < BranchColumnCount; ++col)
        EXPECT_TRUE(table->Cell(col, 1).isEmpty());
}

TEST_F(BranchTable, ANumberBeyondTheIntegerRangeGetsTheConvertersMessage)
{
    auto table = Open(btfRange, QStringLiteral("2, 99999999999"));
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(ShownNumbers(*table), std::vector<int>{2});
}

// The cells of an existing row: what is refused, with which messages, and
// what an accepted text stores.
TEST_F(BranchTable, CellsAreCheckedAndStoredWhenLeft)
{
    const struct
    {
        int Col;
        QString Text;
        QStringList Messages;  // empty with Stored set: accepted
        std::function<bool(const TNetworkTables &)> Stored;
    } cases[] = {
        {bcR, QStringLiteral("abc"), {Invalid}, {}},
        {bcR, QStringLiteral("0"), {Invalid}, {}},
        {bcR, QStringLiteral("9999"), {Invalid}, {}},
        {bcR, QString(), {}, {}},  // refused without a word
        {bcR, QStringLiteral("0,5"), {}, [](const TNetworkTables &t) { return t.BranchR[2] == 0.5; }},
        {bcStartTemp, QString(), {}, [](const TNetworkTables &t) { return t.BranchStartTemp[2] == TempNotGiven; }},
        {bcStartTemp, QStringLiteral("41"), {Invalid}, {}},
        {bcAngle, QString(), {}, [](const TNetworkTables &t) { return t.BranchAngle[2] == AngleNotGiven; }},
        {bcAngle, QStringLiteral("-90"), {}, [](const TNetworkTables &t) { return t.BranchAngle[2] == -90; }},
        {bcLength, QStringLiteral("32767"), {}, [](const TNetworkTables &t) { return t.BranchLength[2] == 32767; }},
        {bcLength, QStringLiteral("32768"), {Invalid}, {}},
        {bcLength, QStringLiteral("1,5"), {Invalid}, {}},
        {bcLength, QString(), {}, [](const TNetworkTables &t) { return t.BranchLength[2] == 0; }},
        {bcPLAPosition, QStringLiteral("5001"), {Invalid}, {}},
        {bcType, QStringLiteral("Нет такого"), {Invalid}, {}},
        {bcType, BranchTypeNames[5], {}, [](const TNetworkTables &t) { return t.BranchType[2] == 5; }},
        {bcType, QString(), {}, [](const TNetworkTables &t) { return t.BranchType[2] == UnknownBranchType; }},
        {bcStartNode, QStringLiteral("03"), {Invalid}, {}},  // the end node is 3: one node
        {bcEndNode, QStringLiteral("5001"), {Invalid}, {}},
        {bcName, QStringLiteral("Уклон"), {}, [](const TNetworkTables &t) { return t.BranchName[2] == "Уклон"; }},
    };
    for (const auto &c : cases) {
        SetUp();
        Prompt.Asked.clear();
        auto table = Open();
        const TLeave result = Type(*table, c.Col, 2, c.Text);
        EXPECT_EQ(Messages(), c.Messages) << c.Col << " " << c.Text.toStdString();
        if (c.Stored) {
            EXPECT_EQ(result, TLeave::Allowed) << c.Col << " " << c.Text.toStdString();
            EXPECT_TRUE(c.Stored(t)) << c.Col << " " << c.Text.toStdString();
            EXPECT_EQ(table->ChangedBranches[2], true);
        } else {
            EXPECT_EQ(result, TLeave::Refused) << c.Col << " " << c.Text.toStdString();
            // The selection stays on the refused cell.
            EXPECT_EQ(table->CurCol, c.Col);
            EXPECT_EQ(table->CurRow, 2);
        }
    }
}

TEST_F(BranchTable, FixedDepressionAndFlowTogetherGiveOnlyTheThirdMessage)
{
    auto table = Open();
    EXPECT_EQ(Type(*table, bcFixedDepression, 1, QStringLiteral("5")), TLeave::Allowed);
    EXPECT_EQ(Type(*table, bcRequiredFlow, 1, QStringLiteral("5")), TLeave::Refused);
    EXPECT_EQ(Messages(), QStringList{Pair});
    EXPECT_EQ(t.BranchFixedDepression[2 - 1], 5);
    EXPECT_EQ(t.BranchRequiredFlow[1], 0);
}

TEST_F(BranchTable, PassingOverARoundedCellStoresNothing)
{
    t.BranchAuxDepression[1] = 12.345;
    t.BranchNormativeFlow[1] = ValueNotGiven;
    auto table = Open();
    for (int col = bcStartNode; col < BranchColumnCount - 1; ++col) {
        if (col != bcR) {
            ASSERT_EQ(table->LeaveCell(col + 1, 1), TLeave::Allowed) << col;
        }
    }
    EXPECT_EQ(t.BranchAuxDepression[1], 12.345);
    EXPECT_EQ(t.BranchNormativeFlow[1], ValueNotGiven);
    EXPECT_FALSE(table->ChangedBranches[1]);
}

TEST_F(BranchTable, TheNumberOfAnExistingRowCannotChange)
{
    auto table = Open();
    table->SetCell(bcNumber, 1, QStringLiteral("77"));
    EXPECT_EQ(table->Cell(bcNumber, 1), QStringLiteral("1"));
    EXPECT_FALSE(table->Editable(bcNumber, 1));
}

TEST_F(BranchTable, ANewRowMakesABranchWithItsNodesAndEndPointsAndCancelTakesThemBack)
{
    DestroyNode(t, 6);
    t.BranchEndNode[5] = 7;  // node 6 is nowhere
    t.BranchStartNode[6] = 7;
    const TNetworkTables before = t;
    const TTableBackup backup(t);
    auto table = Open();
    ASSERT_TRUE(table->AppendRow());
    const int row = table->RowCount() - 1;
    ASSERT_EQ(table->LeaveCell(bcNumber, row), TLeave::Allowed);

    // An existing number beyond the rows of the existing branches: both messages.
    table->SetCell(bcNumber, row, QStringLiteral("3"));
    EXPECT_EQ(table->LeaveCell(bcStartNode, row), TLeave::Refused);
    EXPECT_EQ(Messages(), (QStringList{Exists, Invalid}));

    table->SetCell(bcNumber, row, QStringLiteral("101"));
    ASSERT_EQ(table->LeaveCell(bcStartNode, row), TLeave::Allowed);
    table->SetCell(bcStartNode, row, QStringLiteral("5"));
    // Only towards the end node until the branch is made.
    EXPECT_EQ(table->LeaveCell(bcName, row), TLeave::Refused);
    ASSERT_EQ(table->LeaveCell(bcEndNode, row), TLeave::Allowed);
    table->SetCell(bcEndNode, row, QStringLiteral("6"));
    ASSERT_EQ(table->LeaveCell(bcName, row), TLeave::Allowed);

    ASSERT_TRUE(BranchExist(t, 101));
    EXPECT_EQ(t.BranchType[101], UnknownBranchType);
    EXPECT_EQ(t.BranchStartTemp[101], TempNotGiven);
    EXPECT_EQ(t.BranchEndTemp[101], TempNotGiven);
    EXPECT_EQ(t.BranchAngle[101], AngleNotGiven);
    EXPECT_TRUE(t.BranchName[101].isEmpty());
    EXPECT_TRUE(NodeExist(t, 6));
    ASSERT_TRUE(t.BranchTurns[101]);
    ASSERT_EQ(t.BranchTurns[101]->size(), 2u);
    EXPECT_EQ(t.BranchTurns[101]->front().X, 500);
    EXPECT_EQ(table->FilterItems().value(0), QStringLiteral("1-101"));
    EXPECT_EQ(table->Cell(bcType, row), QString());  // the row shows the branch as made

    table->Confirm();
    EXPECT_NE(std::find(Handed.begin(), Handed.end(), std::pair{101, ckCreated}), Handed.end());
    EXPECT_NE(std::find(Handed.begin(), Handed.end(), std::pair{6, ckCreated}), Handed.end());

    backup.Restore(t);
    EXPECT_FALSE(BranchPresent(t, 101));
    EXPECT_FALSE(NodeExist(t, 6));
    EXPECT_EQ(t.NodeNo, before.NodeNo);
    EXPECT_EQ(t.BranchNo, before.BranchNo);
    EXPECT_EQ(t.BranchStartNode, before.BranchStartNode);
    EXPECT_EQ(t.BranchType, before.BranchType);
    EXPECT_EQ(t.BranchStartTemp, before.BranchStartTemp);
    EXPECT_EQ(t.BranchAngle, before.BranchAngle);
    EXPECT_EQ(t.BranchName, before.BranchName);
    EXPECT_EQ(t.BranchPLAPosition, before.BranchPLAPosition);
    EXPECT_FALSE(t.BranchTurns[101]);
}

TEST_F(BranchTable, ANewEndNodeMovesTheDrawnEnd)
{
    AddTestNode(t, 20, 900, 900);
    auto table = Open();
    ASSERT_EQ(Type(*table, bcEndNode, 1, QStringLiteral("20")), TLeave::Allowed);
    EXPECT_EQ(t.BranchEndNode[1], 20);
    EXPECT_EQ(t.BranchTurns[1]->back().X, 900);
    EXPECT_EQ(t.BranchTurns[1]->size(), 3u);
    ASSERT_EQ(Type(*table, bcStartNode, 2, QStringLiteral("33")), TLeave::Allowed);
    EXPECT_TRUE(NodeExist(t, 33));
    EXPECT_TRUE(table->CreatedNodes[33]);
}

TEST_F(BranchTable, GoingUpFromAnEmptyNewRowDropsIt)
{
    auto table = Open();
    ASSERT_TRUE(table->AppendRow());
    const int row = table->RowCount() - 1;
    ASSERT_EQ(table->LeaveCell(bcNumber, row), TLeave::Allowed);
    EXPECT_EQ(table->LeaveCell(bcStartNode, row - 1), TLeave::Refused);  // empty number: no word
    EXPECT_TRUE(Prompt.Asked.empty());
    table->LastKey = TGridKey::Up;
    EXPECT_EQ(table->LeaveCell(bcNumber, row - 1), TLeave::Refilled);
    EXPECT_EQ(table->RowCount(), 11);
}

// R of ten branches and a PLA position changed, then a branch deleted and
// another renumbered in the branch dialog: Cancel gives the network back
// whole, and it draws.
TEST_F(BranchTable, CancelRestoresTheTablesAndTheBendPoints)
{
    t.BranchLabelFlags[4] = lfName;
    const TNetworkTables before = t;
    const TTableBackup backup(t);
    auto table = Open();
    for (int row = 1; row <= 10; ++row)
        ASSERT_EQ(Type(*table, bcR, row, QStringLiteral("1,5")), TLeave::Allowed);
    ASSERT_EQ(Type(*table, bcPLAPosition, 1, QStringLiteral("12")), TLeave::Allowed);
    DestroyBranch(t, 4);
    MoveBranchEntry(t, 7, 70);
    table->Fill();
    EXPECT_EQ(table->RowCount(), 9);  // the deleted branch's row is gone

    backup.Restore(t);
    EXPECT_EQ(t.BranchR, before.BranchR);
    EXPECT_EQ(t.BranchPLAPosition, before.BranchPLAPosition);
    EXPECT_EQ(t.BranchNo, before.BranchNo);
    EXPECT_EQ(t.BranchLabelFlags[4], lfName);
    for (int n = 1; n <= 70; ++n) {
        ASSERT_EQ(t.BranchTurns[n].has_value(), before.BranchTurns[n].has_value()) << n;
        if (t.BranchTurns[n]) {
            EXPECT_EQ(t.BranchTurns[n]->size(), before.BranchTurns[n]->size()) << n;
        }
    }
    TBranchColors colors{};
    TViewport view;
    TSchemeOverlays overlays;
    TSchemeDrawSettings settings;
    TPaintGuard guard;
    TRecordingCanvas canvas;
    canvas.DeviceRect = {0, 0, 400, 300};
    TSchemeRenderer renderer(t, colors, view, settings, overlays);
    renderer.Redraw(canvas, 400, 300, {1280, 1024}, guard);
    // Every branch is drawn again, the one given back among them.
    EXPECT_FALSE(canvas.Ops.empty());
}

TEST_F(BranchTable, OkHandsEveryChangedBranch)
{
    auto table = Open();
    ASSERT_EQ(Type(*table, bcR, 3, QStringLiteral("2")), TLeave::Allowed);
    table->LeaveCell(bcLength, 4);
    table->SetCell(bcLength, 4, QStringLiteral("7"));
    table->Confirm();  // leaves the cell being edited
    EXPECT_EQ(Handed, (std::vector<std::pair<int, TChangeKind>>{{3, ckChanged}, {4, ckChanged}}));
    EXPECT_EQ(t.BranchLength[4], 7);
}

} // namespace
