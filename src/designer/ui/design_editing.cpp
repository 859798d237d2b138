// The designer's controls kept in step with the selection: the formatting
// toolbars, the enabled commands, the inspector, the read-out and the status
// line; the formatting handler, the keys of the design surface, the editors
// of the objects and the context menu.
#include "designer/design_editing_rules.h"
#include "designer/design_state.h"
#include "designer/ui/color_glyph.h"
#include "designer/ui/color_selector.h"
#include "designer/ui/design_page.h"
#include "designer/ui/designer_dialog_hooks.h"
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dock.h"
#include "designer/ui/frm_designer.h"
#include "designer/ui/frm_insp.h"
#include "platform/guard.h"
#include "platform/ui/qt_canvas.h"
#include "report/report_objects.h"
#include "report/report_page.h"
#include "report/ui/speed_button.h"

#include <QtGui/QAction>
#include <QtGui/QIcon>
#include <QtGui/QPixmap>
#include <QtGui/QKeyEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QAbstractSpinBox>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFontDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QScrollBar>

namespace {

// The number of fixed items of the context menu: cut, copy, paste, delete,
// select all, a separator and the editor.
constexpr int FixedPopupItems = 7;

// The window of one of the form's floating toolbars.
bool IsFloatWindowOf(const TfrDesignerForm &form, const QWidget *window)
{
    for (TfrToolBar *bar : form.ToolBars())
        if (bar->Floating && bar->FloatForm && bar->FloatForm == window)
            return true;
    return false;
}

// Sees every key of the designer's window, and of its floating toolbars'
// windows, before their controls do.
class TKeyPreview : public QObject
{
public:
    explicit TKeyPreview(TfrDesignerForm *form) : QObject(form), m_form(form) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *w = qobject_cast<QWidget *>(watched);
        if (!w || (w->window() != m_form && !IsFloatWindowOf(*m_form, w->window())))
            return false;
        bool consumed = false;
        GuardedCall([&] { consumed = m_form->FormKeyDown(static_cast<QKeyEvent *>(event), w); });
        return consumed;
    }

private:
    TfrDesignerForm *m_form;
};

// The read-out: a paint box over the status bar's position panel.
class TReadOutBox : public QWidget
{
public:
    TReadOutBox(TfrDesignerForm *form, QWidget *parent) : QWidget(parent), m_form(form) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QImage image(size(), QImage::Format_RGB32);
        {
            TQtCanvas canvas(&image);
            m_form->PBox1Paint(canvas);
        }
        QPainter(this).drawImage(0, 0, image);
    }

private:
    TfrDesignerForm *m_form;
};

// Keyboard focus in a box the user types into: the keys of editing text
// stay with the box.
bool TypingInBox(const QWidget *focus)
{
    if (!focus)
        return false;
    if (qobject_cast<const QLineEdit *>(focus) || qobject_cast<const QAbstractSpinBox *>(focus))
        return true;
    auto *combo = qobject_cast<const QComboBox *>(focus);
    return combo && combo->isEditable();
}

// Takes the keyboard focus off the toolbar controls, back to the window;
// from a floating toolbar the keys go back to the designer too.
void DropControlFocus(TfrDesignerForm &form)
{
    bool floatHadKeys = false;
    for (TfrToolBar *bar : form.ToolBars()) {
        if (!bar->Floating || !bar->FloatForm)
            continue;
        if (QWidget *focus = bar->FloatForm->focusWidget())
            focus->clearFocus();
        floatHadKeys = floatHadKeys || QApplication::activeWindow() == bar->FloatForm;
    }
    if (QWidget *focus = form.focusWidget())
        focus->clearFocus();
    form.setFocus();
    if (floatHadKeys)
        form.activateWindow();
}

// The palette cell of a colour button's glyph.
int ColorCell(const QString &name) { return name == QLatin1String("ClB2") ? 0 : name == QLatin1String("ClB1") ? 1 : 2; }

// Small images of the read-out: the position (a cross at a corner) and the
// size (a double arrow).
void DrawReadOutIcons(TCanvas &c)
{
    c.Pen = TPen{};
    c.Pen.Color = clBlack;
    c.MoveTo(4, 3);
    c.LineTo(4, 14);
    c.MoveTo(2, 5);
    c.LineTo(13, 5);
    c.Brush = TBrush{};
    c.Brush.Color = clBlack;
    c.FillRect({7, 8, 13, 14});
    c.MoveTo(94, 8);
    c.LineTo(106, 8);
    c.Polygon({{94, 8}, {97, 5}, {97, 11}});
    c.Polygon({{106, 8}, {103, 5}, {103, 11}});
}

} // namespace

void TfrDesignerForm::ConnectEditing()
{
    E1 = findChild<QLineEdit *>(QStringLiteral("E1"));
    C2 = findChild<QComboBox *>(QStringLiteral("C2"));
    C3 = findChild<QComboBox *>(QStringLiteral("C3"));
    E1->setProperty("tag", 6);
    C2->setProperty("tag", 7);
    C3->setProperty("tag", 8);
    C3->setEditable(true);
    C3->setInsertPolicy(QComboBox::NoInsert);
    // A size applies by Enter or by a pick from the list. The box would also
    // pick the typed size when it loses the focus, which happens after every
    // Enter and every change of selection: a second step, or a step of its own.
    QObject::disconnect(C3->lineEdit(), &QLineEdit::editingFinished, nullptr, nullptr);
    connect(C2, &QComboBox::activated, this, [this] { DoClick(C2); });
    connect(C3, &QComboBox::activated, this, [this] { DoClick(C3); });

    // Frame lines and font styles each stay down on their own.
    int group = 21;
    for (const char *name : {"FrB1", "FrB2", "FrB3", "FrB4", "FnB1", "FnB2", "FnB3"}) {
        TfrTBButton *b = Button(QLatin1String(name));
        b->SetGroupIndex(group++);
        b->SetAllowAllUp(true);
    }
    for (const char *name : {"FrB1", "FrB2", "FrB3", "FrB4", "FrB5", "FrB6", "FnB1", "FnB2", "FnB3", "AlB1", "AlB2",
                             "AlB3", "AlB4", "AlB5", "AlB6", "AlB7", "AlB8"}) {
        TfrTBButton *b = Button(QLatin1String(name));
        b->OnClick = [this, b] { DoClick(b); };
    }
    for (const char *name : {"ClB1", "ClB2", "ClB3"}) {
        TfrTBButton *b = Button(QLatin1String(name));
        MakeColorGlyph(clBlack, *b, ColorCell(b->objectName()));
        b->OnClick = [this, b] { ClB1Click(b); };
    }
    Button(QStringLiteral("HlB1"))->OnClick = [this] { GuardedCall([this] { HlB1Click(); }); };

    for (const char *name : {"N27", "N5"})
        connect(Item(QLatin1String(name)), &QAction::triggered, this, [this] { GuardedCall([this] { DeleteSelection(); }); });
    for (const char *name : {"N36", "N6"})
        connect(Item(QLatin1String(name)), &QAction::triggered, this, [this] { GuardedCall([this] { EditObject(); }); });
    // The context menu's clipboard items show the glyphs of their buttons.
    for (auto [item, button] : {std::pair{"N2", "CutB"}, {"N1", "CopyB"}, {"N3", "PstB"}, {"N16", "SelAllB"}})
        Item(QLatin1String(item))->setIcon(QIcon(QPixmap::fromImage(Button(QLatin1String(button))->StateImage(bsUp))));

    Inspector->OnModify = [this](int row, QString &value) { GuardedCall([&] { InspectorChanged(row, value); }); };

    PBox1 = new TReadOutBox(this, StatusPos);
    PBox1->setObjectName(QStringLiteral("PBox1"));
    PBox1->setGeometry(0, 0, StatusPos->width(), 18);
    StatusPos->setMinimumHeight(18);

    qApp->installEventFilter(new TKeyPreview(this));
}

void TfrDesignerForm::EnableCommands()
{
    const int kind = Page ? SelectionKind(*Page) : (DesignClipboard.empty() ? 0 : 16);
    for (const auto &[name, on] : EnabledControls(kind)) {
        if (TfrTBButton *b = Button(name))
            b->setEnabled(on);
        else if (QAction *a = Item(name))
            a->setEnabled(on);
        else if (auto *w = findChild<QWidget *>(name))
            w->setEnabled(on);
    }
    if (!C2->isEnabled()) {
        C2->setCurrentIndex(-1);
        C3->setEditText(QString());
    }
    Inspector->SetItemEnabled(irMemo, SelectedCount == 1);
    StatusText->update();
    PBox1->update();
}

void TfrDesignerForm::SyncToolbars()
{
    UpdatingControls = true;
    if (ColorSelector)
        ColorSelector->hide();
    EnableCommands();
    const auto setDown = [this](const char *name, bool down) { Button(QLatin1String(name))->SetDown(down); };
    TfrView *single = Page && SelectedCount == 1 ? Page->TemplateObjects[TopSelectedIndex(*Page)].get() : nullptr;
    if (single && single->ReportObjectType != gtBand) {
        const TToolbarState s = ToolbarStateOf(*single);
        const char *lines[] = {"FrB1", "FrB2", "FrB3", "FrB4"};
        for (int i = 0; i < 4; ++i)
            setDown(lines[i], s.FrameLines[i]);
        E1->setText(QString::number(s.FrameWidth));
        MakeColorGlyph(s.FillColor, *Button(QStringLiteral("ClB1")), 1);
        MakeColorGlyph(s.FrameColor, *Button(QStringLiteral("ClB3")), 2);
        if (s.IsText) {
            MakeColorGlyph(s.FontColor, *Button(QStringLiteral("ClB2")), 0);
            if (C2->currentText() != s.FontName)
                C2->setCurrentIndex(C2->findText(s.FontName));
            if (C3->currentText() != QString::number(s.FontSize))
                C3->setEditText(QString::number(s.FontSize));
            const char *fonts[] = {"FnB1", "FnB2", "FnB3"};
            for (int i = 0; i < 3; ++i)
                setDown(fonts[i], s.FontButtons[i]);
            for (int i = 1; i <= 8; ++i)
                if (i != 4 && s.AlignButtons[i])
                    setDown(QStringLiteral("AlB%1").arg(i).toLatin1().constData(), true);
            setDown("AlB4", s.AlignButtons[4]);
        }
    } else if (Page && SelectedCount > 1) {
        for (const char *name : {"FrB1", "FrB2", "FrB3", "FrB4", "FnB1", "FnB2", "FnB3", "AlB4", "AlB5"})
            setDown(name, false);
        MakeColorGlyph(0, *Button(QStringLiteral("ClB1")), 1);
        E1->setText(QStringLiteral("1"));
        C2->setCurrentIndex(-1);
        C3->setEditText(QString());
        setDown("AlB1", true);
    }
    UpdatingControls = false;
    RefreshInfo();
    ShowFirstLine();
    DropControlFocus(*this);
}

void TfrDesignerForm::RefreshInfo()
{
    UpdateInspectorValues();
    const int row = Inspector->ItemIndex;
    Inspector->ItemIndex = -1;
    Inspector->SelectRow(std::max(row, 0));
    // The "Memo" row is off for several objects: back to the first row.
    if (Inspector->ItemIndex < 0)
        Inspector->SelectRow(0);
    Inspector->update();
    StatusText->update();
    // At once: the surface shows its rubber rectangle only during this call.
    PBox1->repaint();
}

void TfrDesignerForm::ShowFirstLine()
{
    QString line;
    if (Page && SelectedCount == 1) {
        const TfrView &v = *Page->TemplateObjects[TopSelectedIndex(*Page)];
        if (!v.Lines.isEmpty())
            line = v.Lines.front();
    }
    StatusText->setText(line);
}

void TfrDesignerForm::UpdateInspectorValues()
{
    InspValues = Page ? InspectorTexts(*Page, Options.Units) : std::array<QString, 7>{};
    Inspector->Inspected =
        Page && SelectedCount == 1 ? Page->TemplateObjects[TopSelectedIndex(*Page)].get() : nullptr;
    Inspector->Empty = SelectedCount == 0;
}

void TfrDesignerForm::InspectorChanged(int row, QString &value)
{
    if (!Page)
        return;
    // The text editor of the "Memo" row recorded its own step before it changed the object.
    const auto record = [this, row] {
        if (row != irMemo)
            RecordUndo(ukModify);
    };
    ApplyInspectorValue(*Page, CurrentDocument(), row, value, Options.Units, record);
    UpdateInspectorValues();
    if (row >= irLeft && row <= irVisible)
        value = InspValues[row];
    RedrawPage();
    ShowFirstLine();
    PBox1->update();
}

void TfrDesignerForm::DoClick(QObject *sender)
{
    if (UpdatingControls || !Page || !sender)
        return;
    GuardedCall([this, sender] {
        TFormatInput in;
        in.Tag = sender->property("tag").toInt();
        if (auto *b = dynamic_cast<TfrSpeedButton *>(sender)) {
            in.Down = b->Down();
            in.Color = GlyphColor(b->Glyph());
        }
        if (sender == E1)
            in.Text = E1->text();
        else if (sender == C3)
            in.Text = C3->currentText();
        else if (sender == C2 && C2->currentIndex() >= 0)
            in.FontName = C2->currentText();
        in.MiddleDown = Button(QStringLiteral("AlB5"))->Down();
        in.BottomDown = Button(QStringLiteral("AlB7"))->Down();

        RecordUndo(ukModify);
        PageView->DrawSelection(1);
        BuildSelectionRegion(*Page);
        for (TfrView *v : SelectedObjects(*Page))
            ApplyFormatting(*v, in);
        PageView->DrawPage(TopSelectedIndex(*Page), SelectionRegion);
        DropControlFocus(*this);
        if (in.Tag == 20 || in.Tag == 21)
            SyncToolbars();
    });
}

void TfrDesignerForm::ClB1Click(TfrTBButton *button)
{
    if (!ColorSelector) {
        ColorSelector = new TColorSelector(this);
        ColorSelector->setObjectName(QStringLiteral("ColorSelector"));
        ColorSelector->OnColorSelected = [this](TColorSelector &s) { ColorChosen(s.Color); };
    }
    const QPoint at = button->mapTo(this, QPoint(0, 0));
    if (ColorSelector->isVisible() && ColorSelector->x() == at.x() && PressedColorButton == button) {
        ColorSelector->hide();
        return;
    }
    PressedColorButton = button;
    ColorSelector->SetColor(GlyphColor(button->Glyph()));
    ColorSelector->move(at.x(), at.y() + 26);
    ColorSelector->show();
    ColorSelector->raise();
}

void TfrDesignerForm::ColorChosen(TColor color)
{
    if (!PressedColorButton)
        return;
    MakeColorGlyph(color, *PressedColorButton, ColorCell(PressedColorButton->objectName()));
    DoClick(PressedColorButton);
}

void TfrDesignerForm::HlB1Click()
{
    if (!Page || Page->TemplateObjects.empty())
        return;
    auto *memo = dynamic_cast<TfrMemoView *>(Page->TemplateObjects[TopSelectedIndex(*Page)].get());
    // The dialog records the modify step itself before it writes back.
    if (memo && EditHighlight(*memo, this)) {
        Modified = FileModified = true;
        RedrawPage();
    }
}

void TfrDesignerForm::EditObject()
{
    if (!Page || Page->TemplateObjects.empty())
        return;
    TfrView &o = *Page->TemplateObjects[TopSelectedIndex(*Page)];
    switch (o.ReportObjectType) {
    case gtMemo:
        EditText();
        break;
    case gtPicture:
        EditDesignerObject(*this, o);
        break;
    case gtBand: {
        PageView->DrawSelection(1);
        const int type = static_cast<TfrBandView &>(o).GetBandType();
        if (type != 5 && type != 8 && type != 11 && type != 16 && type != 19)
            PageView->SkipMouseDown = false;
        if (!EditDesignerObject(*this, o))
            PageView->DrawSelection(1);
        break;
    }
    case gtSubReport:
        SetPage(static_cast<TfrSubReportView &>(o).PageIndex);
        return;
    case gtAddIn: {
        TPropEditor *editor = nullptr;
        for (int i = 0; i < AddInClassCount; ++i)
            if (AddInClassRegistry[i].ClassName == o.ClassName())
                editor = dynamic_cast<TPropEditor *>(AddInClassRegistry[i].EditorForm.value<QObject *>());
        if (!editor) {
            EditText();
            break;
        }
        PageView->DrawSelection(1);
        editor->View = &o;
        if (editor->ShowEditor() == QDialog::Accepted) {
            Modified = FileModified = true;
            RedrawPage();
        } else {
            PageView->DrawSelection(1);
        }
        break;
    }
    default: break;
    }
    ShowFirstLine();
    RefreshInfo();
    DropControlFocus(*this);
}

void TfrDesignerForm::EditText()
{
    if (!Page || Page->TemplateObjects.empty())
        return;
    TfrView &o = *Page->TemplateObjects[TopSelectedIndex(*Page)];
    // The editor records the modify step itself before it writes back.
    if (EditObjectText({&o}, this)) {
        Modified = FileModified = true;
        PageView->DrawSelection(1);
        RedrawPage();
        // Ctrl+Enter comes here directly: the status line shows the new text.
        ShowFirstLine();
    }
    DropControlFocus(*this);
}

void TfrDesignerForm::DeleteSelection()
{
    if (!Page || SelectedCount == 0)
        return;
    RecordUndo(ukDelete);
    BuildSelectionRegion(*Page);
    PageView->DrawSelection(1);
    DeleteSelectedObjects(*Page);
    ResetSelection();
    LastClickedView = nullptr;
    PageView->DrawPage(10000, SelectionRegion);
}

void TfrDesignerForm::NudgeSelection(int dx, int dy, bool resize)
{
    if (!Page || SelectedCount == 0)
        return;
    RecordUndo(ukModify);
    BuildSelectionRegion(*Page);
    PageView->DrawSelection(1);
    for (TfrView *v : SelectedObjects(*Page)) {
        (resize ? v->Width : v->Left) += dx;
        (resize ? v->Height : v->Top) += dy;
    }
    RefreshInfo();
    PageView->ComputeSelectionBounds();
    PageView->DrawPage(TopSelectedIndex(*Page), SelectionRegion);
}

void TfrDesignerForm::Popup1Popup()
{
    EnableCommands();
    const QList<QAction *> actions = Popup1->actions();
    for (int i = FixedPopupItems; i < actions.size(); ++i) {
        Popup1->removeAction(actions[i]);
        actions[i]->deleteLater();
    }
    TfrView *owner = Page ? PopupItemsOwner(*Page) : nullptr;
    if (!owner)
        return;
    for (const TfrPopupItem &item : owner->PopupItems()) {
        if (item.Bit == flags::Stretched)
            Popup1->addSeparator();
        QAction *a = Popup1->addAction(item.Caption);
        a->setEnabled(item.Enabled);
        if (!item.IsCommand()) {
            a->setCheckable(true);
            a->setChecked(item.Checked);
        }
        connect(a, &QAction::triggered, this, [this, owner, item](bool checked) {
            GuardedCall([&] {
                if (!Page)
                    return;
                if (!item.IsCommand()) {
                    RecordUndoModify();
                    owner->ApplyPopupItem(item, checked, SelectedObjects(*Page));
                    if (item.Redraw)
                        RedrawSelection();
                    return;
                }
                auto *memo = dynamic_cast<TfrMemoView *>(owner);
                if (!memo)
                    return;
                if (item.Caption == QStringLiteral("Формат переменной...")) {
                    if (!EditDisplayFormat(*memo, this))
                        return;
                    for (TfrView *v : SelectedObjects(*Page))
                        if (dynamic_cast<TfrMemoView *>(v)) {
                            v->DisplayFormat = memo->DisplayFormat;
                            v->FormatText = memo->FormatText;
                        }
                    Modified = FileModified = true;
                } else if (item.Caption == QStringLiteral("Шрифт...")) {
                    QFont before(memo->FontName);
                    before.setPointSize(std::max(1, int(memo->FontSize)));
                    before.setBold(memo->FontStyle & 2);
                    before.setItalic(memo->FontStyle & 1);
                    before.setUnderline(memo->FontStyle & 4);
                    bool ok = false;
                    const QFont chosen = QFontDialog::getFont(&ok, before, this, QStringLiteral("Шрифт"));
                    if (!ok)
                        return;
                    const std::uint16_t style = std::uint16_t((chosen.italic() ? 1 : 0) | (chosen.bold() ? 2 : 0)
                                                              | (chosen.underline() ? 4 : 0));
                    RecordUndoModify();
                    // Each object takes only what the dialog changed.
                    for (TfrView *v : SelectedObjects(*Page))
                        if (auto *m = dynamic_cast<TfrMemoView *>(v)) {
                            if (chosen.family() != before.family())
                                m->FontName = chosen.family().left(32);
                            if (chosen.pointSize() != before.pointSize())
                                m->FontSize = chosen.pointSize();
                            if (style != memo->FontStyle)
                                m->FontStyle = style;
                        }
                    Modified = FileModified = true;
                    RedrawSelection();
                    SyncToolbars();
                }
            });
        });
    }
}

bool TfrDesignerForm::FormKeyDown(QKeyEvent *e, QWidget *receiver)
{
    const int key = e->key();
    const Qt::KeyboardModifiers mods = e->modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const bool alt = mods & Qt::AltModifier;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool selection = Page && SelectedCount > 0;
    // The control that has the focus within the window the key came to,
    // active or not: this one or a floating toolbar's.
    QWidget *focus = receiver && receiver->window() != this ? receiver->window()->focusWidget() : focusWidget();
    const bool typing = TypingInBox(focus);

    // Esc is no cancel here: the designer closes by its close command or its
    // window frame, never by a stray key in the middle of an edit.
    if (key == Qt::Key_Escape)
        return true;
    if (enter && focus && (focus == C3 || C3->isAncestorOf(focus))) {
        DoClick(C3);
        return true;
    }
    if (enter && focus == E1) {
        DoClick(E1);
        return true;
    }
    if (key == Qt::Key_Delete && !shift && selection && !typing) {
        DeleteSelection();
        return true;
    }
    if (enter && Page && SelectedCount == 1) {
        if (ctrl)
            EditText();
        else
            EditObject();
        return true;
    }
    if (ctrl && key >= Qt::Key_1 && key <= Qt::Key_9 && selection) {
        E1->setText(QString::number(key - Qt::Key_0));
        DoClick(E1);
        return true;
    }
    if (ctrl && (key == Qt::Key_F || key == Qt::Key_D) && selection) {
        DoClick(Button(key == Qt::Key_F ? QStringLiteral("FrB5") : QStringLiteral("FrB6")));
        return true;
    }
    if (ctrl && key == Qt::Key_G) {
        SetGridShow(!Options.GridShow);
        return true;
    }
    if (ctrl && key == Qt::Key_B) {
        SetGridAlign(!Options.GridAlign);
        return true;
    }
    const auto run = [this](const char *item) {
        if (QAction *a = Item(QLatin1String(item)); a && a->isEnabled())
            a->trigger();
        return true;
    };
    // In a box these keys cut, copy and paste its text.
    if (shift && key == Qt::Key_Delete && selection && !typing)
        return run("N11");
    if (ctrl && key == Qt::Key_Insert && selection && !typing)
        return run("N12");
    if (shift && key == Qt::Key_Insert && !DesignClipboard.empty() && !typing)
        return run("N13");
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
        QScrollBar *bar = ScrollBox1->verticalScrollBar();
        bar->setValue(bar->value() + (key == Qt::Key_PageUp ? -200 : 200));
        return true;
    }

    int dx = 0, dy = 0;
    switch (key) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    default: return false;
    }
    if (typing || !selection)
        return false;
    if (ctrl || shift) {
        NudgeSelection(dx, dy, !ctrl);
        return true;
    }
    if (SelectedCount != 1)
        return false;
    TfrView &s = *Page->TemplateObjects[TopSelectedIndex(*Page)];
    const int i = NearestObject(*Page, s, dx, dy);
    if (i >= 0) {
        TfrView &q = *Page->TemplateObjects[i];
        if (alt) {
            MoveAgainst(s, q);
            // No undo step for this move, but the template changed: a close
            // or New must not drop it without asking.
            Modified = FileModified = true;
            RedrawPage();
        } else {
            PageView->DrawSelection(1);
            DeselectAll(*Page);
            q.Selected = true;
            SelectedCount = 1;
            LastClickedView = &q;
            PageView->ComputeSelectionBounds();
            PageView->DrawSelection(1);
        }
    }
    SyncToolbars();
    return true;
}

void TfrDesignerForm::PBox1Paint(TCanvas &canvas)
{
    canvas.Brush = TBrush{};
    canvas.Brush.Color = QColorToTColor(palette().color(QPalette::Window));
    canvas.FillRect({0, 0, PBox1->width(), PBox1->height()});
    DrawReadOutIcons(canvas);
    if (!Page)
        return;
    const TReadOut texts = ReadOutTexts(*Page, Options.Units);
    canvas.Font = TFont{};
    canvas.Font.Size = 8;
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.TextOut(20, 1, texts.Position);
    canvas.TextOut(110, 1, texts.Size);
    canvas.TextOut(170, 1, texts.Scale);
}
