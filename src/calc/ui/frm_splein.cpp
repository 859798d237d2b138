#include "calc/ui/frm_splein.h"

#include "calc/fan_catalogue.h"
#include "platform/prompt.h"
#include "platform/ui/qt_canvas.h"
#include "shell/main_commands.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>

namespace {

constexpr int MinEfficiency = 20;
constexpr int MaxEfficiency = 95;

void RefuseChar(QChar c)
{
    Beep();
    ShowMessageBox(LookupText(QStringLiteral("Символ")) + u' ' + c + u' '
                       + LookupText(QStringLiteral("использовать не следует !")),
                   LookupText(QStringLiteral("Ошибка")), mb::Ok | mb::IconError);
}

bool NameFits(const QString &text)
{
    return text.size() <= FanNameMaxLength && std::none_of(text.begin(), text.end(), IsRefusedNameChar);
}

} // namespace

TfrmSplein::TfrmSplein(QWidget *owner) : QDialog(owner)
{
    setWindowTitle(LookupText(QStringLiteral("Сохранить как")));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    QPalette silver = palette();
    silver.setColor(QPalette::Window, TColorToQColor(clSilver));
    setPalette(silver);
    setAutoFillBackground(true);

    Edit1 = new QLineEdit(this);
    Edit1->setMinimumWidth(160);
    Edit1->installEventFilter(this);
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setRange(MinEfficiency, MaxEfficiency);
    SpinEdit1->setValue(70);
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setDefault(true);

    auto *row = new QHBoxLayout(this);
    row->addWidget(Edit1);
    row->addWidget(SpinEdit1);
    row->addWidget(btnOk);
    setFixedHeight(sizeHint().height());

    connect(Edit1, &QLineEdit::textChanged, this, &TfrmSplein::Edit1Change);
    connect(btnOk, &QPushButton::clicked, this, &TfrmSplein::accept);
}

void TfrmSplein::Edit1Change()
{
    const QString text = Edit1->text();
    const auto refused = std::find_if(text.begin(), text.end(), IsRefusedNameChar);
    if (refused != text.end()) {
        // Pasted: every such character goes, the first one is named.
        const QChar c = *refused;
        QString kept = text;
        kept.removeIf(IsRefusedNameChar);
        RefuseChar(c);
        Edit1->setText(kept);
        Edit1->setCursorPosition(static_cast<int>(kept.size()));
        return;
    }
    if (text.size() > FanNameMaxLength) {
        Beep();
        ShowMessageBox(LookupText(QStringLiteral("Для названия отведено 15 символов !")),
                       LookupText(QStringLiteral("Ошибка")), mb::Ok | mb::IconError);
        Edit1->setText(text.chopped(1));
        Edit1->setCursorPosition(static_cast<int>(Edit1->text().size()));
    }
}

bool TfrmSplein::Edit1KeyPress(QChar c)
{
    // Control characters of a key are the editing keys themselves.
    if (c.unicode() < 0x20 || c.unicode() == 0x7F || !IsRefusedNameChar(c))
        return true;
    RefuseChar(c);
    return false;
}

bool TfrmSplein::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        for (const QChar c : typed)
            if (!Edit1KeyPress(c))
                return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmSplein::accept()
{
    if (m_nameMode && !NameFits(Edit1->text())) {
        Edit1Change();
        return;
    }
    QDialog::accept();
}

void TfrmSplein::showEvent(QShowEvent *event)
{
    // The prompt's right edge on the editor's right edge.
    if (QWidget *owner = parentWidget()) {
        const QRect o = owner->frameGeometry();
        move(o.left() + o.width() - frameGeometry().width(), o.top() + (o.height() - height()) / 2);
    }
    QDialog::showEvent(event);
}

bool AskName(QWidget *owner, QString &text, const QString &title)
{
    TfrmSplein form(owner);
    form.m_nameMode = true;
    form.setWindowTitle(title);
    form.SpinEdit1->hide();
    form.Edit1->setText(text);
    const bool ok = form.exec() == QDialog::Accepted;
    text = form.Edit1->text();
    return ok;
}

bool AskFanEfficiency(QWidget *owner, int &efficiency)
{
    TfrmSplein form(owner);
    form.setWindowTitle(LookupText(QStringLiteral("Укажите КПД вентилятора")));
    form.Edit1->hide();
    const bool inRange = efficiency >= MinEfficiency && efficiency <= MaxEfficiency;
    form.SpinEdit1->setValue(inRange ? efficiency : (MinEfficiency + MaxEfficiency) / 2);
    const bool ok = form.exec() == QDialog::Accepted;
    efficiency = form.SpinEdit1->value();
    return ok;
}
