#include "../designer_fixture.h"
#include "designer/design_state.h"
#include "designer/ui/color_selector.h"
#include "designer/ui/designer_dialog_hooks.h"
#include "designer/ui/design_page.h"
#include "designer/ui/frm_designer.h"
#include "designer/ui/frm_insp.h"
#include "platform/prompt.h"
#include "report/report_page.h"
#include "report/ui/speed_button.h"

#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPushButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

class TErrors : public TPrompt
{
public:
    QStringList Shown;
    int MessageBox(const QString &text, const QString &, int) override
    {
        Shown << text;
        return idOk;
    }
};

class DesignEditing : public ::testing::Test, protected TDesignerFixture
{
protected:
    void SetUp() override
    {
        previous = SetPrompt(&errors);
        InstallDesignerDialogHooks();
        InstallReportDesigner();
        form = CurrentDesignerForm;
        Report.TemplatePages.Add();
        ResetNewObjectDefaults();
    }
    void TearDown() override
    {
        RemoveReportDesigner();
        RemoveDesignerDialogHooks();
        SetPrompt(previous);
        ResetNewObjectDefaults();
    }
    // Shows the designer as the engine does and runs `inside` while it is up.
    void Design(const std::function<void()> &inside)
    {
        QTimer::singleShot(0, form, [this, inside] {
            inside();
            form->accept();
        });
        Report.DesignReport();
    }
    template <class T = TfrMemoView> T &Add(int left, int top, int width, int height)
    {
        auto v = std::make_unique<T>();
        v->Left = left;
        v->Top = top;
        v->Width = width;
        v->Height = height;
        v->CreateUniqueName();
        T &ref = *v;
        form->Page->TemplateObjects.push_back(std::move(v));
        return ref;
    }
    TfrBandView &Band()
    {
        TfrBandView &b = Add<TfrBandView>(0, 200, 500, 40);
        b.SetBandType(btMasterData);
        return b;
    }
    // Selects exactly these objects as a click would and steps the controls.
    void Select(std::initializer_list<TfrView *> views)
    {
        DeselectAll(*form->Page);
        for (TfrView *v : views)
            v->Selected = true;
        SelectedCount = int(views.size());
        form->SyncToolbars();
    }
    TfrTBButton *B(const char *name) { return form->Button(QLatin1String(name)); }
    // A click of the mouse, which also toggles a button that stays down.
    void Press(const char *name) { QTest::mouseClick(B(name), Qt::LeftButton); }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(form, Qt::Key(key), mods);
    }

    TErrors errors;
    TPrompt *previous = nullptr;
    TfrDesignerForm *form = nullptr;
};

} // namespace

TEST_F(DesignEditing, ToolbarsFollowTheSelection)
{
    Design([this] {
        EXPECT_FALSE(B("FrB5")->isEnabled());
        EXPECT_FALSE(form->Item(QStringLiteral("N27"))->isEnabled());
        EXPECT_EQ(form->C2->currentIndex(), -1);

        TfrMemoView &memo = Add(10, 10, 100, 20);
        memo.FrameTyp = 9;
        memo.FrameWidth = 3;
        memo.FontStyle = 1;
        memo.Adjust = 0x12;
        memo.Lines = QStringList{QStringLiteral("[Orders.\"Num\"]"), QStringLiteral("second")};
        Select({&memo});
        EXPECT_TRUE(B("FrB1")->Down());
        EXPECT_FALSE(B("FrB2")->Down());
        EXPECT_FALSE(B("FrB3")->Down());
        EXPECT_TRUE(B("FrB4")->Down());
        EXPECT_EQ(form->E1->text(), QStringLiteral("3"));
        EXPECT_TRUE(B("FnB2")->Down());
        EXPECT_FALSE(B("FnB1")->Down());
        EXPECT_TRUE(B("AlB3")->Down());
        EXPECT_TRUE(B("AlB7")->Down());
        EXPECT_EQ(form->C2->currentText(), QStringLiteral("Arial"));
        EXPECT_EQ(form->C3->currentText(), QStringLiteral("10"));
        EXPECT_TRUE(form->C2->isEnabled());
        EXPECT_TRUE(form->Item(QStringLiteral("N6"))->isEnabled());
        EXPECT_FALSE(B("PstB")->isEnabled());
        EXPECT_EQ(form->StatusText->text(), QStringLiteral("[Orders.\"Num\"]"));

        // A band alone leaves the text and frame controls off; several
        // objects show the neutral state.
        TfrBandView &band = Band();
        Select({&band});
        EXPECT_FALSE(B("FrB5")->isEnabled());
        EXPECT_FALSE(form->C2->isEnabled());
        EXPECT_TRUE(form->Item(QStringLiteral("N36"))->isEnabled());
        EXPECT_TRUE(form->StatusText->text().isEmpty());
        Select({&memo, &band});
        EXPECT_FALSE(B("FrB1")->Down());
        EXPECT_TRUE(B("AlB1")->Down());
        EXPECT_EQ(form->E1->text(), QStringLiteral("1"));
        EXPECT_FALSE(form->Item(QStringLiteral("N36"))->isEnabled());
    });
}

TEST_F(DesignEditing, FormattingButtonsChangeTheSelectedTextsOnly)
{
    Design([this] {
        TfrMemoView &memo = Add(10, 10, 100, 20);
        TfrBandView &band = Band();
        const std::uint16_t bandTyp = band.FrameTyp;
        Select({&memo, &band});
        Press("FrB5");
        EXPECT_EQ(memo.FrameTyp, 15);
        EXPECT_EQ(band.FrameTyp, bandTyp);
        EXPECT_EQ(LastFrameTyp, 15);
        EXPECT_EQ(form->UndoList.Count(), 1);
        EXPECT_TRUE(form->FileModified);
        form->UndoBClick();
        EXPECT_EQ(form->Page->TemplateObjects[0]->FrameTyp, 0) << "one step brings the frame back";

        memo.Adjust = 0x0F;
        memo.FrameTyp = 15;
        Select({&memo});
        Press("AlB3");
        EXPECT_EQ(memo.Adjust, 0x0E);
        Press("FrB2");
        EXPECT_EQ(memo.FrameTyp, 15 & ~4) << "the left line's button went up";
        Press("FnB1");
        EXPECT_EQ(memo.FontStyle, 2);

        // A size typed into the box applies with Enter.
        form->C3->setFocus();
        form->C3->setEditText(QStringLiteral("14"));
        QTest::keyClick(form->C3, Qt::Key_Return);
        EXPECT_EQ(memo.FontSize, 14);
        EXPECT_EQ(LastFontSize, 14);
    });
}

TEST_F(DesignEditing, FrameWidthKeysAndBadWidths)
{
    Design([this] {
        TfrMemoView &a = Add(10, 10, 100, 20);
        TfrMemoView &b = Add(10, 50, 100, 20);
        Select({&a, &b});
        Key(Qt::Key_5, Qt::ControlModifier);
        EXPECT_EQ(a.FrameWidth, 5);
        EXPECT_EQ(b.FrameWidth, 5);
        EXPECT_EQ(form->E1->text(), QStringLiteral("5"));
        Key(Qt::Key_F, Qt::ControlModifier);
        EXPECT_EQ(a.FrameTyp, 15);
        Key(Qt::Key_D, Qt::ControlModifier);
        EXPECT_EQ(b.FrameTyp, 0);

        // Not a whole number: the error is shown and no object changes.
        form->E1->setFocus();
        form->E1->setText(QStringLiteral("2,5"));
        QTest::keyClick(form->E1, Qt::Key_Return);
        ASSERT_EQ(errors.Shown.size(), 1);
        EXPECT_TRUE(errors.Shown.front().contains(QStringLiteral("2,5")));
        EXPECT_EQ(a.FrameWidth, 5);
    });
}

TEST_F(DesignEditing, ArrowsSelectTheNearestObjectAltMovesWithoutAStep)
{
    Design([this] {
        TfrMemoView &a = Add(0, 0, 100, 20);
        TfrMemoView &b = Add(150, 0, 50, 20);
        TfrMemoView &c = Add(120, 100, 50, 20);
        Select({&a});
        Key(Qt::Key_Right);
        EXPECT_TRUE(b.Selected);
        EXPECT_FALSE(a.Selected);
        EXPECT_EQ(SelectedCount, 1);
        EXPECT_EQ(form->InspValues[0], b.Name);
        Key(Qt::Key_Down);
        EXPECT_TRUE(c.Selected);

        Select({&a});
        Key(Qt::Key_Right, Qt::AltModifier);
        EXPECT_EQ(a.Left, 50);
        EXPECT_TRUE(a.Selected);
        // No undo step, but the move is a change that a close asks about.
        EXPECT_TRUE(form->FileModified);
        EXPECT_EQ(form->UndoList.Count(), 0);

        // Ctrl moves and Shift resizes by a pixel.
        Key(Qt::Key_Left, Qt::ControlModifier);
        EXPECT_EQ(a.Left, 49);
        EXPECT_EQ(form->UndoList.Count(), 1);
        Key(Qt::Key_Down, Qt::ShiftModifier);
        EXPECT_EQ(a.Height, 21);
        EXPECT_EQ(form->InspValues[4], QStringLiteral("21"));

        Key(Qt::Key_G, Qt::ControlModifier);
        EXPECT_FALSE(form->Options.GridShow);
        Key(Qt::Key_G, Qt::ControlModifier);
        EXPECT_TRUE(form->Options.GridShow);
    });
}

TEST_F(DesignEditing, DeleteKeyRemovesTheSelection)
{
    Design([this] {
        TfrMemoView &a = Add(0, 0, 100, 20);
        Add(0, 40, 100, 20);
        TfrMemoView &c = Add(0, 80, 100, 20);
        Select({&a, &c});
        // Typing in the frame-width box keeps its editing keys.
        auto *e1 = form->findChild<QLineEdit *>(QStringLiteral("E1"));
        e1->setFocus();
        QTest::keyClick(e1, Qt::Key_Delete);
        QTest::keyClick(e1, Qt::Key_Delete, Qt::ShiftModifier);
        QTest::keyClick(e1, Qt::Key_Insert, Qt::ControlModifier);
        EXPECT_EQ(form->Page->TemplateObjects.size(), 3u);
        EXPECT_TRUE(DesignClipboard.empty());
        form->PageView->setFocus();
        Key(Qt::Key_Delete);
        ASSERT_EQ(form->Page->TemplateObjects.size(), 1u);
        EXPECT_EQ(form->Page->TemplateObjects[0]->Top, 40);
        EXPECT_EQ(SelectedCount, 0);
        EXPECT_FALSE(form->Item(QStringLiteral("N27"))->isEnabled());
        EXPECT_TRUE(form->Inspector->Empty);
        form->UndoBClick();
        ASSERT_EQ(form->Page->TemplateObjects.size(), 3u);
        EXPECT_EQ(form->Page->TemplateObjects[2]->Top, 80);
    });
}

TEST_F(DesignEditing, InspectorEditsInUnits)
{
    Design([this] {
        TfrMemoView &a = Add(0, 0, 100, 20);
        TfrMemoView &b = Add(0, 40, 100, 20);
        form->SetUnits(1);
        Select({&a});
        TfrInspForm &insp = *form->Inspector;
        EXPECT_EQ(insp.Inspected, &a);
        insp.SelectRow(1);
        insp.CommitValue(QStringLiteral("10"));
        EXPECT_EQ(a.Left, 36);
        EXPECT_EQ(insp.Edit1->text(), QStringLiteral("10,00"));

        form->SetUnits(0);
        form->RefreshInfo();
        insp.SelectRow(3);
        insp.CommitValue(QStringLiteral("4*9"));
        EXPECT_EQ(a.Width, 36);
        EXPECT_EQ(insp.Edit1->text(), QStringLiteral("36"));

        const QString name = a.Name;
        insp.SelectRow(0);
        insp.CommitValue(b.Name);
        EXPECT_EQ(a.Name, name);
        EXPECT_EQ(insp.Edit1->text(), name);
        EXPECT_TRUE(errors.Shown.isEmpty()) << "refused silently";

        const int steps = form->UndoList.Count();
        insp.SelectRow(2);
        insp.CommitValue(QStringLiteral("1+"));
        EXPECT_EQ(errors.Shown.size(), 1);
        EXPECT_EQ(a.Top, 0);
        EXPECT_EQ(form->UndoList.Count(), steps) << "a refused value is no step";

        // Several objects: only what they share, no name, no inspected object.
        Select({&a, &b});
        EXPECT_EQ(insp.Inspected, nullptr);
        EXPECT_TRUE(form->InspValues[0].isEmpty());
        EXPECT_TRUE(form->InspValues[2].isEmpty());
        EXPECT_EQ(form->InspValues[4], QStringLiteral("20"));
        insp.SelectRow(2);
        insp.CommitValue(QStringLiteral("100"));
        EXPECT_EQ(a.Top, 100);
        EXPECT_EQ(b.Top, 100);
    });
}

TEST_F(DesignEditing, ReadOutShowsTheSelectedObject)
{
    Design([this] {
        TfrMemoView &a = Add(12, 20, 96, 16);
        Select({&a});
        TRecordingCanvas canvas;
        form->PBox1Paint(canvas);
        EXPECT_TRUE(canvas.FindText(QStringLiteral("12;20")));
        EXPECT_TRUE(canvas.FindText(QStringLiteral("96;16")));
        form->SetUnits(1);
        canvas.Clear();
        form->PBox1Paint(canvas);
        EXPECT_TRUE(canvas.FindText(QStringLiteral("3,33; 5,56")));
        form->SetUnits(0);
    });
}

TEST_F(DesignEditing, ContextMenuAddsTheItemsOfCompatibleSelections)
{
    Design([this] {
        TfrMemoView &a = Add(0, 0, 100, 20);
        TfrMemoView &b = Add(0, 40, 100, 20);
        TfrBandView &band = Band();
        const auto captions = [this] {
            QStringList list;
            for (QAction *act : form->Popup1->actions())
                list << act->text();
            return list;
        };
        Select({&a});
        form->Popup1Popup();
        QStringList items = captions();
        EXPECT_GT(items.size(), 7);
        EXPECT_TRUE(items.contains(QStringLiteral("Перенос слов")));

        // Two texts share the items of the top one; its toggled state goes to both.
        a.Flags |= flags::WordWrap;
        b.Flags &= ~flags::WordWrap;
        const auto toggleWrap = [this] {
            form->Popup1Popup();
            for (QAction *act : form->Popup1->actions())
                if (act->text() == QStringLiteral("Перенос слов"))
                    act->trigger();
        };
        Select({&a, &b});
        toggleWrap();
        EXPECT_TRUE(a.Flags & flags::WordWrap);
        EXPECT_TRUE(b.Flags & flags::WordWrap);
        toggleWrap();
        EXPECT_FALSE(a.Flags & flags::WordWrap);
        EXPECT_FALSE(b.Flags & flags::WordWrap);

        Select({&a, &band});
        form->Popup1Popup();
        EXPECT_EQ(captions().size(), 7);
        Select({});
        form->Popup1Popup();
        EXPECT_EQ(captions().size(), 7);
    });
}

TEST_F(DesignEditing, EnterOpensTheEditorOfTheObject)
{
    Design([this] {
        Report.TemplatePages.Add();
        auto &sub = Add<TfrSubReportView>(0, 0, 100, 50);
        sub.PageIndex = 1;
        Select({&sub});
        Key(Qt::Key_Return);
        EXPECT_EQ(form->CurPage, 1);
        EXPECT_EQ(SelectedCount, 0);

        TfrMemoView &memo = Add(0, 0, 100, 20);
        Select({&memo});
        bool opened = false;
        QTimer::singleShot(0, [&opened] {
            if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                opened = d->windowTitle() == QStringLiteral("Редактор текста");
                d->reject();
            }
        });
        form->Item(QStringLiteral("N36"))->trigger();
        EXPECT_TRUE(opened);

        // The highlight of the text object, written back on OK as one step.
        QTimer::singleShot(0, [] {
            auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Атрибуты выделения"));
            d->findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("Value > 0"));
            d->accept();
        });
        Press("HlB1");
        EXPECT_EQ(memo.HighlightCondition, QStringLiteral("Value > 0"));
        EXPECT_EQ(form->UndoList.Count(), 1);
    });
}

TEST_F(DesignEditing, ColourButtonsDropThePaletteAndColourTheSelection)
{
    Design([this] {
        TfrMemoView &memo = Add(0, 0, 100, 20);
        Select({&memo});
        TfrTBButton *fill = B("ClB1");
        Press("ClB1");
        TColorSelector *palette = form->ColorSelector;
        ASSERT_NE(palette, nullptr);
        EXPECT_TRUE(palette->isVisible());
        EXPECT_EQ(palette->pos(), fill->mapTo(form, QPoint(0, 26)));
        EXPECT_TRUE(palette->Button(16)->isChecked()) << "the glyph shows the object's fill: none";
        palette->Button(10)->click();
        EXPECT_FALSE(palette->isVisible());
        EXPECT_EQ(memo.FillColor, TColor(0x0000FF));
        EXPECT_EQ(LastFillColor, TColor(0x0000FF));
        EXPECT_EQ(memo.FontColor, TColor(0));

        // The same button again closes the palette; it reopens on its colour.
        Press("ClB2");
        Press("ClB2");
        EXPECT_FALSE(palette->isVisible());
        Press("ClB1");
        EXPECT_TRUE(palette->Button(10)->isChecked());
        palette->Button(16)->click();
        EXPECT_EQ(memo.FillColor, clNone);
        Press("ClB2");
        palette->Button(13)->click();
        EXPECT_EQ(memo.FontColor, TColor(0xFF0000));

        // The glyph follows the selection.
        TfrMemoView &other = Add(0, 40, 100, 20);
        other.FillColor = 0x00FF00;
        Select({&other});
        Press("ClB1");
        EXPECT_TRUE(palette->Button(11)->isChecked());
    });
}
