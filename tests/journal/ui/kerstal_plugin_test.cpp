// Kerstal.so loaded as the program loads it, into this test program, which
// exports the program's plug-in API over the program's tables.
#include "designer/design_state.h"
#include "designer/designer_core.h"
#include "designer/ui/designer_dialog_hooks.h"
#include "designer/ui/frm_designer.h"
#include "kerstal_fixture.h"
#include "platform/codepage.h"
#include "report/engine.h"
#include "report/report_objects.h"

#include <QtCore/QFile>
#include <QtCore/QLibrary>
#include <QtGui/QAction>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QTreeWidget>

TEST_F(KerstalTest, PluginRunsItsWindowAndKeepsItsErrorsToItself)
{
    QLibrary library(QStringLiteral(KERSTAL_PLUGIN));
    library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    ASSERT_TRUE(library.load()) << qPrintable(library.errorString());
    using TGetPlugName = const char *(*)();
    using TRunPlugIn = void (*)();
    const auto getName = reinterpret_cast<TGetPlugName>(library.resolve("GetPlugName"));
    const auto run = reinterpret_cast<TRunPlugIn>(library.resolve("RunPlugIn"));
    ASSERT_TRUE(getName && run);
    EXPECT_EQ(DecodeCp1251(QByteArray(getName())), QStringLiteral("Вентжурнал..."));

    // The last folder holds a journal that ends early: the window says so in
    // a message box of its own, opens, and closes; nothing reaches here.
    QFile damaged(Folder.filePath(QStringLiteral("Обрыв.WVJ")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("xqWVJ\x01\x00\x09\x00\x10", 10);
    damaged.close();
    OpenFolderAtStart();

    QStringList seen;
    std::function<void()> step = [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            seen << QStringLiteral("box: ") + box->text();
            box->accept();
        } else if (modal && modal->objectName() == QStringLiteral("frmKerstal")) {
            seen << QStringLiteral("window: ") + modal->windowTitle();
            modal->close();
            return;
        }
        QTimer::singleShot(5, step);
    };
    QTimer::singleShot(0, step);
    run();
    ASSERT_EQ(seen.size(), 2) << qPrintable(seen.join(u'\n'));
    EXPECT_TRUE(seen[0].contains(QStringLiteral("Обрыв.WVJ"))) << qPrintable(seen[0]);
    EXPECT_EQ(seen[1], QStringLiteral("window: Вентиляционный журнал (Форма 2) - Kerstal.DLL v1.0.3"));
    // The window wrote its settings on its way out.
    EXPECT_EQ(TVJOptionSet().CurDir, Folder.path());
    // Loaded plug-ins stay loaded for the run.
}

// The test program has its own designer, as the program has. The plug-in's
// designer is another one: showing, closing and freeing it leaves the
// program's form, its link to the engine and its clipboard as they were.
TEST_F(KerstalTest, PluginDesignerIsItsOwnAndLeavesTheProgramsDesignerWorking)
{
    TfrEngineScope engine;
    InstallDesignerDialogHooks();
    InstallReportDesigner();
    TfrDesignerForm *const host = CurrentDesignerForm;
    ASSERT_NE(host, nullptr);
    DesignClipboard.push_back(std::make_unique<TfrMemoView>());

    QLibrary library(QStringLiteral(KERSTAL_PLUGIN));
    ASSERT_TRUE(library.load()) << qPrintable(library.errorString());
    const auto run = reinterpret_cast<void (*)()>(library.resolve("RunPlugIn"));
    ASSERT_TRUE(run);
    WriteJournal(QStringLiteral("A"), {{{1, 2}}});
    OpenFolderAtStart();
    TVJOptionSet options;
    options.TypeVJ = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты/Вентжурнал.frf");
    options.Write();

    // Whatever the plug-in's designer is, it is not the program's.
    QWidget *shownDesigner = nullptr;
    QString title;
    QWidget *hostFormMeanwhile = nullptr, *hostInstanceMeanwhile = nullptr;
    std::function<void()> step = [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == QStringLiteral("frDesignerForm")) {
            shownDesigner = modal;
            title = modal->windowTitle();
            hostFormMeanwhile = CurrentDesignerForm;
            hostInstanceMeanwhile = dynamic_cast<QWidget *>(Engine().ReportDesignerInstance);
            qobject_cast<QDialog *>(modal)->reject();
        } else if (modal && modal->objectName() == QStringLiteral("frmKerstal")) {
            if (shownDesigner) {
                modal->close();
                return;
            }
            auto *tree = modal->findChild<QTreeWidget *>(QStringLiteral("tvKerstal"));
            auto *design = modal->findChild<QAction *>(QStringLiteral("ReportDesigner"));
            if (tree && tree->topLevelItemCount() && design) {
                tree->setCurrentItem(tree->topLevelItem(0));
                QTimer::singleShot(5, step);
                design->trigger();
                return;
            }
        }
        QTimer::singleShot(5, step);
    };
    QTimer::singleShot(0, step);
    run();

    ASSERT_NE(shownDesigner, nullptr);
    EXPECT_EQ(title, QStringLiteral("Дизайнер - Вентжурнал.frf"));
    EXPECT_NE(shownDesigner, host);
    EXPECT_EQ(hostFormMeanwhile, host);
    EXPECT_EQ(hostInstanceMeanwhile, host);
    // The plug-in freed its designer and emptied its clipboard on its way out.
    EXPECT_EQ(CurrentDesignerForm, host);
    EXPECT_EQ(Engine().ReportDesignerInstance, host);
    EXPECT_EQ(DesignClipboard.size(), 1u);
    // Its designer kept its layout where the program's keeps its own.
    EXPECT_TRUE(TSettingsStore(TSettingsScope::User).KeyExists(LibraryRegistryRoot() + QStringLiteral("\\ToolBar\\Panel1")));

    bool hostShown = false;
    QTimer::singleShot(0, [&] {
        hostShown = QApplication::activeModalWidget() == host;
        host->reject();
    });
    TfrReport report;
    report.DesignReport();
    EXPECT_TRUE(hostShown);

    ClearDesignClipboard();
    RemoveReportDesigner();
    RemoveDesignerDialogHooks();
}
