#include "shell/ui/xq_edit.h"

#include "platform/numbers.h"
#include "platform/prompt.h"

#include <QtGui/QFocusEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>

#include <cmath>

namespace {

// A dialog whose result is cleared does not close on this OK.
void ClearDialogResult(QWidget *edit)
{
    if (auto *dialog = qobject_cast<QDialog *>(edit->window()))
        dialog->setResult(0);
}

[[noreturn]] void ConversionFailed(QLineEdit *edit, bool integer, bool alwaysFocus)
{
    const QString message = InvalidNumberMessage(edit->text(), integer);
    if (alwaysFocus || edit->isVisible())
        edit->setFocus();
    ClearDialogResult(edit);
    throw EConvertError(message);
}

int TextToInt(QLineEdit *edit, bool alwaysFocus)
{
    int value = 0;
    if (!TryStrToInt(edit->text(), value))
        ConversionFailed(edit, true, alwaysFocus);
    return value;
}

double TextToFloat(QLineEdit *edit, bool alwaysFocus)
{
    double value = 0;
    // Infinities and NaN are words, not numbers the user meant.
    if (!TryStrToFloat(edit->text(), value) || !std::isfinite(value))
        ConversionFailed(edit, false, alwaysFocus);
    return value;
}

} // namespace

TxqEdit::TxqEdit(QWidget *parent) : QLineEdit(parent) {}

void TxqEdit::SetIntRange(int min, int max)
{
    IntMin = min;
    IntMax = max;
    CheckDiap = true;
}

void TxqEdit::SetFloatRange(double min, double max)
{
    FloatMin = min;
    FloatMax = max;
    CheckDiap = true;
}

void TxqEdit::SetFloatPrecision(int value)
{
    if (value == m_floatPrecision)
        return;
    m_floatPrecision = value;
    SetFloatValue(GetFloatValue());
}

void TxqEdit::SetFloatDigits(int value)
{
    if (value == m_floatDigits)
        return;
    m_floatDigits = value;
    SetFloatValue(GetFloatValue());
}

void TxqEdit::SetFloatFormat(TFloatFormat value)
{
    if (value == m_floatFormat)
        return;
    m_floatFormat = value;
    SetFloatValue(GetFloatValue());
}

int TxqEdit::GetIntValue()
{
    const int value = TextToInt(this, false);
    if (CheckDiap)
        CheckIntRange(value);
    return value;
}

double TxqEdit::GetFloatValue()
{
    const double value = TextToFloat(this, false);
    if (CheckDiap)
        CheckFloatRange(value);
    return value;
}

bool TxqEdit::IsValidInt()
{
    try {
        GetIntValue();
        return true;
    } catch (...) {
        return false;
    }
}

void TxqEdit::SetIntValue(int value)
{
    setText(QString::number(value));
    setModified(true);
}

void TxqEdit::SetFloatValue(double value)
{
    // Precision is the count of significant digits, digits the decimals.
    setText(FloatToStrF(value, m_floatFormat, m_floatDigits, m_floatPrecision));
    setModified(true);
}

void TxqEdit::MarkFailure()
{
    if (isVisible())
        setFocus();
    ClearDialogResult(this);
}

bool TxqEdit::CheckIntRange(int value)
{
    if (value >= IntMin && value <= IntMax)
        return true;
    MarkFailure();
    throw EInvalidIntDiap(IntRangeMessage(IntMin, IntMax));
}

bool TxqEdit::CheckFloatRange(double value)
{
    if (value >= FloatMin && value <= FloatMax)
        return true;
    MarkFailure();
    throw EInvalidFloatDiap(QStringLiteral("Число с плавающей точкой должно быть в пределах %1...%2")
                                .arg(FormatFixed(FloatMin, 2), FormatFixed(FloatMax, 2)));
}

int EditToInt(QLineEdit *edit)
{
    return TextToInt(edit, true);
}

double EditToFloat(QLineEdit *edit)
{
    return TextToFloat(edit, true);
}

void ShowErrorMessage(const QString &message)
{
    ShowMessageBox(message, ApplicationTitle, mb::Ok | mb::IconError);
}

bool ReadEdits(const std::function<void()> &read)
{
    try {
        read();
        return true;
    } catch (const Exception &e) {
        ShowErrorMessage(e.Message());
        return false;
    }
}

bool ValidateEdits(std::initializer_list<TEditCheck> edits)
{
    return ReadEdits([&] {
        for (const TEditCheck &check : edits) {
            if (check.Kind == TEditKind::Int)
                check.Edit->GetIntValue();
            else
                check.Edit->GetFloatValue();
        }
    });
}

bool IsExitEvent(const QEvent *event)
{
    if (event->type() != QEvent::FocusOut)
        return false;
    const auto reason = static_cast<const QFocusEvent *>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}
