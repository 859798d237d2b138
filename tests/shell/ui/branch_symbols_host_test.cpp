// The branch symbols of the main window with real symbol libraries built
// beside the tests: the options page, the branch dialog's kinds and the
// drawing of links on the scheme.
#include "shell/ui/branch_symbols_host.h"

#include "model/network.h"
#include "scheme/builtin_symbols.h"
#include "scheme/ui/frm_branch.h"
#include "scheme/ui/scheme_paint_box.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/frm_options.h"
#include "shell/ui/plugin_menu.h"

#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtGui/QAction>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>

namespace {

class BranchSymbolsHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Config.isValid() && Folder.isValid() && Symbols.isValid());
        qputenv("TUNVEX_CONFIG_DIR", Config.path().toUtf8());
        ClearAllItems(Net);
    }
    void TearDown() override { ClearAllItems(Net); }

    void Put(const char *built, const QString &as)
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(TUNVEX_TEST_SYMBOLS "/%1.so").arg(QLatin1String(built)),
                                Symbols.filePath(as)));
    }

    std::unique_ptr<TfrmMain> Window()
    {
        auto w = std::make_unique<TfrmMain>(QStringList{}, Folder.path());
        w->Options().SymbolsLocation = Symbols.path();
        TBranchSymbolsHost::Install(*w);
        TPluginHost::Install(*w);
        return w;
    }

    QTemporaryDir Config;
    QTemporaryDir Folder;
    QTemporaryDir Symbols;
};

TEST_F(BranchSymbolsHostTest, OptionsPageListsLibrarySymbolsFirstAndPreviewsTheFirst)
{
    Put("test_symbol", QStringLiteral("test.so"));
    const auto w = Window();

    TOptionsHost host;
    ASSERT_TRUE(w->OptionsSymbols);
    w->OptionsSymbols(host);
    TfrmOptions options(host);
    const auto *list = options.findChild<QListWidget *>(QStringLiteral("lbxSymbols"));
    ASSERT_EQ(list->count(), 1 + BuiltinSymbolCount);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Тест"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("Скорость"));
    EXPECT_EQ(list->currentRow(), 0);
    // The library's green square fills the box between the airway's lines.
    const QImage preview = options.findChild<QLabel *>(QStringLiteral("imgPreview"))->pixmap().toImage();
    EXPECT_EQ(preview.pixelColor(80, 60), QColor(0, 255, 0));
    EXPECT_EQ(preview.pixelColor(0, 0), QColor(Qt::black));
    // The program's drawing canvas is given back.
    EXPECT_EQ(w->DrawCanvas(), nullptr);

    // The branch dialog offers the same kinds in the same order.
    const std::vector<TSymbolType> kinds = BranchDialogHost.Form.BranchSymbols();
    ASSERT_EQ(kinds.size(), 1u + BuiltinSymbolCount);
    EXPECT_EQ(kinds[0].Description, QStringLiteral("Test Тест"));
    EXPECT_EQ(kinds[13].Name, QStringLiteral("ЗамернСт"));
}

TEST_F(BranchSymbolsHostTest, ThickAirwaysShowTheirSymbolsWhichSeeTheirOwnBranch)
{
    Put("test_symbol_branch", QStringLiteral("branch.so"));
    const auto w = Window();
    w->resize(600, 500);
    w->show();
    // Branch 1 along y = 0 and branch 2, drawn after it, along y = 100.
    for (const auto &[n, x, y] : {std::tuple{1, 0, 0}, std::tuple{2, 100, 0}, std::tuple{3, 0, 100},
                                  std::tuple{4, 100, 100}}) {
        CreateNode(Net, n);
        Net.NodeX[n] = static_cast<std::int16_t>(x);
        Net.NodeY[n] = static_cast<std::int16_t>(y);
    }
    for (const auto &[n, a, b] : {std::tuple{1, 1, 2}, std::tuple{2, 3, 4}}) {
        CreateBranch(Net, n);
        Net.BranchStartNode[n] = static_cast<std::int16_t>(a);
        Net.BranchEndNode[n] = static_cast<std::int16_t>(b);
        Net.BranchLength[n] = 100;
        InsertBranchEdgeTurns(Net, n);
    }
    w->Storage().Doc.SymbolLinks = {TLink(1, 50, QStringLiteral("Branch"))};
    TViewport &view = w->View();
    view.ZoomStep = LastZoomStep;
    view.Zoom = 2;
    view.ScrollX = -50;
    view.ScrollY = -50;
    const auto centre = [&w] { return w->PaintBox()->Image().pixelColor(150, 50); };

    w->Redraw();
    EXPECT_NE(centre(), QColor(1, 0, 0)) << "thin airways carry no symbols";

    w->Action(QStringLiteral("mnuThickBr"))->setChecked(true);
    w->Redraw();
    // The square's colour is the number the symbol was told it stands on.
    EXPECT_EQ(centre(), QColor(1, 0, 0));

    w->Action(QStringLiteral("mnuSymbols"))->setChecked(false);
    w->Redraw();
    EXPECT_NE(centre(), QColor(1, 0, 0));
    EXPECT_EQ(w->Storage().Doc.SymbolLinks.size(), 1u);
}

} // namespace
