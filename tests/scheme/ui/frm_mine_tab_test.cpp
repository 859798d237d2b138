// The table editors' windows: the validating grid, Cancel and the topology report.
#include "scheme/ui/cell_grid.h"
#include "scheme/ui/frm_branch.h"
#include "scheme/ui/frm_mine_tab.h"
#include "scheme/ui/frm_new_node.h"
#include "scheme/ui/frm_nod_tab.h"
#include "scheme/ui/tabbed_notebook_dlg.h"

#include "platform/prompt.h"
#include "modal.h"
#include "../scheme_test_network.h"

#include <QtCore/QTimer>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QTableWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct TableWindows : ::testing::Test
{
    std::unique_ptr<TNetworkTables> Tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *Tables;
    TSchemeDocument Doc;
    TScriptedPrompt Prompt;

    void SetUp() override
    {
        for (int n = 1; n <= 4; ++n)
            AddTestNode(t, n, n * 100, 0);
        for (int n = 1; n <= 3; ++n) {
            AddTestBranch(t, n, n, n + 1);
            t.BranchR[n] = 0.5;
        }
        BranchDialogHost.Tables = Tables.get();
        BranchDialogHost.Doc = &Doc;
        NodeDialogHost.Tables = Tables.get();
    }
    void TearDown() override
    {
        BranchDialogHost = {};
        NodeDialogHost = {};
        ShowNodeOnScheme = nullptr;
    }

    // The branch table on every branch, shown, with the focus in its grid.
    static TCellGrid *ShowAll(TfrmMineTab &form)
    {
        form.Open(btfAll, {});
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.SGMineTab->setFocus();
        return form.SGMineTab;
    }

    static void TypeInto(TCellGrid *grid, int col, int gridRow, const QString &text)
    {
        grid->setCurrentIndex(grid->model()->index(gridRow, col));
        grid->model()->setData(grid->model()->index(gridRow, col), text);
    }
};

// Every way of leaving a refused cell keeps it: Tab, the mouse, the arrows
// and the focus going to another control each give the message once.
TEST_F(TableWindows, ARefusedCellKeepsTheSelectionHoweverItIsLeft)
{
    TfrmMineTab form(t, {});
    TCellGrid *grid = ShowAll(form);
    TypeInto(grid, bcR, 1, QStringLiteral("abc"));
    const QModelIndex refused = grid->currentIndex();
    ASSERT_EQ(refused.column(), bcR);

    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(grid->currentIndex(), refused);
    const QRect other = grid->visualRect(grid->model()->index(0, bcLength));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, other.center());
    EXPECT_EQ(grid->currentIndex(), refused);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grid->currentIndex(), refused);
    form.cmbDiap->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(Prompt.Asked.size(), 4u);
    for (const auto &asked : Prompt.Asked) {
        EXPECT_EQ(asked.Text, QStringLiteral("Недопустимое значение"));
        EXPECT_EQ(asked.Caption, QStringLiteral("ОШИБКА"));
        EXPECT_EQ(asked.Flags, mb::Ok);
    }
    EXPECT_EQ(t.BranchR[2], 0.5);

    grid->setFocus();
    grid->model()->setData(refused, QStringLiteral("0,75"));
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(grid->currentIndex().column(), bcLength);
    EXPECT_EQ(t.BranchR[2], 0.75);
    // An accepted cell lets the mouse go anywhere, past the fixed number.
    const QRect area = grid->visualRect(grid->model()->index(2, bcArea));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, area.center());
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(2, bcArea));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(1, bcNumber)).center());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(1, bcLength)).center());
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(1, bcLength));
    // Left and Right open the cell's editor instead of moving.
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(grid->currentIndex().column(), bcLength);
    EXPECT_TRUE(grid->viewport()->isAncestorOf(QApplication::focusWidget()));
}

// Tab out of a cell editor with a refused value opens no editor on the next
// cell: what is typed after the message goes into the refused cell.
TEST_F(TableWindows, TypingAfterARefusedEditGoesIntoTheRefusedCell)
{
    TfrmMineTab form(t, {});
    TCellGrid *grid = ShowAll(form);
    const QModelIndex r = grid->model()->index(1, bcR);
    grid->setCurrentIndex(r);
    // Each key goes where the focus is, as the keyboard sends it.
    const auto type = [](const QString &text) {
        for (const QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    };
    type(QStringLiteral("abc"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(grid->currentIndex(), r);

    type(QStringLiteral("0,75"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(t.BranchR[2], 0.75);
    EXPECT_EQ(grid->currentIndex().column(), bcLength);
    EXPECT_EQ(grid->model()->index(1, bcLength).data().toString(), QString());
}

TEST_F(TableWindows, DownOnTheLastRowAddsARowForANewBranch)
{
    TfrmMineTab form(t, {});
    form.Open(btfAll, {});
    form.show();
    TCellGrid *grid = form.SGMineTab;
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(2, bcNumber));
    QTest::keyClick(grid, Qt::Key_Down);
    ASSERT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(grid->currentIndex().row(), 3);
    EXPECT_TRUE(grid->model()->flags(grid->currentIndex()) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid->model()->flags(grid->model()->index(0, bcNumber)) & Qt::ItemIsEditable);
    QTest::keyClick(grid, Qt::Key_Up);  // the empty row goes again
    EXPECT_EQ(grid->model()->rowCount(), 3);
}

TEST_F(TableWindows, CancelPutsTheTablesBackAndNoItemsOpenNothing)
{
    bool checked = false;
    WhenModal([&] {
        auto *form = qobject_cast<TfrmMineTab *>(QApplication::activeModalWidget());
        ASSERT_TRUE(form);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Корректировка информации о ветвях"));
        EXPECT_EQ(form->cmbDiap->currentText(), QStringLiteral("1-3"));
        TypeInto(form->SGMineTab, bcR, 0, QStringLiteral("7"));
        form->SGMineTab->LeaveCurrent();
        EXPECT_EQ(t.BranchR[1], 7);
        checked = true;
        form->CancelBtn->click();
    });
    EXPECT_EQ(EditBranchTable(nullptr, btfAll), 2);
    EXPECT_TRUE(checked);
    EXPECT_EQ(t.BranchR[1], 0.5);

    checked = false;
    WhenModal([&] {
        auto *form = qobject_cast<TfrmNodTab *>(QApplication::activeModalWidget());
        ASSERT_TRUE(form);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Корректировка информации об  узлах"));
        TypeInto(form->SGNodTab, ncAltitude, 1, QStringLiteral("-15"));
        checked = true;
        form->OKBtn->click();
    });
    EXPECT_EQ(EditNodTab(nullptr, 0), 1);
    EXPECT_TRUE(checked);
    EXPECT_EQ(t.NodeAltitude[2], -15);

    ClearAllItems(t);
    EXPECT_EQ(EditBranchTable(nullptr, btfAll), 2);
    EXPECT_EQ(EditNodTab(nullptr, 0), 2);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// A branch deleted through F3 leaves the table at once, whatever the dialog
// returned, and Cancel brings it back with its points.
TEST_F(TableWindows, ABranchDeletedThroughF3ComesBackWholeOnCancel)
{
    t.BranchTurns[2]->insert(t.BranchTurns[2]->begin() + 1, TTurn(2, 250, 40));
    const TNetworkTables before = t;
    int rowsAfterDelete = 0;
    WhenModal([&] {
        auto *form = qobject_cast<TfrmMineTab *>(QApplication::activeModalWidget());
        ASSERT_TRUE(form);
        TCellGrid *grid = form->SGMineTab;
        grid->setCurrentIndex(grid->model()->index(1, bcName));
        QTimer::singleShot(0, [] {
            if (auto *dialog = qobject_cast<TfrmBranch *>(QApplication::activeModalWidget()))
                dialog->bbtnDelete->click();
        });
        QTest::keyClick(grid, Qt::Key_F3);
        rowsAfterDelete = grid->model()->rowCount();
        form->CancelBtn->click();
    });
    EXPECT_EQ(EditBranchTable(nullptr, btfAll), 2);
    EXPECT_EQ(rowsAfterDelete, 2);
    EXPECT_TRUE(BranchExist(t, 2));
    EXPECT_EQ(t.BranchNo, before.BranchNo);
    EXPECT_EQ(t.BranchStartNode, before.BranchStartNode);
    ASSERT_TRUE(t.BranchTurns[2]);
    EXPECT_EQ(t.BranchTurns[2]->size(), 3u);
}

// Whatever F3's dialog does to a branch's existence, Cancel on the table
// gives back what the document attached to it, where it stood.
TEST_F(TableWindows, CancelGivesARenumberedOrDeletedBranchItsSymbolsFanAndTelephoneBack)
{
    const auto renumber = [](TfrmBranch &dialog) {
        dialog.edNo->selectAll();
        QTest::keyClicks(dialog.edNo, QStringLiteral("7"));
        dialog.bbtnOK->click();
    };
    const auto remove = [](TfrmBranch &dialog) { dialog.bbtnDelete->click(); };
    const struct
    {
        const char *Name;
        std::function<void(TfrmBranch &)> Drive;
    } cases[] = {{"renumber", renumber}, {"delete", remove}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        ClearAllItems(t);
        Doc = TSchemeDocument();
        SetUp();
        Doc.SymbolLinks = {TLink(1, 10, QStringLiteral("a")), TLink(2, 20, QStringLiteral("b")),
                           TLink(3, 30, QStringLiteral("c")), TLink(2, 40, QStringLiteral("d"))};
        Doc.InstalledFans.Add(2, QStringLiteral("ВЦ-5"), 1, 70);
        Doc.InstalledFans.Add(3, QStringLiteral("ВОД-21"), 2, 80);
        t.BranchPhone[2] = Doc.PhoneList.Add(TTelephone(10, QStringLiteral("77"), 20));
        const TLinkList links = Doc.SymbolLinks;
        const TInstFanList fans = Doc.InstalledFans;

        bool changed = false;
        WhenModal([&] {
            auto *form = qobject_cast<TfrmMineTab *>(QApplication::activeModalWidget());
            ASSERT_TRUE(form);
            TCellGrid *grid = form->SGMineTab;
            grid->setCurrentIndex(grid->model()->index(1, bcName));
            QTimer::singleShot(0, [&] {
                if (auto *dialog = qobject_cast<TfrmBranch *>(QApplication::activeModalWidget()))
                    c.Drive(*dialog);
            });
            QTest::keyClick(grid, Qt::Key_F3);
            changed = !BranchExist(t, 2) && Doc.SymbolLinks != links;
            form->CancelBtn->click();
        });
        EXPECT_EQ(EditBranchTable(nullptr, btfAll), 2);
        EXPECT_TRUE(changed);
        EXPECT_TRUE(BranchExist(t, 2));
        EXPECT_FALSE(BranchExist(t, 7));
        EXPECT_EQ(Doc.SymbolLinks, links);
        EXPECT_EQ(Doc.InstalledFans, fans);
        EXPECT_EQ(t.BranchPhone[2], &Doc.PhoneList[0]);
        EXPECT_EQ(t.BranchPhone[7], nullptr);
    }
}

TEST_F(TableWindows, TheReportShowsItsPagesAndGoesToTheNode)
{
    AddTestNode(t, 9, 900, 0);
    int shown = 0;
    ShowNodeOnScheme = [&](int node) { shown = node; };
    TTabbedNotebookDlg dialog(t);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Вероятные ошибки топологии"));
    // Node 1 and node 4 are dead ends (no surface node), node 9 free.
    EXPECT_EQ(dialog.PageControl1->currentIndex(), tpDeadEnds);
    EXPECT_TRUE(dialog.PageControl1->isTabVisible(tpFreeNodes));
    EXPECT_FALSE(dialog.PageControl1->isTabVisible(tpManyBranches));
    QTableWidget *grid = dialog.Grids[tpDeadEnds];
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("4"));
    grid->setCurrentCell(1, 0);
    dialog.BitBtn9->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(shown, 4);
}

} // namespace
