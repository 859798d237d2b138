#include "designer/ui/frm_insp.h"

#include "designer/ui/dock.h"

#include "report/ui/speed_button.h"

#include <QtGui/QKeyEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>

namespace {

QColor Face() { return QApplication::palette().color(QPalette::Button); }
QColor Light() { return QApplication::palette().color(QPalette::Light); }
QColor Shadow() { return QApplication::palette().color(QPalette::Dark); }

// The box of rows; painted by the inspector into one image at a time.
class TRowBox : public QWidget
{
public:
    TRowBox(QWidget *parent, std::function<void(QPainter &)> paint) : QWidget(parent), m_paint(std::move(paint)) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QImage image(size(), QImage::Format_RGB32);
        {
            QPainter p(&image);
            m_paint(p);
        }
        QPainter(this).drawImage(0, 0, image);
    }

private:
    std::function<void(QPainter &)> m_paint;
};

} // namespace

TfrInspForm::TfrInspForm(QWidget *owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frInspForm"));
    setWindowTitle(QStringLiteral("Object inspector"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(186, 160);
    Panel1 = new QWidget(this);
    Panel1->setGeometry(0, CaptionHeight, width(), height() - CaptionHeight);
    PaintBox = new TRowBox(Panel1, [this](QPainter &p) {
        p.fillRect(PaintBox->rect(), Face());
        QFont f = font();
        f.setPixelSize(11);
        p.setFont(f);
        const int w = PaintBox->width();
        if (!Empty) {
            for (int i = 0; i < RowCount(); ++i) {
                if (i == ItemIndex || !m_props[i]->Enabled)
                    continue;
                const int y = i * RowHeight;
                p.setPen(Shadow());
                p.drawLine(2, y + RowHeight - 1, w - 2, y + RowHeight - 1);
                p.drawLine(SplitX - 1, y, SplitX - 1, y + RowHeight - 1);
                p.setPen(Light());
                p.drawLine(SplitX, y, SplitX, y + RowHeight - 1);
                p.setPen(Qt::black);
                p.drawText(QRect(7, y, SplitX - 9, RowHeight), Qt::AlignVCenter, m_names[i]);
                p.setPen(QColor(0, 0, 0x80));
                p.drawText(QRect(SplitX + 2, y, w - SplitX - 4, RowHeight), Qt::AlignVCenter, ShownText(i));
            }
            if (ItemIndex >= 0 && ItemIndex < RowCount()) {
                const int y = ItemIndex * RowHeight;
                p.setPen(Shadow());
                p.drawLine(1, y, w - 2, y);
                p.drawLine(1, y, 1, y + RowHeight - 1);
                p.setPen(Light());
                p.drawLine(1, y + RowHeight - 1, w - 2, y + RowHeight - 1);
                p.drawLine(SplitX, y, SplitX, y + RowHeight - 1);
                p.setPen(Qt::black);
                p.drawText(QRect(7, y, SplitX - 9, RowHeight), Qt::AlignVCenter, m_names[ItemIndex]);
            }
        }
        p.setPen(Shadow());
        p.drawRect(PaintBox->rect().adjusted(0, 0, -1, -1));
    });
    PaintBox->setGeometry(0, 0, Panel1->width(), Panel1->height());
    PaintBox->installEventFilter(this);
    SpeedButton1 = new TfrSpeedButton(PaintBox);
    SpeedButton1->SetCaption(QStringLiteral("..."));
    SpeedButton1->hide();
    SpeedButton1->OnClick = [this] { OpenEditor(); };
    Edit1 = new QLineEdit(PaintBox);
    Edit1->setFrame(false);
    // The value buffers hold 100 characters.
    Edit1->setMaxLength(MaxValueLength);
    Edit1->hide();
    Edit1->installEventFilter(this);
    SplitX = PaintBox->width() / 2;
    FullWidth = width();
    FullHeight = height();
}

TfrInspForm::~TfrInspForm() = default;

void TfrInspForm::ClearItems()
{
    m_names.clear();
    m_props.clear();
    ItemIndex = -1;
}

void TfrInspForm::AddItem(const QString &name, QString *value, TPropEditor *editor, int kind)
{
    m_names.push_back(name);
    m_props.push_back(std::make_unique<TProp>(TProp{value, editor, kind, true}));
}

TProp *TfrInspForm::CurrentProp() const
{
    return ItemIndex >= 0 && ItemIndex < RowCount() ? m_props[ItemIndex].get() : nullptr;
}

QString TfrInspForm::ValueText(int row) const
{
    return row >= 0 && row < RowCount() && m_props[row]->ValueRef ? *m_props[row]->ValueRef : QString();
}

QString TfrInspForm::ShownText(int row) const
{
    return m_props[row]->EditKind == 1 ? QStringLiteral("(") + m_names[row] + u')' : ValueText(row);
}

void TfrInspForm::SelectRow(int row)
{
    if (row >= RowCount())
        row = RowCount() - 1;
    if (row < 0 || !m_props[row]->Enabled)
        return;
    Edit1->setVisible(RowCount() > 0 && !Empty);
    if (row != ItemIndex) {
        if (Edit1->isModified() && CurrentProp())
            CommitValue(Edit1->text());
        ItemIndex = row;
        SpeedButton1->setVisible(m_props[row]->EditKind == 1 && !Empty);
        Edit1->setReadOnly(m_props[row]->EditKind == 1);
    }
    const int w = PaintBox->width();
    const int y = ItemIndex * RowHeight + 1;
    const bool button = !SpeedButton1->isHidden();
    SpeedButton1->setGeometry(w - 16, y, 14, RowHeight - 2);
    Edit1->setGeometry(SplitX + 2, y, w - SplitX - 4 - (button ? 15 : 0), RowHeight - 2);
    Edit1->setText(ShownText(ItemIndex));
    Edit1->selectAll();
    Edit1->setModified(false);
    PaintBox->update();
}

void TfrInspForm::ResetRow()
{
    ItemIndex = -1;
    SelectRow(0);
}

void TfrInspForm::SetItemEnabled(int row, bool enabled)
{
    if (row >= 0 && row < RowCount())
        m_props[row]->Enabled = enabled;
    PaintBox->update();
}

void TfrInspForm::CommitValue(const QString &text)
{
    if (Empty)
        return;
    TProp *prop = CurrentProp();
    if (!prop)
        return;
    QString value = text.left(MaxValueLength);
    // Taken once: the message box of a refused value takes the activation,
    // and leaving the inspector must not hand the same text in again.
    Edit1->setModified(false);
    if (prop->ValueRef)
        *prop->ValueRef = value;
    if (OnModify)
        OnModify(ItemIndex, value);
    Edit1->setText(value);
    Edit1->selectAll();
    Edit1->setModified(false);
}

void TfrInspForm::OpenEditor()
{
    TProp *prop = CurrentProp();
    if (Empty || !prop || prop->EditKind != 1 || !prop->EditorForm)
        return;
    prop->EditorForm->View = Inspected;
    if (prop->EditorForm->ShowEditor() == QDialog::Accepted && OnModify) {
        QString none;
        OnModify(ItemIndex, none);
    }
}

void TfrInspForm::ToggleRollUp()
{
    if (height() == FullHeight) {
        resize(FullWidth / 2, CaptionHeight);
        Panel1->hide();
    } else {
        resize(FullWidth, FullHeight);
        Panel1->show();
    }
}

bool TfrInspForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == PaintBox && event->type() == QEvent::MouseButtonPress) {
        if (!Empty) {
            SelectRow(static_cast<QMouseEvent *>(event)->position().toPoint().y() / RowHeight);
            Edit1->setFocus();
        }
        return true;
    }
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Up:
            if (ItemIndex > 0)
                SelectRow(ItemIndex - 1);
            return true;
        case Qt::Key_Down:
            if (ItemIndex < RowCount() - 1)
                SelectRow(ItemIndex + 1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (CurrentProp() && CurrentProp()->EditKind == 1)
                OpenEditor();
            else if (Edit1->isModified())
                CommitValue(Edit1->text());
            Edit1->setModified(false);
            Edit1->selectAll();
            return true;
        default:
            break;
        }
    }
    if (watched == Edit1 && event->type() == QEvent::MouseButtonDblClick && CurrentProp()
        && CurrentProp()->EditKind == 1) {
        OpenEditor();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrInspForm::changeEvent(QEvent *e)
{
    // Leaving the inspector keeps what was typed into a plain row.
    if (e->type() == QEvent::ActivationChange && !isActiveWindow() && CurrentProp()
        && CurrentProp()->EditKind == 0 && Edit1->isModified())
        CommitValue(Edit1->text());
    QWidget::changeEvent(e);
}

void TfrInspForm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    PaintToolWindowCaption(p, *this, CaptionHeight);
}

void TfrInspForm::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && e->position().y() < CaptionHeight) {
        m_moving = true;
        m_grab = e->globalPosition().toPoint() - pos();
    }
}

void TfrInspForm::mouseMoveEvent(QMouseEvent *e)
{
    if (m_moving)
        move(e->globalPosition().toPoint() - m_grab);
}

void TfrInspForm::mouseReleaseEvent(QMouseEvent *) { m_moving = false; }

void TfrInspForm::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (e->position().y() < CaptionHeight)
        ToggleRollUp();
}
