#include "designer/design_state.h"
#include "designer/ui/design_page.h"
#include "designer/ui/dock.h"
#include "designer/ui/frm_designer.h"
#include "platform/prompt.h"
#include "report/engine.h"
#include "report/report_page.h"
#include "report/template_file.h"
#include "report/text_object.h"
#include "report/ui/speed_button.h"

#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtGui/QMouseEvent>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>
#include <QtWidgets/QTabBar>

#include <gtest/gtest.h>

namespace {

// Every stored field of every object, one line each, in list order.
std::string Dump(const TfrPage &page)
{
    QStringList out;
    for (const auto &v : page.TemplateObjects) {
        QString line = QStringLiteral("%1 %2 #%3 %4,%5 %6x%7 flags %8 frame %9/%10/%11 fill %12 fmt %13 %14")
                           .arg(v->ClassName(), v->Name)
                           .arg(v->ObjectID)
                           .arg(v->Left)
                           .arg(v->Top)
                           .arg(v->Width)
                           .arg(v->Height)
                           .arg(v->Flags)
                           .arg(v->FrameTyp)
                           .arg(v->FrameWidth)
                           .arg(v->FrameColor)
                           .arg(v->FillColor)
                           .arg(v->DisplayFormat)
                           .arg(v->Lines.join(u'|'));
        if (const auto *m = dynamic_cast<const TfrMemoView *>(v.get()))
            line += QStringLiteral(" font %1 %2 %3 adjust %4").arg(m->FontName).arg(m->FontSize).arg(m->FontStyle).arg(m->Adjust);
        out << line;
    }
    return out.join(u'\n').toStdString();
}

class DesignSurface : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNewObjectDefaults();
        InstallReportDesigner();
        form = CurrentDesignerForm;
        page = &report.TemplatePages.Add();
    }
    void TearDown() override { RemoveReportDesigner(); }

    // Shows the designer as DesignReport does and runs `inside` while it is up.
    void Design(const std::function<void()> &inside)
    {
        QTimer::singleShot(0, form, [this, inside] {
            form->Options.GridSize = 4;
            form->Options.GridAlign = true;
            form->Options.EditAfterInsert = false;
            inside();
            form->accept();
        });
        report.DesignReport();
    }
    TfrMemoView &Memo(int l, int t, int w, int h, const QString &text)
    {
        auto created = CreateReportObject(gtMemo);
        std::unique_ptr<TfrMemoView> m(static_cast<TfrMemoView *>(created.release()));
        m->Left = l, m->Top = t, m->Width = w, m->Height = h;
        m->Lines = QStringList{text};
        m->Name = text;
        m->FrameTyp = frame::All;
        page->TemplateObjects.push_back(std::move(m));
        return static_cast<TfrMemoView &>(*page->TemplateObjects.back());
    }
    TfrDesignerPage &Surface() { return *form->PageView; }
    void Press(QPoint p, Qt::KeyboardModifiers m = {}) { QTest::mousePress(&Surface(), Qt::LeftButton, m, p); }
    void Release(QPoint p, Qt::KeyboardModifiers m = {}) { QTest::mouseRelease(&Surface(), Qt::LeftButton, m, p); }
    // A move with the left button held (or not) and the keys held.
    void Move(QPoint p, bool held, Qt::KeyboardModifiers m = {})
    {
        QMouseEvent e(QEvent::MouseMove, p, Surface().mapToGlobal(p), Qt::NoButton,
                      held ? Qt::LeftButton : Qt::NoButton, m);
        QApplication::sendEvent(&Surface(), &e);
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers m = {})
    {
        Move(from, false, m);
        Press(from, m);
        Move(to, true, m);
        Release(to, m);
    }
    TfrTBButton *Button(const char *name) { return form->Button(QLatin1String(name)); }

    TfrEngineScope engine;
    TfrReport report;
    TfrPage *page = nullptr;
    TfrDesignerForm *form = nullptr;
};

} // namespace

TEST_F(DesignSurface, InsertDragResizeUndoAndRedo)
{
    Memo(200, 200, 100, 20, QStringLiteral("Loaded"));
    Design([this] {
        const std::string loaded = Dump(*page);
        EXPECT_EQ(Surface().size(), QSize(page->PrinterInfo.PageWidth, page->PrinterInfo.PageHeight));
        EXPECT_EQ(Surface().y(), 10);

        QTest::mouseClick(Button("OB2"), Qt::LeftButton);
        ASSERT_TRUE(Button("OB2")->Down());
        Move({13, 22}, false);
        EXPECT_EQ(Surface().Cursor(), TSurfaceCursor::Cross);
        Press({13, 22});
        Release({13, 22});
        ASSERT_EQ(page->TemplateObjects.size(), 2u);
        TfrView &added = *page->TemplateObjects[1];
        EXPECT_EQ(QRect(added.Left, added.Top, added.Width, added.Height), QRect(12, 20, 96, 16));
        EXPECT_EQ(added.Name, QStringLiteral("Memo1"));
        EXPECT_TRUE(added.Selected);
        EXPECT_EQ(SelectedCount, 1);
        EXPECT_TRUE(Button("OB1")->Down());
        EXPECT_TRUE(Button("UndoB")->isEnabled());
        const std::string inserted = Dump(*page);

        // A drag of (20, 13) moves by whole grid steps: (20, 12).
        Drag({40, 28}, {60, 41});
        EXPECT_EQ(QPoint(added.Left, added.Top), QPoint(32, 32));
        const std::string moved = Dump(*page);

        // The bottom-right handle.
        Move({128, 48}, false);
        EXPECT_EQ(Surface().Cursor(), TSurfaceCursor::SizeNWSE);
        Drag({128, 48}, {148, 60});
        EXPECT_EQ(QSize(added.Width, added.Height), QSize(116, 28));
        const std::string resized = Dump(*page);
        EXPECT_EQ(form->UndoList.Count(), 3);
        EXPECT_TRUE(form->FileModified);

        for (int i = 0; i < 3; ++i)
            Button("UndoB")->Click();
        EXPECT_EQ(Dump(*page), loaded);
        EXPECT_FALSE(Button("UndoB")->isEnabled());
        EXPECT_FALSE(form->Item(QStringLiteral("N46"))->isEnabled());
        EXPECT_TRUE(form->Item(QStringLiteral("N48"))->isEnabled());

        for (const std::string &step : {inserted, moved, resized}) {
            Button("RedoB")->Click();
            EXPECT_EQ(Dump(*page), step);
        }
        EXPECT_FALSE(Button("RedoB")->isEnabled());

        // A new step after an undo leaves nothing to redo.
        form->Item(QStringLiteral("N46"))->trigger();
        EXPECT_TRUE(Button("RedoB")->isEnabled());
        page->TemplateObjects[0]->Selected = true;
        SelectedCount = 1;
        form->RecordUndo(2);
        EXPECT_FALSE(Button("RedoB")->isEnabled());
    });
}

TEST_F(DesignSurface, ADraggedBandCarriesWhatLiesInsideIt)
{
    auto band = std::make_unique<TfrBandView>();
    band->SetBandType(btMasterData);
    band->Top = 100;
    band->Height = 60;
    band->Name = QStringLiteral("Band1");
    page->TemplateObjects.push_back(std::move(band));
    TfrMemoView &a = Memo(20, 110, 80, 20, QStringLiteral("A"));
    TfrMemoView &b = Memo(200, 130, 80, 20, QStringLiteral("B"));
    TfrMemoView &outside = Memo(20, 300, 80, 20, QStringLiteral("C"));
    Design([&] {
        TfrView &bandView = *page->TemplateObjects[0];
        Press({400, 150});
        Release({400, 150});
        ASSERT_TRUE(bandView.Selected);
        ASSERT_EQ(SelectedCount, 1);
        Drag({400, 150}, {400, 190});
        EXPECT_EQ(bandView.Top, 140);
        EXPECT_EQ(a.Top, 150);
        EXPECT_EQ(b.Top, 170);
        EXPECT_EQ(outside.Top, 300);
        EXPECT_EQ(SelectedCount, 3);

        // One undo step puts all three back.
        Button("UndoB")->Click();
        EXPECT_EQ(bandView.Top, 100);
        EXPECT_EQ(a.Top, 110);
        EXPECT_EQ(b.Top, 130);

        Press({400, 150});
        Release({400, 150});
        Drag({400, 150}, {400, 190}, Qt::AltModifier);
        EXPECT_EQ(bandView.Top, 140);
        EXPECT_EQ(a.Top, 110);
        EXPECT_EQ(b.Top, 130);
    });
}

TEST_F(DesignSurface, RubberBandSharedEdgeAndLineWithTheMouse)
{
    TfrMemoView &a = Memo(40, 40, 60, 20, QStringLiteral("A"));
    TfrMemoView &b = Memo(100, 40, 60, 20, QStringLiteral("B"));
    Memo(400, 400, 60, 20, QStringLiteral("C"));
    Design([&] {
        // From bottom-right to top-left over A and B.
        Drag({300, 100}, {30, 30});
        EXPECT_TRUE(a.Selected && b.Selected);
        EXPECT_EQ(SelectedCount, 2);
        EXPECT_TRUE(SelectionRectValid);

        Move({101, 50}, false);
        EXPECT_EQ(Surface().Cursor(), TSurfaceCursor::HSplit);
        Drag({101, 50}, {121, 50});
        EXPECT_EQ(a.Width, 80);
        EXPECT_EQ(b.Left, 120);
        EXPECT_EQ(b.Width, 40);
        // Past B's right edge nothing changes.
        Move({121, 50}, false);
        Drag({121, 50}, {200, 50});
        EXPECT_EQ(a.Width, 80);
        EXPECT_EQ(b.Width, 40);

        form->Options.GridAlign = false;
        QTest::mouseClick(Button("OB6"), Qt::LeftButton);
        Move({200, 50}, false);
        EXPECT_EQ(Surface().Cursor(), TSurfaceCursor::Pencil);
        Drag({200, 50}, {100, 60});
        const TfrView &line = *page->TemplateObjects.back();
        EXPECT_EQ(line.ReportObjectType, gtLine);
        EXPECT_EQ(line.Left, 100);
        EXPECT_EQ(line.Top, 50);
        EXPECT_EQ(line.FrameWidth, LastLineWidth);
        // The line tool stays armed.
        EXPECT_TRUE(Button("OB6")->Down());
    });
}

TEST_F(DesignSurface, MarksAreXorAndARegionRepaintMatchesAFullOne)
{
    TfrMemoView &a = Memo(40, 40, 60, 20, QStringLiteral("A"));
    Memo(80, 50, 60, 20, QStringLiteral("B"));
    Memo(300, 300, 60, 20, QStringLiteral("C"));
    Design([&] {
        const QImage clean = Surface().Image();
        a.Selected = true;
        SelectedCount = 1;
        Surface().DrawSelection(1);
        EXPECT_NE(Surface().Image(), clean);
        EXPECT_NE(Surface().Image().pixel(40, 40), clean.pixel(40, 40));
        Surface().DrawSelection(1);
        EXPECT_EQ(Surface().Image(), clean);

        // Move A under B and repaint only where it was and is.
        Press({50, 45});
        Move({90, 85}, true);
        Release({90, 85});
        EXPECT_EQ(QPoint(a.Left, a.Top), QPoint(80, 80));
        const QImage partial = Surface().Image();
        form->RedrawPage();
        EXPECT_EQ(Surface().Image(), partial);
    });
}

TEST_F(DesignSurface, StepsNeverReachAnotherPage)
{
    report.TemplatePages.Add();
    Memo(40, 40, 60, 20, QStringLiteral("A"));
    Design([&] {
        page->TemplateObjects[0]->Selected = true;
        SelectedCount = 1;
        form->RecordUndo(2);
        ASSERT_TRUE(Button("UndoB")->isEnabled());
        form->Tab1->setCurrentIndex(1);
        EXPECT_EQ(form->Page, &report.TemplatePages.GetPage(1));
        EXPECT_EQ(form->UndoList.Count(), 0);
        EXPECT_FALSE(Button("UndoB")->isEnabled());
    });
}

TEST_F(DesignSurface, DoubleClickOnEmptySpaceOpensThePageOptions)
{
    int opened = 0;
    auto saved = DesignerHooks[QStringLiteral("PgB3")];
    DesignerHooks[QStringLiteral("PgB3")] = [&opened](TfrDesignerForm &) { ++opened; };
    Design([&] {
        QTest::mouseDClick(&Surface(), Qt::LeftButton, {}, QPoint(300, 300));
        EXPECT_EQ(opened, 1);
        EXPECT_FALSE(Surface().SkipMouseDown);
    });
    DesignerHooks[QStringLiteral("PgB3")] = saved;
}

TEST_F(DesignSurface, ShiftKeepsTheToolBandsComeFromTheirDialog)
{
    Design([&] {
        // Shift on the subreport button: two subreports, each with a page and a tab of its own.
        QTest::mouseClick(Button("OB5"), Qt::LeftButton, Qt::ShiftModifier);
        EXPECT_TRUE(KeepToolAfterInsert);
        for (const QPoint p : {QPoint(100, 300), QPoint(100, 400)}) {
            Move(p, false);
            Press(p);
            Release(p);
        }
        ASSERT_EQ(page->TemplateObjects.size(), 2u);
        EXPECT_EQ(static_cast<TfrSubReportView &>(*page->TemplateObjects[0]).PageIndex, 1);
        EXPECT_EQ(static_cast<TfrSubReportView &>(*page->TemplateObjects[1]).PageIndex, 2);
        // A click takes the preview, which has the size of a new text object.
        EXPECT_EQ(QSize(page->TemplateObjects[1]->Width, page->TemplateObjects[1]->Height), QSize(96, 16));
        EXPECT_EQ(report.TemplatePages.Count(), 3);
        EXPECT_EQ(form->Tab1->count(), 3);
        EXPECT_EQ(form->Tab1->tabText(2), QStringLiteral("Стр.3"));
        EXPECT_TRUE(Button("OB5")->Down());
        EXPECT_EQ(Surface().Cursor(), TSurfaceCursor::Cross);

        // The band preview is as wide as the page; a cancelled dialog inserts nothing.
        QTest::mouseClick(Button("OB3"), Qt::LeftButton);
        Move({13, 22}, false);
        EXPECT_EQ(RubberRect, (TRect{12, 20, 12 + Surface().width(), 60}));
        bool asked = false;
        QTimer::singleShot(0, [&asked] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                asked = dialog->windowTitle() == QStringLiteral("Новая секция");
                dialog->reject();
            }
        });
        Press({13, 22});
        Release({13, 22});
        EXPECT_TRUE(asked);
        EXPECT_EQ(page->TemplateObjects.size(), 2u);
        EXPECT_TRUE(Button("OB1")->Down());

        QTest::mouseClick(Button("OB3"), Qt::LeftButton);
        Move({13, 22}, false);
        QTimer::singleShot(0, [] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                dialog->accept();
        });
        Press({13, 22});
        Release({13, 22});
        ASSERT_EQ(page->TemplateObjects.size(), 3u);
        // Bands go to the front of the list.
        EXPECT_EQ(page->TemplateObjects[0]->ReportObjectType, gtBand);
        EXPECT_TRUE(page->TemplateObjects[0]->Selected);
    });
}

// A subreport put outside every band, then a text outside every band: the
// preview prints the text beside the subreport's rows, not only a text put
// before it.
TEST_F(DesignSurface, ATextAfterAnUnbandedSubreportIsPreviewed)
{
    report.ShowProgress = false;
    QStringList printed;
    SetPreviewOpener([&](TfrReport &built, const QString &, bool) {
        for (int i = 0; i < built.PreparedPages.Count(); ++i)
            ForEachPreparedObject(built.PreparedPages[i].Stream, [&](std::unique_ptr<TfrView> view) {
                printed << view->Lines.join(QString()).remove(ParagraphMark);
            });
    });
    Design([&] {
        QTest::mouseClick(Button("OB5"), Qt::LeftButton);
        Move({100, 300}, false);
        Press({100, 300});
        Release({100, 300});
        QTest::mouseClick(Button("OB2"), Qt::LeftButton);
        Move({100, 100}, false);
        Press({100, 100});
        Release({100, 100});
        ASSERT_EQ(page->TemplateObjects.size(), 2u);
        ASSERT_EQ(page->TemplateObjects[0]->ReportObjectType, gtSubReport);
        page->TemplateObjects[1]->Lines = QStringList{QStringLiteral("После подотчета")};
        ASSERT_EQ(report.TemplatePages.Count(), 2);
        // The subreport's page: two rows.
        TfrPage &target = report.TemplatePages.GetPage(1);
        auto band = std::make_unique<TfrBandView>();
        band->SetBandType(btMasterData);
        band->Top = 10;
        band->Height = 20;
        band->FormatText = QStringLiteral("2");
        target.TemplateObjects.push_back(std::move(band));
        auto row = std::make_unique<TfrMemoView>();
        row->Top = 10;
        row->Width = 100;
        row->Height = 17;
        row->Lines = QStringList{QStringLiteral("строка [LINE#]")};
        target.TemplateObjects.push_back(std::move(row));
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        QTest::keyClick(form, Qt::Key_P, Qt::ControlModifier);
    });
    SetPreviewOpener(nullptr);
    EXPECT_EQ(printed, QStringList({"После подотчета", "строка 1", "строка 2"}));
}
