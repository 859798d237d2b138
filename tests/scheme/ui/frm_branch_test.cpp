#include "scheme/ui/frm_accessories.h"
#include "scheme/ui/frm_branch.h"

#include "platform/prompt.h"
#include "modal.h"
#include "../scheme_test_network.h"
#include "../../model/scheme_test_support.h"

#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Branch 3 from node 1 to node 2 of a three-node network, with a conveyor
// and its belt chosen; the host records what the dialog reports.
struct TFrmBranchTest : ::testing::Test
{
    std::unique_ptr<TNetworkTables> Tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *Tables;
    TSchemeDocument Doc;
    int Snapshots = 0;
    TScriptedPrompt Prompt;

    void SetUp() override
    {
        AddTestNode(t, 1, 0, 0);
        AddTestNode(t, 2, 100, 0);
        AddTestNode(t, 3, 100, 100);
        AddTestBranch(t, 3, 1, 2);
        AddTestBranch(t, 4, 2, 3);
        t.BranchLength[3] = 100;
        t.BranchQ[3] = 4;
        t.BranchArea[3] = 8;
        t.BranchFlags[3] = bfConveyor;
        t.BranchBeltType[3] = 2;
        t.BranchBeltWidth[3] = 5;
        t.BranchCableCells[3] = QStringLiteral("1");
        for (int n : {3, 4}) {
            t.BranchStartTemp[n] = t.BranchEndTemp[n] = TempNotGiven;
            t.BranchMinSpeed[n] = 0.15;
            t.BranchMaxSpeed[n] = 6;
        }
        Doc.Layers = {{QStringLiteral("Пласт А"), 0}, {QStringLiteral("Пласт Б"), 0}};
        BranchDialogHost.Tables = Tables.get();
        BranchDialogHost.Doc = &Doc;
        BranchDialogHost.Form = {};
        BranchDialogHost.Form.ObjectChanged = [this](std::unique_ptr<TMineObject>, TChangeKind) { ++Snapshots; };
        BranchDialogHooks = {};
    }

    void TearDown() override
    {
        BranchDialogHost = {};
        BranchDialogHooks = {};
    }

    std::unique_ptr<TfrmBranch> Open(int n = 3, bool deletable = true)
    {
        auto dialog = std::make_unique<TfrmBranch>();
        dialog->Fill(QStringLiteral("Ветвь %1").arg(n), n, deletable);
        return dialog;
    }
};

// Types text over what the edit holds, key by key.
void TypeOver(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Answers the next modal dialog once it is shown.
template <typename TDialog>
void WhenShown(std::function<void(TDialog &)> drive)
{
    WhenModal([drive] {
        auto *dialog = qobject_cast<TDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        drive(*dialog);
    });
}

TEST_F(TFrmBranchTest, SixPagesAndTheCommandsOfLaterWindowsDisabled)
{
    auto d = Open(3, false);
    QStringList pages;
    for (int i = 0; i < d->pcBranch->count(); ++i)
        pages << d->pcBranch->tabText(i);
    EXPECT_EQ(pages, (QStringList{"Свойства", "Скорость воздуха", "Вид", "ПЛА", "Аксессуары", "Символы"}));
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Ветвь 3"));
    EXPECT_EQ(d->lblDirection->text(), QStringLiteral("Из узла 1 к узлу 2"));
    EXPECT_EQ(d->lblBrSpeed->text(), QStringLiteral("Скорость воздуха: 0,50 м/с"));
    EXPECT_EQ(d->cbxBrLayer->count(), 2);
    EXPECT_EQ(d->cbxType->count(), BranchTypeCount);
    EXPECT_EQ(d->cmbMinS->currentText(), QStringLiteral("0,15"));
    EXPECT_EQ(d->cmbMaxS->currentText(), QStringLiteral("6"));
    EXPECT_TRUE(d->edStTemp->text().isEmpty());
    EXPECT_FALSE(d->bbtnDelete->isEnabled());
    for (QWidget *w : std::initializer_list<QWidget *>{d->btnResist, d->Button3, d->bbtnAuxDepr, d->bbtnPLAColor,
                                                     d->btnFile, d->btnQAccelerate, d->btnSameBranches, d->edPhone})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(d->btnCalcAngle->isEnabled());
    EXPECT_TRUE(d->btnAddSymbol->isEnabled());
    EXPECT_TRUE(d->bbtnHelp->isEnabled());
    EXPECT_FALSE(d->Form().Modified);

    BranchDialogHooks.Boost = [](TfrmBranch &) {};
    EXPECT_TRUE(Open()->btnQAccelerate->isEnabled());
}

TEST_F(TFrmBranchTest, AccessoryButtonsFollowTheirBoxes)
{
    auto d = Open();
    const std::pair<QCheckBox *, QPushButton *> pairs[] = {
        {d->cbxFirePipe, d->bFireWater}, {d->cbxConveyer, d->bCoveyor},
        {d->cbxPowerCords, d->bCable}, {d->cbxDegasationPipe, d->bDeGaze}};
    for (const auto &[box, button] : pairs) {
        EXPECT_EQ(button->isEnabled(), box->isChecked()) << box->objectName().toStdString();
        box->toggle();
        EXPECT_EQ(button->isEnabled(), box->isChecked()) << box->objectName().toStdString();
    }
}

TEST_F(TFrmBranchTest, AnUnchosenConveyorIsStoredAsNone)
{
    auto d = Open();
    WhenShown<TfrmConv>([](TfrmConv &conv) {
        EXPECT_EQ(conv.windowTitle(), QStringLiteral("Свойства конвейера"));
        EXPECT_EQ(conv.cbType->currentText(), QStringLiteral("Прочие"));
        EXPECT_EQ(conv.cbWidth->currentText(), QStringLiteral("800"));
        EXPECT_EQ(conv.cbWidth->count(), 13);
        conv.cbType->setCurrentIndex(-1);
        conv.cbWidth->setCurrentIndex(-1);
        conv.accept();
    });
    d->bCoveyor->click();
    EXPECT_TRUE(d->Form().Modified);
    d->bbtnOK->click();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(t.BranchBeltType[3], 255);
    EXPECT_EQ(t.BranchBeltWidth[3], -1);
}

TEST_F(TFrmBranchTest, AConfirmedAccessoryIsLostWithACancelledBranch)
{
    auto d = Open();
    d->cbxPowerCords->setChecked(true);
    WhenShown<TfrmCableProperty>([](TfrmCableProperty &cables) {
        QTest::keyClicks(cables.edCables, QStringLiteral("12,14,16,18,20,22,24"));
        EXPECT_EQ(cables.edCables->text().size(), CableCellsMaxLength);
        cables.edCables->setText(QStringLiteral("12,14"));
        cables.accept();
    });
    d->bCable->click();
    EXPECT_EQ(d->Form().CableCells, QStringLiteral("12,14"));
    d->bbtnCancel->click();
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_EQ(t.BranchCableCells[3], QStringLiteral("1"));
    EXPECT_EQ(t.BranchFlags[3], bfConveyor);

    // Cancelling the accessory dialog itself keeps the working copy.
    auto e = Open();
    WhenShown<TfrmFireWater>([](TfrmFireWater &pipe) {
        pipe.edDiam->setText(QStringLiteral("4"));
        pipe.reject();
    });
    e->cbxFirePipe->setChecked(true);
    e->Form().Modified = false;
    e->bFireWater->click();
    EXPECT_EQ(e->Form().FirePipeDiameter, QString());
    EXPECT_FALSE(e->Form().Modified);
}

TEST_F(TFrmBranchTest, ABadFieldKeepsTheDialogOpenOnIt)
{
    auto d = Open();
    d->show();
    d->pcBranch->setCurrentIndex(2);
    d->edSquare->setText(QStringLiteral("8,0,0"));
    d->edName->setText(QStringLiteral("Новое имя"));
    d->bbtnOK->click();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->pcBranch->currentIndex(), 0);
    EXPECT_EQ(d->focusWidget(), d->edSquare);
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Text, QStringLiteral("\"8,0,0\" - неверно заданное число!"));
    EXPECT_EQ(t.BranchName[3], DefaultBranchName);
    d->bbtnCancel->click();
    EXPECT_FALSE(d->isVisible());
}

TEST_F(TFrmBranchTest, TheKindDecidesTheSpeedPage)
{
    auto d = Open();
    d->show();
    d->pcBranch->setCurrentIndex(1);
    d->cbxType->setCurrentIndex(BranchTypeByName(QStringLiteral("ВМП")));
    EXPECT_FALSE(d->gbSpeed->isVisible());
    EXPECT_EQ(d->lblNoSpeed->text(), QStringLiteral("В выработке типа ВМП\n скорость воздуха не контролируется"));
    d->cbxType->setCurrentIndex(BranchTypeByName(QStringLiteral("Лава")));
    EXPECT_TRUE(d->gbSpeed->isVisible());
    EXPECT_EQ(d->lblMinRule->text(), QStringLiteral("(по ПБ: 0,25 м/с)"));
    EXPECT_EQ(d->lblMaxRule->text(), QStringLiteral("(по ПБ: 4,00 м/с)"));
    d->cmbMaxS->setCurrentText(QStringLiteral("10"));
    d->bbtnOK->click();
    EXPECT_EQ(t.BranchType[3], BranchTypeByName(QStringLiteral("Лава")));
    EXPECT_EQ(t.BranchMaxSpeed[3], 10);
    EXPECT_EQ(Snapshots, 1);
}

// The window's OK stores the control the user changed and nothing else:
// rounded texts, a seam the list lacks, a limit that no item shows and the
// speed combos of a kind without speed control stay as stored.
TEST_F(TFrmBranchTest, OkStoresOnlyTheControlTheUserChanged)
{
    for (int n : {3, 4}) {
        t.BranchR[n] = 0.0123456789;
        t.BranchQ[n] = 14.712345678;
        t.BranchAuxDepression[n] = -25.123456789;
        t.BranchArea[n] = 10.123456;
        t.BranchAngle[n] = 12.345678;
        t.BranchAlpha[n] = 0.00123456789;
        t.BranchLayer[n] = 5;
        t.BranchMinSpeed[n] = 0.3;
    }
    t.BranchType[4] = static_cast<std::uint8_t>(BranchTypeByName(QStringLiteral("ВМП")));
    const auto stored = std::make_unique<TNetworkTables>(t);
    const struct
    {
        const char *Name;
        int Branch;
        std::function<void(TfrmBranch &)> Edit;
        std::function<void(TNetworkTables &)> Stores;
    } cases[] = {
        {"length typed", 3, [](TfrmBranch &d) { TypeOver(d.edLen, QStringLiteral("101")); },
         [](TNetworkTables &t) { t.BranchLength[3] = 101; }},
        {"length typed, kind without speed control", 4, [](TfrmBranch &d) { TypeOver(d.edLen, QStringLiteral("7")); },
         [](TNetworkTables &t) { t.BranchLength[4] = 7; }},
        {"fresh ticked", 3, [](TfrmBranch &d) { d.cbFresh->click(); }, [](TNetworkTables &t) { t.BranchIsFresh[3] = 1; }},
        {"a limit picked", 3, [](TfrmBranch &d) { d.cmbMinS->setCurrentIndex(0); },
         [](TNetworkTables &t) { t.BranchMinSpeed[3] = MinSpeedNotRegulated; }},
        {"a seam picked", 3, [](TfrmBranch &d) { d.cbxBrLayer->setCurrentIndex(1); },
         [](TNetworkTables &t) { t.BranchLayer[3] = 1; }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        t = *stored;
        auto expected = std::make_unique<TNetworkTables>(t);
        c.Stores(*expected);
        auto d = Open(c.Branch);
        d->show();
        c.Edit(*d);
        d->bbtnOK->click();
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(TablesDiffer(t, *expected), "");
    }
}

TEST_F(TFrmBranchTest, ReverseAndLabelsThroughTheWindow)
{
    auto d = Open();
    d->btnDirection->click();
    EXPECT_EQ(d->lblDirection->text(), QStringLiteral("Из узла 2 к узлу 1"));
    EXPECT_EQ(d->edAirDebt->text(), QStringLiteral("-4"));
    d->btnRevers->click();
    for (QCheckBox *box : d->LabelChecks)
        EXPECT_TRUE(box->isChecked());
    d->bbtnOK->click();
    EXPECT_EQ(t.BranchStartNode[3], 2);
    EXPECT_EQ(t.BranchQ[3], -4);
    EXPECT_EQ(static_cast<std::uint16_t>(t.BranchLabelFlags[3]), 0xFFFF);
}

TEST_F(TFrmBranchTest, DeleteDestroysTheBranch)
{
    auto d = Open();
    EXPECT_TRUE(d->bbtnDelete->isEnabled());
    d->bbtnDelete->click();
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_FALSE(BranchPresent(t, 3));
    EXPECT_EQ(Snapshots, 1);
}

TEST_F(TFrmBranchTest, SymbolsPageListsAddsAndStoresLinks)
{
    BranchDialogHost.Form.BranchSymbols = [] {
        return std::vector<TSymbolType>{{QStringLiteral("Dver"), QStringLiteral("Дверь вентиляционная")}};
    };
    Doc.SymbolLinks = {TLink(3, 20, QStringLiteral("Lost")), TLink(4, 7, QStringLiteral("Dver"))};
    t.BranchLength[4] = 9;
    EXPECT_FALSE(Open(4)->pcBranch->isTabVisible(5));

    auto d = Open(3);
    EXPECT_TRUE(d->pcBranch->isTabVisible(5));
    ASSERT_EQ(d->cbSymbolType->count(), 1);
    ASSERT_EQ(d->lvSymb->topLevelItemCount(), 1);
    EXPECT_EQ(d->lvSymb->topLevelItem(0)->text(0), QStringLiteral("СИМВОЛ Lost ОТСУТСВУЕТ"));
    EXPECT_EQ(d->lvSymb->topLevelItem(0)->text(1), QStringLiteral("20"));

    Prompt.AnswerText(QStringLiteral("60"));
    d->cbSymbolType->setCurrentIndex(0);
    d->btnAddSymbol->click();
    ASSERT_EQ(d->lvSymb->topLevelItemCount(), 2);
    EXPECT_EQ(d->lvSymb->topLevelItem(1)->text(0), QStringLiteral("Дверь вентиляционная"));
    d->lvSymb->setCurrentItem(d->lvSymb->topLevelItem(0));
    QTest::keyClick(d->lvSymb, Qt::Key_Delete);
    ASSERT_EQ(d->lvSymb->topLevelItemCount(), 1);

    d->bbtnOK->click();
    const TLinkList stored{TLink(4, 7, QStringLiteral("Dver")), TLink(3, 60, QStringLiteral("Dver"))};
    EXPECT_EQ(Doc.SymbolLinks, stored);
}

TEST_F(TFrmBranchTest, ABranchBetweenSurfaceNodesCannotBeClosed)
{
    t.NodeIsSurface[1] = t.NodeIsSurface[2] = 1;
    int asked = 0;
    BranchDialogHooks.ChooseSurfaceNode = [&](TfrmBranch &, int branch) {
        EXPECT_EQ(branch, 3);
        ++asked;
        t.NodeIsSurface[2] = 0;
    };
    auto d = Open();
    d->show();
    d->bbtnCancel->click();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(asked, 1);
    d->bbtnCancel->click();
    EXPECT_FALSE(d->isVisible());
}

} // namespace
