// The boost search window and the fixed-value study window, alone on a small
// network and from the main window on the sample mine.
#include "../four_branches.h"
#include "modal.h"
#include "calc/solver.h"
#include "calc/ui/air_commands.h"
#include "calc/ui/frm_depres.h"
#include "calc/ui/frm_edit_fan.h"
#include "calc/ui/frm_print_fan.h"
#include "calc/ui/frm_fixir.h"
#include "calc/ui/frm_q_accelerate.h"
#include "calc/ui/frm_reports1.h"
#include "calc/ui/frm_zakor.h"
#include "calc/ui/node_commands.h"
#include "headless_report.h"
#include "pdf_printer.h"
#include "platform/canvas.h"
#include "platform/prompt.h"
#include "report/engine.h"
#include "report/template_file.h"
#include "report/text_object.h"
#include "report/ui/report_chooser.h"
#include "scheme/ui/frm_branch.h"
#include "scheme/ui/vent_boost_hook.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_main.h"

#include <QtCharts/QLineSeries>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QRegularExpression>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QTreeWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

namespace {

bool SameBytes(const TTable<double> &a, const TTable<double> &b)
{
    return std::memcmp(a.data(), b.data(), sizeof(a)) == 0;
}

// Runs open() and, once its modal window of type Form shows, act on it; what
// act leaves open is closed. False when no such window opened. The timer dies
// with the call, so a window that never opens leaves nothing behind.
template <typename Form>
bool RunWith(const std::function<void()> &open, const std::function<void(Form &)> &act)
{
    bool opened = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto *form = qobject_cast<Form *>(QApplication::activeModalWidget());
        if (!form)
            return;
        opened = true;
        act(*form);
        CloseOpenModals();
    });
    timer.start(0);
    open();
    return opened;
}

class StudyWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MakeFourBranches(Net);
        ASSERT_TRUE(CalcAir(nullptr));
        InstallVentBoost();
    }
    void TearDown() override
    {
        ShowVentBoost = nullptr;
        VentBoostHooks = {};
        BranchDialogHooks.Boost = nullptr;
        CalcErrorHooks = {};
        ClearAllItems(Net);
    }
    TScriptedPrompt prompt;
};

TEST_F(StudyWindows, BoostSearchShowsTheTwoPlacesAndKeepsTheNetwork)
{
    const TTable<double> r = Net.BranchR, q = Net.BranchQ;
    QString caption;
    VentBoostHooks.EditBranch = [&](QWidget *, int, const QString &c) { caption = c; };
    const bool opened = RunWith<TfrmQAccelerate>([] { ShowVentBoost(2); }, [&](TfrmQAccelerate &f) {
        EXPECT_EQ(f.windowTitle(), "Усиление проветривания");
        EXPECT_EQ(f.lblBrNo->text(), "2");
        EXPECT_EQ(f.lblOldQ->text(), "34,30 м3/с");
        EXPECT_EQ(f.btnStop->text(), "Усилить");
        EXPECT_TRUE(f.spbtnBranchProperty->isEnabled());
        EXPECT_TRUE(f.spbtnPickBranchFromList->isEnabled());  // the object search picks from the list

        QTest::mouseClick(f.btnStop, Qt::LeftButton);
        EXPECT_FALSE(f.Running());
        EXPECT_EQ(f.btnStop->text(), "Усилить");
        EXPECT_TRUE(f.btnClose->isEnabled());
        EXPECT_EQ(f.lblBestBrNo1->text(), "3");
        EXPECT_EQ(f.lblQAccelerated1->text(), "45,90  м3/с (+11,60 м3/с = +33,8%)");
        EXPECT_EQ(f.lblBestBrNo2->text(), "2");
        EXPECT_EQ(f.lblQAccelerated2->text(), "10,26  м3/с (-24,03 м3/с = -70,1%)");
        EXPECT_EQ(f.lblBrProcessed->text(), "4");
        EXPECT_EQ(f.prbCurrBranch->value(), f.prbCurrBranch->maximum());

        QTest::mouseClick(f.spbtnBranchProperty, Qt::LeftButton);
        EXPECT_EQ(caption, "Ветвь 2");
        QTest::mouseClick(f.btnClose, Qt::LeftButton);
        EXPECT_EQ(f.result(), QDialog::Accepted);
    });
    EXPECT_TRUE(opened);
    EXPECT_TRUE(prompt.Asked.empty());
    EXPECT_TRUE(SameBytes(Net.BranchR, r));
    EXPECT_TRUE(SameBytes(Net.BranchQ, q));
}

TEST_F(StudyWindows, TheBranchDialogOpensTheBoostForItsBranch)
{
    TfrmBranch dialog;
    dialog.Fill(QStringLiteral("Ветвь 3"), 3, false);
    ASSERT_TRUE(dialog.btnQAccelerate->isEnabled());
    const bool opened = RunWith<TfrmQAccelerate>([&] { dialog.btnQAccelerate->click(); }, [](TfrmQAccelerate &f) {
        EXPECT_EQ(f.lblBrNo->text(), "3");
        EXPECT_EQ(f.lblOldQ->text(), "34,30 м3/с");
        // Its own "Свойства ветви" opens the branch dialog again.
        EXPECT_TRUE(f.spbtnBranchProperty->isEnabled());
    });
    EXPECT_TRUE(opened);
}

TEST_F(StudyWindows, StopEndsTheSearchBetweenTwoTrials)
{
    const TTable<double> r = Net.BranchR, q = Net.BranchQ;
    TfrmQAccelerate f(nullptr, Net, 2);
    f.show();
    // Received where the search lets events run, after the first trial.
    QTimer::singleShot(0, &f, [&] {
        EXPECT_EQ(f.btnStop->text(), "Стоп");
        EXPECT_FALSE(f.btnClose->isEnabled());
        EXPECT_FALSE(f.spbtnPickBranchFromScheme->isEnabled());
        f.btnStop->click();
    });
    f.btnStop->click();
    EXPECT_TRUE(f.State().Stopped);
    EXPECT_EQ(f.State().Tried, 1);
    EXPECT_EQ(f.lblBrProcessed->text(), "1");
    EXPECT_EQ(f.btnStop->text(), "Усилить");
    EXPECT_TRUE(f.btnClose->isEnabled());
    EXPECT_TRUE(SameBytes(Net.BranchR, r));
    EXPECT_TRUE(SameBytes(Net.BranchQ, q));
}

TEST_F(StudyWindows, AnUnsolvableNetworkIsToldOnceAndNotSearched)
{
    Net.BranchAuxDepression[4] = 0;
    TfrmQAccelerate f(nullptr, Net, 2);
    f.btnStop->click();
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, "Расчет невозможен. В сети отсутствует источник тяги.");
    EXPECT_EQ(f.State().Tried, 0);
    EXPECT_TRUE(f.lblBestBrNo1->text().isEmpty());
    EXPECT_EQ(f.btnStop->text(), "Усилить");
}

class FixirWindow : public StudyWindows
{
protected:
    // The study on the network's own tables, acting in its window.
    bool Run(const std::function<void(TfrmFixir &)> &act, bool *opened = nullptr)
    {
        bool result = false;
        const bool shown = RunWith<TfrmFixir>(
            [&] { result = RunFixedQHResistance(nullptr, Net.BranchR, Net.BranchRequiredFlow, Net.BranchFixedDepression); },
            act);
        if (opened)
            *opened = shown;
        return result;
    }
    static QString Cell(TfrmFixir &f, int row, int column) { return f.SGTabFixir->item(row, column)->text(); }
    // Types text into a cell as the user does and leaves it with Enter, or
    // by moving to the cell `next` when given.
    static void Type(TfrmFixir &f, int row, int column, const QString &text, QPoint next = {-1, -1})
    {
        f.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
        f.SGTabFixir->setCurrentCell(row, column);
        f.SGTabFixir->editItem(f.SGTabFixir->item(row, column));
        QWidget *editor = QApplication::focusWidget();
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
        if (next.x() >= 0) {
            f.SGTabFixir->setCurrentCell(next.y(), next.x());
        } else {
            QTest::keyClick(editor, Qt::Key_Return);
            // The editor hands its text over once events run.
            QCoreApplication::processEvents();
        }
    }
};

TEST_F(FixirWindow, ComputesARequiredFlowAndSavesOnClosing)
{
    Net.BranchR[3] = 0;
    const bool saved = Run([&](TfrmFixir &f) {
        EXPECT_EQ(f.windowTitle(), "Расчет сопротивлений по фиксированным значениям расхода и депресии");
        EXPECT_EQ(f.lblMessage->text(), "Список всех ветвей сети");
        EXPECT_EQ(f.SGTabFixir->rowCount(), 4);
        EXPECT_EQ(f.SGTabFixir->horizontalHeaderItem(fcHf)->text(), "Hф,мм вод ст.,");
        EXPECT_EQ(Cell(f, 2, fcR), "0,00000");
        // Without data the zero resistance is red.
        EXPECT_EQ(f.SGTabFixir->item(2, fcR)->background().color(), QColor(Qt::red));
        EXPECT_FALSE(f.mnuList[flNegative]->isEnabled());
        EXPECT_TRUE(f.mnuList[flNoInformation]->isEnabled());

        Type(f, 2, fcQf, "30");
        EXPECT_EQ(Cell(f, 2, fcQf), "30,00");
        EXPECT_EQ(f.SGTabFixir->item(2, fcQf)->background().color(), QColor(Qt::green));
        EXPECT_FALSE(f.mnuList[flNoInformation]->isEnabled());
        EXPECT_TRUE(f.mnuList[flToCompute]->isEnabled());

        f.mnuStart->trigger();
        EXPECT_TRUE(prompt.Asked.empty());
        EXPECT_TRUE(Cell(f, 2, fcR).startsWith("0,074"));
        EXPECT_TRUE(Cell(f, 2, fcQc).startsWith("30,0"));
        f.mnuStart->trigger();
        ASSERT_EQ(prompt.Asked.size(), 1u);
        EXPECT_TRUE(prompt.Asked[0].Text.startsWith("Все значения сопротивлений заданы!"));

        prompt.Answer(idYes);
        f.mnuClose->trigger();
        EXPECT_EQ(prompt.Asked.back().Text, "Сохранить результаты редактирования?");
    });
    EXPECT_TRUE(saved);
    EXPECT_NEAR(Net.BranchR[3], 0.0744, 0.0001);
    EXPECT_EQ(Net.BranchRequiredFlow[3], 30);
}

TEST_F(FixirWindow, RejectedTextsAndClosingWithoutSavingChangeNothing)
{
    Net.BranchR[3] = 0;
    Net.BranchRequiredFlow[3] = 30;
    const TTable<double> r = Net.BranchR, qf = Net.BranchRequiredFlow, hf = Net.BranchFixedDepression;
    for (const bool cancel : {false, true}) {
        const bool saved = Run([&](TfrmFixir &f) {
            prompt.Asked.clear();
            Type(f, 0, fcQf, "-1", QPoint(fcHf, 1));
            ASSERT_EQ(prompt.Asked.size(), 1u);
            EXPECT_EQ(prompt.Asked[0].Text, "Число вне допустимого диапазона: \r от 0 до 800,00 !");
            EXPECT_EQ(Cell(f, 0, fcQf), "0,00");
            // The cell cannot be left with a wrong text in it.
            EXPECT_TRUE(QTest::qWaitFor([&] { return f.SGTabFixir->currentRow() == 0; }));
            EXPECT_EQ(f.SGTabFixir->currentColumn(), fcQf);
            Type(f, 1, fcHf, "");
            EXPECT_EQ(prompt.Asked.size(), 1u);
            f.mnuStart->trigger();
            EXPECT_NE(Cell(f, 2, fcR), "0,00000");
            if (cancel) {
                f.mnuCancel->trigger();
            } else {
                prompt.Answer(idNo);
                f.mnuClose->trigger();
            }
            EXPECT_FALSE(f.isVisible());
        });
        EXPECT_FALSE(saved);
        EXPECT_TRUE(SameBytes(Net.BranchR, r));
        EXPECT_TRUE(SameBytes(Net.BranchRequiredFlow, qf));
        EXPECT_TRUE(SameBytes(Net.BranchFixedDepression, hf));
    }
}

TEST_F(FixirWindow, AZeroResistanceBranchWithoutDataIsListed)
{
    Net.BranchR[3] = 0;
    Run([&](TfrmFixir &f) {
        f.mnuStart->trigger();
        ASSERT_EQ(prompt.Asked.size(), 1u);
        EXPECT_EQ(prompt.Asked[0].Text, "Расчет НЕВОЗМОЖЕН!\rИмеются ветви без информации для расчета!...");
        EXPECT_EQ(f.lblMessage->text(), "Ветви БЕЗ ИНФОРМАЦИИ ДЛЯ РАСЧЕТОВ");
        EXPECT_EQ(f.SGTabFixir->rowCount(), 1);
        EXPECT_EQ(Cell(f, 0, fcNumber), "3");
    });
}

TEST_F(FixirWindow, ANetworkWithoutDraughtOpensNoWindow)
{
    Net.BranchAuxDepression[4] = 0.5;
    bool opened = true;
    EXPECT_FALSE(Run([](TfrmFixir &) {}, &opened));
    EXPECT_FALSE(opened);
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_TRUE(prompt.Asked[0].Text.startsWith("В схема ОШИБКИ топологии или "));
}

TEST_F(StudyWindows, DepressiogramShowsTheRouteAndPrintsItsChart)
{
    for (int b = 1; b <= 4; ++b)
        Net.BranchLength[b] = 100;
    Net.BranchType[2] = 7;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("route.pdf"));
    TPdfPrinter printer;
    const bool opened = RunWith<TfrmDepres>([] { RunDepressiogram(nullptr); }, [&](TfrmDepres &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Депрессиограмма через %1 ( N 2)").arg(GetBranchName(Net, 2)));
        EXPECT_EQ(f.Pages->currentIndex(), TfrmDepres::dpTable);
        ASSERT_EQ(f.StringGrid1->rowCount(), 3);
        EXPECT_EQ(f.StringGrid1->item(1, 0)->text(), "2");
        EXPECT_EQ(f.StringGrid1->item(1, 0)->background().color(), QColor(Qt::yellow));
        EXPECT_EQ(f.StringGrid1->item(2, 9)->text(), "Исходящая");
        EXPECT_EQ(f.StringGrid1->item(2, 9)->foreground().color(), QColor(Qt::blue));
        EXPECT_EQ(f.WholeChart->Labels(), (QStringList{"1", "Лава", "Лава", "4"}));
        EXPECT_EQ(f.WholeChart->Series[1]->count(), 4);
        f.Pages->setCurrentIndex(TfrmDepres::dpWhole);
        printer.AnswerFile(pdf);
        QTest::mouseClick(f.btnDepresPrint, Qt::LeftButton);
    });
    EXPECT_TRUE(opened);
    EXPECT_EQ(printer.Captions, QStringList{QStringLiteral("Печать в файл PDF")});
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 1);
    EXPECT_TRUE(prompt.Asked.empty());

    // A branch that needs a length and has none: the window does not open.
    Net.BranchLength[1] = 0;
    EXPECT_FALSE(RunWith<TfrmDepres>([] { RunDepressiogram(nullptr); }, [](TfrmDepres &) {}));
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_TRUE(prompt.Asked[0].Text.startsWith("Не задана длина 1 ветвей!!!"));
}

// The main window on the sample mine, solved, with the air commands.
class StudyCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("TUNVEX_CONFIG_DIR", config.path().toUtf8());
        ClearAllItems(Net);
        w = std::make_unique<TfrmMain>(QStringList{QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine")},
                                       folder.path());
        InstallAirDistributionCommands(*w);
        w->FormActivate();
        ASSERT_GT(BranchCount(Net), 10);
        ASSERT_TRUE(CalcAir(w.get()));
        w->SetModified(false);
    }
    void TearDown() override
    {
        w.reset();
        ShowVentBoost = nullptr;
        ClearAllItems(Net);
    }

    QTemporaryDir config, folder;
    TScriptedPrompt prompt;
    std::unique_ptr<TfrmMain> w;
};

TEST_F(StudyCommands, FromTheMainWindowOnTheSampleMine)
{

    QAction *command = w->Action(QStringLiteral("menuQHFixir"));
    ASSERT_TRUE(command->isEnabled());
    EXPECT_EQ(command->text(), "Расчет сопротивления по фиксированным  Q и H");
    bool opened = RunWith<TfrmFixir>([&] { command->trigger(); }, [&](TfrmFixir &f) {
        EXPECT_EQ(f.SGTabFixir->rowCount(), BranchCount(Net));
        prompt.Answer(idYes);
        f.mnuClose->trigger();
    });
    EXPECT_TRUE(opened);
    EXPECT_TRUE(w->Document().Modified());

    int b = 1;
    while (!BranchExist(Net, b) || Net.BranchQ[b] == 0)
        ++b;
    opened = RunWith<TfrmQAccelerate>([&] { ShowVentBoost(b); }, [&](TfrmQAccelerate &f) {
        EXPECT_EQ(f.parentWidget(), static_cast<QWidget *>(w.get()));
        EXPECT_EQ(f.lblBrNo->text(), QString::number(b));
        EXPECT_EQ(f.lblOldQ->text(), FormatBoostTargetFlow(Net.BranchQ[b]));
    });
    EXPECT_TRUE(opened);
}

TEST_F(StudyCommands, ShortCircuitingTheSampleMine)
{
    const TTable<double> flows = Net.BranchQ;

    QAction *command = w->Action(QStringLiteral("TaskShorting"));
    ASSERT_TRUE(command->isEnabled());
    const bool opened = RunWith<TfrmZakor>([&] { command->trigger(); }, [&](TfrmZakor &f) {
        EXPECT_EQ(f.windowTitle(), "Список путей закорачивания (8 дверей)");
        EXPECT_EQ(f.Grids[sctDoors]->rowCount(), 8);
        EXPECT_FALSE(f.Pages->isTabVisible(sctNetwork));
        prompt.Answer(idNo);
        f.btnStart->click();  // no geometry for some doors: No keeps the window as it was
        EXPECT_EQ(f.windowTitle(), "Список путей закорачивания (8 дверей)");
        ASSERT_EQ(prompt.Asked.size(), 2u);
        EXPECT_TRUE(prompt.Asked[1].Text.startsWith("Для 3 ветвей путей закорачивания\r"));
        prompt.Answer(idYes);
        f.btnStart->click();
        EXPECT_EQ(f.windowTitle(), "Результаты проведения закорачивания");
        EXPECT_EQ(f.Grids[sctDoors]->columnCount(), 7);
        for (int tab : {sctDoors, sctNetwork, sctLongwalls, sctFreshening})
            EXPECT_TRUE(f.Pages->isTabVisible(tab)) << tab;
        EXPECT_EQ(f.Grids[sctNetwork]->rowCount(), BranchCount(Net));
        EXPECT_GT(f.ReversedList->count(), 0);
        EXPECT_FALSE(f.btnDesign->isEnabled());
    });
    EXPECT_TRUE(opened);
    ASSERT_GE(prompt.Asked.size(), 1u);
    EXPECT_TRUE(prompt.Asked[0].Text.startsWith("В схеме : 8 ветвей\r"));
    EXPECT_EQ(Net.BranchQ, flows);

    QAction *depressiogram = w->Action(QStringLiteral("TaskDepressiogram"));
    EXPECT_EQ(depressiogram->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F11));
    prompt.Asked.clear();
    EXPECT_TRUE(RunWith<TfrmDepres>([&] { depressiogram->trigger(); }, [&](TfrmDepres &f) {
        EXPECT_TRUE(f.windowTitle().startsWith("Депрессиограмма через Лава 1 ( N ")) << f.windowTitle().toStdString();
        EXPECT_EQ(f.Pages->currentIndex(), TfrmDepres::dpTable);
        EXPECT_GT(f.StringGrid1->rowCount(), 2);
    }));
    for (const auto &asked : prompt.Asked)
        ADD_FAILURE() << asked.Text.toStdString();
}

// "Отчеты..." lists the templates with none chosen: "Просмотр...",
// "Изменить..." and "Печать..." wait for the user to pick a row.
TEST_F(StudyCommands, TheReportManagerPreviewsOnlyAChosenTemplate)
{
    TfrEngineScope engine;
    InstallNodePressureCommands(*w);
    w->Options().ReportsLocation = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты");
    const TReportChooserHooks savedHooks = ReportChooserHooks;
    int previewed = 0;
    QStringList designed;
    ReportChooserHooks.Preview = [&previewed](TfrReport &) { ++previewed; };
    ReportChooserHooks.Design = [&designed](TfrReport &, const QString &file) { designed << file; };
    ASSERT_TRUE(w->Action(QStringLiteral("mnuFastRep"))->isEnabled());
    // Acted on once it runs modally; nothing is asked on the way.
    bool opened = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *form = qobject_cast<TfrmReports1 *>(QApplication::activeModalWidget());
        if (!form)
            return;
        poll.stop();
        opened = true;
        [&](TfrmReports1 &f) {
                                          QTreeWidget *list = f.lvFindedFiles;
                                          ASSERT_GT(list->topLevelItemCount(), 1);
                                          EXPECT_TRUE(list->selectedItems().isEmpty());
                                          for (QPushButton *b : {f.btnPreview, f.btnDesign, f.btnPrint})
                                              EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
                                          f.btnPreview->click();
                                          f.btnDesign->click();
                                          EXPECT_EQ(previewed, 0);
                                          EXPECT_TRUE(designed.isEmpty());

                                          QTreeWidgetItem *row = list->topLevelItem(1);
                                          list->scrollToItem(row);
                                          QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                                            list->visualItemRect(row).center());
                                          for (QPushButton *b : {f.btnPreview, f.btnDesign, f.btnPrint})
                                              EXPECT_TRUE(b->isEnabled()) << b->text().toStdString();
                                          f.btnPreview->click();
                                          EXPECT_EQ(previewed, 1);
                                          f.btnDesign->click();
                                          ASSERT_EQ(designed.size(), 1);
                                          EXPECT_TRUE(designed[0].endsWith(u'/' + row->text(0)));
        }(*form);
        CloseOpenModals();
    });
    poll.start();
    w->Action(QStringLiteral("mnuFastRep"))->trigger();
    EXPECT_TRUE(opened);
    for (const auto &asked : prompt.Asked)
        ADD_FAILURE() << asked.Text.toStdString();
    ReportChooserHooks = savedHooks;
}

// "Печать" of both studies previews their templates over what the window
// shows; saving writes back only a template the window loaded; a missing
// template is named.
TEST_F(StudyCommands, TheStudiesPrintThroughTheirTemplates)
{
    TfrEngineScope engine;
    TRecordingCanvas measure;
    SetWorkCanvas(&measure);
    TfrHeadlessProgress progress;
    TfrProgress *previousProgress = SetReportProgress(&progress);
    const TReportChooserHooks savedHooks = ReportChooserHooks;
    struct TBuilt
    {
        int Records = 0;
        QStringList Texts;
    } built;
    // The preview builds the report and keeps what the data band printed.
    ReportChooserHooks.Preview = [&built](TfrReport &report) {
        report.ShowProgress = false;
        EXPECT_TRUE(report.PrepareReport());
        EXPECT_FALSE(Engine().ExpressionError) << Engine().ExpressionErrorText.toStdString();
        built = {};
        for (int i = 0; i < report.PreparedPages.Count(); ++i)
            ForEachPreparedObject(report.PreparedPages[i].Stream, [&built](std::unique_ptr<TfrView> view) {
                if (view->ReportObjectType == 0)
                    built.Texts << view->Lines.join(u'|').remove(ParagraphMark);
            });
    };
    // A copy of the reports folder, so that saving may write into it.
    QTemporaryDir reports;
    for (const QString &file : {QStringLiteral("Закорачивание/Закорачивание (двери).frf"),
                                QStringLiteral("Закорачивание/Закорачивание (лавы).frf")}) {
        QDir(reports.path()).mkpath(QStringLiteral("Закорачивание"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты/") + file, reports.filePath(file)));
    }
    w->Options().ReportsLocation = reports.path();
    const QString doors = reports.filePath(QStringLiteral("Закорачивание/Закорачивание (двери).frf"));
    const QByteArray doorsBytes = [&] {
        QFile f(doors);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    prompt.Answer(idOk);
    prompt.Answer(idYes);
    EXPECT_TRUE(RunWith<TfrmZakor>([&] { w->Action(QStringLiteral("TaskShorting"))->trigger(); }, [&](TfrmZakor &f) {
        f.btnStart->click();
        ASSERT_TRUE(f.btnPrint->isEnabled());
        EXPECT_FALSE(f.btnSave->isEnabled());
        f.Pages->setCurrentIndex(sctDoors);
        f.btnPrint->click();
        EXPECT_TRUE(built.Texts.contains(w->GetMineTitle()));
        for (int row = 0; row < f.Grids[sctDoors]->rowCount(); ++row)
            EXPECT_TRUE(built.Texts.contains(f.Grids[sctDoors]->item(row, 0)->text())) << row;
        // Written back unchanged, the loaded template is the same file.
        ASSERT_TRUE(f.btnSave->isEnabled());
        QFile::remove(doors);
        f.btnSave->click();
        QFile saved(doors);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_EQ(saved.readAll(), doorsBytes);

        // Another tab: its own template, and the doors' is not saved over it.
        f.Pages->setCurrentIndex(sctLongwalls);
        EXPECT_FALSE(f.btnSave->isEnabled());
        f.btnPrint->click();
        EXPECT_TRUE(built.Texts.contains(f.Grids[sctLongwalls]->item(0, 0)->text()));
        EXPECT_TRUE(f.btnSave->isEnabled());

        // A tab whose template is missing: a message with its name, nothing to save.
        const int asked = static_cast<int>(prompt.Asked.size());
        f.Pages->setCurrentIndex(sctNetwork);
        f.btnPrint->click();
        ASSERT_EQ(static_cast<int>(prompt.Asked.size()), asked + 1);
        EXPECT_EQ(prompt.Asked.back().Text,
                  QStringLiteral("Не найден шаблон отчёта\r")
                      + reports.filePath(QStringLiteral("Закорачивание/Закорачивание (сеть).frf")));
        EXPECT_FALSE(f.btnSave->isEnabled());
        EXPECT_FALSE(QFile::exists(reports.filePath(QStringLiteral("Закорачивание/Закорачивание (сеть).frf"))));
    }));

    // The route's template over the sample's first longwall.
    w->Options().ReportsLocation = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты");
    EXPECT_TRUE(RunWith<TfrmDepres>([&] { w->Action(QStringLiteral("TaskDepressiogram"))->trigger(); },
                                    [&](TfrmDepres &f) {
                                        ASSERT_TRUE(f.btnShow->isEnabled());
                                        EXPECT_FALSE(f.btnSave->isEnabled());
                                        EXPECT_FALSE(f.btnDesig->isEnabled());
                                        f.btnShow->click();
                                        for (int row = 0; row < f.StringGrid1->rowCount(); ++row)
                                            EXPECT_TRUE(built.Texts.contains(
                                                f.StringGrid1->item(row, 0)->text().rightJustified(5)))
                                                << row;
                                        EXPECT_TRUE(f.btnSave->isEnabled());
                                    }));

    ReportChooserHooks = savedHooks;
    SetReportProgress(previousProgress);
    SetWorkCanvas(nullptr);
}

} // namespace

namespace {

// "Оформление" of both studies opens the designer on the template of what is
// shown, once the designer is there; the template it opened may be saved back.
TEST_F(StudyCommands, TheStudiesOpenTheDesignerOnTheirTemplates)
{
    TfrEngineScope engine;
    const TReportChooserHooks savedHooks = ReportChooserHooks;
    QStringList designed;
    int loadedPages = 0;
    ReportChooserHooks.Design = [&](TfrReport &report, const QString &file) {
        designed << file;
        loadedPages = report.TemplatePages.Count();
    };
    const QString folder = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты");
    w->Options().ReportsLocation = folder;

    prompt.Answer(idOk);
    EXPECT_TRUE(RunWith<TfrmZakor>([&] { w->Action(QStringLiteral("TaskShorting"))->trigger(); }, [&](TfrmZakor &f) {
        f.Pages->setCurrentIndex(sctDoors);
        ASSERT_TRUE(f.btnDesign->isEnabled());
        f.btnDesign->click();
        EXPECT_TRUE(f.btnSave->isEnabled());
    }));
    EXPECT_EQ(designed, QStringList{folder + QStringLiteral("/Закорачивание/Закорачивание (двери).frf")});
    EXPECT_GT(loadedPages, 0);

    designed.clear();
    loadedPages = 0;
    EXPECT_TRUE(RunWith<TfrmDepres>([&] { w->Action(QStringLiteral("TaskDepressiogram"))->trigger(); },
                                    [&](TfrmDepres &f) {
                                        ASSERT_TRUE(f.btnDesig->isEnabled());
                                        f.btnDesig->click();
                                        EXPECT_TRUE(f.btnSave->isEnabled());
                                    }));
    EXPECT_EQ(designed, QStringList{folder + QStringLiteral("/Депрессиограмма/Депрессиограмма.frf")});
    EXPECT_GT(loadedPages, 0);

    ReportChooserHooks = savedHooks;
}

} // namespace

namespace {

// The page sizes of a PDF file, in points, page by page.
QList<QSizeF> PdfPageSizes(const QString &pdf)
{
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QSizeF> sizes;
    const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    for (const QRegularExpressionMatch &m : box.globalMatch(QString::fromLatin1(file.readAll())))
        sizes << QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    return sizes;
}

} // namespace

// A chart is printed landscape on the program's printer, which the reports
// share: a report printed or previewed after it keeps its own paper (the
// standard report: A4 upright), after either chart.
TEST_F(StudyCommands, ReportsKeepTheirPaperAfterAChartPrint)
{
    THeadlessReportEngine engine;
    InstallNodePressureCommands(*w);
    w->Options().ReportsLocation = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты");
    TPdfPrinter printer;
    QTemporaryDir dir;
    const QString chartPdf = dir.filePath(QStringLiteral("chart.pdf"));
    const QString reportPdf = dir.filePath(QStringLiteral("report.pdf"));

    int fanBranch = 0;
    for (int i = 0; i < w->Storage().Doc.InstalledFans.Count(); ++i)
        if (w->Storage().Doc.InstalledFans.Item(i).FanName == QStringLiteral("ВЦД-31,5М"))
            fanBranch = w->Storage().Doc.InstalledFans.Item(i).Branch;
    ASSERT_GT(fanBranch, 0);
    const auto printRouteChart = [&] {
        EXPECT_TRUE(RunWith<TfrmDepres>([&] { w->Action(QStringLiteral("TaskDepressiogram"))->trigger(); },
                                        [&](TfrmDepres &f) {
                                            f.Pages->setCurrentIndex(TfrmDepres::dpWhole);
                                            printer.AnswerFile(chartPdf);
                                            QTest::mouseClick(f.btnDepresPrint, Qt::LeftButton);
                                        }));
    };
    const auto printFanChart = [&] {
        FanEditor.Tables = &Net;
        FanEditor.Catalogue.Folder = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Вентиляторы/");
        bool printed = false;
        WhenModal([&] {
            auto *editor = qobject_cast<TfrmEditFan *>(QApplication::activeModalWidget());
            ASSERT_NE(editor, nullptr);
            QTimer::singleShot(0, [&] {
                auto *chart = qobject_cast<TfrmPrintFan *>(QApplication::activeModalWidget());
                ASSERT_NE(chart, nullptr);
                printer.AnswerFile(chartPdf);
                QTest::mouseClick(chart->Button1, Qt::LeftButton);
                printed = true;
            });
            QTest::mouseClick(editor->Button1, Qt::LeftButton);
        });
        QString name = QStringLiteral("ВЦД-31,5М");
        double a = 0, b = 0, q = 0;
        int curve = 0, efficiency = 75;
        EditBranchFan(w.get(), fanBranch, name, a, b, q, curve, efficiency);
        EXPECT_TRUE(printed);
    };
    const struct
    {
        const char *Chart;
        std::function<void()> Print;
    } charts[] = {{"the route chart", printRouteChart}, {"the fan chart", printFanChart}};

    const TReportChooserHooks savedHooks = ReportChooserHooks;
    QList<TPrinterInfo> previewed;
    int templateOrientation = -1;
    ReportChooserHooks.Preview = [&](TfrReport &report) {
        report.ShowProgress = false;
        ASSERT_TRUE(report.PrepareReport());
        templateOrientation = report.TemplatePages.GetPage(0).Orientation;
        for (int i = 0; i < report.PreparedPages.Count(); ++i)
            previewed << report.PreparedPages[i].PrinterInfo;
    };
    for (const auto &chart : charts) {
        SCOPED_TRACE(chart.Chart);
        QFile::remove(chartPdf);
        QFile::remove(reportPdf);
        chart.Print();
        const QList<QSizeF> chartPages = PdfPageSizes(chartPdf);
        ASSERT_EQ(chartPages.size(), 1);
        EXPECT_GT(chartPages[0].width(), chartPages[0].height());

        previewed.clear();
        bool opened = false;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *f = qobject_cast<TfrmReports1 *>(QApplication::activeModalWidget());
            if (!f)
                return;
            poll.stop();
            opened = true;
            [&] {
                ASSERT_TRUE(f->SelectTemplate(QStringLiteral("Стандартный отчет без сетки.frf")));
                printer.AnswerFile(reportPdf);
                QTest::mouseClick(f->btnPrint, Qt::LeftButton);
                QTest::mouseClick(f->btnPreview, Qt::LeftButton);
            }();
            CloseOpenModals();
        });
        poll.start();
        w->Action(QStringLiteral("mnuFastRep"))->trigger();
        ASSERT_TRUE(opened);

        EXPECT_EQ(templateOrientation, 0);
        const QList<QSizeF> reportPages = PdfPageSizes(reportPdf);
        ASSERT_GE(reportPages.size(), 1);
        for (const QSizeF &page : reportPages) {
            EXPECT_NEAR(page.width(), 595, 1);
            EXPECT_NEAR(page.height(), 842, 1);
        }
        ASSERT_GE(previewed.size(), 1);
        for (const TPrinterInfo &page : previewed)
            EXPECT_LT(page.PageWidth, page.PageHeight);
    }
    ReportChooserHooks = savedHooks;
    FanEditor.Tables = nullptr;
    for (const auto &asked : prompt.Asked)
        ADD_FAILURE() << asked.Text.toStdString();
}
