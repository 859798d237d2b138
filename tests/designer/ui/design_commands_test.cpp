#include "designer/design_state.h"
#include "designer/ui/design_page.h"
#include "designer/ui/designer_dialog_hooks.h"
#include "designer/ui/dock.h"
#include "designer/ui/frm_designer.h"
#include "designer/ui/frm_insp.h"
#include "platform/help.h"
#include "platform/prompt.h"
#include "platform/ui/file_dialogs.h"
#include "report/engine.h"
#include "report/report_page.h"
#include "report/template_file.h"
#include "report/text_object.h"
#include "report/ui/speed_button.h"
#include "template_in_code.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QTabBar>

#include <QtCore/QDirIterator>

#include <gtest/gtest.h>

namespace {

const QString Shipped = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты/Стандартный отчет без сетки.frf");

class TAnswers : public TPrompt
{
public:
    QList<int> Answers;
    QStringList Asked;
    int MessageBox(const QString &text, const QString &, int) override
    {
        Asked << text;
        return Answers.isEmpty() ? idOk : Answers.takeFirst();
    }
};

QByteArray Bytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Answers the next file dialog with `path` (and the filter of that index),
// or cancels it for an empty path. Only that dialog is closed.
void InFileDialog(const QString &path, int filter = -1)
{
    auto *wait = new QTimer;
    QObject::connect(wait, &QTimer::timeout, [wait, path, filter] {
        QFileDialog *dialog = ShownFileDialog();
        if (!dialog || !dialog->isVisible())
            return;
        wait->stop();
        wait->deleteLater();
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        if (filter >= 0)
            dialog->selectNameFilter(dialog->nameFilters().value(filter));
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept();
        if (dialog->isVisible())
            dialog->reject();
    });
    wait->start(5);
}

class DesignCommandsUi : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        previous = SetPrompt(&prompt);
        InstallDesignerDialogHooks();
        InstallReportDesigner();
        form = CurrentDesignerForm;
        ClearDesignClipboard();
    }
    void TearDown() override
    {
        ClearDesignClipboard();
        RemoveReportDesigner();
        RemoveDesignerDialogHooks();
        SetPrompt(previous);
    }
    // Shows the designer as DesignReport does and runs `inside` while it is up.
    void Design(const std::function<void()> &inside)
    {
        QTimer::singleShot(0, form, [this, inside] {
            form->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(form));
            inside();
            form->accept();
        });
        report.DesignReport();
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        // A closed dialog may leave no window active.
        if (QApplication::activeWindow() != form) {
            form->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(form));
        }
        QTest::keyClick(form, Qt::Key(key), modifiers);
    }
    // Ctrl+O on the file. Bands are drawn as wide as the page, and that is
    // what a save writes: the page is drawn before anything is saved.
    void Open(const QString &file)
    {
        InFileDialog(file);
        Key(Qt::Key_O);
        form->PageView->repaint();
    }
    TfrMemoView &AddMemo(const QString &name, int left, int top, bool selected)
    {
        // Made as the designer makes objects, with an identity of their own.
        std::unique_ptr<TfrView> view = CreateReportObject(gtMemo, QString());
        auto *memo = static_cast<TfrMemoView *>(view.get());
        memo->Name = name;
        memo->Left = left;
        memo->Top = top;
        memo->Width = 100;
        memo->Height = 20;
        memo->Selected = selected;
        SelectedCount += selected;
        form->Page->TemplateObjects.push_back(std::move(view));
        return *memo;
    }
    QStringList Names() const
    {
        QStringList names;
        for (const auto &v : form->Page->TemplateObjects)
            names << v->Name;
        return names;
    }
    QString Path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    // The shipped template in the test folder under a name of ours.
    QString Copied(const char *name) const
    {
        QFile::copy(Shipped, Path(name));
        return Path(name);
    }

    QTemporaryDir dir;
    TfrEngineScope engine;
    TAnswers prompt;
    TPrompt *previous = nullptr;
    TfrReport report;
    TfrDesignerForm *form = nullptr;
};

} // namespace

TEST_F(DesignCommandsUi, OpenedTemplateSavesByteForByte)
{
    const QString file = Copied("form.frf");
    Design([&] {
        Open(file);
        EXPECT_EQ(form->FileName, file);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Дизайнер - form.frf"));
        EXPECT_EQ(form->CurPage, 0);
        EXPECT_FALSE(form->Page->TemplateObjects.empty());
        QFile::remove(file);
        Key(Qt::Key_S);
        EXPECT_TRUE(DialogConfirmed);
    });
    EXPECT_EQ(Bytes(file), Bytes(Shipped));
}

TEST_F(DesignCommandsUi, EveryShippedTemplateSavesUnchanged)
{
    QStringList shipped;
    QDirIterator it(QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты"), {QStringLiteral("*.frf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        shipped << it.next();
    ASSERT_GE(shipped.size(), 10);
    Design([&] {
        for (const QString &original : shipped) {
            const QString file = Path("copy.frf");
            QFile::remove(file);
            QFile::copy(original, file);
            Open(file);
            QFile::remove(file);
            Key(Qt::Key_S);
            EXPECT_EQ(Bytes(file), Bytes(original)) << original.toStdString();
        }
    });
}

TEST_F(DesignCommandsUi, EditedTemplateComesBackAsEditedAndSavesTheSame)
{
    const QString file = Copied("form.frf");
    QStringList edited;
    QList<int> lefts;
    Design([&] {
        Open(file);
        TfrPage &page = *form->Page;
        // Move the last object, bring the first non-band to the front, copy and paste one.
        TfrView *moved = page.TemplateObjects.back().get();
        moved->Left += 8;
        auto firstMemo = std::find_if(page.TemplateObjects.begin(), page.TemplateObjects.end(),
                                      [](const auto &v) { return v->ReportObjectType != gtBand; });
        ASSERT_NE(firstMemo, page.TemplateObjects.end());
        (*firstMemo)->Selected = true;
        SelectedCount = 1;
        form->EnableCommands();
        form->Item(QStringLiteral("N32"))->trigger();
        EXPECT_TRUE(page.TemplateObjects.back()->Selected);
        Key(Qt::Key_C);
        Key(Qt::Key_V);
        for (const auto &v : page.TemplateObjects) {
            edited << v->Name;
            lefts << v->Left;
        }
        InFileDialog(Path("report"), 0);
        form->Item(QStringLiteral("N17"))->trigger();
        EXPECT_EQ(form->FileName, Path("report.frf"));
    });
    const QByteArray saved = Bytes(Path("report.frf"));
    ASSERT_FALSE(saved.isEmpty());
    EXPECT_NE(saved, Bytes(Shipped));

    report.TemplatePages.Clear();
    Design([&] {
        Open(Path("report.frf"));
        QStringList names;
        QList<int> reread;
        for (const auto &v : form->Page->TemplateObjects) {
            names << v->Name;
            reread << v->Left;
        }
        EXPECT_EQ(names, edited);
        EXPECT_EQ(reread, lefts);
        QFile::remove(Path("report.frf"));
        Key(Qt::Key_S);
    });
    EXPECT_EQ(Bytes(Path("report.frf")), saved);
}

TEST_F(DesignCommandsUi, SaveOfUntitledIsSaveAsAndLaterSavesGoToTheChosenFile)
{
    report.TemplatePages.Add();
    Design([&] {
        AddMemo(QStringLiteral("Memo1"), 8, 8, false);
        EXPECT_EQ(form->FileName, QStringLiteral("Untitled"));
        // Cancelled: nothing written, nothing confirmed.
        InFileDialog(QString());
        Key(Qt::Key_S);
        EXPECT_FALSE(DialogConfirmed);
        EXPECT_EQ(form->FileName, QStringLiteral("Untitled"));

        InFileDialog(Path("report"), 0);
        Key(Qt::Key_S);
        EXPECT_TRUE(DialogConfirmed);
        EXPECT_EQ(form->FileName, Path("report.frf"));
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Дизайнер - report.frf"));
        const QByteArray first = Bytes(Path("report.frf"));
        EXPECT_FALSE(first.isEmpty());

        form->Page->TemplateObjects.back()->Left = 80;
        form->FileModified = true;
        Key(Qt::Key_S);
        EXPECT_FALSE(form->FileModified);
        EXPECT_NE(Bytes(Path("report.frf")), first);
        EXPECT_FALSE(QFile::exists(Path("report")));
    });
}

TEST_F(DesignCommandsUi, FailedReadsAndWritesChangeNothing)
{
    QFile bad(Path("bad.frf"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a template");
    bad.close();
    report.TemplatePages.Add();
    Design([&] {
        AddMemo(QStringLiteral("Keep"), 8, 8, false);
        form->SetFileName(Path("mine.frf"));
        InFileDialog(Path("bad.frf"));
        Key(Qt::Key_O);
        ASSERT_EQ(prompt.Asked.size(), 1);
        EXPECT_TRUE(prompt.Asked[0].contains(QStringLiteral("bad.frf")));
        EXPECT_EQ(form->FileName, Path("mine.frf"));
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Дизайнер - mine.frf"));
        EXPECT_EQ(Names(), QStringList{QStringLiteral("Keep")});

        // A save into a folder that is not there: the error, still modified, not confirmed.
        form->SetFileName(Path("absent/mine.frf"));
        form->FileModified = true;
        Key(Qt::Key_S);
        EXPECT_EQ(prompt.Asked.size(), 2);
        EXPECT_TRUE(form->FileModified);
        EXPECT_FALSE(DialogConfirmed);
    });
}

TEST_F(DesignCommandsUi, NewAsksBeforeDroppingAChangedTemplate)
{
    report.TemplatePages.Add();
    report.TemplatePages.Add();
    Design([&] {
        AddMemo(QStringLiteral("Memo1"), 8, 8, false);
        form->FileModified = true;
        // Yes on an untitled template opens save as; cancelling it ends New.
        prompt.Answers = {idYes};
        InFileDialog(QString());
        form->Button(QStringLiteral("FileBtn1"))->Click();
        EXPECT_EQ(prompt.Asked, QStringList{QStringLiteral("Сохранить изменения?")});
        EXPECT_EQ(report.TemplatePages.Count(), 2);
        EXPECT_EQ(Names(), QStringList{QStringLiteral("Memo1")});
        EXPECT_TRUE(form->FileModified);

        // "Создать..." asks the same; Cancel shows no template list.
        prompt.Answers = {idCancel};
        Key(Qt::Key_N);
        EXPECT_EQ(prompt.Asked.size(), 2);
        EXPECT_EQ(report.TemplatePages.Count(), 2);

        prompt.Answers = {idNo};
        form->Button(QStringLiteral("FileBtn1"))->Click();
        EXPECT_EQ(report.TemplatePages.Count(), 1);
        EXPECT_TRUE(form->Page->TemplateObjects.empty());
        EXPECT_EQ(form->FileName, QStringLiteral("Untitled"));
        EXPECT_FALSE(form->FileModified);
        EXPECT_EQ(form->Tab1->count(), 1);
    });
}

TEST_F(DesignCommandsUi, ClipboardOutlivesTheDesignerRun)
{
    report.TemplatePages.Add();
    Design([&] {
        AddMemo(QStringLiteral("Memo1"), 40, 40, true);
        AddMemo(QStringLiteral("Memo2"), 80, 60, true);
        form->EnableCommands();
        Key(Qt::Key_X);
        EXPECT_TRUE(form->Page->TemplateObjects.empty());
        EXPECT_EQ(SelectedCount, 0);
    });
    Design([&] {
        form->EnableCommands();
        Key(Qt::Key_V);
        EXPECT_EQ(Names(), QStringList({"Memo1", "Memo2"}));
        EXPECT_EQ(form->Page->TemplateObjects[0]->Left, 0);
        EXPECT_EQ(form->Page->TemplateObjects[1]->Left, 40);
        // Scrolled: the next group starts at the first grid line in view.
        form->Options.GridSize = 8;
        form->PageView->move(-100, 0);
        Key(Qt::Key_V);
        ASSERT_EQ(form->Page->TemplateObjects.size(), 4u);
        EXPECT_EQ(form->Page->TemplateObjects[2]->Left, 96);
        EXPECT_EQ(form->Page->TemplateObjects[2]->Top, 0);
        EXPECT_NE(form->Page->TemplateObjects[2]->Name, QStringLiteral("Memo1"));
        EXPECT_EQ(SelectedCount, 2);

        Key(Qt::Key_A);
        EXPECT_EQ(SelectedCount, 4);
        EXPECT_TRUE(std::all_of(form->Page->TemplateObjects.begin(), form->Page->TemplateObjects.end(),
                                [](const auto &v) { return v->Selected; }));
    });
}

TEST_F(DesignCommandsUi, GridAlignmentAndSpinButtons)
{
    report.TemplatePages.Add();
    Design([&] {
        form->Options.GridSize = 8;
        TfrMemoView &a = AddMemo(QStringLiteral("A"), 10, 4, true);
        TfrMemoView &b = AddMemo(QStringLiteral("B"), 100, 8, true);
        TfrMemoView &c = AddMemo(QStringLiteral("C"), 40, 13, true);
        a.Width = 3;
        a.Height = 30;
        form->EnableCommands();
        form->Button(QStringLiteral("Align4"))->Click();
        EXPECT_EQ(c.Left, 55);
        form->Button(QStringLiteral("GB3"))->Click();
        EXPECT_EQ(a.Left, 8);
        EXPECT_EQ(a.Top, 0);
        EXPECT_EQ(a.Width, 8);
        EXPECT_EQ(a.Height, 32);
        EXPECT_EQ(c.Left, 56);
        // One object centred across a 794-pixel page.
        a.Selected = c.Selected = false;
        SelectedCount = 1;
        b.Width = 100;
        form->Page->PrinterInfo.PageWidth = 794;
        form->Button(QStringLiteral("Align3"))->Click();
        EXPECT_EQ(b.Left, 347);

        auto *width = form->findChild<QLineEdit *>(QStringLiteral("E1"));
        auto *down = form->findChild<TfrSpeedButton *>(QStringLiteral("SB2"));
        auto *up = form->findChild<TfrSpeedButton *>(QStringLiteral("SB1"));
        ASSERT_TRUE(width && down && up);
        EXPECT_TRUE(down->isEnabled() && up->isEnabled());
        width->setText(QStringLiteral("1"));
        down->Click();
        EXPECT_EQ(width->text(), QStringLiteral("1"));
        up->Click();
        up->Click();
        EXPECT_EQ(width->text(), QStringLiteral("3"));
        width->setText(QStringLiteral("x"));
        up->Click();
        EXPECT_EQ(width->text(), QStringLiteral("x"));
        EXPECT_EQ(prompt.Asked.size(), 1);

        form->Button(QStringLiteral("GB1"))->Click();
        EXPECT_EQ(form->Options.GridShow, form->Button(QStringLiteral("GB1"))->Down());
    });
}

TEST_F(DesignCommandsUi, PreviewBuildsTheReportAndComesBackToPageOne)
{
    TfrPage &first = report.TemplatePages.Add();
    auto band = std::make_unique<TfrBandView>();
    band->SetBandType(btReportTitle);
    band->Top = 0;
    band->Height = 40;
    first.TemplateObjects.push_back(std::move(band));
    auto memo = std::make_unique<TfrMemoView>();
    memo->Lines = QStringList{QStringLiteral("Привет")};
    memo->Width = 100;
    memo->Height = 20;
    first.TemplateObjects.push_back(std::move(memo));
    report.TemplatePages.Add();
    report.ModalPreview = false;
    report.ShowProgress = false;
    int sheets = -1;
    bool modal = false;
    SetPreviewOpener([&](TfrReport &shown, const QString &, bool isModal) {
        sheets = shown.PreparedPages.Count();
        modal = isModal;
        EXPECT_EQ(EngineMode, 1);
    });
    Design([&] {
        form->SetPage(1);
        form->Inspector->show();
        Key(Qt::Key_P);
        EXPECT_GE(sheets, 1);
        EXPECT_TRUE(modal);
        EXPECT_FALSE(report.ModalPreview);
        EXPECT_EQ(EngineMode, 0);
        EXPECT_FALSE(FirstPassRunning);
        EXPECT_EQ(form->CurPage, 0);
        EXPECT_EQ(CurrentDesignerForm, form);
        EXPECT_TRUE(form->Inspector->isVisible());
    });
    SetPreviewOpener(nullptr);
}

TEST_F(DesignCommandsUi, StandardToolbarHidesAndComesBackInANewRow)
{
    report.TemplatePages.Add();
    Design([&] {
        TfrToolBar *standard = form->Panel2;
        ASSERT_EQ(standard->ParentDock(), form->frDock1);
        form->N37Click();
        QAction *item = form->Item(QStringLiteral("Pan2"));
        ASSERT_TRUE(item->isChecked());
        item->trigger();
        EXPECT_FALSE(standard->IsShown());
        // The dock closes the gap: the text toolbar moves up to the first row.
        EXPECT_EQ(form->Panel3->y(), 0);

        form->N37Click();
        EXPECT_FALSE(item->isChecked());
        item->trigger();
        EXPECT_TRUE(standard->IsShown());
        EXPECT_EQ(standard->ParentDock(), form->frDock1);
        EXPECT_GT(standard->y(), form->Panel3->y());

        // The inspector by its item.
        form->Inspector->show();
        form->N37Click();
        form->Item(QStringLiteral("Pan5"))->trigger();
        EXPECT_FALSE(form->Inspector->isVisible());
    });
}

TEST_F(DesignCommandsUi, EveryToolbarsMenuItemHidesAndShowsItsTarget)
{
    // Shown again, a toolbar takes a row of its own: the new rows are kept in
    // settings of this test's own, not of the designer runs after it.
    const QByteArray settings = qgetenv("TUNVEX_CONFIG_DIR");
    qputenv("TUNVEX_CONFIG_DIR", dir.path().toUtf8());
    report.TemplatePages.Add();
    Design([&] {
        form->Inspector->show();
        const std::pair<const char *, QWidget *> items[] = {
            {"Pan1", form->Panel1}, {"Pan2", form->Panel2},   {"Pan3", form->Panel3}, {"Pan4", form->Panel4},
            {"Pan5", form->Inspector}, {"Pan6", form->Panel5}, {"Pan7", form->Panel6}};
        auto *menu = form->findChild<QMenu *>(QStringLiteral("N37"));
        ASSERT_TRUE(menu);
        const auto shown = [](QWidget *target) {
            auto *bar = dynamic_cast<TfrToolBar *>(target);
            return bar ? bar->IsShown() : !target->isHidden();
        };
        for (auto [name, target] : items) {
            SCOPED_TRACE(name);
            QAction *item = form->Item(QLatin1String(name));
            const bool before = shown(target);
            for (bool expected : {!before, before}) {
                // Opened as the user opens it, so its check marks are fresh.
                menu->popup(QPoint(0, 0));
                EXPECT_EQ(item->isChecked(), !expected);
                item->trigger();
                menu->hide();
                EXPECT_EQ(shown(target), expected);
            }
        }
    });
    qputenv("TUNVEX_CONFIG_DIR", settings);
}

TEST_F(DesignCommandsUi, HelpContentsAndContextHelpPick)
{
    QStringList opened;
    SetDocumentOpener([&](const QString &target) {
        opened << QFileInfo(target).fileName();
        return true;
    });
    for (const char *page : {"index.html", "455.html", "432.html"}) {
        QFile f(Path(page));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    SetHelpFolder(dir.path());
    report.TemplatePages.Add();
    Design([&] {
        Key(Qt::Key_F1, Qt::NoModifier);
        EXPECT_EQ(opened, QStringList{QStringLiteral("index.html")});

        TfrTBButton *help = form->Button(QStringLiteral("HelpBtn"));
        form->HelpBtnClick();
        EXPECT_TRUE(help->Down());
        QTest::mouseClick(form->Button(QStringLiteral("GB1")), Qt::LeftButton);
        QCoreApplication::processEvents();
        EXPECT_FALSE(help->Down());
        EXPECT_EQ(opened.value(1), QStringLiteral("455.html"));

        // On the objects toolbar: 430 + tag.
        form->Button(QStringLiteral("OB3"))->setEnabled(true);
        Key(Qt::Key_F1, Qt::ShiftModifier);
        QTest::mouseClick(form->Button(QStringLiteral("OB3")), Qt::LeftButton);
        QCoreApplication::processEvents();
        EXPECT_EQ(opened.value(2), QStringLiteral("432.html"));

        // The help button itself ends the pick without help.
        form->HelpBtnClick();
        QTest::mouseClick(help, Qt::LeftButton);
        QCoreApplication::processEvents();
        EXPECT_EQ(opened.size(), 3);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    });
    SetHelpFolder(QString());
    SetDocumentOpener(nullptr);
}

TEST_F(DesignCommandsUi, PageOptionsTellTheCallerWhetherTheyWereTaken)
{
    report.TemplatePages.Add();
    Design([&] {
        QTimer::singleShot(0, [] { qobject_cast<QDialog *>(QApplication::activeModalWidget())->accept(); });
        form->Item(QStringLiteral("N25"))->trigger();
        EXPECT_TRUE(DialogConfirmed);
        QTimer::singleShot(0, [] { qobject_cast<QDialog *>(QApplication::activeModalWidget())->reject(); });
        form->Item(QStringLiteral("N25"))->trigger();
        EXPECT_FALSE(DialogConfirmed);
    });
}

TEST_F(DesignCommandsUi, SaveAsTemplateWritesIntoTheTemplateFolder)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("templates")));
    DesignerTemplateFolder = Path("templates");
    report.TemplatePages.Add();
    Design([&] {
        AddMemo(QStringLiteral("Memo1"), 8, 8, false);
        form->SetFileName(Path("mine.frf"));
        InFileDialog(Path("x"), 1);
        auto *wait = new QTimer(form);
        QObject::connect(wait, &QTimer::timeout, [wait] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || dialog->windowTitle() != QStringLiteral("Новый шаблон"))
                return;
            wait->stop();
            dialog->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->setPlainText(QStringLiteral("Сводка"));
            dialog->accept();
        });
        wait->start(5);
        form->Item(QStringLiteral("N17"))->trigger();
        EXPECT_TRUE(DialogConfirmed);
        EXPECT_EQ(form->FileName, Path("mine.frf"));
    });
    DesignerTemplateFolder.clear();
    EXPECT_FALSE(QFile::exists(Path("x.frt")));
    TfrReport loaded;
    QStringList description;
    QByteArray picture;
    loaded.LoadTemplateFile(Path("templates/x.frt"), description, false, picture);
    EXPECT_EQ(description, QStringList{QStringLiteral("Сводка")});
    loaded.LoadTemplateFile(Path("templates/x.frt"), description, true, picture);
    ASSERT_EQ(loaded.TemplatePages.Count(), 1);
    EXPECT_EQ(loaded.TemplatePages.GetPage(0).TemplateObjects.size(), 1u);
}

TEST_F(DesignCommandsUi, OrderAndAlignmentAreEachOneUndoStep)
{
    report.TemplatePages.Add();
    Design([&] {
        std::unique_ptr<TfrView> band = CreateReportObject(gtBand, QString());
        static_cast<TfrBandView &>(*band).SetBandType(btMasterData);
        band->Name = QStringLiteral("Band1");
        form->Page->TemplateObjects.push_back(std::move(band));
        AddMemo(QStringLiteral("A"), 10, 10, false);
        AddMemo(QStringLiteral("B"), 40, 20, true);
        AddMemo(QStringLiteral("C"), 70, 30, false);
        form->SyncToolbars();
        form->Button(QStringLiteral("ZB1"))->Click();
        EXPECT_EQ(Names(), QStringList({"Band1", "A", "C", "B"}));
        ASSERT_EQ(form->UndoList.Count(), 1);
        Key(Qt::Key_Z);
        EXPECT_EQ(Names(), QStringList({"Band1", "A", "B", "C"}));
        EXPECT_EQ(form->UndoList.Count(), 0);

        // Too few for spacing: nothing recorded; aligning two lefts is one step.
        Key(Qt::Key_A);
        EXPECT_EQ(SelectedCount, 4);
        form->Page->TemplateObjects[0]->Selected = false;
        form->Page->TemplateObjects[3]->Selected = false;
        SelectedCount = 2;
        LastClickedView = nullptr;
        form->Button(QStringLiteral("Align4"))->Click();
        EXPECT_EQ(form->UndoList.Count(), 0);
        form->Button(QStringLiteral("Align1"))->Click();
        EXPECT_EQ(form->UndoList.Count(), 1);
        EXPECT_EQ(form->Page->TemplateObjects[1]->Left, 40);
        Key(Qt::Key_Z);
        EXPECT_EQ(form->Page->TemplateObjects[1]->Left, 10);
        EXPECT_EQ(form->Page->TemplateObjects[2]->Left, 40);
    });
}

TEST_F(DesignCommandsUi, CloseOfAChangedUntitledTemplateSavesAsFirst)
{
    report.TemplatePages.Add();
    Design([&] {
        AddMemo(QStringLiteral("Memo1"), 8, 8, true);
        Key(Qt::Key_Right, Qt::ShiftModifier);
        ASSERT_TRUE(form->FileModified);
        // "Да", then the save dialog cancelled: nothing saved, still open.
        prompt.Answers = {idYes};
        InFileDialog(QString());
        QTest::mouseClick(form->Button(QStringLiteral("ExitB")), Qt::LeftButton);
        EXPECT_EQ(prompt.Asked, QStringList{QStringLiteral("Сохранить изменения?")});
        EXPECT_TRUE(form->isVisible());

        // Saved as a form: the file holds the template, so closing asks nothing.
        InFileDialog(Path("report"), 0);
        form->Item(QStringLiteral("N17"))->trigger();
        EXPECT_FALSE(form->FileModified);
        QTest::mouseClick(form->Button(QStringLiteral("ExitB")), Qt::LeftButton);
        EXPECT_EQ(prompt.Asked.size(), 1);
        EXPECT_FALSE(form->isVisible());
    });
    EXPECT_TRUE(QFile::exists(Path("report.frf")));
}

TEST_F(DesignCommandsUi, PreviewPutsTheColumnFooterUnderItsRowsAndRefusesRowsWithoutRoom)
{
    // Templates saved to files and opened and previewed as a user does.
    const auto make = [this](const char *name, const std::function<void(TfrPage &)> &fill) {
        TfrReport made;
        fill(made.TemplatePages.Add());
        made.SaveToFile(Path(name));
        return Path(name);
    };
    const auto memo = [](TfrPage &page, int left, int top, int width, int height, const QString &text) {
        ::AddMemo(page, left, top, width, height, text).FrameTyp = frame::All;
    };
    // A frame around the sheet in a page header of 22, sixty rows, a column footer.
    const QString framed = make("framed.frf", [&](TfrPage &page) {
        AddBand(page, btPageHeader, 0, 22, {}, flags::OnFirstPage);
        memo(page, 10, 0, 730, 1040, QString());
        AddBand(page, btMasterData, 40, 20, QStringLiteral("60"));
        memo(page, 10, 40, 100, 17, QStringLiteral("[LINE#]"));
        AddBand(page, btColumnFooter, 200, 20);
        memo(page, 10, 200, 100, 17, QStringLiteral("Подвал"));
    });
    // A page header half the sheet less 30, a column footer the other half, rows of 40.
    const QString crowded = make("crowded.frf", [&](TfrPage &page) {
        const int room = page.BottomEdge() - page.TopEdge();
        AddBand(page, btPageHeader, 0, room / 2 - 30, {}, flags::OnFirstPage);
        memo(page, 10, 0, 100, 17, QStringLiteral("Шапка"));
        AddBand(page, btMasterData, 1000, 40, QStringLiteral("5"));
        memo(page, 10, 1000, 100, 40, QStringLiteral("[LINE#]"));
        AddBand(page, btColumnFooter, 2000, room / 2);
        memo(page, 10, 2000, 100, 17, QStringLiteral("Подвал"));
    });
    int shown = 0, lastRowBottom = -1, footerTop = -1;
    SetPreviewOpener([&](TfrReport &built, const QString &, bool) {
        ++shown;
        TfrEMFPages &pages = built.PreparedPages;
        ForEachPreparedObject(pages[pages.Count() - 1].Stream, [&](std::unique_ptr<TfrView> view) {
            const QString text = view->Lines.join(QString()).remove(ParagraphMark);
            if (text == QStringLiteral("Подвал"))
                footerTop = view->Top;
            else if (!text.isEmpty())
                lastRowBottom = std::max(lastRowBottom, view->Top + view->Height);
        });
    });
    Design([&] {
        Open(framed);
        report.ShowProgress = false;
        Key(Qt::Key_P);
        EXPECT_EQ(shown, 1);
        EXPECT_GT(lastRowBottom, 0);
        // Under the last row (17 of a band of 20), not at the frame's foot.
        EXPECT_EQ(footerTop, lastRowBottom + 3);
        EXPECT_TRUE(prompt.Asked.isEmpty()) << prompt.Asked.join(u'\n').toStdString();

        Open(crowded);
        report.ShowProgress = false;
        Key(Qt::Key_P);
        EXPECT_EQ(shown, 1);
        ASSERT_EQ(prompt.Asked.size(), 1);
        EXPECT_TRUE(prompt.Asked[0].contains(QStringLiteral("На листе страницы Стр.1 нет места для данных")))
            << prompt.Asked[0].toStdString();
    });
    SetPreviewOpener(nullptr);
}
