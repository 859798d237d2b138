// The designer used as an author uses it: sequences of commands, keys and
// mouse gestures, after each of which the selection count, the enabled
// controls, the undo buttons and the pixels of the page must agree with the
// page's objects.
#include "designer/design_editing_rules.h"
#include "designer/design_state.h"
#include "designer/ui/color_selector.h"
#include "designer/ui/design_page.h"
#include "designer/ui/designer_dialog_hooks.h"
#include "designer/ui/dock.h"
#include "designer/ui/frm_designer.h"
#include "designer/ui/frm_insp.h"
#include "platform/prompt.h"
#include "report/engine.h"
#include "report/report_page.h"
#include "report/ui/speed_button.h"

#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtGui/QMouseEvent>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QTabBar>

#include <gtest/gtest.h>

namespace {

// No message box may wait for a user here.
class TNoAnswers : public TPrompt
{
public:
    int MessageBox(const QString &, const QString &, int) override { return idNo; }
};

class DesignerSequences : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previous = SetPrompt(&prompt);
        ResetNewObjectDefaults();
        InstallDesignerDialogHooks();
        InstallReportDesigner();
        form = CurrentDesignerForm;
        ClearDesignClipboard();
        report.TemplatePages.Add();
        report.TemplatePages.Add();
    }
    void TearDown() override
    {
        ClearDesignClipboard();
        RemoveReportDesigner();
        RemoveDesignerDialogHooks();
        SetPrompt(previous);
    }
    void Design(const std::function<void()> &inside)
    {
        QTimer::singleShot(0, form, [this, inside] {
            form->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(form));
            form->Options.GridSize = 4;
            form->Options.GridAlign = true;
            form->Options.EditAfterInsert = false;
            inside();
            form->accept();
        });
        report.DesignReport();
    }
    TfrPage &Page() { return *form->Page; }
    TfrMemoView &Memo(TfrPage &page, const QString &name, int l, int t, int w = 100, int h = 20)
    {
        std::unique_ptr<TfrView> created = CreateReportObject(gtMemo);
        auto &m = static_cast<TfrMemoView &>(*created);
        m.Name = name;
        m.Lines = QStringList{name};
        m.Left = l, m.Top = t, m.Width = w, m.Height = h;
        m.FrameTyp = frame::All;
        page.TemplateObjects.push_back(std::move(created));
        return m;
    }
    // "Band1", a master data band from 200 to 260.
    void MasterBand(TfrPage &page)
    {
        std::unique_ptr<TfrView> created = CreateReportObject(gtBand);
        auto &band = static_cast<TfrBandView &>(*created);
        band.SetBandType(btMasterData);
        band.Name = QStringLiteral("Band1");
        band.Top = 200;
        band.Height = 60;
        page.TemplateObjects.push_back(std::move(created));
    }
    TfrDesignerPage &Surface() { return *form->PageView; }
    // A move over the page with the left button held or not.
    void Move(QPoint p, bool held, Qt::KeyboardModifiers m = {})
    {
        QMouseEvent move(QEvent::MouseMove, p, Surface().mapToGlobal(p), Qt::NoButton,
                         held ? Qt::LeftButton : Qt::NoButton, m);
        QApplication::sendEvent(&Surface(), &move);
    }
    void Click(QPoint p, Qt::KeyboardModifiers m = {})
    {
        Move(p, false, m);
        QTest::mousePress(&Surface(), Qt::LeftButton, m, p);
        QTest::mouseRelease(&Surface(), Qt::LeftButton, m, p);
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers m = {})
    {
        Move(from, false, m);
        QTest::mousePress(&Surface(), Qt::LeftButton, m, from);
        Move(to, true, m);
        QTest::mouseRelease(&Surface(), Qt::LeftButton, m, to);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        if (QApplication::activeWindow() != form) {
            form->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(form));
        }
        QTest::keyClick(form, Qt::Key(key), modifiers);
    }
    QStringList Names()
    {
        QStringList names;
        for (const auto &v : Page().TemplateObjects)
            names << v->Name;
        return names;
    }
    bool Enabled(const QString &name)
    {
        if (TfrTBButton *b = form->Button(name))
            return b->isEnabled();
        if (QAction *a = form->Item(name))
            return a->isEnabled();
        QWidget *w = form->findChild<QWidget *>(name);
        return w && w->isEnabled();
    }
    // The selection count, the controls that follow the selection, the undo
    // buttons and the page's pixels agree with the objects.
    void ExpectInStep(const char *step)
    {
        int flagged = 0;
        for (const auto &v : Page().TemplateObjects)
            flagged += v->Selected;
        EXPECT_EQ(SelectedCount, flagged) << step;
        for (const auto &[name, on] : EnabledControls(SelectionKind(Page())))
            EXPECT_EQ(Enabled(name), on) << step << ": " << name.toStdString();
        EXPECT_EQ(Enabled(QStringLiteral("UndoB")), form->UndoList.Count() > 0) << step;
        EXPECT_EQ(Enabled(QStringLiteral("RedoB")), form->RedoList.Count() > 0) << step;
        const QImage shown = Surface().Image().copy();
        Surface().DrawPage();
        const QImage &full = Surface().Image();
        if (shown == full)
            return;
        QRect diff;
        for (int y = 0; y < full.height(); ++y)
            for (int x = 0; x < full.width(); ++x)
                if (shown.pixel(x, y) != full.pixel(x, y))
                    diff |= QRect(x, y, 1, 1);
        EXPECT_TRUE(diff.isEmpty()) << step << ": the page differs from a full repaint at (" << diff.x() << ", "
                                    << diff.y() << ") " << diff.width() << " x " << diff.height();
    }

    TfrEngineScope engine;
    TNoAnswers prompt;
    TPrompt *previous = nullptr;
    TfrReport report;
    TfrDesignerForm *form = nullptr;
};

} // namespace

TEST_F(DesignerSequences, ClipboardOrderDeleteAndUndoKeepControlsAndPageInStep)
{
    TfrPage &first = report.TemplatePages.GetPage(0);
    Memo(first, QStringLiteral("A"), 40, 40);
    Memo(first, QStringLiteral("B"), 80, 50);
    Memo(first, QStringLiteral("C"), 120, 60);
    Design([&] {
        ExpectInStep("shown");
        Click({50, 45});
        ExpectInStep("click A");
        Click({190, 75}, Qt::ShiftModifier);
        ExpectInStep("shift-click C");
        ASSERT_EQ(SelectedCount, 2);

        // Ctrl+ each key in turn; the last undo finds nothing left to undo.
        const struct
        {
            Qt::Key Key;
            QStringList Names;
            const char *Step;
        } steps[] = {
            {Qt::Key_X, {"B"}, "cut"},          {Qt::Key_Z, {"A", "B", "C"}, "undo cut"},
            {Qt::Key_Y, {"B"}, "redo cut"},     {Qt::Key_V, {"B", "A", "C"}, "paste"},
            {Qt::Key_Z, {"B"}, "undo paste"},   {Qt::Key_Z, {"A", "B", "C"}, "undo cut again"},
            {Qt::Key_Z, {"A", "B", "C"}, "nothing to undo"},
        };
        for (const auto &step : steps) {
            Key(step.Key);
            EXPECT_EQ(Names(), step.Names) << step.Step;
            ExpectInStep(step.Step);
        }

        Click({50, 45});
        form->Item(QStringLiteral("N32"))->trigger();
        EXPECT_EQ(Names(), QStringList({"B", "C", "A"}));
        ExpectInStep("bring to front");
        Key(Qt::Key_Z);
        EXPECT_EQ(Names(), QStringList({"A", "B", "C"}));
        ExpectInStep("undo bring to front");

        Key(Qt::Key_A);
        ExpectInStep("select all");
        form->Button(QStringLiteral("Align1"))->Click();
        ExpectInStep("align lefts");
        form->Button(QStringLiteral("GB3"))->Click();
        ExpectInStep("fit to grid");
        Key(Qt::Key_Right, Qt::NoModifier);
        EXPECT_EQ(form->UndoList.Count(), 2);
        ExpectInStep("arrow with several");
        Key(Qt::Key_Right, Qt::ControlModifier);
        ExpectInStep("nudge");
        Key(Qt::Key_Delete, Qt::NoModifier);
        EXPECT_TRUE(Page().TemplateObjects.empty());
        ExpectInStep("delete");
        Key(Qt::Key_Z);
        EXPECT_EQ(Names(), QStringList({"A", "B", "C"}));
        ExpectInStep("undo delete");
        for (int i = 0; i < 3; ++i)
            Key(Qt::Key_Z);
        EXPECT_EQ(Page().TemplateObjects[0]->Left, 40);
        EXPECT_EQ(Page().TemplateObjects[2]->Left, 120);
        ExpectInStep("undo nudge, fit and alignment");
    });
}

TEST_F(DesignerSequences, PagesSwitchedWithUndoPendingAndPasteWhereScrolled)
{
    TfrPage &first = report.TemplatePages.GetPage(0);
    Memo(first, QStringLiteral("A"), 40, 40);
    Memo(report.TemplatePages.GetPage(1), QStringLiteral("P2"), 40, 40);
    Design([&] {
        Click({50, 45});
        Key(Qt::Key_C);
        Key(Qt::Key_Right, Qt::ControlModifier);
        ASSERT_EQ(form->UndoList.Count(), 1);
        form->Tab1->setCurrentIndex(1);
        EXPECT_EQ(form->CurPage, 1);
        EXPECT_EQ(form->UndoList.Count(), 0);
        ExpectInStep("other page");
        Key(Qt::Key_V);
        ASSERT_EQ(Page().TemplateObjects.size(), 2u);
        // "A" is still on the first page: the copy takes a name of its own.
        EXPECT_NE(Page().TemplateObjects[1]->Name, QStringLiteral("A"));
        ExpectInStep("paste on the other page");
        form->Tab1->setCurrentIndex(0);
        EXPECT_EQ(first.TemplateObjects[0]->Left, 41);
        ExpectInStep("back on the first page");

        // Scrolled down: the group lands on the first grid line in view.
        form->Options.GridSize = 8;
        QScrollBar *bar = form->ScrollBox1->verticalScrollBar();
        ASSERT_GT(bar->maximum(), 110);
        bar->setValue(110);
        QApplication::processEvents();
        Key(Qt::Key_V);
        ASSERT_EQ(Page().TemplateObjects.size(), 2u);
        EXPECT_EQ(Page().TemplateObjects[1]->Top, 96);
        EXPECT_EQ(Page().TemplateObjects[1]->Left, 0);
        ExpectInStep("paste where scrolled");
        form->Options.GridSize = 4;
    });
}

TEST_F(DesignerSequences, EachObjectInsertedFormattedAndUndone)
{
    Design([&] {
        const auto insert = [&](const char *button, QPoint from, QPoint to) {
            QTest::mouseClick(form->Button(QLatin1String(button)), Qt::LeftButton);
            Drag(from, to);
        };
        insert("OB2", {20, 20}, {20, 20});
        ExpectInStep("text inserted");
        insert("OB4", {200, 20}, {200, 20});
        ExpectInStep("picture inserted");
        insert("OB6", {20, 100}, {220, 140});
        ExpectInStep("line drawn");
        insert("OB5", {300, 200}, {300, 200});
        ExpectInStep("subreport inserted");
        ASSERT_EQ(Page().TemplateObjects.size(), 4u);
        EXPECT_EQ(form->UndoList.Count(), 4);
        EXPECT_EQ(form->Tab1->count(), 3);

        // Several objects take a format button each; one undo step.
        Key(Qt::Key_A);
        ExpectInStep("select all");
        form->Button(QStringLiteral("FrB5"))->Click();
        for (const auto &v : Page().TemplateObjects)
            if (v->ReportObjectType != gtLine)
                EXPECT_EQ(v->FrameTyp & frame::All, frame::All) << v->Name.toStdString();
        ExpectInStep("frame on all");
        Key(Qt::Key_Z);
        EXPECT_EQ(Page().TemplateObjects[0]->FrameTyp & frame::All, 0);
        ExpectInStep("frame undone");

        // The inspector in millimetres on the text object.
        Click({30, 25});
        ASSERT_EQ(SelectedCount, 1);
        form->SetUnits(1);
        QString value = QStringLiteral("10");
        form->InspectorChanged(irLeft, value);
        EXPECT_EQ(Page().TemplateObjects[0]->Left, 36);
        EXPECT_EQ(value, QStringLiteral("10,00"));
        ExpectInStep("inspector");
        form->SetUnits(0);

        // The context menu of one text object adds the object's items.
        form->Popup1Popup();
        EXPECT_GT(form->Popup1->actions().size(), 7);
        ExpectInStep("context menu");

        // The subreport opens its page; nothing of the first page's steps remains.
        Click({310, 205});
        ASSERT_EQ(SelectedCount, 1);
        QTest::mouseDClick(&Surface(), Qt::LeftButton, {}, {310, 205});
        EXPECT_EQ(form->CurPage, 2);
        EXPECT_EQ(form->Tab1->currentIndex(), 2);
        ExpectInStep("subreport page");
        form->Tab1->setCurrentIndex(0);
        ExpectInStep("back on the first page");
    });
}

TEST_F(DesignerSequences, MouseGesturesAndContextMenuThenUndo)
{
    TfrPage &first = report.TemplatePages.GetPage(0);
    MasterBand(first);
    Memo(first, QStringLiteral("A"), 40, 40);
    Memo(first, QStringLiteral("B"), 140, 40);
    Memo(first, QStringLiteral("C"), 40, 210);
    Design([&] {
        const std::string loaded = [&] {
            std::string s;
            for (const auto &v : Page().TemplateObjects)
                s += QStringLiteral("%1 %2,%3 %4x%5;").arg(v->Name).arg(v->Left).arg(v->Top).arg(v->Width).arg(v->Height).toStdString();
            return s;
        }();
        // A rubber band over A and B.
        Drag({30, 30}, {260, 70});
        EXPECT_EQ(SelectedCount, 2);
        ExpectInStep("rubber selection");
        // The edge A and B share, dragged right.
        Drag({140, 50}, {160, 50});
        EXPECT_EQ(Page().TemplateObjects[1]->Width, 120);
        ExpectInStep("shared edge");
        // Both resized in proportion by the bottom-right mark.
        Drag({240, 60}, {280, 80});
        ExpectInStep("proportional resize");
        // Both moved.
        Drag({60, 50}, {80, 70});
        ExpectInStep("moved");
        // The band carries C; with Alt only the band moves.
        Drag({500, 250}, {500, 270});
        EXPECT_EQ(SelectedCount, 2);
        ExpectInStep("band with its contents");
        Drag({500, 270}, {500, 290}, Qt::AltModifier);
        ExpectInStep("band alone");

        // A context-menu flag on two texts: one step.
        const auto centre = [&](int i) {
            const TfrView &v = *Page().TemplateObjects[i];
            return QPoint(v.Left + v.Width / 2, v.Top + v.Height / 2);
        };
        Click(centre(1));
        Click(centre(2), Qt::ShiftModifier);
        ASSERT_EQ(SelectedCount, 2);
        QTest::mousePress(&Surface(), Qt::RightButton, {}, centre(1));
        QTest::mouseRelease(&Surface(), Qt::RightButton, {}, centre(1));
        QAction *wrap = nullptr;
        for (QAction *a : form->Popup1->actions())
            if (a->text() == QStringLiteral("Перенос слов"))
                wrap = a;
        ASSERT_NE(wrap, nullptr);
        form->Popup1->hide();
        wrap->trigger();
        for (const auto &v : Page().TemplateObjects)
            if (v->Selected)
                EXPECT_EQ(v->Flags & flags::WordWrap, 0u) << v->Name.toStdString();
        ExpectInStep("context menu item");

        while (form->UndoList.Count() > 0)
            Key(Qt::Key_Z);
        std::string undone;
        for (const auto &v : Page().TemplateObjects)
            undone += QStringLiteral("%1 %2,%3 %4x%5;").arg(v->Name).arg(v->Left).arg(v->Top).arg(v->Width).arg(v->Height).toStdString();
        EXPECT_EQ(undone, loaded);
        ExpectInStep("all undone");
    });
}

TEST_F(DesignerSequences, EscapeDoesNotCloseTheDesigner)
{
    Memo(report.TemplatePages.GetPage(0), QStringLiteral("A"), 40, 40);
    Design([&] {
        Click({50, 45});
        Key(Qt::Key_Escape, Qt::NoModifier);
        EXPECT_TRUE(form->isVisible());
        // Nor from a box of the toolbars.
        form->E1->setFocus();
        QTest::keyClick(form->E1, Qt::Key_Escape);
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(SelectedCount, 1);
    });
}

TEST_F(DesignerSequences, DialogsOpenedFromThePageLeaveItInStep)
{
    TfrPage &first = report.TemplatePages.GetPage(0);
    Memo(first, QStringLiteral("A"), 40, 300);
    Memo(first, QStringLiteral("B"), 140, 300);
    // Accepts the next modal dialog once `change` has filled it.
    const auto inDialog = [](std::function<void(QWidget *)> change) {
        auto *wait = new QTimer;
        QObject::connect(wait, &QTimer::timeout, [wait, change] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || dialog == CurrentDesignerForm)
                return;
            wait->stop();
            wait->deleteLater();
            change(dialog);
            dialog->accept();
        });
        wait->start(5);
    };
    Design([&] {
        // A band by the band tool and its type dialog.
        inDialog([](QWidget *) {});
        QTest::mouseClick(form->Button(QStringLiteral("OB3")), Qt::LeftButton);
        Click({40, 40});
        ASSERT_EQ(Page().TemplateObjects.size(), 3u);
        EXPECT_EQ(Page().TemplateObjects[0]->ReportObjectType, gtBand);
        ExpectInStep("band inserted");

        // The text editor by Enter: one step, then undone.
        Click({50, 305});
        inDialog([](QWidget *dialog) {
            dialog->findChildren<QPlainTextEdit *>().value(0)->setPlainText(QStringLiteral("edited"));
        });
        Key(Qt::Key_Return, Qt::NoModifier);
        const TfrView &a = *Page().TemplateObjects[1];
        EXPECT_EQ(a.Lines, QStringList{QStringLiteral("edited")});
        ExpectInStep("text edited");
        Key(Qt::Key_Z);
        EXPECT_EQ(Page().TemplateObjects[1]->Lines, QStringList{QStringLiteral("A")});
        ExpectInStep("edit undone");

        // Ctrl+Enter goes straight to the text editor; the status line follows.
        Click({50, 305});
        inDialog([](QWidget *dialog) {
            dialog->findChildren<QPlainTextEdit *>().value(0)->setPlainText(QStringLiteral("again"));
        });
        Key(Qt::Key_Return);
        EXPECT_EQ(Page().TemplateObjects[1]->Lines, QStringList{QStringLiteral("again")});
        EXPECT_EQ(form->StatusText->text(), QStringLiteral("again"));
        ExpectInStep("text edited by Ctrl+Enter");
        // And after an edit from the inspector's "Memo" row.
        inDialog([](QWidget *dialog) {
            dialog->findChildren<QPlainTextEdit *>().value(0)->setPlainText(QStringLiteral("inspected"));
        });
        form->Inspector->SelectRow(irMemo);
        form->Inspector->SpeedButton1->Click();
        EXPECT_EQ(Page().TemplateObjects[1]->Lines, QStringList{QStringLiteral("inspected")});
        EXPECT_EQ(form->StatusText->text(), QStringLiteral("inspected"));
        ExpectInStep("text edited from the inspector");
        Key(Qt::Key_Z);
        Key(Qt::Key_Z);

        // A colour from the palette and a font size on two texts.
        Click({50, 305});
        Click({150, 305}, Qt::ShiftModifier);
        form->Button(QStringLiteral("ClB1"))->Click();
        ASSERT_TRUE(form->ColorSelector && form->ColorSelector->isVisible());
        const int steps = form->UndoList.Count();
        form->ColorSelector->ColorClick(10);
        EXPECT_EQ(form->UndoList.Count(), steps + 1);
        form->C3->setEditText(QStringLiteral("14"));
        form->C3->setFocus();
        QTest::keyClick(form->C3, Qt::Key_Return);
        EXPECT_EQ(form->UndoList.Count(), steps + 2);
        for (int i = 1; i <= 2; ++i) {
            const auto &m = static_cast<const TfrMemoView &>(*Page().TemplateObjects[i]);
            EXPECT_EQ(m.FillColor, TColorSelector::SelectorPalette[10]);
            EXPECT_EQ(m.FontSize, 14);
        }
        ExpectInStep("colour and size");
        Key(Qt::Key_Z);
        Key(Qt::Key_Z);
        EXPECT_EQ(static_cast<const TfrMemoView &>(*Page().TemplateObjects[2]).FontSize, 10);
        EXPECT_EQ(Page().TemplateObjects[2]->FillColor, clNone);
        ExpectInStep("colour and size undone");

        // Leaving the size box applies nothing by itself.
        static_cast<TfrMemoView &>(*Page().TemplateObjects[2]).FontSize = 12;
        Click({50, 305});
        form->C3->setFocus();
        const int before = form->UndoList.Count();
        Click({150, 305});
        EXPECT_EQ(form->C3->currentText(), QStringLiteral("12"));
        EXPECT_EQ(form->UndoList.Count(), before);
    });
}

TEST_F(DesignerSequences, ReopenedDesignerShowsNoPaletteOfTheLastRun)
{
    Memo(report.TemplatePages.GetPage(0), QStringLiteral("A"), 40, 40);
    Design([&] {
        Click({50, 45});
        form->Button(QStringLiteral("ClB1"))->Click();
        ASSERT_TRUE(form->ColorSelector && form->ColorSelector->isVisible());
    });
    Design([&] { EXPECT_FALSE(form->ColorSelector->isVisible()); });
}

TEST_F(DesignerSequences, ChangedUnitsShowAtOnceInTheInspector)
{
    Memo(report.TemplatePages.GetPage(0), QStringLiteral("A"), 36, 40);
    Design([&] {
        Click({50, 45});
        EXPECT_EQ(form->InspValues[irLeft], QStringLiteral("36"));
        form->SetUnits(1);
        EXPECT_EQ(form->InspValues[irLeft], QStringLiteral("10,00"));
        // The units' name is not cut in its panel.
        const QLabel &units = *form->StatusUnits;
        EXPECT_LE(units.fontMetrics().horizontalAdvance(units.text()), units.contentsRect().width());
        form->SetUnits(0);
        EXPECT_EQ(form->InspValues[irLeft], QStringLiteral("36"));
    });
}

namespace {

// Closes the next modal dialog other than the designer, with OK or Cancel;
// `check` sees it first.
void CloseNextDialog(bool ok, std::function<void(QDialog &)> check = {})
{
    auto *wait = new QTimer;
    QObject::connect(wait, &QTimer::timeout, [wait, ok, check] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || dialog == CurrentDesignerForm)
            return;
        wait->stop();
        wait->deleteLater();
        if (check)
            check(*dialog);
        ok ? dialog->accept() : dialog->reject();
    });
    wait->start(5);
}

} // namespace

TEST_F(DesignerSequences, PreviewAndOptionsKeepTheUndoListsAndTheSelection)
{
    Memo(report.TemplatePages.GetPage(0), QStringLiteral("A"), 36, 40);
    SetPreviewOpener([](TfrReport &, const QString &, bool) {});
    Design([&] {
        Click({50, 45});
        form->Inspector->SelectRow(irLeft);
        form->Inspector->CommitValue(QStringLiteral("72"));
        ASSERT_EQ(Page().TemplateObjects[0]->Left, 72);
        ASSERT_EQ(form->UndoList.Count(), 1);
        // The preview, then the page and the report options confirmed and cancelled.
        const std::pair<const char *, int> commands[] = {{"N39", -1}, {"N25", 1}, {"N25", 0}, {"N8", 1}, {"N8", 0}};
        for (auto [item, dialog] : commands) {
            SCOPED_TRACE(std::string(item) + (dialog == 0 ? " cancelled" : ""));
            if (dialog >= 0)
                CloseNextDialog(dialog == 1);
            form->Item(QLatin1String(item))->trigger();
            EXPECT_EQ(form->UndoList.Count(), 1);
            EXPECT_EQ(SelectedCount, 1);
            EXPECT_TRUE(Page().TemplateObjects[0]->Selected);
            EXPECT_EQ(form->InspValues[irLeft], QStringLiteral("72"));
            ExpectInStep(item);
        }
        Key(Qt::Key_Z);
        EXPECT_EQ(Page().TemplateObjects[0]->Left, 36);
    });
    SetPreviewOpener(nullptr);
}

TEST_F(DesignerSequences, ARefusedInspectorValueGivesOneRussianMessageAndNoStep)
{
    Memo(report.TemplatePages.GetPage(0), QStringLiteral("A"), 36, 40);
    // A message box is a window of its own and takes the activation from the
    // inspector, as a real one does.
    class TActivating : public TPrompt
    {
    public:
        QStringList Shown;
        int MessageBox(const QString &text, const QString &, int) override
        {
            Shown << text;
            QWidget box;
            box.setWindowModality(Qt::ApplicationModal);
            box.show();
            box.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
            return idOk;
        }
    } boxes;
    SetPrompt(&boxes);
    Design([&] {
        Click({50, 45});
        TfrInspForm &insp = *form->Inspector;
        insp.show();
        insp.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&insp));
        insp.SelectRow(irLeft);
        insp.Edit1->setFocus();
        QTest::keyClicks(insp.Edit1, QStringLiteral("1+"));
        QTest::keyClick(insp.Edit1, Qt::Key_Return);
        EXPECT_EQ(boxes.Shown, QStringList{QStringLiteral("Пропущен операнд")});
        EXPECT_EQ(form->UndoList.Count(), 0);
        EXPECT_EQ(Page().TemplateObjects[0]->Left, 36);

        // An accepted value is one step.
        insp.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&insp));
        insp.Edit1->selectAll();
        QTest::keyClicks(insp.Edit1, QStringLiteral("40+8"));
        QTest::keyClick(insp.Edit1, Qt::Key_Return);
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form));
        EXPECT_EQ(Page().TemplateObjects[0]->Left, 48);
        EXPECT_EQ(form->UndoList.Count(), 1);
        EXPECT_EQ(boxes.Shown.size(), 1);
    });
    SetPrompt(&prompt);
}

TEST_F(DesignerSequences, TheInspectorsMemoRowOpensTheTextEditorForAnyObject)
{
    TfrPage &first = report.TemplatePages.GetPage(0);
    MasterBand(first);
    Design([&] {
        Click({300, 230});
        ASSERT_TRUE(Page().TemplateObjects[0]->Selected);
        QString title;
        CloseNextDialog(true, [&](QDialog &editor) {
            title = editor.windowTitle();
            const auto memos = editor.findChildren<QPlainTextEdit *>();
            for (QPlainTextEdit *memo : memos)
                memo->setPlainText(QStringLiteral("x := 1"));
        });
        form->Inspector->SelectRow(irMemo);
        form->Inspector->SpeedButton1->Click();
        EXPECT_EQ(title, QStringLiteral("Редактор текста"));
        EXPECT_TRUE(form->FileModified);
        ExpectInStep("band's text edited from the inspector");
    });
}

TEST_F(DesignerSequences, AnAlignmentShowsTheNewPlaceInTheInspector)
{
    Memo(report.TemplatePages.GetPage(0), QStringLiteral("A"), 40, 40);
    Memo(report.TemplatePages.GetPage(0), QStringLiteral("B"), 140, 100);
    Design([&] {
        Click({50, 45});
        Click({150, 105}, Qt::ShiftModifier);
        EXPECT_EQ(form->InspValues[irLeft], QString());
        form->Button(QStringLiteral("Align1"))->Click();
        EXPECT_EQ(form->InspValues[irLeft], QStringLiteral("40"));
        ExpectInStep("aligned");
    });
}

TEST_F(DesignerSequences, TheDesignerKeepsNoPageOfTheHostBetweenRuns)
{
    Design([&] { Click({50, 45}); });
    // The host replaces its pages, as the report manager and the journal do,
    // and the designer comes back at another size.
    EXPECT_EQ(form->Page, nullptr);
    report.TemplatePages.Clear();
    report.TemplatePages.Add();
    Memo(report.TemplatePages.GetPage(0), QStringLiteral("New"), 40, 40);
    form->resize(640, 480);
    Design([&] {
        EXPECT_EQ(form->Page, &report.TemplatePages.GetPage(0));
        Click({50, 45});
        EXPECT_EQ(SelectedCount, 1);
        ExpectInStep("reopened on new pages");
    });
    EXPECT_EQ(form->Page, nullptr);
}
