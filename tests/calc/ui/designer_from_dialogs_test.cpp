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
#include "file_dialog_choice.h"
#include "metafile_builder.h"
#include "pdf_printer.h"
#include "modal.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "platform/ui/file_dialogs.h"
#include "report/engine.h"
#include "report/report_objects.h"
#include "report/report_page.h"
#include "report/ui/frm_preview.h"
#include "report/ui/speed_button.h"
#include "shell/ui/frm_main.h"

#include <QtCore/QBuffer>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtGui/QImage>
#include <QtGui/QMouseEvent>
#include <QtGui/QWindow>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QInputDialog>
#include <QtWidgets/QLabel>
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

struct TRedPicture;

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
    // Loads the picture in the picture editor and follows it to the page,
    // the saved template, the preview, RTF and PDF.
    void RedPictureIsDrawnSavedPreviewedAndPrinted(const TRedPicture &c);
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

namespace {

// Pixels of a colour in an image.
// A PDF with its streams unpacked after it: what the pages draw.
QByteArray PdfContent(const QByteArray &pdf)
{
    QByteArray content = pdf;
    for (qsizetype at = pdf.indexOf("stream\n"); at >= 0; at = pdf.indexOf("stream\n", at)) {
        at += 7;
        const qsizetype end = pdf.indexOf("endstream", at);
        if (end < 0)
            break;
        // Packed streams say so in the dictionary just before them;
        // qUncompress wants the unpacked size first, and a generous one does.
        const qsizetype dictionary = pdf.lastIndexOf(" obj", at);
        if (dictionary >= 0 && pdf.mid(dictionary, at - dictionary).contains("/FlateDecode"))
            content += qUncompress(QByteArray::fromHex("01000000") + pdf.mid(at, end - at));
        at = end + 9;
    }
    return content;
}

int CountColour(const QImage &image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return count;
}

// In the picture editor that is up: "Загрузить", the file chosen under
// "Все файлы", then "ОК"; whether the editor showed a picture, and which.
void LoadInPictureEditor(QWidget &editor, const QString &file, bool &shown, QImage *showing = nullptr)
{
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Рисунок"));
    // Only the file dialog is closed: the editor and the designer stay.
    QTimer::singleShot(0, [file] {
        QFileDialog *dialog = ShownFileDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->nameFilters(),
                  QStringList({QStringLiteral("Графические файлы (*.bmp *.ico *.wmf *.emf)"), QStringLiteral("Все файлы")}));
        ChooseInFileDialog(*dialog, 1, file);
    });
    QTest::mouseClick(editor.findChild<QPushButton *>(QStringLiteral("LoadButton")), Qt::LeftButton);
    const auto *image = editor.findChild<QLabel *>(QStringLiteral("Image1"));
    shown = image && !image->pixmap().isNull();
    if (showing && shown)
        *showing = image->pixmap().toImage();
    QTest::mouseClick(editor.findChild<QPushButton *>(QStringLiteral("OkButton")), Qt::LeftButton);
}

const TfrPictureView *FirstPicture(const TfrPage &page)
{
    for (const auto &v : page.TemplateObjects)
        if (const auto *picture = dynamic_cast<const TfrPictureView *>(v.get()))
            return picture;
    return nullptr;
}

} // namespace

// A red picture of 40 x 30 taken in the picture editor under "Все файлы":
// drawn on the design page, saved in the form that templates hold and read
// back so, then drawn by the report manager's preview, saved as RTF and
// printed into a PDF.
namespace {
struct TRedPicture
{
    QString File;
    TfrPicture::TKind Kind;
    bool KeptAsItIs;      // else made a bitmap
    QByteArray InRtf;     // how the RTF holds it
    QByteArray InPdf;     // how the PDF draws it
};
} // namespace

void DesignerFromDialogs::RedPictureIsDrawnSavedPreviewedAndPrinted(const TRedPicture &c)
{
    InstallPreviewForm();
    TPdfPrinter printer;
    const QRgb red = qRgb(255, 0, 0);
    const QString png = c.File;

    bool shown = false;
    const QString file = Design(true, [&](TfrDesignerForm &form) {
        KeysTo(form);
        // Into the first band, at its top.
        const TfrView *band = nullptr;
        for (const auto &v : form.Page->TemplateObjects)
            if (v->ReportObjectType == gtBand && (!band || v->Top < band->Top))
                band = v.get();
        ASSERT_NE(band, nullptr);
        const QPoint at(400, band->Top + 2);
        const int redBefore = CountColour(form.PageView->grab().toImage(), red);
        TOnModal inEditor([](QWidget *modal) { return modal->windowTitle() == QStringLiteral("Рисунок"); },
                          [&](QWidget &editor) { LoadInPictureEditor(editor, png, shown); });
        QTest::mouseClick(form.Button(QStringLiteral("OB4")), Qt::LeftButton);
        QMouseEvent move(QEvent::MouseMove, at, form.PageView->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(form.PageView, &move);
        QTest::mouseClick(form.PageView, Qt::LeftButton, {}, at);
        ASSERT_TRUE(inEditor.Ran);
        const TfrPictureView *picture = FirstPicture(*form.Page);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->Picture.Kind, c.Kind);
        EXPECT_TRUE(c.KeptAsItIs ? picture->Picture.Data == Bytes(png) : picture->Picture.Data.startsWith("BM"));
        EXPECT_EQ(picture->Picture.Size().cx, 40);
        EXPECT_EQ(picture->Picture.Size().cy, 30);
        // Drawn into its box keeping its proportions.
        QApplication::processEvents();
        const double scale = std::min(picture->Width / 40.0, picture->Height / 30.0);
        EXPECT_EQ(redBefore, 0);
        EXPECT_GT(CountColour(form.PageView->grab().toImage(), red), 0.8 * 40 * 30 * scale * scale);
        QTest::mouseClick(form.Button(QStringLiteral("FileBtn3")), Qt::LeftButton);
        EXPECT_FALSE(form.FileModified);
    });
    EXPECT_TRUE(shown);
    TfrReport saved;
    saved.LoadFromFile(file);
    const TfrPictureView *picture = FirstPicture(saved.TemplatePages.GetPage(0));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Picture.Kind, c.Kind);
    EXPECT_EQ(picture->Picture.Size().cx, 40);
    if (!c.KeptAsItIs) {
        const QImage back = QImage::fromData(picture->Picture.Data);
        EXPECT_EQ(back.pixel(20, 15) & 0xFFFFFF, red & 0xFFFFFF);
    }

    // The report manager previews the template with it, which saves as RTF
    // with the picture, and prints it.
    int previewRed = 0;
    const QString rtf = folder.filePath(QStringLiteral("отчет.rtf"));
    TOnModal inPreview([](QWidget *modal) { return dynamic_cast<TfrPreviewForm *>(modal) != nullptr; },
                       [&](QWidget &preview) {
                           QApplication::processEvents();
                           previewRed = CountColour(preview.grab().toImage(), red);
                           QTimer::singleShot(0, [&rtf] {
                               QFileDialog *dialog = ShownFileDialog();
                               ASSERT_NE(dialog, nullptr);
                               ChooseInFileDialog(*dialog, 2, rtf);
                           });
                           // The filter's "Средняя высота шрифта:" taken as offered.
                           TOnModal inHeight([](QWidget *modal) { return qobject_cast<QInputDialog *>(modal) != nullptr; },
                                             [](QWidget &input) { static_cast<QDialog &>(input).accept(); });
                           static_cast<TfrPreviewForm &>(preview).SaveClick();
                           EXPECT_TRUE(inHeight.Ran);
                           static_cast<QDialog &>(preview).reject();
                       });
    const QString pdf = folder.filePath(QStringLiteral("отчет.pdf"));
    TOnModal inManager([](QWidget *modal) { return qobject_cast<TfrmReports1 *>(modal) != nullptr; },
                       [&](QWidget &modal) {
                           auto &manager = static_cast<TfrmReports1 &>(modal);
                           ASSERT_TRUE(manager.SelectTemplate(StandardReportTemplate));
                           QTest::mouseClick(manager.btnPreview, Qt::LeftButton);
                           printer.AnswerFile(pdf);
                           QTest::mouseClick(manager.btnPrint, Qt::LeftButton);
                           manager.reject();
                       });
    w->Action(QStringLiteral("mnuFastRep"))->trigger();
    EXPECT_TRUE(inManager.Ran);
    EXPECT_TRUE(inPreview.Ran);
    EXPECT_GT(previewRed, 20);
    EXPECT_TRUE(PdfContent(Bytes(pdf)).contains(c.InPdf));
    EXPECT_TRUE(Bytes(rtf).contains(c.InRtf));
    for (const auto &asked : prompt.Asked)
        ADD_FAILURE() << asked.Text.toStdString();
}

TEST_F(DesignerFromDialogs, APngTheEditorTakesIsDrawnSavedPreviewedAndPrinted)
{
    QImage drawn(40, 30, QImage::Format_ARGB32);
    drawn.fill(Qt::red);
    const QString png = folder.filePath(QStringLiteral("рисунок.png"));
    ASSERT_TRUE(drawn.save(png, "PNG"));
    // The bitmap's header in the RTF picture: its own size, 40 wide, 30 high.
    RedPictureIsDrawnSavedPreviewedAndPrinted(
        {png, TfrPicture::gkBitmap, false, "28000000280000001E000000", "/Subtype /Image"});
}

TEST_F(DesignerFromDialogs, AMetafileTheEditorTakesIsDrawnSavedPreviewedAndPrinted)
{
    TWmfBuilder red;
    red.Pen(5, 0, 0).Select(0).Brush(0, 0x0000FF).Select(1).Rectangle(0, 0, 40, 30);
    const QByteArray wmf = red.Placeable(QRect(0, 0, 40, 30), 96, 2);
    const QString file = folder.filePath(QStringLiteral("рисунок.wmf"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(wmf) == wmf.size());
    f.close();
    // The RTF holds the metafile's own records, the placeable header left
    // out (the red brush is the third record after the header of nine
    // words); the PDF fills the rectangle in red, as a drawing.
    RedPictureIsDrawnSavedPreviewedAndPrinted({file, TfrPicture::gkMetafile, true,
                                               "\\picwgoal", "1 0 0 scn"});
    EXPECT_TRUE(Bytes(folder.filePath(QStringLiteral("отчет.rtf"))).contains("07000000FC020000FF00000000"));
}

// The picture editor, opened by a double click on a picture object, takes a
// file by its content whatever its name: bitmaps, icons and metafiles as
// they are, other raster pictures as bitmaps, and shows it; anything else is
// refused with the formats it takes named, and the picture stays as it was.
TEST_F(DesignerFromDialogs, ThePictureEditorKeepsWhatTemplatesHoldAndConvertsOrRefusesTheRest)
{
    const auto write = [this](const QString &name, const QByteArray &bytes) {
        QFile f(folder.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        return f.fileName();
    };
    QImage image(12, 8, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 255));
    const auto encoded = [&image](const char *format) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(image.save(&buffer, format)) << format;
        return bytes;
    };
    // A one-pixel GIF (Qt reads GIF but does not write it).
    const QByteArray gif = QByteArray::fromHex("47494638396101000100800000ffffff00000021f90401000000002c0000000001000100"
                                               "0002024401003b");
    // Metafiles of a blue rectangle on the whole frame.
    TWmfBuilder wmf;
    wmf.Brush(0, 0xFF0000).Select(0).Rectangle(0, 0, 12, 8);
    const QByteArray placeable = wmf.Placeable(QRect(0, 0, 12, 8), 96, 1);
    TEmfBuilder emf;
    emf.Brush(1, 0, 0xFF0000).Select(1).Rectangle(0, 0, 12, 8);
    const QByteArray enhanced = emf.Bytes(QRect(0, 0, 12, 8), QRect(0, 0, 318, 212), {960, 960}, {254, 254}, 2);
    const QByteArray bmp = encoded("BMP"), ico = encoded("ICO");
    const struct
    {
        const char *Name;
        QString File;
        TfrPicture::TKind Kind;
        QByteArray Kept;  // the bytes kept as they are; empty: a bitmap made of the picture
    } cases[] = {
        {"PNG", write(QStringLiteral("a.png"), encoded("PNG")), TfrPicture::gkBitmap, {}},
        {"JPEG", write(QStringLiteral("a.jpg"), encoded("JPG")), TfrPicture::gkBitmap, {}},
        {"GIF", write(QStringLiteral("a.gif"), gif), TfrPicture::gkBitmap, {}},
        {"PNG named .bmp", write(QStringLiteral("b.bmp"), encoded("PNG")), TfrPicture::gkBitmap, {}},
        {"BMP", write(QStringLiteral("a.bmp"), bmp), TfrPicture::gkBitmap, bmp},
        {"ICO", write(QStringLiteral("a.ico"), ico), TfrPicture::gkIcon, ico},
        {"WMF", write(QStringLiteral("a.wmf"), placeable), TfrPicture::gkMetafile, placeable},
        {"EMF named .dat", write(QStringLiteral("a.dat"), enhanced), TfrPicture::gkMetafile, enhanced},
        {"text named .png", write(QStringLiteral("c.png"), "не рисунок"), TfrPicture::gkNone, {}},
        {"text named .wmf", write(QStringLiteral("c.wmf"), "не рисунок"), TfrPicture::gkNone, {}},
    };
    Design(true, [&](TfrDesignerForm &form) {
        KeysTo(form);
        form.Options.EditAfterInsert = false;
        QTest::mouseClick(form.Button(QStringLiteral("OB4")), Qt::LeftButton);
        const QPoint at(400, 30);
        QMouseEvent move(QEvent::MouseMove, at, form.PageView->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(form.PageView, &move);
        QTest::mouseClick(form.PageView, Qt::LeftButton, {}, at);
        const TfrPictureView *picture = FirstPicture(*form.Page);
        ASSERT_NE(picture, nullptr);
        const QPoint inside(picture->Left + 3, picture->Top + 3);
        for (const auto &c : cases) {
            SCOPED_TRACE(c.Name);
            const TfrPicture before = picture->Picture;
            prompt.Asked.clear();
            bool shown = false;
            QImage showing;
            TOnModal inEditor([](QWidget *modal) { return modal->windowTitle() == QStringLiteral("Рисунок"); },
                              [&](QWidget &editor) { LoadInPictureEditor(editor, c.File, shown, &showing); });
            QTest::mouseDClick(form.PageView, Qt::LeftButton, {}, inside);
            ASSERT_TRUE(inEditor.Ran);
            if (c.Kind == TfrPicture::gkNone) {
                ASSERT_EQ(prompt.Asked.size(), 1u);
                EXPECT_EQ(prompt.Asked[0].Text,
                          QStringLiteral("Неверный формат рисунка: \"%1\".\rРисунок загружается из файлов BMP, ICO, WMF "
                                         "и EMF, а также PNG, JPEG и GIF (они сохраняются в отчете как BMP).")
                              .arg(c.File));
                EXPECT_EQ(picture->Picture, before);
                continue;
            }
            EXPECT_TRUE(prompt.Asked.empty());
            // Shown in the editor's box (a metafile drawn blue, stretched over it).
            ASSERT_TRUE(shown);
            if (c.Kind == TfrPicture::gkMetafile) {
                EXPECT_EQ(QColor(showing.pixel(showing.width() / 2, showing.height() / 2)), QColor(Qt::blue));
            }
            EXPECT_EQ(picture->Picture.Kind, c.Kind);
            if (!c.Kept.isEmpty()) {
                EXPECT_EQ(picture->Picture.Data, c.Kept);
                continue;
            }
            EXPECT_TRUE(shown);
            const QImage made = QImage::fromData(picture->Picture.Data, "BMP");
            ASSERT_FALSE(made.isNull());
            EXPECT_TRUE(picture->Picture.Data.startsWith("BM"));
            EXPECT_EQ(picture->Picture.Size().cx, made.width());
            EXPECT_EQ(picture->Picture.Size().cy, made.height());
        }
        form.FileModified = false;
    });
}

// The designer opened from the report manager on a template of the reports
// folder: after "Новый", "Открыть" and "Сохранить как" of the untitled
// template start in that folder, not where the program started. Saved as a
// template, it takes a PNG for its picture as the bitmap templates hold.
TEST_F(DesignerFromDialogs, AnUntitledTemplateIsSavedFromTheReportsFolder)
{
    QTemporaryDir templates;
    DesignerTemplateFolder = templates.path();
    QImage drawn(6, 4, QImage::Format_RGB32);
    drawn.fill(qRgb(0, 128, 0));
    const QString png = folder.filePath(QStringLiteral("эмблема.png"));
    ASSERT_TRUE(drawn.save(png, "PNG"));
    const QString reportsFolder = QDir(reports.path()).absolutePath();
    // The folder and the name a file dialog shows, then what drive does there.
    const auto dialogShows = [](std::function<void(QFileDialog &)> drive) {
        auto shown = std::make_shared<std::pair<QString, QString>>();
        QTimer::singleShot(0, [shown, drive] {
            QFileDialog *dialog = ShownFileDialog();
            ASSERT_NE(dialog, nullptr);
            const auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            *shown = {QDir(dialog->directory()).absolutePath(), name ? name->text() : QString()};
            drive(*dialog);
        });
        return shown;
    };
    Design(true, [&](TfrDesignerForm &form) {
        KeysTo(form);
        QTest::mouseClick(form.Button(QStringLiteral("FileBtn1")), Qt::LeftButton);
        ASSERT_EQ(form.FileName, QStringLiteral("Untitled"));

        const auto opened = dialogShows([](QFileDialog &dialog) { dialog.reject(); });
        QTest::mouseClick(form.Button(QStringLiteral("FileBtn2")), Qt::LeftButton);
        EXPECT_EQ(opened->first, reportsFolder);

        // As a form: into the reports folder under the name typed.
        const auto savedAs = dialogShows([&](QFileDialog &dialog) {
            ChooseInFileDialog(dialog, 0, reports.filePath(QStringLiteral("Новый.frf")));
        });
        form.Item(QStringLiteral("N17"))->trigger();
        EXPECT_EQ(savedAs->first, reportsFolder);
        EXPECT_EQ(savedAs->second, QStringLiteral("Untitled"));
        EXPECT_TRUE(QFile::exists(reports.filePath(QStringLiteral("Новый.frf"))));
        EXPECT_EQ(form.FileName, reports.filePath(QStringLiteral("Новый.frf")));

        // As a template, with a PNG for its picture.
        QTest::mouseClick(form.Button(QStringLiteral("FileBtn1")), Qt::LeftButton);
        TOnModal inDescription([](QWidget *modal) { return modal->windowTitle() == QStringLiteral("Новый шаблон"); },
                               [&](QWidget &dialog) {
                                   QTimer::singleShot(0, [&png] {
                                       QFileDialog *files = ShownFileDialog();
                                       ASSERT_NE(files, nullptr);
                                       ChooseInFileDialog(*files, 0, png);
                                   });
                                   QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("BrowseButton")),
                                                     Qt::LeftButton);
                                   QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("OkButton")),
                                                     Qt::LeftButton);
                               });
        const auto asTemplate = dialogShows([&](QFileDialog &dialog) {
            ChooseInFileDialog(dialog, 1, reports.filePath(QStringLiteral("Смена.frt")));
        });
        form.Item(QStringLiteral("N17"))->trigger();
        EXPECT_EQ(asTemplate->first, reportsFolder);
        EXPECT_TRUE(inDescription.Ran);
        form.FileModified = false;
    });
    DesignerTemplateFolder.clear();
    TfrReport loaded;
    QStringList description;
    QByteArray picture;
    loaded.LoadTemplateFile(templates.filePath(QStringLiteral("Смена.frt")), description, false, picture);
    EXPECT_TRUE(picture.startsWith("BM"));
    EXPECT_EQ(QImage::fromData(picture).pixel(3, 2) & 0xFFFFFF, qRgb(0, 128, 0) & 0xFFFFFF);
    for (const auto &asked : prompt.Asked)
        ADD_FAILURE() << asked.Text.toStdString();
}
