// The resistance windows: the block and the calculator from the main window
// on the sample mine, the support graphs, the door with a window, and the
// branch dialog's buttons that open them.
#include "calc/resistance.h"
#include "calc/ui/frm_okno.h"
#include "calc/ui/frm_r_block.h"
#include "calc/ui/frm_resist.h"
#include "calc/ui/frm_resist_gr.h"
#include "calc/ui/resist_commands.h"
#include "platform/prompt.h"
#include "platform/ui/qt_canvas.h"
#include "scheme/ui/frm_branch.h"
#include "shell/ui/branch_dialog_host.h"
#include "shell/ui/frm_main.h"

#include "modal.h"

#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const QString SampleMine = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine");

// Drives the next modal dialog of the type once it is shown, then closes
// what a failed check left open; the timer dies with this object, so that it
// never fires into a later test.
template <typename TDialog>
struct TWhenShown
{
    explicit TWhenShown(std::function<void(TDialog &)> drive)
    {
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [this, drive] {
            auto *dialog = qobject_cast<TDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            Shown = true;
            drive(*dialog);
            CloseOpenModals();
        });
        timer.start(0);
    }
    QTimer timer;
    bool Shown = false;
};

class ResistanceCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("TUNVEX_CONFIG_DIR", config.path().toUtf8());
        ClearAllItems(Net);
        w = std::make_unique<TfrmMain>(QStringList{SampleMine}, folder.path());
        InstallResistanceCommands(*w);
        w->FormActivate();
        ASSERT_GT(BranchCount(Net), 10);
        w->SetModified(false);
        before = std::make_unique<TNetworkTables>(Net);
    }
    void TearDown() override
    {
        w.reset();
        BranchDialogHooks = {};
        ClearAllItems(Net);
    }
    bool TablesUnchanged() const
    {
        return Net.BranchR == before->BranchR && Net.BranchLength == before->BranchLength
               && Net.BranchAlpha == before->BranchAlpha && Net.BranchArea == before->BranchArea
               && Net.BranchMeasuredDepression == before->BranchMeasuredDepression
               && Net.BranchMeasuredFlow == before->BranchMeasuredFlow;
    }
    int Rows() const
    {
        int n = 0;
        for (int b = 1; b <= MaxItems; ++b)
            n += Net.BranchNo[b] > 0;
        return n;
    }

    QTemporaryDir config, folder;
    TScriptedPrompt prompt;
    std::unique_ptr<TfrmMain> w;
    std::unique_ptr<TNetworkTables> before;
};

} // namespace

TEST_F(ResistanceCommands, RBlockCancelAndOkWithoutTypingLeaveTheDocument)
{
    ASSERT_TRUE(w->Action("TaskRBlock")->isEnabled());
    EXPECT_EQ(w->Action("TaskRBlock")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F12));
    for (const bool ok : {false, true}) {
        TWhenShown<TfrmRBlock> drive([&](TfrmRBlock &f) {
            EXPECT_EQ(f.windowTitle(), "R-Блок");
            EXPECT_EQ(f.minimumSize(), QSize(636, 460));
            EXPECT_EQ(f.StringGrid1->rowCount(), RBlockHeaderRows + Rows());
            EXPECT_EQ(f.StringGrid1->item(0, rcMeasuredH)->text(), "Hизмр.,");
            EXPECT_EQ(f.StringGrid1->item(1, rcMeasuredH)->text(), "мм в ст");
            // Only the inputs edit.
            EXPECT_FALSE(f.StringGrid1->item(2, rcMeasuredR)->flags() & Qt::ItemIsEditable);
            EXPECT_TRUE(f.StringGrid1->item(2, rcAlpha)->flags() & Qt::ItemIsEditable);
            EXPECT_FALSE(f.StringGrid1->item(1, rcAlpha)->flags() & Qt::ItemIsEditable);
            (ok ? f.Button1 : f.Button2)->click();
        });
        w->Action("TaskRBlock")->trigger();
        EXPECT_TRUE(drive.Shown);
        EXPECT_TRUE(TablesUnchanged());
        EXPECT_FALSE(w->Document().Modified());
    }
    EXPECT_TRUE(prompt.Asked.empty());
}

TEST_F(ResistanceCommands, RBlockTypingChecksTheCellAndOkModifies)
{
    // A branch with a given resistance and no geometry: clearing its R
    // leaves the measured values to fill it.
    int branch = 0;
    for (int b = 1; b <= MaxItems && !branch; ++b)
        if (Net.BranchNo[b] > 0 && Net.BranchR[b] > 0)
            branch = b;
    ASSERT_GT(branch, 0);
    Net.BranchAlpha[branch] = 0;
    // With its given R cleared, these alone would be out of range.
    Net.BranchMeasuredDepression[branch] = 25;
    Net.BranchMeasuredFlow[branch] = 0.1;
    TWhenShown<TfrmRBlock> drive([&](TfrmRBlock &f) {
        QTableWidget *grid = f.StringGrid1;
        int row = 0;
        while (f.Block().BranchOfRow(row) != branch)
            ++row;
        const auto type = [&](int column, const QString &text) {
            grid->setCurrentCell(RBlockHeaderRows + row, column);
            grid->editItem(grid->item(RBlockHeaderRows + row, column));
            auto *editor = qobject_cast<QLineEdit *>(
                grid->indexWidget(grid->model()->index(RBlockHeaderRows + row, column)));
            ASSERT_NE(editor, nullptr);
            editor->selectAll();
            QTest::keyClicks(editor, text);
            QTest::keyClick(editor, Qt::Key_Return);
            // The delegate commits the editor's text from the event queue.
            QApplication::processEvents();
        };
        type(rcMeasuredH, "abc");
        ASSERT_EQ(prompt.Asked.size(), 1u);
        EXPECT_EQ(prompt.Asked[0].Text, "Число abc\rНАБРАНО НЕВЕРНО!!!\r\rПОВТОРИТЕ ВВОД ВНИМАТЕЛЬНЕЙ!...");
        EXPECT_EQ(grid->item(RBlockHeaderRows + row, rcMeasuredH)->text(), f.Block().CellText(rcMeasuredH, row));
        type(rcMeasuredH, "1001");
        ASSERT_EQ(prompt.Asked.size(), 2u);
        EXPECT_TRUE(prompt.Asked[1].Text.startsWith("Соблюдайте ограничения значений,\r"));

        // The resistances wait for the grid to lose the focus: no R and
        // Q 0,1 in between is not judged.
        const QString measuredR = grid->item(RBlockHeaderRows + row, rcMeasuredR)->text();
        type(rcActualR, "0");
        type(rcMeasuredQ, "50");
        EXPECT_EQ(prompt.Asked.size(), 2u);
        EXPECT_EQ(grid->item(RBlockHeaderRows + row, rcMeasuredR)->text(), measuredR);
        // Moving within the grid does not leave it.
        grid->setCurrentCell(RBlockHeaderRows + row, rcAlpha);
        EXPECT_EQ(grid->item(RBlockHeaderRows + row, rcMeasuredR)->text(), measuredR);
        f.ComboBox1->setFocus();
        // H 25 and Q 50: the measured column shows 0,01.
        EXPECT_EQ(grid->item(RBlockHeaderRows + row, rcMeasuredR)->text(), " 0,01000");
        EXPECT_EQ(prompt.Asked.size(), 2u);

        // Typed and clicked away from at once: the click on Ok takes the
        // focus from the open editor, whose text counts.
        grid->setCurrentCell(RBlockHeaderRows + row, rcMeasuredQ);
        grid->editItem(grid->item(RBlockHeaderRows + row, rcMeasuredQ));
        auto *editor = qobject_cast<QLineEdit *>(
            grid->indexWidget(grid->model()->index(RBlockHeaderRows + row, rcMeasuredQ)));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, "100");
        QTest::mouseClick(f.Button1, Qt::LeftButton);
    });
    w->Action("TaskRBlock")->trigger();
    ASSERT_TRUE(drive.Shown);
    EXPECT_DOUBLE_EQ(Net.BranchR[branch], 0.0025);
    EXPECT_EQ(Net.BranchMeasuredDepression[branch], 25);
    EXPECT_EQ(Net.BranchMeasuredFlow[branch], 100);
    EXPECT_TRUE(w->Document().Modified());
}

TEST_F(ResistanceCommands, FreeCalculatorChecksItsInputsAndChangesNothing)
{
    EXPECT_EQ(w->Action("TaskCalcResist")->shortcut(), QKeySequence(Qt::Key_F12));
    bool graphShown = false;
    TWhenShown<TfrmResist> drive([&](TfrmResist &f) {
        EXPECT_EQ(f.windowTitle(), "Расчет аэродинамического сопротивления");
        EXPECT_EQ(f.edL->text(), "0");
        EXPECT_EQ(f.edS->text(), "0,0");
        EXPECT_EQ(f.edAlfa->text(), "0,00");

        f.btResist->click();
        ASSERT_EQ(prompt.Asked.size(), 2u);
        EXPECT_EQ(prompt.Asked[0].Text, "Укажите форму поперечного сечения");
        EXPECT_EQ(prompt.Asked[0].Flags, mb::Ok | mb::IconError);
        EXPECT_EQ(prompt.Asked[1].Text, "Исходные данные заданы неверно");

        f.Shapes->button(0)->setChecked(true);
        f.edS->setText("9");
        f.edAlfa->setText("10");
        f.btResist->click();
        ASSERT_EQ(prompt.Asked.size(), 3u);
        EXPECT_EQ(prompt.Asked[2].Text, "Исходные данные заданы неверно");
        EXPECT_EQ(f.focusWidget(), f.edL);

        f.edL->setText("100");
        f.btResist->click();
        EXPECT_EQ(prompt.Asked.size(), 3u);
        EXPECT_EQ(f.btResist->text(), "Сопротивление: 0,00165кмюрг");
        EXPECT_NEAR(f.R, 0.0016461, 5e-8);

        for (const char *refused : {"4,99", "16,01"}) {
            f.edS->setText(refused);
            f.btGrafik->click();
            EXPECT_EQ(prompt.Asked.back().Text,
                      "Использование графика невозможно\r      ПРИ СЕЧЕНИИ МЕНЕЕ 5 м2\r      или БОЛЕЕ 16 м2 !!!");
        }
        EXPECT_EQ(prompt.Asked.size(), 5u);
        for (const char *accepted : {"5", "16"}) {
            f.edS->setText(accepted);
            TWhenShown<TfrmResistGr> graph([&](TfrmResistGr &g) {
                graphShown = true;
                EXPECT_EQ(g.L, 100);
                g.reject();
            });
            f.btGrafik->click();
            EXPECT_TRUE(graph.Shown) << accepted;
        }
        EXPECT_EQ(prompt.Asked.size(), 5u);
        f.btOk->click();
    });
    w->Action("TaskCalcResist")->trigger();
    EXPECT_TRUE(drive.Shown);
    EXPECT_TRUE(graphShown);
    EXPECT_TRUE(TablesUnchanged());
    EXPECT_FALSE(w->Document().Modified());
}

TEST(SupportGraphs, ReadingTheRedCurve)
{
    TPlotState plot;
    TSupportCurves curves;
    LoadSupportCurves(plot, curves);
    QImage image(700, 500, QImage::Format_RGB32);
    struct TCase
    {
        int Type;
        double S;
        double Expected;   // specific resistance × 100
        double Tolerance;  // pixels
    };
    // Type 1 at 9 m² lies on a point of the table; type 8 at 5 m² just under
    // the top of the plot; no type chosen reads the top edge.
    // The curve is read at its lowest red pixel, which on the steep part lies
    // a few pixels under the line's centre.
    const TCase cases[] = {{0, 9, 0.72, 1.5}, {7, 5, 13.97, 6}, {-1, 9, 14, 0}};
    for (const TCase &c : cases) {
        TQtCanvas canvas(&image);
        canvas.Font.Name = QStringLiteral("Arial");
        canvas.Font.Size = 8;
        DrawResistanceGraphs(canvas, image.width(), image.height(), plot, curves, c.Type);
        const TGraphReading r = ReadGraphResistance(canvas, plot, c.S, 100);
        EXPECT_NEAR(r.R, c.Expected * 100 / 100000, c.Tolerance * plot.HPerPixel * 100 / 100000) << c.Type;
        if (c.Type == 7)
            EXPECT_LT(r.R, 14 * 100 / 100000.0);
        if (c.Type < 0)
            EXPECT_EQ(r.Y, plot.Top);
    }
}

TEST(SupportGraphs, WindowReadsOnlyTheChosenCurve)
{
    TScriptedPrompt prompt;
    double S = 9, R = 0.5;
    TWhenShown<TfrmResistGr> drive([&](TfrmResistGr &g) {
        EXPECT_EQ(g.Label2->text(), "Сечение S=9,0");
        EXPECT_EQ(g.Label3->text(), "Сопротивление R=?");
        // No curve is red yet: clicks do nothing.
        for (int x = 0; x < g.ImGraf->width(); x += 7)
            g.ImGrafMouseDown(x, g.ImGraf->height() / 2);
        EXPECT_EQ(g.S, 9);
        EXPECT_EQ(g.Label3->text(), "Сопротивление R=?");

        g.CmType->setCurrentIndex(0);
        emit g.CmType->activated(0);
        EXPECT_NEAR(g.R, 0.00072, 1.5 * PlotState.HPerPixel * 100 / 100000);
        EXPECT_EQ(g.Label2->text(), "Сечение: 9,0 м2");
        EXPECT_TRUE(g.Label3->text().startsWith("Сопротивление: 0,000"));

        // A click on the red curve further left takes that point.
        const QImage &image = g.ImGraf->Image;
        const int x = PlotState.Left + (PlotState.Right - PlotState.Left) / 4;
        int y = -1;
        for (int yy = PlotState.Top; yy < PlotState.Bottom && y < 0; ++yy)
            if ((image.pixel(x, yy) & 0xFFFFFF) == 0xFF0000)
                y = yy;
        ASSERT_GE(y, 0);
        g.ImGrafMouseMove(x, y);
        EXPECT_TRUE(g.Label4->isVisibleTo(&g));
        EXPECT_FALSE(g.Label2->isVisibleTo(&g));
        g.ImGrafMouseDown(x, y);
        EXPECT_NEAR(g.S, GraphAreaAt(PlotState, x), 1e-12);
        EXPECT_LT(g.S, 9);
        EXPECT_GT(g.R, 0.00072);
        EXPECT_TRUE(g.Label2->isVisibleTo(&g));
        g.btOk->click();
    });
    EXPECT_TRUE(ResistanceFromGraph(nullptr, 100, S, R));
    EXPECT_TRUE(drive.Shown);
    EXPECT_LT(S, 9);
    EXPECT_GT(R, 0.00072);

    const double keptS = S, keptR = R;
    TWhenShown<TfrmResistGr> cancel([](TfrmResistGr &g) {
        g.CmType->setCurrentIndex(3);
        emit g.CmType->activated(3);
        g.btCancel->click();
    });
    EXPECT_FALSE(ResistanceFromGraph(nullptr, 100, S, R));
    EXPECT_EQ(S, keptS);
    EXPECT_EQ(R, keptR);
    EXPECT_TRUE(prompt.Asked.empty());
}

TEST(DoorWindow, ReadsTheWindowAreaAndComputes)
{
    TScriptedPrompt prompt;
    double R = 0.01;
    TWhenShown<TfrmOkno> keep([&](TfrmOkno &f) {
        EXPECT_EQ(f.windowTitle(), "Расчет сопротивления двери с окном");
        EXPECT_EQ(f.EdOkno->text(), "10,00");
        EXPECT_EQ(f.eLbSvir->text(), "10,0");
        EXPECT_EQ(f.eLbVirab->text(), "0,01000");
        EXPECT_EQ(f.EdSumma->text(), "0,01000");
        EXPECT_TRUE(f.EdRegul->isReadOnly());
        f.EdOkno->setText("2");
        f.btOk->click();
    });
    EXPECT_TRUE(CalcWindowResistance(nullptr, R, 10));
    EXPECT_EQ(R, 0.01);

    TWhenShown<TfrmOkno> compute([&](TfrmOkno &f) {
        f.EdOkno->setText("0,5");
        EXPECT_TRUE(f.EdOknoExit());
        EXPECT_EQ(f.WindowArea, 0.5);
        f.EdOkno->setText("0.005");
        EXPECT_FALSE(f.EdOknoExit());
        ASSERT_EQ(prompt.Asked.size(), 1u);
        EXPECT_EQ(prompt.Asked[0].Text, "Число вне допустимого диапазона: \r   0.01 ...   10.00 !");
        EXPECT_EQ(f.EdOkno->text(), "   0.50");
        EXPECT_EQ(f.WindowArea, 0.5);

        // Enter in the edit presses "Расчёт" with the area typed there.
        f.EdOkno->setText("2");
        f.BtBStart->click();
        EXPECT_EQ(f.EdRegul->text(), "0,02736");
        EXPECT_EQ(f.EdSumma->text(), "0,03736");
        f.EdOkno->setText("10");
        f.BtBStart->click();
        EXPECT_EQ(f.EdRegul->text(), "0,00000");
        f.EdOkno->setText("2");
        f.BtBStart->click();
        f.BtBHelp->click();
        ASSERT_EQ(prompt.Asked.size(), 2u);
        EXPECT_EQ(prompt.Asked[1].Text, "Раздел справки 100 недоступен.");
        f.btOk->click();
    });
    EXPECT_TRUE(CalcWindowResistance(nullptr, R, 10));
    EXPECT_NEAR(R, 0.01 + 0.0273569, 5e-8);

    TWhenShown<TfrmOkno> cancel([](TfrmOkno &f) {
        f.EdOkno->setText("2");
        f.BtBStart->click();
        f.btCancel->click();
    });
    double kept = 0.02;
    EXPECT_FALSE(CalcWindowResistance(nullptr, kept, 10));
    EXPECT_EQ(kept, 0.02);
}

TEST_F(ResistanceCommands, BranchDialogButtonsFillItsEdits)
{
    InstallBranchDialogHost(*w);
    int b = 0;
    for (int n = 1; n <= MaxItems && !b; ++n)
        if (BranchExist(Net, n))
            b = n;
    TfrmBranch dialog(w.get());
    dialog.Fill(QStringLiteral("Ветвь"), b, true);
    EXPECT_TRUE(dialog.btnResist->isEnabled());
    EXPECT_TRUE(dialog.Button3->isEnabled());

    dialog.edLen->setText("100");
    dialog.edSquare->setText("9");
    dialog.edRes->setText("0,5");
    dialog.xqeAlpha->setText("10");
    dialog.Form().Modified = false;
    TWhenShown<TfrmResist> geometry([](TfrmResist &f) {
        EXPECT_EQ(f.edL->text(), "100");
        EXPECT_EQ(f.edS->text(), "9,0");
        EXPECT_EQ(f.edAlfa->text(), "10,00");
        f.Shapes->button(0)->setChecked(true);
        f.btResist->click();
        f.btOk->click();
    });
    dialog.btnResist->click();
    ASSERT_TRUE(geometry.Shown);
    EXPECT_EQ(dialog.edRes->text(), "0,00165");
    EXPECT_EQ(dialog.edSquare->text(), "9,00");
    EXPECT_EQ(dialog.xqeAlpha->text(), "10");
    EXPECT_TRUE(dialog.Form().Modified);

    dialog.edRes->setText("abc");
    dialog.Button3->click();
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, "Число ==> abc набрано с ошибками !\r");
    EXPECT_EQ(frmOkno, nullptr);

    dialog.edRes->setText("0,01");
    dialog.edSquare->setText("10");
    TWhenShown<TfrmOkno> door([](TfrmOkno &f) {
        EXPECT_EQ(f.eLbVirab->text(), "0,01000");
        f.EdOkno->setText("2");
        f.BtBStart->click();
        f.btOk->click();
    });
    dialog.Button3->click();
    ASSERT_TRUE(door.Shown);
    EXPECT_EQ(dialog.edRes->text(), "0,03736");
    EXPECT_TRUE(TablesUnchanged());
}

// Values typed in the block are computed before "Ok" closes it, whichever
// cell was selected last and however the grid was left: branch 1 takes
// R = 25 / 50² from its measured H and Q, and an out-of-range pair on a
// second branch is warned about once.
TEST_F(ResistanceCommands, RBlockComputesTypedValuesHoweverTheGridIsLeft)
{
    enum class TEnd { Enter, TabToName, EditorOpen };
    enum class TLeave { ClickName, ClickOk, KeyOnOk };
    struct TCase
    {
        const char *Name;
        TEnd End;
        TLeave Leave;
    };
    const TCase cases[] = {
        {"Enter, then the name cell clicked, then Ok", TEnd::Enter, TLeave::ClickName},
        {"Tab on to the name cell, then Ok", TEnd::TabToName, TLeave::ClickOk},
        {"Enter, then Ok clicked", TEnd::Enter, TLeave::ClickOk},
        {"the editor still open when Ok is clicked", TEnd::EditorOpen, TLeave::ClickOk},
        {"the name cell clicked, then Ok pressed while the grid keeps the focus", TEnd::Enter, TLeave::KeyOnOk},
    };
    int second = 0;
    for (int b = 2; b <= MaxItems && !second; ++b)
        if (Net.BranchNo[b] > 0)
            second = b;
    ASSERT_TRUE(Net.BranchNo[1] == 1 && second > 0);
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Name);
        Net = *before;
        w->SetModified(false);
        prompt.Asked.clear();
        TWhenShown<TfrmRBlock> drive([&](TfrmRBlock &f) {
            QTableWidget *grid = f.StringGrid1;
            const auto rowOf = [&f](int branch) {
                int row = 0;
                while (f.Block().BranchOfRow(row) != branch)
                    ++row;
                return RBlockHeaderRows + row;
            };
            const auto editor = [grid](int row, int column) {
                return qobject_cast<QLineEdit *>(grid->indexWidget(grid->model()->index(row, column)));
            };
            // Typed into the cell's editor; last tells how the last value ends.
            const auto type = [&](int row, int column, const QString &text, bool last) {
                grid->setCurrentCell(row, column);
                grid->editItem(grid->item(row, column));
                QLineEdit *edit = editor(row, column);
                ASSERT_NE(edit, nullptr);
                edit->selectAll();
                QTest::keyClicks(edit, text);
                if (last && c.End == TEnd::EditorOpen)
                    return;
                if (last && c.End == TEnd::TabToName) {
                    // From the flow over alpha, length and area to the name.
                    for (int column = rcMeasuredQ; column < rcName; ++column) {
                        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                        QApplication::processEvents();
                    }
                    EXPECT_EQ(grid->currentColumn(), rcName);
                    return;
                }
                QTest::keyClick(edit, Qt::Key_Return);
                QApplication::processEvents();
            };
            const int row2 = rowOf(second);
            type(row2, rcActualR, "0", false);
            type(row2, rcMeasuredH, "25", false);
            type(row2, rcMeasuredQ, "0,1", false);
            const int row1 = rowOf(1);
            type(row1, rcActualR, "0", false);
            type(row1, rcMeasuredH, "25", false);
            type(row1, rcMeasuredQ, "50", true);
            EXPECT_TRUE(prompt.Asked.empty());
            if (c.Leave == TLeave::ClickName || c.Leave == TLeave::KeyOnOk) {
                const QRect name = grid->visualItemRect(grid->item(row1, rcName));
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, name.center());
                EXPECT_EQ(grid->currentColumn(), rcName);
            }
            if (c.Leave == TLeave::KeyOnOk) {
                // The grid keeps the focus while Ok is pressed.
                ASSERT_TRUE(grid->hasFocus());
                f.Button1->animateClick();
                QTest::qWait(300);
            } else {
                QTest::mouseClick(f.Button1, Qt::LeftButton);
            }
        });
        w->Action("TaskRBlock")->trigger();
        ASSERT_TRUE(drive.Shown);
        EXPECT_DOUBLE_EQ(Net.BranchR[1], 0.01);
        EXPECT_EQ(Net.BranchMeasuredDepression[1], 25);
        EXPECT_EQ(Net.BranchMeasuredFlow[1], 50);
        ASSERT_EQ(prompt.Asked.size(), 1u);
        EXPECT_TRUE(prompt.Asked[0].Text.startsWith(
            QStringLiteral("По данным измерений сопротивление ветви %1\rравно ").arg(second)))
            << prompt.Asked[0].Text.toStdString();
        EXPECT_TRUE(w->Document().Modified());
    }
}
