#include "shell/ui/toolbar_layout.h"
#include "shell/view_settings.h"
#include "../temp_config.h"

#include <QtTest/QTest>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMenu>
#include <QtWidgets/QToolBar>

#include <gtest/gtest.h>

namespace {

const QString Key = QStringLiteral("/opt/tunvex/bin/tunvex");

struct TWindow
{
    QMainWindow Window;
    TToolbars Bars{};
    TWindow()
    {
        for (int i = 0; i < ToolbarCount; ++i) {
            Bars[i] = Window.addToolBar(ToolbarCaption(i));
            Bars[i]->addAction(ToolbarCaption(i));
        }
        Window.resize(800, 600);
    }
    // What the main window does at creation.
    void Load()
    {
        TViewSettings view;
        CaptureToolbars(Bars, view);
        LoadViewSettings(Key, view);
        ApplyToolbars(&Window, Bars, view);
        Window.show();
    }
};

} // namespace

TEST(ToolbarLayout, PlacementSurvivesTheNextStart)
{
    TTempConfig config;
    TToolbarPlacement floated;
    {
        TWindow w;
        w.Window.show();
        TViewSettings view;
        CaptureToolbars(w.Bars, view);
        view.Toolbars[tbPaint] = {true, toVertical, true, 150, 120, 100, 220};  // floating
        view.Toolbars[tbDraw] = {true, toVertical, false, 60, 700, 30, 300};   // docked on the right
        view.Toolbars[tbTable].Visible = false;
        ApplyToolbars(&w.Window, w.Bars, view);
        EXPECT_TRUE(w.Bars[tbPaint]->isFloating());
        EXPECT_EQ(w.Window.toolBarArea(w.Bars[tbDraw]), Qt::RightToolBarArea);
        EXPECT_EQ(w.Bars[tbDraw]->orientation(), Qt::Vertical);
        EXPECT_TRUE(w.Bars[tbTable]->isHidden());

        TViewSettings closing;
        CaptureToolbars(w.Bars, closing);
        EXPECT_TRUE(closing.Toolbars[tbPaint].Dock);
        EXPECT_EQ(closing.Toolbars[tbPaint].Left, 120);
        EXPECT_EQ(closing.Toolbars[tbPaint].Top, 150);
        floated = closing.Toolbars[tbPaint];
        SaveViewSettings(Key, closing);
    }
    TWindow next;
    next.Load();
    EXPECT_TRUE(next.Bars[tbPaint]->isFloating());
    // The size is the stored one as far as the tool bar's own minimum allows.
    EXPECT_EQ(next.Bars[tbPaint]->geometry(), QRect(floated.Left, floated.Top, floated.Width, floated.Height));
    EXPECT_EQ(floated.Height, 220);
    EXPECT_EQ(next.Bars[tbPaint]->orientation(), Qt::Vertical);
    EXPECT_FALSE(next.Bars[tbDraw]->isFloating());
    EXPECT_EQ(next.Window.toolBarArea(next.Bars[tbDraw]), Qt::RightToolBarArea);
    EXPECT_TRUE(next.Bars[tbTable]->isHidden());
    EXPECT_EQ(next.Window.toolBarArea(next.Bars[tbFile]), Qt::TopToolBarArea);
    EXPECT_FALSE(next.Bars[tbFile]->isHidden());
}

TEST(ToolbarLayout, WithoutSettingsTheToolbarsStayAndThePopupToggles)
{
    TTempConfig config;
    TWindow w;
    w.Load();
    for (QToolBar *bar : w.Bars) {
        EXPECT_EQ(w.Window.toolBarArea(bar), Qt::TopToolBarArea);
        EXPECT_FALSE(bar->isHidden());
    }
    QMenu popup;
    SetupToolbarPopup(&popup, w.Bars);
    w.Bars[tbBranch]->hide();
    emit popup.aboutToShow();
    const QList<QAction *> items = popup.actions();
    ASSERT_EQ(items.size(), ToolbarCount);
    EXPECT_EQ(items[tbBranch]->text(), QStringLiteral("Вид ветви"));
    EXPECT_FALSE(items[tbBranch]->isChecked());
    EXPECT_TRUE(items[tbFile]->isChecked());
    items[tbFile]->trigger();
    EXPECT_TRUE(w.Bars[tbFile]->isHidden());
    items[tbBranch]->trigger();
    EXPECT_FALSE(w.Bars[tbBranch]->isHidden());
}
