#include "scheme/ui/frm_branch.h"
#include "scheme/ui/frm_double_nodes.h"
#include "scheme/ui/frm_new_node.h"

#include "platform/prompt.h"
#include "../scheme_test_network.h"
#include "when_shown.h"

#include <QtCore/QTimer>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Node 12 with branch 1 entering from 10 and branches 2 and 3 leaving to 11
// and 13; the scheme image is a red picture of 400 × 300 on which scheme
// points keep their coordinates.
struct TFrmNewNodeTest : ::testing::Test
{
    std::unique_ptr<TNetworkTables> Tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *Tables;
    TSchemeDocument Doc;
    QImage Scheme{400, 300, QImage::Format_RGB32};
    int Snapshots = 0;
    TScriptedPrompt Prompt;

    void SetUp() override
    {
        AddTestNode(t, 10, 0, 0);
        AddTestNode(t, 11, 350, 100);
        AddTestNode(t, 12, 200, 100);
        AddTestNode(t, 13, 200, 500);
        AddTestBranch(t, 1, 10, 12);
        AddTestBranch(t, 2, 12, 11);
        AddTestBranch(t, 3, 12, 13);
        t.BranchName[1] = QStringLiteral("Квершлаг");
        t.BranchName[2] = QStringLiteral("Ствол");
        Scheme.fill(Qt::red);
        Scheme.setPixelColor(200, 100, Qt::blue);
        BranchDialogHost.Tables = Tables.get();
        BranchDialogHost.Doc = &Doc;
        NodeDialogHost.Tables = Tables.get();
        NodeDialogHost.Form.ObjectChanged = [this](std::unique_ptr<TMineObject>, TChangeKind) { ++Snapshots; };
        NodeDialogHost.SchemeImage = [this] { return &Scheme; };
        NodeDialogHost.ScreenPoint = [](int x, int y) { return QPoint(x, y); };
        BranchDialogHooks.ChooseSurfaceNode = [](TfrmBranch &dialog, int branch) { ChooseSurfaceNode(&dialog, branch); };
    }

    void TearDown() override
    {
        BranchDialogHost = {};
        BranchDialogHooks = {};
        NodeDialogHost = {};
    }

    std::unique_ptr<TfrmNewNode> Open(int n, bool deletable = false)
    {
        auto dialog = std::make_unique<TfrmNewNode>();
        dialog->Fill(QStringLiteral("Узел %1").arg(n), n, deletable);
        return dialog;
    }
};

TEST_F(TFrmNewNodeTest, ShowsTheNodeItsCutOutAndBothLists)
{
    auto d = Open(12);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Узел 12"));
    EXPECT_EQ(d->edX->text(), QStringLiteral("200"));
    EXPECT_EQ(d->lblNodePress->text(), QStringLiteral("xxx"));
    EXPECT_FALSE(d->bbtnDelete->isEnabled());
    EXPECT_EQ(d->lblInBranches->text(), QStringLiteral("Входящих ветвей: 1"));
    EXPECT_EQ(d->lblOutBranches->text(), QStringLiteral("Выходящих ветвей: 2"));
    ASSERT_EQ(d->lvInBranches->topLevelItemCount(), 1);
    EXPECT_EQ(d->lvInBranches->topLevelItem(0)->text(0), QStringLiteral("(1). Квершлаг"));
    // Incoming rows show the start node, outgoing rows the end node.
    EXPECT_EQ(d->lvInBranches->headerItem()->text(1), QStringLiteral("Нач. уз."));
    EXPECT_EQ(d->lvInBranches->topLevelItem(0)->text(1), QStringLiteral("10"));
    ASSERT_EQ(d->lvOutBranches->topLevelItemCount(), 2);
    EXPECT_EQ(d->lvOutBranches->headerItem()->text(1), QStringLiteral("Кон. уз."));
    EXPECT_EQ(d->lvOutBranches->topLevelItem(1)->text(1), QStringLiteral("13"));
    EXPECT_EQ(d->lvOutBranches->columnCount(), 6);

    const QImage picture = d->ImgNode->pixmap().toImage();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(picture.pixelColor(picture.width() - 1, picture.height() / 2), QColor(Qt::black));
    EXPECT_EQ(picture.pixelColor(picture.width() / 2 + 1, picture.height() / 2), QColor(Qt::red));
    // Centred on the node.
    EXPECT_EQ(picture.pixelColor(picture.width() / 2, picture.height() / 2), QColor(Qt::blue));
    // Beyond the scheme's left edge the silver ground shows.
    EXPECT_EQ(Open(10)->ImgNode->pixmap().toImage().pixelColor(5, 5), QColor(0xC0, 0xC0, 0xC0));
    // A node off the visible scheme keeps the designed picture.
    EXPECT_TRUE(Open(13)->ImgNode->pixmap().isNull());
}

TEST_F(TFrmNewNodeTest, ABranchOpenedFromAListBelongsToTheNodeDialog)
{
    auto outer = std::make_unique<TfrmBranch>();
    outer->Fill(QStringLiteral("Ветвь 1"), 1, true);
    auto d = Open(12);
    bool shown = false;
    WhenShown<TfrmBranch>([&](TfrmBranch &branch) {
        shown = true;
        EXPECT_EQ(branch.parentWidget(), d.get());
        EXPECT_EQ(branch.windowTitle(), QStringLiteral("Ветвь 3"));
        branch.edName->setText(QStringLiteral("Уклон"));
        branch.bbtnOK->click();
    });
    d->OpenBranchOfRow(d->lvOutBranches, 1);
    EXPECT_TRUE(shown);
    EXPECT_EQ(d->lvOutBranches->topLevelItem(1)->text(0), QStringLiteral("(3). Уклон"));
    EXPECT_TRUE(d->Form().Modified);
    EXPECT_EQ(outer->Form().Branch, 1);
    EXPECT_EQ(outer->edName->text(), QStringLiteral("Квершлаг"));
}

TEST_F(TFrmNewNodeTest, AnUnnamedBranchOpensFromItsRow)
{
    // Its caption carries no number; the row still names the branch.
    t.BranchName[3].clear();
    auto d = Open(12);
    ASSERT_EQ(d->lvOutBranches->topLevelItem(1)->text(0), QStringLiteral(" >>> Эта ветвь без названия? <<<"));
    int opened = 0;
    WhenShown<TfrmBranch>([&](TfrmBranch &branch) {
        opened = branch.Form().Branch;
        branch.bbtnCancel->click();
    });
    d->OpenBranchOfRow(d->lvOutBranches, 1);
    EXPECT_EQ(opened, 3);
    EXPECT_FALSE(d->Form().Modified);
}

TEST_F(TFrmNewNodeTest, TypingMarksOnlyWhatWasTyped)
{
    t.NodeX[12] = UnplacedX;
    t.NodeY[12] = UnplacedY;
    auto d = Open(12);
    EXPECT_EQ(d->edX->text(), QStringLiteral("0"));
    QTest::keyClicks(d->edAltitude, QStringLiteral("5"));
    d->bbtnOKClick();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_FALSE(IsPlacedNode(t, 12));
    EXPECT_EQ(t.NodeAltitude[12], 5);
    EXPECT_EQ(Snapshots, 1);
}

TEST_F(TFrmNewNodeTest, ABranchBetweenSurfaceNodesClosesOnlyAfterTheChoice)
{
    t.NodeIsSurface[11] = t.NodeIsSurface[12] = 1;
    bool chose = false;
    WhenShown<TfrmBranch>([&](TfrmBranch &branch) {
        WhenShown<TfrmDoubleNodes>([&](TfrmDoubleNodes &choice) {
            chose = true;
            EXPECT_EQ(choice.windowTitle(), QStringLiteral("Выберите один узел поверхности"));
            EXPECT_EQ(choice.lblBranch->text(), QStringLiteral("Ветвь №2, (Ствол)"));
            EXPECT_TRUE(choice.rbtnStartNode->isChecked());
            choice.rbtnEndNode->setChecked(true);
            choice.bbtnOK->click();
        });
        branch.bbtnCancel->click();
        EXPECT_TRUE(branch.isVisible());
        branch.bbtnCancel->click();
    });
    EXPECT_FALSE(EditBranchDialog(nullptr, QStringLiteral("Ветвь 2"), 2, true));
    EXPECT_TRUE(chose);
    EXPECT_EQ(t.NodeIsSurface[12], 0);
    EXPECT_EQ(t.NodeIsSurface[11], 1);
    EXPECT_EQ(Snapshots, 1);
}

TEST_F(TFrmNewNodeTest, ANodeConfirmedFromTheChoiceClosesItWithoutAChoice)
{
    t.NodeIsSurface[11] = t.NodeIsSurface[12] = 1;
    WhenShown<TfrmDoubleNodes>([&](TfrmDoubleNodes &choice) {
        WhenShown<TfrmNewNode>([&](TfrmNewNode &node) {
            EXPECT_EQ(node.windowTitle(), QStringLiteral("Узел №11"));
            EXPECT_EQ(node.parentWidget(), &choice);
            node.chkbxIsSurface->click();
            node.bbtnOK->click();
        });
        choice.bbtnEndNode->click();
    });
    ChooseSurfaceNode(nullptr, 2);
    EXPECT_EQ(t.NodeIsSurface[11], 0);
    EXPECT_EQ(t.NodeIsSurface[12], 1);
}

} // namespace
