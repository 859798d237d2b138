// The node pressure and node altitude windows: ten nodes a row.
#include "calc/node_pressures.h"
#include "calc/ui/frm_altitude.h"
#include "calc/ui/frm_pres.h"
#include "calc/ui/node_commands.h"
#include "platform/prompt.h"
#include "shell/ui/frm_main.h"
#include "../four_branches.h"
#include "cut_texts.h"
#include "modal.h"

#include <gtest/gtest.h>

#include <QtCore/QTemporaryDir>
#include <QtGui/QAction>
#include <QtWidgets/QTableWidget>

#include <memory>

namespace {
QString Cell(QTableWidget *grid, int row, int column)
{
    const QTableWidgetItem *item = grid->item(row, column);
    return item ? item->text() : QString();
}
} // namespace

TEST(NodeWindows, AltitudesStandTenARow)
{
    auto t = std::make_unique<TNetworkTables>();
    ClearAllItems(*t);
    for (int n = 1; n <= 9; ++n)
        CreateNode(*t, n);
    DestroyNode(*t, 4);
    t->NodeAltitude[3] = 10000;
    t->NodeAltitude[9] = 12.5;
    {
        TfrmAltitude form(nullptr, *t);
        ASSERT_EQ(form.SGAltitude->rowCount(), 2); // the digits and one row of nodes
        EXPECT_EQ(Cell(form.SGAltitude, 0, 1), QStringLiteral("0"));
        EXPECT_EQ(Cell(form.SGAltitude, 1, 4), QStringLiteral(" ?"));
        EXPECT_EQ(Cell(form.SGAltitude, 1, 5), QString());
        EXPECT_EQ(Cell(form.SGAltitude, 1, 10), QStringLiteral("12,5"));
    }
    CreateNode(*t, 10);
    TfrmAltitude form(nullptr, *t);
    ASSERT_EQ(form.SGAltitude->rowCount(), 3);
    EXPECT_EQ(Cell(form.SGAltitude, 2, 0), QStringLiteral("10"));
    EXPECT_EQ(Cell(form.SGAltitude, 2, 1), QStringLiteral("0,0"));
}

// As the program opens it, on the sample mine: the eleven columns of the
// fixed window stand side by side, none cut.
TEST(NodeWindows, AltitudesFromTheMenuShowEveryColumn)
{
    QTemporaryDir config, folder;
    qputenv("TUNVEX_CONFIG_DIR", config.path().toUtf8());
    TScriptedPrompt prompt;
    ClearAllItems(Net);
    {
        TfrmMain w(QStringList{QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine")}, folder.path());
        InstallNodePressureCommands(w);
        w.FormActivate();
        ASSERT_GT(NodeCount(Net), 10);
        bool opened = false;
        WhenModal([&] {
            auto *form = qobject_cast<TfrmAltitude *>(QApplication::activeModalWidget());
            ASSERT_NE(form, nullptr);
            opened = true;
            EXPECT_EQ(form->minimumSize(), form->maximumSize());
            QTableWidget *grid = form->SGAltitude;
            ASSERT_EQ(grid->columnCount(), 11);
            for (int c = 0; c < 11; ++c)
                EXPECT_GE(grid->columnWidth(c), 45) << c;
            EXPECT_LE(grid->columnViewportPosition(10) + grid->columnWidth(10), grid->viewport()->width());
            EXPECT_EQ(CutTexts(*grid), "");
        });
        w.Action(QStringLiteral("mnuNodeAlt"))->trigger();
        EXPECT_TRUE(opened);
    }
    EXPECT_TRUE(prompt.Asked.empty());
    ClearAllItems(Net);
}

TEST(NodeWindows, PressuresOfTheSolvedSnapshot)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeFourBranches(*t);
    CreateNode(*t, 1012);
    ASSERT_EQ(CalcTablesAir(*t), crSolved);
    TraversalWorkArrays.TakeSnapshot(*t);
    TfrmPres form(nullptr);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Давление в узлах, ДаПа"));
    ASSERT_EQ(form.StringGrid2->rowCount(), 1012 / 10 + 2);
    EXPECT_EQ(Cell(form.StringGrid2, 1, 2), QStringLiteral("0.0"));
    EXPECT_EQ(Cell(form.StringGrid2, 1, 3), QStringLiteral("-47,1"));
    EXPECT_EQ(Cell(form.StringGrid2, 1, 4), QStringLiteral("-105,9"));
    EXPECT_EQ(Cell(form.StringGrid2, 1, 5), QStringLiteral("0.0"));
    EXPECT_EQ(Cell(form.StringGrid2, 102, 0), QStringLiteral("1010"));
    EXPECT_EQ(Cell(form.StringGrid2, 102, 3), QString()); // node 1012 has no branch
}

// The designed column widths are a minimum: a value wider than its column is
// not cut.
TEST(NodeWindows, CrossGridColumnsFitTheirValues)
{
    QTableWidget grid;
    grid.setColumnCount(11);
    for (int c = 0; c < 11; ++c)
        grid.setColumnWidth(c, 45);
    std::vector<QString> texts(MaxItems + 1);
    texts[3] = QStringLiteral("-12345,6");
    FillNodeCrossGrid(grid, texts, 9);
    const QFontMetrics metrics(grid.font());
    EXPECT_GT(grid.columnWidth(4), metrics.horizontalAdvance(texts[3]));
    EXPECT_EQ(grid.columnWidth(5), 45);
}
