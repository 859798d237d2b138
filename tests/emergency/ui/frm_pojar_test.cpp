// The fire modelling window as the user drives it from the main window, on
// the sample mine, and the fire-load window.
#include "calc/solver.h"
#include "calc/ui/air_commands.h"
#include "emergency/ui/frm_p_nagr.h"
#include "emergency/ui/frm_pojar.h"
#include "model/scheme_file.h"
#include "platform/help.h"
#include "platform/prompt.h"
#include "platform/ui/qt_prompt.h"
#include "report/engine.h"
#include "scheme/ui/fire_tool_hook.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/xq_edit.h"

#include "modal.h"
#include "prepared_texts.h"
#include "sample_main_window.h"
#include <QtCore/QFile>
#include <QtCharts/QLineSeries>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtTest/QTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QTableWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

class FireWindow : public SampleMainWindow
{
protected:
    void SetUp() override
    {
        SampleMainWindow::SetUp();
        if (HasFatalFailure())
            return;
        normalH = std::make_unique<TTable<double>>(Net.BranchAuxDepression);
        ASSERT_TRUE(CalcAir(nullptr, Net));
        normalQ = std::make_unique<TTable<double>>(Net.BranchQ);
    }

    // F3 with the window driven by drive while it is shown.
    void F3(std::function<void()> drive)
    {
        WhenModal(std::move(drive));
        w->Action(QStringLiteral("TaskFire"))->trigger();
    }
    void Type(const QString &text)
    {
        frmPojar->EdInr->clear();
        QTest::keyClicks(frmPojar->EdInr, text);
    }

    std::unique_ptr<TTable<double>> normalH, normalQ;
};

} // namespace

TEST_F(FireWindow, OpensOnTheFireBranchAndFiltersTheNumber)
{
    bool checked = false;
    F3([&] {
        ASSERT_NE(frmPojar, nullptr);
        EXPECT_EQ(frmPojar->windowTitle(), QStringLiteral("Моделирование пожара"));
        EXPECT_EQ(frmPojar->PageControl1->currentIndex(), fpFireBranch);
        EXPECT_EQ(frmPojar->PageControl1->tabText(fpFireBranch), QStringLiteral("Пожарная ветвь"));
        EXPECT_TRUE(frmPojar->EdInr->text().isEmpty());
        for (const int p : {fpEmergencyAir, fpZone1, fpReversals})
            EXPECT_FALSE(frmPojar->PageControl1->isTabEnabled(p)) << p;
        EXPECT_FALSE(frmPojar->bbtPrint->isEnabled());
        Type(QStringLiteral("12a"));
        EXPECT_EQ(frmPojar->EdInr->text(), QStringLiteral("12"));
        Type(QStringLiteral("5001"));
        EXPECT_EQ(frmPojar->EdInr->text(), QStringLiteral("501"));
        Type(QStringLiteral("999"));
        QTest::mouseClick(frmPojar->bbtSchem, Qt::LeftButton);
        ASSERT_FALSE(prompt.Asked.empty());
        EXPECT_EQ(prompt.Asked.back().Text, QStringLiteral(" Ветвь 999 отсутсвует в сети выработок"));
        EXPECT_TRUE(frmPojar->isVisible());
        checked = true;
    });
    EXPECT_TRUE(checked);
    // Cancel frees the window.
    EXPECT_EQ(frmPojar, nullptr);
    EXPECT_EQ(Net.BranchQ, *normalQ);
}

TEST_F(FireWindow, OnTheSchemeThenAirDistributionRestoresTheNetwork)
{
    F3([&] {
        Type(QStringLiteral("8"));
        EXPECT_EQ(frmPojar->lbName->text(), QStringLiteral("Главный квершлаг"));
        QTest::mouseClick(frmPojar->bbtSchem, Qt::LeftButton);
    });
    ASSERT_NE(frmPojar, nullptr);
    EXPECT_FALSE(frmPojar->isVisible());
    EXPECT_TRUE(w->windowTitle().endsWith(QStringLiteral(" Зона загазирования")));
    const auto &colors = w->Document().BranchColors;
    const TSchemeColors &palette = w->Options().Colors;
    EXPECT_EQ(colors[8], palette[sciFire]);
    for (const int b : frmPojar->Zone1())
        if (b != 8)
            EXPECT_EQ(colors[b], palette[sciSmoke]) << b;
    const TRect zone = frmPojar->ZoneRect();
    EXPECT_EQ(zone, frmPojar->Model().ZoneBounds());
    const TRect view = w->VisibleSchemeRect();
    EXPECT_TRUE(view.Left <= zone.Left && view.Top <= zone.Top && view.Right >= zone.Right && view.Bottom >= zone.Bottom);

    // A save while the fire is shown writes the network's own flows.
    const QString saved = folder.filePath(QStringLiteral("fire.mine"));
    Net.BranchQ[8] += 1; // as if the emergency set were in the tables
    const double shown = Net.BranchQ[8];
    ASSERT_TRUE(w->Storage().Write(saved));
    EXPECT_EQ(Net.BranchQ[8], shown);
    {
        auto read = std::make_unique<TNetworkTables>();
        ClearAllItems(*read);
        TSchemeDocument doc;
        ReadMineFile(saved, *read, doc);
        EXPECT_NEAR(read->BranchQ[8], (*normalQ)[8], 1e-4);
    }

    // F2 asks first; OK frees the window and gives back the network's values.
    prompt.Asked.clear();
    prompt.Answer(idOk);
    WhenModal([] {});
    w->Action(QStringLiteral("TaskAirDistribution"))->trigger();
    ASSERT_FALSE(prompt.Asked.empty());
    EXPECT_TRUE(prompt.Asked.front().Text.startsWith(QStringLiteral("Для расчета нормального воздухораспределения")));
    EXPECT_EQ(frmPojar, nullptr);
    EXPECT_EQ(std::memcmp(Net.BranchAuxDepression.data(), normalH->data(), sizeof(double) * TableSize), 0);
    EXPECT_EQ(std::memcmp(Net.BranchQ.data(), normalQ->data(), sizeof(double) * TableSize), 0);
    EXPECT_FALSE(w->windowTitle().endsWith(QStringLiteral(" Зона загазирования")));
}

TEST_F(FireWindow, SkipShaftShowsZoneTwoAndCancelKeepsTheLastBranch)
{
    F3([&] {
        Type(QStringLiteral("1"));
        QTest::mouseClick(frmPojar->bbtSchem, Qt::LeftButton);
    });
    ASSERT_NE(frmPojar, nullptr);
    ASSERT_FALSE(prompt.Asked.empty());
    EXPECT_TRUE(prompt.Asked.back().Text.contains(QStringLiteral("возможно через4 мин.")));
    EXPECT_EQ(frmPojar->ActivePage(), fpZone2);
    EXPECT_TRUE(frmPojar->lbUpst->text().startsWith(QStringLiteral("Возможно через 4 мин.")));

    // Shown again on its zone page, "На схему" does not compute again (no second warning).
    const std::size_t asked = prompt.Asked.size();
    F3([&] {
        EXPECT_EQ(frmPojar->PageControl1->currentIndex(), fpZone2);
        EXPECT_TRUE(frmPojar->bbtPrint->isEnabled() == bool(FireWindowHooks.PrintZoneReport));
        const QTableWidget *grid = frmPojar->Grids[fpZone2];
        EXPECT_EQ(grid->rowCount(), int(frmPojar->Zone2().size()) + 2);
        EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("ВЕТВЬ"));
        QTest::mouseClick(frmPojar->bbtSchem, Qt::LeftButton);
    });
    EXPECT_EQ(prompt.Asked.size(), asked);
    ASSERT_NE(frmPojar, nullptr);

    // Cancel after choosing another branch puts the computed one back and frees the window.
    F3([&] {
        frmPojar->SetActivePage(fpFireBranch);
        Type(QStringLiteral("35"));
        QTest::mouseClick(frmPojar->bbtCancel, Qt::LeftButton);
        EXPECT_EQ(frmPojar->EdInr->text(), QStringLiteral("1"));
    });
    EXPECT_EQ(frmPojar, nullptr);
    EXPECT_EQ(Net.BranchQ, *normalQ);
    EXPECT_FALSE(w->windowTitle().endsWith(QStringLiteral(" Зона загазирования")));
}

// "Печать..." previews the list of the page shown; without the template the
// file is named in a message and nothing is shown.
TEST_F(FireWindow, PrintPreviewsTheListOfThePageShown)
{
    TfrEngineScope engine;
    TPreviewCapture preview;
    F3([&] {
        Type(QStringLiteral("8"));
        frmPojar->PageControl1->setCurrentIndex(fpZone1);
        ASSERT_EQ(frmPojar->ActivePage(), fpZone1);
        ASSERT_TRUE(frmPojar->bbtPrint->isEnabled());
        w->Options().ReportsLocation = folder.path();
        prompt.Asked.clear();
        QTest::mouseClick(frmPojar->bbtPrint, Qt::LeftButton);
        EXPECT_EQ(preview.Shown, 0);
        ASSERT_EQ(prompt.Asked.size(), 1u);
        EXPECT_TRUE(prompt.Asked.back().Text.contains(QStringLiteral("zona_frm.frf")));

        w->Options().ReportsLocation = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты");
        QTest::mouseClick(frmPojar->bbtPrint, Qt::LeftButton);
        EXPECT_EQ(preview.Shown, 1);
        ASSERT_GE(preview.Texts.size(), 2);
        EXPECT_EQ(preview.Texts[1], FirePageCaption(fpZone1) + QStringLiteral(". Пожар в ветви: Главный квершлаг"));
        for (const int b : frmPojar->Model().Items)
            EXPECT_TRUE(preview.Texts.contains(GetBranchName(Net, b))) << b;
        frmPojar->reject();
    });
}

TEST_F(FireWindow, SteadyBranchReversalPageAndNewDocument)
{
    F3([&] {
        Type(QStringLiteral("35"));
        frmPojar->PageControl1->setCurrentIndex(fpReversals);
        EXPECT_EQ(frmPojar->PageControl1->currentIndex(), fpReversals);
        EXPECT_EQ(frmPojar->PageLabels[fpReversals]->text(), QStringLiteral("Сохраняется устойчивое проветривание"));
        EXPECT_FALSE(frmPojar->Grids[fpReversals]->isVisibleTo(frmPojar->Pages[fpReversals]));
        EXPECT_FALSE(frmPojar->bbtPrint->isEnabled());
        frmPojar->accept();
    });
    ASSERT_NE(frmPojar, nullptr);
    w->Document().MakeNewDocument();
    EXPECT_EQ(frmPojar, nullptr);
}

TEST_F(FireWindow, AscendingBranchWithoutThermalDepressionHidesZoneTwo)
{
    F3([&] {
        int ascending = 0;
        for (int b = 1; b <= MaxBranchNo(Net) && !ascending; ++b) {
            Type(QString::number(b));
            if (frmPojar->lbVentType->text() == QStringLiteral("Восходящее проветривание"))
                ascending = b;
        }
        ASSERT_NE(ascending, 0);
        EXPECT_TRUE(frmPojar->rgHt->isEnabled());
        EXPECT_TRUE(frmPojar->PageControl1->isTabVisible(fpZone2));
        frmPojar->rbThermalOff->click();
        EXPECT_FALSE(frmPojar->PageControl1->isTabVisible(fpZone2));
        EXPECT_FALSE(frmPojar->ChkPNagr->isEnabled());
    });
}

TEST_F(FireWindow, FireToolComputesWithoutShowingTheWindow)
{
    ASSERT_TRUE(FireToolClick);
    EXPECT_TRUE(FireToolClick(8));
    ASSERT_NE(frmPojar, nullptr);
    EXPECT_EQ(frmPojar->parent(), nullptr);
    EXPECT_FALSE(frmPojar->isVisible());
    EXPECT_EQ(frmPojar->FireBranch(), 8);
    EXPECT_EQ(w->Document().BranchColors[8], w->Options().Colors[sciFire]);
}

TEST_F(FireWindow, RefusedComputationKeepsTheFirstPage)
{
    F3([&] {
        Type(QStringLiteral("8"));
        Net.BranchArea[8] = 0.05;
        Net.BranchAngle[8] = AngleNotGiven;
        frmPojar->PageControl1->setCurrentIndex(fpEmergencyAir);
        EXPECT_EQ(frmPojar->PageControl1->currentIndex(), fpFireBranch);
        ASSERT_FALSE(prompt.Asked.empty());
        EXPECT_EQ(prompt.Asked.back().Text, QStringLiteral("Недостаточно информации для решения задачи. Задайте  "
                                                           "площадь сечения, угол наклона в пожарной ветви."));
    });
}

TEST(FireLoadWindow, EnablingAndSaving)
{
    QTemporaryDir dir;
    TScriptedPrompt prompt;
    FireLoadFolder = dir.path() + u'/';
    const QString file = FireLoadFolder + FireLoadFileName;
    SetFireLoadDefaults(FireLoadRec);
    FireLoadRec.Cables = 1;
    FireLoadRec.CableCounts = {1, 2, 3, 4, 5};
    {
        TfrmPNagr form(nullptr, {90, 200, 10, 8, -100, -120, AngleNotGiven, 20});
        form.rbVariant[2]->click();
        EXPECT_FALSE(form.gbBelt->isEnabled());
        EXPECT_FALSE(form.cbFrames->isEnabled());
        form.rbVariant[3]->click();
        EXPECT_FALSE(form.gbBelt->isEnabled());
        EXPECT_TRUE(form.cbFrames->isEnabled());
        EXPECT_TRUE(form.gbCables->isEnabled());
        form.chkCables->click();
        EXPECT_FALSE(form.gbCables->isEnabled());
        EXPECT_EQ(FireLoadRec.CableCounts, (std::array<std::int32_t, CableTypeCount>{1, 2, 3, 4, 5}));

        // The chart page compares the two series.
        form.PageControl->setCurrentIndex(1);
        EXPECT_GT(form.SeriesWithout->count(), 0);
        EXPECT_EQ(form.Table->item(0, 0)->text(), QStringLiteral("  1"));

        // No: nothing written.
        prompt.Answer(idNo);
        form.btnOk->click();
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_FALSE(QFile::exists(file));
    }
    {
        TfrmPNagr form(nullptr, {});
        prompt.Answer(idYes);
        form.btnOk->click();
        EXPECT_EQ(prompt.Asked.back().Text, QStringLiteral("Сохранить изменения\nв пожарной нагрузке?"));
    }
    EXPECT_EQ(QFile(file).size(), FireLoadRecSize);
    TFireLoadRec read;
    LoadFireLoad(FireLoadFolder, read);
    EXPECT_EQ(read, FireLoadRec);
    EXPECT_EQ(read.Variant, flSupport);

    // A write that fails is shown and the window stays open.
    FireLoadFolder = dir.path() + QStringLiteral("/нет такой папки/");
    {
        TfrmPNagr form(nullptr, {});
        prompt.Answer(idYes);
        form.btnOk->click();
        EXPECT_NE(form.result(), QDialog::Accepted);
        EXPECT_TRUE(prompt.Asked.back().Text.contains(FireLoadFileName));
    }
    FireLoadFolder = dir.path() + u'/';

    // A short file: its name in a message and no window.
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("abc");
    }
    EXPECT_FALSE(ShowFireLoadForm(nullptr, 90, 100, 1, 1, 0, 0, 0, 20));
    EXPECT_TRUE(prompt.Asked.back().Text.contains(FireLoadFileName));
}

// The reversal warning is the program's message box with OK and "Справка";
// "Справка" opens the warning's help page as every help request does, and
// the box stays until OK.
TEST_F(FireWindow, ReversalWarningHelpOpensItsTopicAndLeavesTheWarning)
{
    QTemporaryDir help;
    QFile page(help.filePath(QStringLiteral("90.html")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    SetHelpFolder(help.path());
    const QString topicPage = HelpPageFile(90);
    QStringList opened;
    SetDocumentOpener([&](const QString &target) {
        opened << target;
        return true;
    });
    TQtPrompt boxes;
    TPrompt *scripted = SetPrompt(&boxes);

    QStringList buttons;
    bool stayedOpen = false;
    F3([&] {
        Type(QStringLiteral("1"));
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            QAbstractButton *helpButton = nullptr, *ok = nullptr;
            for (QAbstractButton *b : box->buttons()) {
                buttons << b->text();
                (b->text() == QStringLiteral("Справка") ? helpButton : ok) = b;
            }
            if (helpButton) {
                QTest::mouseClick(helpButton, Qt::LeftButton);
                QApplication::processEvents();
                stayedOpen = box->isVisible() && QApplication::activeModalWidget() == box;
            }
            if (ok)
                QTest::mouseClick(ok, Qt::LeftButton);
            else
                box->done(0);
        });
        QTest::mouseClick(frmPojar->bbtSchem, Qt::LeftButton);
    });
    SetPrompt(scripted);
    SetDocumentOpener({});
    SetHelpFolder({});

    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Справка")}));
    EXPECT_EQ(opened, QStringList{topicPage});
    EXPECT_TRUE(stayedOpen);
    // Closed with OK, the window went on to the scheme.
    ASSERT_NE(frmPojar, nullptr);
    EXPECT_EQ(frmPojar->ActivePage(), fpZone2);
}
