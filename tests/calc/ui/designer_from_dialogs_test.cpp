// The report designer opened the ways the program opens it: from the report
// manager, itself modal over the main window, and from the "Оформление" of
// the studies. Its own windows must take clicks and keys at once.
#include "calc/solver.h"
#include "calc/ui/air_commands.h"
#include "calc/ui/frm_depres.h"
#include "calc/ui/frm_reports1.h"
#include "calc/ui/frm_zakor.h"
#include "calc/ui/node_commands.h"
#include "designer/design_editing_rules.h"
#include "designer/design_state.h"
#include "designer/designer_core.h"
#include "designer/ui/design_page.h"
#include "designer/ui/designer_dialog_hooks.h"
#include "designer/ui/dock.h"
#include "designer/ui/frm_designer.h"
#include "designer/ui/frm_insp.h"
#include "modal.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "report/engine.h"
#include "report/report_page.h"
#include "report/ui/speed_button.h"
#include "shell/ui/frm_main.h"

#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtGui/QWindow>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Runs `act` once the active modal window satisfies `is`; the timer dies
// with the call that opens the window.
class TOnModal
{
public:
    TOnModal(std::function<bool(QWidget *)> is, std::function<void(QWidget &)> act)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this, is, act] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || !is(modal))
                return;
            m_timer.stop();
            Ran = true;
            act(*modal);
        });
        m_timer.start(5);
    }
    bool Ran = false;

private:
    QTimer m_timer;
};

class DesignerFromDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("TUNVEX_CONFIG_DIR", config.path().toUtf8());
        // The inspector and the standard toolbar as a user left them:
        // the inspector shown, the toolbar floating.
        TSettingsStore store(TSettingsScope::User);
        WriteFormState(store, QStringLiteral("frInspForm"), {true, 600, 120, 186, 160});
        TToolBarState floating;
        floating.Floating = true;
        floating.X = 300;
        floating.Y = 300;
        floating.Width = 500;
        floating.Height = 26;
        floating.DockName = QStringLiteral("frDock1");
        WriteToolBarState(store, QStringLiteral("Panel2"), floating);

        ClearAllItems(Net);
        InstallDesignerDialogHooks();
        InstallReportDesigner();
        w = std::make_unique<TfrmMain>(QStringList{QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine")},
                                       folder.path());
        w->Options().ReportsLocation = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты");
        InstallAirDistributionCommands(*w);
        InstallNodePressureCommands(*w);
        w->FormActivate();
        ASSERT_GT(BranchCount(Net), 10);
    }
    void TearDown() override
    {
        w.reset();
        RemoveReportDesigner();
        RemoveDesignerDialogHooks();
        ClearAllItems(Net);
    }

    // Inside the designer: a click on the inspector's "Left" row and keys
    // typed there reach it, and a click on the floating toolbar's button
    // reaches that button, all through the window system as a user's would.
    static void ExpectLiveToolWindows(TfrDesignerForm &form)
    {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        TfrInspForm &insp = *form.Inspector;
        ASSERT_TRUE(insp.isVisible());
        TfrToolBar &standard = *form.Panel2;
        ASSERT_TRUE(standard.Floating && standard.FloatForm && standard.FloatForm->isVisible());

        // "Выделить все" on the floating toolbar.
        TfrTBButton *all = form.Button(QStringLiteral("SelAllB"));
        QWindow *floatWindow = standard.FloatForm->windowHandle();
        QTest::mouseClick(floatWindow, Qt::LeftButton, {},
                          floatWindow->mapFromGlobal(all->mapToGlobal(all->rect().center())));
        ASSERT_GT(SelectedCount, 1);
        // One text object of the template alone.
        for (const auto &v : form.Page->TemplateObjects)
            v->Selected = false;
        TfrView *text = nullptr;
        for (const auto &v : form.Page->TemplateObjects)
            if (v->ReportObjectType == gtMemo && !text)
                text = v.get();
        ASSERT_TRUE(text);
        text->Selected = true;
        SelectedCount = 1;
        form.SyncToolbars();
        const std::size_t objects = form.Page->TemplateObjects.size();

        QWindow *inspWindow = insp.windowHandle();
        const QPoint row(insp.SplitX / 2, irLeft * insp.RowHeight + insp.RowHeight / 2);
        QTest::mouseClick(inspWindow, Qt::LeftButton, {}, inspWindow->mapFromGlobal(insp.PaintBox->mapToGlobal(row)));
        EXPECT_EQ(insp.ItemIndex, irLeft);
        // The window manager gives the clicked window the keys.
        insp.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&insp));
        QTest::keyClick(inspWindow, Qt::Key_Delete);
        EXPECT_EQ(insp.Edit1->text(), QString());
        EXPECT_EQ(form.Page->TemplateObjects.size(), objects);
        QTest::keyClick(inspWindow, Qt::Key_2);
        QTest::keyClick(inspWindow, Qt::Key_0);
        QTest::keyClick(inspWindow, Qt::Key_Return);
        EXPECT_EQ(form.UndoList.Count(), 1);
        EXPECT_EQ(form.InspValues[irLeft], QStringLiteral("20"));
    }

    TfrEngineScope engine;
    QTemporaryDir config, folder;
    TScriptedPrompt prompt;
    std::unique_ptr<TfrmMain> w;
};

const auto IsDesigner = [](QWidget *modal) { return modal == CurrentDesignerForm; };


} // namespace

TEST_F(DesignerFromDialogs, FromTheReportManager)
{
    TOnModal inDesigner(IsDesigner, [](QWidget &modal) {
        auto &form = static_cast<TfrDesignerForm &>(modal);
        ExpectLiveToolWindows(form);
        form.accept();
    });
    TOnModal inManager([](QWidget *modal) { return qobject_cast<TfrmReports1 *>(modal) != nullptr; },
                       [](QWidget &modal) {
                           auto &manager = static_cast<TfrmReports1 &>(modal);
                           ASSERT_TRUE(manager.SelectTemplate(StandardReportTemplate));
                           QTest::mouseClick(manager.btnDesign, Qt::LeftButton);
                           manager.reject();
                       });
    w->Action(QStringLiteral("mnuFastRep"))->trigger();
    EXPECT_TRUE(inManager.Ran);
    EXPECT_TRUE(inDesigner.Ran);
}

TEST_F(DesignerFromDialogs, FromTheStudiesDesignButtons)
{
    const auto design = [](QPushButton *button) {
        ASSERT_TRUE(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
    };
    const std::pair<const char *, std::function<void(QWidget &)>> studies[] = {
        {"TaskShorting",
         [&](QWidget &modal) {
             auto &f = static_cast<TfrmZakor &>(modal);
             f.Pages->setCurrentIndex(sctDoors);
             design(f.btnDesign);
         }},
        {"TaskDepressiogram", [&](QWidget &modal) { design(static_cast<TfrmDepres &>(modal).btnDesig); }},
    };
    // The short-circuiting study works on a solved network.
    ASSERT_TRUE(CalcAir(w.get()));
    for (const auto &[command, openDesigner] : studies) {
        SCOPED_TRACE(command);
        prompt.Answer(idOk);
        TOnModal inDesigner(IsDesigner, [](QWidget &modal) {
            auto &form = static_cast<TfrDesignerForm &>(modal);
            ExpectLiveToolWindows(form);
            form.accept();
        });
        TOnModal inStudy([](QWidget *modal) { return qobject_cast<TfrmZakor *>(modal) || qobject_cast<TfrmDepres *>(modal); },
                         [&](QWidget &modal) {
                             openDesigner(modal);
                             CloseOpenModals();
                         });
        w->Action(QLatin1String(command))->trigger();
        EXPECT_TRUE(inStudy.Ran);
        EXPECT_TRUE(inDesigner.Ran);
    }
}
