// The report designer opened the ways the program opens it: from the report
// manager, itself modal over the main window, and from the "Оформление" of
// the studies. Its own windows must take clicks and keys at once.
#include "calc/depressiogram.h"
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
#include "copy_folder.h"
#include "modal.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "report/engine.h"
#include "report/report_page.h"
#include "report/ui/speed_button.h"
#include "shell/ui/frm_main.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtGui/QMouseEvent>
#include <QtGui/QWindow>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

QByteArray Bytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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

const auto IsDesigner = [](QWidget *modal) { return modal == CurrentDesignerForm; };

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
        // A copy: a designer's save writes into the folder.
        CopyFolder(QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты"), reports.path());
        w->Options().ReportsLocation = reports.path();
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

    // Opens the designer as the program does, from the report manager's
    // "Изменить..." or from the depressiogram's "Оформление", and runs
    // `inside` while it is the modal window; gives the template's file.
    QString Design(bool fromManager, const std::function<void(TfrDesignerForm &)> &inside)
    {
        TOnModal inDesigner(IsDesigner, [&](QWidget &modal) {
            inside(static_cast<TfrDesignerForm &>(modal));
            // A failed check leaves it open: closed without a question.
            if (modal.isVisible())
                static_cast<QDialog &>(modal).reject();
        });
        if (fromManager) {
            TOnModal inManager([](QWidget *modal) { return qobject_cast<TfrmReports1 *>(modal) != nullptr; },
                               [](QWidget &modal) {
                                   auto &manager = static_cast<TfrmReports1 &>(modal);
                                   EXPECT_TRUE(manager.SelectTemplate(StandardReportTemplate));
                                   QTest::mouseClick(manager.btnDesign, Qt::LeftButton);
                                   CloseOpenModals();
                               });
            w->Action(QStringLiteral("mnuFastRep"))->trigger();
            EXPECT_TRUE(inManager.Ran);
        } else {
            TOnModal inStudy([](QWidget *modal) { return qobject_cast<TfrmDepres *>(modal) != nullptr; },
                             [](QWidget &modal) {
                                 QTest::mouseClick(static_cast<TfrmDepres &>(modal).btnDesig, Qt::LeftButton);
                                 CloseOpenModals();
                             });
            w->Action(QStringLiteral("TaskDepressiogram"))->trigger();
            EXPECT_TRUE(inStudy.Ran);
        }
        EXPECT_TRUE(inDesigner.Ran);
        return fromManager ? reports.filePath(StandardReportTemplate)
                           : TDepressiogram::TemplatePath(reports.path());
    }

    // Picks the first text object of the page with a click on it.
    static TfrView *ClickFirstText(TfrDesignerForm &form)
    {
        TfrView *text = nullptr;
        for (const auto &v : form.Page->TemplateObjects)
            if (v->ReportObjectType == gtMemo && !text)
                text = v.get();
        if (!text)
            return nullptr;
        const QPoint at(text->Left + 3, text->Top + 3);
        QMouseEvent move(QEvent::MouseMove, at, form.PageView->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(form.PageView, &move);
        QTest::mouseClick(form.PageView, Qt::LeftButton, {}, at);
        return SelectedCount == 1 && text->Selected ? text : nullptr;
    }

    // The window has the keys, as after a click into it. (A tool window
    // counts as active with its owner: wait for the keys themselves.)
    static void KeysTo(QWidget &window)
    {
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }));
    }

    TfrEngineScope engine;
    QTemporaryDir config, folder, reports;
    TScriptedPrompt prompt;
    std::unique_ptr<TfrmMain> w;
};


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

// A text deleted in the designer, then the designer closed by "Закрыть",
// "Выход" or its window frame: the answer to "Сохранить изменения?" decides
// whether the file gets the change, and "Отмена" keeps the designer open.
TEST_F(DesignerFromDialogs, ClosingAChangedTemplateAsksFromEveryHost)
{
    enum TClose { ByButton, ByMenu, ByFrame };
    struct TCase
    {
        const char *Name;
        bool Change;
        int Answer;  // 0: no question expected
        TClose How;
        bool Closes, Saved;
    };
    const TCase cases[] = {
        {"Да saves and closes", true, idYes, ByButton, true, true},
        {"Нет closes without saving", true, idNo, ByMenu, true, false},
        {"Отмена keeps the designer", true, idCancel, ByFrame, false, false},
        {"unchanged closes at once", false, 0, ByButton, true, false},
    };
    ASSERT_TRUE(CalcAir(w.get()));
    for (bool fromManager : {true, false}) {
        for (const TCase &c : cases) {
            SCOPED_TRACE(std::string(fromManager ? "report manager, " : "Оформление, ") + c.Name);
            std::size_t textsBefore = 0, textsAfter = 0;
            QByteArray before;
            const QString file = Design(fromManager, [&](TfrDesignerForm &form) {
                const QString path = form.FileName;
                before = Bytes(path);
                ASSERT_FALSE(before.isEmpty()) << qPrintable(path);
                KeysTo(form);
                if (c.Change) {
                    ASSERT_NE(ClickFirstText(form), nullptr);
                    textsBefore = form.Page->TemplateObjects.size();
                    QTest::keyClick(form.windowHandle(), Qt::Key_Delete);
                    ASSERT_EQ(form.Page->TemplateObjects.size(), textsBefore - 1);
                }
                prompt.Asked.clear();
                if (c.Answer)
                    prompt.Answer(c.Answer);
                switch (c.How) {
                case ByButton: QTest::mouseClick(form.Button(QStringLiteral("ExitB")), Qt::LeftButton); break;
                case ByMenu: form.Item(QStringLiteral("N10"))->trigger(); break;
                case ByFrame: form.close(); break;
                }
                if (c.Answer) {
                    ASSERT_EQ(prompt.Asked.size(), 1u);
                    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Сохранить изменения?"));
                    EXPECT_EQ(prompt.Asked[0].Caption, QStringLiteral("Подтверждение"));
                    EXPECT_EQ(prompt.Asked[0].Flags, mb::YesNoCancel | mb::IconQuestion);
                } else {
                    EXPECT_TRUE(prompt.Asked.empty());
                }
                EXPECT_EQ(form.isVisible(), !c.Closes);
                if (form.isVisible()) {
                    // Still there with the change; "Нет" then lets it go.
                    EXPECT_EQ(form.Page->TemplateObjects.size(), textsBefore - 1);
                    EXPECT_EQ(Bytes(path), before);
                    prompt.Answer(idNo);
                    QTest::mouseClick(form.Button(QStringLiteral("ExitB")), Qt::LeftButton);
                    EXPECT_FALSE(form.isVisible());
                }
            });
            if (c.Saved) {
                EXPECT_NE(Bytes(file), before);
                // The saved file holds the template without the text.
                Design(fromManager, [&](TfrDesignerForm &form) {
                    textsAfter = form.Page->TemplateObjects.size();
                    form.accept();
                });
                EXPECT_EQ(textsAfter, textsBefore - 1);
                ASSERT_TRUE(QFile::remove(file));
                ASSERT_TRUE(QFile::copy(QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты/")
                                            + QDir(reports.path()).relativeFilePath(file),
                                        file));
            } else {
                EXPECT_EQ(Bytes(file), before);
            }
        }
    }
}

// "Текст" and "Прямоугольник" floating: a size or a frame width typed into
// their boxes applies by Enter, Esc closes nothing, and the designer's keys
// (Ctrl+digit, the menu's Ctrl+S) work there as they do docked.
TEST_F(DesignerFromDialogs, EnterInAFloatingToolbarsBoxApplies)
{
    {
        TSettingsStore store(TSettingsScope::User);
        for (auto [name, y] : {std::pair{"Panel3", 400}, std::pair{"Panel1", 460}}) {
            TToolBarState floating;
            floating.Floating = true;
            floating.X = 20;
            floating.Y = y;
            floating.Width = 300;
            floating.Height = 26;
            floating.DockName = QStringLiteral("frDock1");
            WriteToolBarState(store, QLatin1String(name), floating);
        }
    }
    ASSERT_TRUE(CalcAir(w.get()));
    for (bool fromManager : {true, false}) {
        SCOPED_TRACE(fromManager ? "report manager" : "Оформление");
        Design(fromManager, [&](TfrDesignerForm &form) {
            ASSERT_TRUE(form.Panel3->Floating && form.Panel3->FloatForm && form.Panel3->FloatForm->isVisible());
            ASSERT_TRUE(form.Panel1->Floating && form.Panel1->FloatForm && form.Panel1->FloatForm->isVisible());
            KeysTo(form);
            auto *text = static_cast<TfrMemoView *>(ClickFirstText(form));
            ASSERT_NE(text, nullptr);
            const QString name = text->Name;
            // Types into a box of a floating toolbar as a user does: a click
            // into it, its window takes the keys, the old text replaced.
            const auto typeInto = [&](QWidget *box, const char *value) {
                QWidget *floatWindow = box->window();
                QWindow *handle = floatWindow->windowHandle();
                QTest::mouseClick(handle, Qt::LeftButton, {}, handle->mapFromGlobal(box->mapToGlobal(QPoint(4, 4))));
                KeysTo(*floatWindow);
                EXPECT_TRUE(box->hasFocus() || box->isAncestorOf(QApplication::focusWidget()));
                QTest::keyClick(handle, Qt::Key_A, Qt::ControlModifier);
                for (const char *c = value; *c; ++c)
                    QTest::keyClick(handle, *c);
                QTest::keyClick(handle, Qt::Key_Return);
            };

            typeInto(form.C3, "13");
            EXPECT_EQ(text->FontSize, 13);
            EXPECT_EQ(form.UndoList.Count(), 1);
            // The keys are the designer's again.
            EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &form; }));

            typeInto(form.E1, "3");
            EXPECT_EQ(text->FrameWidth, 3);
            EXPECT_EQ(form.UndoList.Count(), 2);

            QWindow *rectangle = form.Panel1->FloatForm->windowHandle();
            KeysTo(*form.Panel1->FloatForm);
            QTest::keyClick(rectangle, Qt::Key_Escape);
            EXPECT_TRUE(form.isVisible());
            EXPECT_TRUE(form.Panel1->FloatForm->isVisible());
            QTest::keyClick(rectangle, Qt::Key_5, Qt::ControlModifier);
            EXPECT_EQ(text->FrameWidth, 5);
            // Ctrl+S of the menu saves from there too: the file has the
            // change, and closing has nothing to ask.
            const QByteArray before = Bytes(form.FileName);
            KeysTo(*form.Panel1->FloatForm);
            QTest::keyClick(rectangle, Qt::Key_S, Qt::ControlModifier);
            EXPECT_FALSE(form.FileModified);
            EXPECT_NE(Bytes(form.FileName), before);
            prompt.Asked.clear();
            QTest::mouseClick(form.Button(QStringLiteral("ExitB")), Qt::LeftButton);
            EXPECT_TRUE(prompt.Asked.empty());
            EXPECT_FALSE(form.isVisible());
        });
    }
}
