#include "../../report/build_fixture.h"

#include "designer/design_editing_rules.h"
#include "designer/design_state.h"
#include "designer/ui/design_page.h"
#include "designer/ui/designer_dialog_hooks.h"
#include "designer/ui/dock.h"
#include "designer/ui/frm_insp.h"
#include "designer/ui/frm_designer.h"
#include "platform/prompt.h"
#include "report/ui/frm_preview.h"
#include "report/ui/speed_button.h"

#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtGui/QMouseEvent>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QPlainTextEdit>

namespace {

class TAsked : public TPrompt
{
public:
    QStringList Asked;
    int Answer = idNo;
    int MessageBox(const QString &text, const QString &, int) override
    {
        Asked << text;
        return Answer;
    }
};

class PageEditing : public ReportBuild
{
protected:
    void SetUp() override
    {
        ReportBuild::SetUp();
        previous = SetPrompt(&prompt);
        InstallReportDesigner();
        first = CurrentDesignerForm;
        TfrPage &page = Page();
        Band(page, btMasterData, 0, 100, QStringLiteral("2"), 2);
        Memo(page, 20, 20, 100, 17, QStringLiteral("[LINE#]"));
        Report.PrepareReport();
        ASSERT_EQ(Report.PreparedPages.Count(), 2);
        Report.ModalPreview = false;
        preview = std::make_unique<TfrPreviewForm>();
        preview->ShowReport(Report);
    }
    void TearDown() override
    {
        if (linked) {
            SetPreviewOpener(nullptr);
            SetReportDestroyedHook(nullptr);
            RemoveDesignerDialogHooks();
        }
        preview.reset();
        RemoveReportDesigner();
        SetPrompt(previous);
        ReportBuild::TearDown();
    }
    // Ctrl+E in the preview, with `inside` run in the second designer.
    void EditFromPreview(const std::function<void(TfrDesignerForm &)> &inside, QWidget *on = nullptr)
    {
        QTimer wait;
        QObject::connect(&wait, &QTimer::timeout, [&] {
            TfrDesignerForm *second = CurrentDesignerForm;
            if (second == first || !second->isVisible())
                return;
            wait.stop();
            inside(*second);
            second->accept();
        });
        wait.start(10);
        QTest::keyClick(on ? on : preview->PageBox, Qt::Key_E, Qt::ControlModifier);
        wait.stop();
    }
    // The program's preview opener and the designer's text editor, as the
    // program links them.
    void LinkPreviewAndEditors()
    {
        InstallDesignerDialogHooks();
        InstallPreviewForm();
        linked = true;
    }
    // The text of the memo on a prepared page.
    QStringList PreparedText(int page)
    {
        TfrEMFPages &pages = Report.PreparedPages;
        pages.BuildPageModel(page);
        QStringList text;
        for (auto &view : pages[page].PageModel->TemplateObjects)
            if (view->ReportObjectType == gtMemo)
                text = view->Lines;
        pages[page].PageModel.reset();
        return text;
    }
    static TfrView *MemoOn(TfrPage &page)
    {
        for (auto &view : page.TemplateObjects)
            if (view->ReportObjectType == gtMemo)
                return view.get();
        return nullptr;
    }

    TAsked prompt;
    bool linked = false;
    TPrompt *previous = nullptr;
    TfrDesignerForm *first = nullptr;
    std::unique_ptr<TfrPreviewForm> preview;
};

} // namespace

TEST_F(PageEditing, SecondDesignerAsksOnlyAfterAChange)
{
    bool opened = false;
    EditFromPreview([&](TfrDesignerForm &second) {
        opened = true;
        EXPECT_NE(&second, first);
        EXPECT_FALSE(second.FirstInstance);
        EXPECT_EQ(second.windowTitle(), QStringLiteral("Дизайнер"));
        EXPECT_FALSE(second.Button(QStringLiteral("PgB1"))->isEnabled());
        EXPECT_FALSE(second.Button(QStringLiteral("PgB2"))->isEnabled());
        EXPECT_FALSE(second.Button(QStringLiteral("FileBtn4"))->isEnabled());
        EXPECT_TRUE(second.Panel6->isHidden());
    });
    EXPECT_TRUE(opened);
    EXPECT_TRUE(prompt.Asked.isEmpty());
    EXPECT_EQ(CurrentDesignerForm, first);

    EditFromPreview([](TfrDesignerForm &second) { second.RemovePage(0); });
    EXPECT_EQ(prompt.Asked, QStringList{QStringLiteral("Сохранить изменения?")});
    EXPECT_EQ(CurrentDesignerForm, first);

    // Closed by "Закрыть" or "Выход" after a change: the preview's question
    // alone, not the designer's too.
    for (const char *close : {"ExitB", "N10"}) {
        SCOPED_TRACE(close);
        prompt.Asked.clear();
        EditFromPreview([close](TfrDesignerForm &second) {
            second.RemovePage(0);
            if (TfrTBButton *b = second.Button(QLatin1String(close)))
                QTest::mouseClick(b, Qt::LeftButton);
            else
                second.Item(QLatin1String(close))->trigger();
            EXPECT_FALSE(second.isVisible());
        });
        EXPECT_EQ(prompt.Asked, QStringList{QStringLiteral("Сохранить изменения?")});
    }
}

TEST_F(PageEditing, EditsReachThePreparedPageInEveryNewPreview)
{
    LinkPreviewAndEditors();
    const QString original = PreparedText(0).value(0);
    // Selects the memo, gives it `text` through the inspector's text editor,
    // then undoes, redoes, copies and pastes, all on the shown page.
    const auto edit = [&](TfrDesignerForm &second, const QString &text) {
        ASSERT_NE(second.Page, nullptr);
        EXPECT_NE(second.Page, first->Page);
        TfrView *memo = MemoOn(*second.Page);
        ASSERT_NE(memo, nullptr);
        EXPECT_EQ(memo->Lines, QStringList{original});
        const QPoint at(memo->Left + 5, memo->Top + 5);
        const auto select = [&] {
            QMouseEvent move(QEvent::MouseMove, at, second.PageView->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
            QApplication::sendEvent(second.PageView, &move);
            QTest::mouseClick(second.PageView, Qt::LeftButton, {}, at);
            ASSERT_EQ(SelectedCount, 1);
        };
        select();
        auto *wait = new QTimer;
        QObject::connect(wait, &QTimer::timeout, [wait, text, &second] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || dialog == &second)
                return;
            wait->stop();
            wait->deleteLater();
            dialog->findChildren<QPlainTextEdit *>().value(0)->setPlainText(text);
            dialog->accept();
        });
        wait->start(5);
        second.Inspector->SelectRow(irMemo);
        second.Inspector->SpeedButton1->Click();
        EXPECT_EQ(MemoOn(*second.Page)->Lines, QStringList{text});
        const auto key = [&second](Qt::Key k) {
            if (QApplication::activeWindow() != &second) {
                second.activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(&second));
            }
            QTest::keyClick(&second, k, Qt::ControlModifier);
        };
        key(Qt::Key_Z);
        EXPECT_EQ(MemoOn(*second.Page)->Lines, QStringList{original});
        key(Qt::Key_Y);
        EXPECT_EQ(MemoOn(*second.Page)->Lines, QStringList{text});
        const size_t count = second.Page->TemplateObjects.size();
        // The inspector's editor keeps the focus: the toolbar copies and pastes.
        select();
        QTest::mouseClick(second.Button(QStringLiteral("CopyB")), Qt::LeftButton);
        QTest::mouseClick(second.Button(QStringLiteral("PstB")), Qt::LeftButton);
        EXPECT_EQ(second.Page->TemplateObjects.size(), count + 1);
        key(Qt::Key_Z);
        EXPECT_EQ(second.Page->TemplateObjects.size(), count);
    };

    prompt.Answer = idYes;
    EditFromPreview([&](TfrDesignerForm &second) { edit(second, QStringLiteral("первая правка")); });
    EXPECT_EQ(PreparedText(0), QStringList{QStringLiteral("первая правка")});
    EXPECT_EQ(PreparedText(1), QStringList{QStringLiteral("2")});
    // The template keeps its own text.
    EXPECT_EQ(MemoOn(Report.TemplatePages.GetPage(0))->Lines, QStringList{QStringLiteral("[LINE#]")});

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("edited.frp"));
    Report.SavePreparedReport(file);
    Report.PreparedPages.Clear();
    Report.LoadPreparedReport(file);
    EXPECT_EQ(PreparedText(0), QStringList{QStringLiteral("первая правка")});

    // Each preview opened after the last one closed edits its page again,
    // the modal one of the program's windows as well as a modeless one.
    preview.reset();
    const struct
    {
        bool Modal;
        QString Text;
    } runs[] = {{false, QStringLiteral("вторая")}, {false, QStringLiteral("третья")},
                {true, QStringLiteral("четвёртая")}, {true, QStringLiteral("пятая")}};
    for (const auto &run : runs) {
        Report.ModalPreview = run.Modal;
        bool opened = false;
        bool closed = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            TfrPreviewForm *shown = nullptr;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *form = dynamic_cast<TfrPreviewForm *>(w); form && form->isVisible())
                    shown = form;
            if (!shown)
                return;
            poll.stop();
            EXPECT_TRUE(shown->PageEditing());
            EditFromPreview(
                [&](TfrDesignerForm &second) {
                    opened = true;
                    edit(second, run.Text);
                },
                shown->PageBox);
            EXPECT_EQ(PreparedText(0), QStringList{run.Text});
            QTest::keyClick(shown->PageBox, Qt::Key_Escape);
            closed = true;
        });
        poll.start(10);
        Report.ShowReport();
        EXPECT_TRUE(QTest::qWaitFor([&] { return closed; }, 5000));
        EXPECT_TRUE(opened) << run.Text.toStdString();
        QTest::qWait(1);
    }
}

TEST_F(PageEditing, PageEditedFromTheDesignersPreviewLeavesTheTemplateToTheDesigner)
{
    LinkPreviewAndEditors();
    preview.reset();
    prompt.Answer = idYes;
    bool edited = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (CurrentDesignerForm != first || !first->isVisible())
            return;
        poll.stop();
        // The designer's own preview, and Ctrl+E in it.
        QTimer inPreview;
        QObject::connect(&inPreview, &QTimer::timeout, [&] {
            auto *shown = dynamic_cast<TfrPreviewForm *>(QApplication::activeModalWidget());
            if (!shown)
                return;
            inPreview.stop();
            EditFromPreview(
                [&](TfrDesignerForm &second) {
                    MemoOn(*second.Page)->Lines = QStringList{QStringLiteral("на странице")};
                    second.Modified = true;
                    edited = true;
                },
                shown->PageBox);
            EXPECT_EQ(PreparedText(0), QStringList{QStringLiteral("на странице")});
            QTest::keyClick(shown->PageBox, Qt::Key_Escape);
        });
        inPreview.start(10);
        first->FileBtn4Click();
        // Back in the designer: its page is the template's, with the template's text.
        EXPECT_EQ(CurrentDesignerForm, first);
        ASSERT_EQ(first->Page, &Report.TemplatePages.GetPage(0));
        EXPECT_EQ(MemoOn(*first->Page)->Lines, QStringList{QStringLiteral("[LINE#]")});
        first->accept();
    });
    poll.start(10);
    Report.DesignReport();
    EXPECT_TRUE(edited);
    EXPECT_EQ(MemoOn(Report.TemplatePages.GetPage(0))->Lines, QStringList{QStringLiteral("[LINE#]")});
}
