// The main window's view: the scheme drawn in the paint box, fitting, the
// zoom tools, keyboard scrolling and the overview map.
#include "model/scheme_file.h"
#include "platform/prompt.h"
#include "platform/ui/qt_canvas.h"
#include "scheme/ui/frm_map.h"
#include "scheme/ui/scheme_paint_box.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_main.h"

#include "main_window_fixture.h"

#include <gtest/gtest.h>

#include <QtCore/QTemporaryDir>
#include <QtGui/QKeyEvent>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>

namespace {

class MainViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Config.isValid());
        qputenv("TUNVEX_CONFIG_DIR", Config.path().toUtf8());
        ClearAllItems(Net);
    }
    void TearDown() override { ClearAllItems(Net); }

    // A scheme file of a chain of branches through the given points.
    QString WriteChain(const QString &name, const std::vector<TPoint> &points)
    {
        std::vector<TTestBranch> chain;
        for (int n = 2; n <= int(points.size()); ++n)
            chain.push_back({n - 1, n});
        const QString file = Folder.filePath(name);
        EXPECT_TRUE(WriteTestScheme(file, points, chain));
        return file;
    }

    std::unique_ptr<TfrmMain> Open(const QString &file) { return OpenShownMainWindow(file, Folder.path()); }

    static void ClickAt(TfrmMain &w, QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseMove(w.PaintBox(), p);
        QTest::mouseClick(w.PaintBox(), button, {}, p);
    }

    QTemporaryDir Config;
    QTemporaryDir Folder;
    TScriptedPrompt Prompt;
};

} // namespace

TEST_F(MainViewTest, RedrawPaintsTheSchemeIntoThePaintBoxImage)
{
    auto w = Open(WriteChain("a.mine", {{100, 100}, {600, 100}}));
    w->View().Zoom = 1;
    w->View().ScrollX = w->View().ScrollY = 0;
    w->Redraw();
    const QImage &image = w->PaintBox()->Image();
    ASSERT_EQ(image.size(), QSize(800, 600));
    EXPECT_EQ(QColorToTColor(QColor(image.pixel(300, 100))), w->GetSchemeColor(1));
    EXPECT_EQ(QColorToTColor(QColor(image.pixel(300, 300))), w->GetSchemeColor(0));
    // Until their calculation is there, node pressures cannot be labelled.
    EXPECT_FALSE(w->Action("mnuNodeP")->isEnabled());
}

TEST_F(MainViewTest, FullSchemeAndFitSheet)
{
    auto w = Open(WriteChain("a.mine", {{100, 100}, {900, 100}, {900, 500}}));
    w->Action("mnuNodeNo")->setChecked(true);
    w->Document().SetModified(false);
    w->Action("spbFullScheme")->trigger();
    EXPECT_EQ(w->View().ZoomStep, 0);
    EXPECT_NEAR(w->View().Zoom, 801.0 / (802 + 2 * 24), 1e-9);  // bounds 99..901 widened by 3 %
    EXPECT_FALSE(w->Action("mnuNodeNo")->isChecked());
    EXPECT_FALSE(w->Action("spbZoomOut")->isEnabled());
    EXPECT_TRUE(w->Action("spbZoomIn")->isEnabled());
    EXPECT_TRUE(w->Document().Modified());

    // The sheet grows to hold the scheme and is then fitted whole.
    auto &sheet = w->Storage().Doc.MineProperties;
    sheet.SheetWidth = 500;
    sheet.SheetHeight = 2000;
    w->Action("sbtnMoveSymb")->trigger();
    EXPECT_EQ(sheet.SheetWidth, 909);   // 901 + round(8.02)
    EXPECT_EQ(sheet.SheetHeight, 505);  // both take the scheme's, even the larger height
    EXPECT_EQ(w->View().ScrollX, -27 * w->View().Zoom);
}

TEST_F(MainViewTest, SmallSchemeFitsBeyondTheLastStepWithItsSizes)
{
    auto w = Open(WriteChain("a.mine", {{100, 100}, {110, 104}}));
    w->Action("spbFullScheme")->trigger();
    EXPECT_GT(w->View().Zoom, ZoomFactors[LastZoomStep]);
    EXPECT_EQ(w->View().ZoomStep, LastZoomStep);
    EXPECT_FALSE(w->Action("spbZoomIn")->isEnabled());
}

TEST_F(MainViewTest, ZoomToolCentresOnThePointerAndEdgesScroll)
{
    auto w = Open(WriteChain("a.mine", {{100, 100}, {600, 400}}));
    TViewport &v = w->View();
    v.ZoomStep = 12;
    v.Zoom = ZoomFactors[12];
    v.ScrollX = v.ScrollY = 0;
    w->UpdateMenus();
    w->Document().SetModified(false);
    w->Action("spbZoomIn")->trigger();
    EXPECT_EQ(w->ToolMode(), 3);
    ClickAt(*w, {400, 300});  // scheme point (20, 15) at zoom 20
    EXPECT_EQ(v.ZoomStep, 13);
    EXPECT_EQ(v.Zoom, 26);
    EXPECT_EQ(w->GetViewCenter(), (TPoint{20, 15}));
    EXPECT_TRUE(w->Document().Modified());
    // The last step reached, the default tool is back.
    EXPECT_EQ(w->ToolMode(), 0);
    EXPECT_TRUE(w->Action("sbtnArrow")->isChecked());

    // A click within 8 pixels of the left edge re-centres instead of zooming.
    w->Action("spbZoomOut")->trigger();
    ClickAt(*w, {3, 300});
    EXPECT_EQ(v.ZoomStep, 13);
    EXPECT_EQ(w->GetViewCenter().X, 5);  // the pointer's scheme point, Round((3 + 120) / 26)
    ClickAt(*w, {400, 300});
    EXPECT_EQ(v.ZoomStep, 12);
}

TEST_F(MainViewTest, CentreToolMarksTheNewCentreWithoutMarkingTheDocument)
{
    auto w = Open(WriteChain("a.mine", {{100, 100}, {600, 400}}));
    TViewport &v = w->View();
    v.ZoomStep = 2;
    v.Zoom = 2;
    v.ScrollX = v.ScrollY = 0;
    w->Document().SetModified(false);
    w->Action("spbCenterView")->trigger();
    ClickAt(*w, {100, 60});
    EXPECT_EQ(w->GetViewCenter(), (TPoint{50, 30}));
    EXPECT_EQ(QColorToTColor(QColor(w->PaintBox()->Image().pixel(399, 299))), clRed);
    EXPECT_FALSE(w->Document().Modified());
    w->Redraw();
    EXPECT_NE(QColorToTColor(QColor(w->PaintBox()->Image().pixel(399, 299))), clRed);
}

TEST_F(MainViewTest, KeysScrollHalfAViewWithoutMarkingTheDocument)
{
    auto w = Open(WriteChain("a.mine", {{100, 100}, {600, 400}}));
    TViewport &v = w->View();
    v.Zoom = 2;
    v.ScrollX = v.ScrollY = 0;
    w->Document().SetModified(false);
    QTest::keyRelease(w.get(), Qt::Key_Right);
    EXPECT_EQ(v.ScrollX, 200);
    QTest::keyRelease(w.get(), Qt::Key_Down);
    EXPECT_EQ(v.ScrollY, 150);
    QTest::keyRelease(w.get(), Qt::Key_Left);
    QTest::keyRelease(w.get(), Qt::Key_Left);
    EXPECT_EQ(v.ScrollX, 0);
    QTest::keyRelease(w.get(), Qt::Key_Home);
    EXPECT_EQ(v.ScrollY, 0);
    EXPECT_FALSE(w->Document().Modified());
}

TEST_F(MainViewTest, MapOpensClosesCentresTheViewAndKeepsItsBounds)
{
    auto w = Open(WriteChain("a.mine", {{100, 100}, {600, 400}}));
    QAction *button = w->Action("sbtnMap");
    button->trigger();
    ASSERT_NE(frmMap, nullptr);
    EXPECT_TRUE(frmMap->isVisible());
    EXPECT_TRUE(button->isChecked());
    EXPECT_EQ(frmMap->windowTitle(), QStringLiteral("Карта"));

    frmMap->resize(400, 300);
    EXPECT_LE(frmMap->width(), 256);
    EXPECT_LE(frmMap->height(), 256);
    frmMap->resize(200, 150);
    frmMap->move(40, 50);
    QApplication::processEvents();
    frmMap->DrawMap();

    // A click on the map point of node 2 centres the main view on it.
    const TOverviewMap &map = frmMap->Map();
    frmMap->MapImgMouseUp(map.MapX(600), map.MapY(400));
    const TPoint c = w->GetViewCenter();
    EXPECT_NEAR(c.X, 600, 1 / map.Scale + 1);
    EXPECT_NEAR(c.Y, 400, 1 / map.Scale + 1);

    // Hidden by its close box it releases the button; the button frees a shown map.
    frmMap->close();
    EXPECT_FALSE(button->isChecked());
    button->trigger();
    EXPECT_TRUE(frmMap->isVisible());
    EXPECT_EQ(frmMap->size(), QSize(200, 150));
    button->trigger();
    EXPECT_EQ(frmMap, nullptr);
    EXPECT_FALSE(button->isChecked());
    // A new map takes the bounds the last one kept.
    button->trigger();
    ASSERT_NE(frmMap, nullptr);
    EXPECT_EQ(frmMap->size(), QSize(200, 150));
    EXPECT_EQ(frmMap->pos(), QPoint(40, 50));
}
