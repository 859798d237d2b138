#pragma once
// The numeric edit box of every dialog, and the same reading for any plain
// line edit. A text that is no number, or a number out of range, becomes an
// exception whose message quotes the text; before it leaves, the focus goes
// to the edit and the owning dialog's result is cleared.
//
// Qt carries no exception through its event loop, so a dialog reads its
// numbers in its OK handler through ReadEdits (or ValidateEdits): on a bad
// value the message is shown, the focus is on the edit, and the handler
// returns without accepting, so the dialog stays open:
//
//     void TfrmX::OkClicked()
//     {
//         if (!ReadEdits([&] { r = edR->GetFloatValue(); n = edN->GetIntValue(); }))
//             return;
//         accept();
//     }
#include "platform/exceptions.h"
#include "platform/float_format.h"

#include <QtWidgets/QLineEdit>

#include <functional>
#include <initializer_list>

// An integer out of the edit's range.
class EInvalidIntDiap : public Exception
{
public:
    using Exception::Exception;
};

// A real number out of the edit's range.
class EInvalidFloatDiap : public Exception
{
public:
    using Exception::Exception;
};

class TxqEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TxqEdit(QWidget *parent = nullptr);

    // Bounds, inclusive; enforced when a value is read only with CheckDiap.
    int IntMin = 0;
    int IntMax = 0;
    double FloatMin = 0.0;
    double FloatMax = 0.0;
    bool CheckDiap = false;

    // Shorthands that also turn the check on.
    void SetIntRange(int min, int max);
    void SetFloatRange(double min, double max);

    // Changing the format rewrites the present text in it at once; the text
    // must then be a number (EConvertError otherwise).
    int FloatPrecision() const { return m_floatPrecision; }
    void SetFloatPrecision(int value);
    int FloatDigits() const { return m_floatDigits; }
    void SetFloatDigits(int value);
    TFloatFormat FloatFormat() const { return m_floatFormat; }
    void SetFloatFormat(TFloatFormat value);

    // EConvertError for a text that is no number; EInvalidIntDiap or
    // EInvalidFloatDiap out of range.
    int GetIntValue();
    double GetFloatValue();
    // GetIntValue without the exception; a failure still moves the focus
    // and clears the dialog's result.
    bool IsValidInt();

    void SetIntValue(int value);
    void SetFloatValue(double value);

    bool CheckIntRange(int value);
    bool CheckFloatRange(double value);

private:
    void MarkFailure();

    int m_floatPrecision = 2;
    int m_floatDigits = 8;
    TFloatFormat m_floatFormat = ffGeneral;
};

// The text of any line edit as a number, no range check; the failure path of
// TxqEdit, always moving the focus.
int EditToInt(QLineEdit *edit);
double EditToFloat(QLineEdit *edit);

// Runs code that reads values from edits. An error of an edit (or any other
// error the code raises as Exception) is shown in an error box; the result is
// then false and the focus is on the offending edit.
bool ReadEdits(const std::function<void()> &read);

// Checks edits in order, each read as an integer or a real number; the first
// bad one gets the focus and its message is shown.
enum class TEditKind { Int, Float };
struct TEditCheck
{
    TxqEdit *Edit;
    TEditKind Kind;
};
bool ValidateEdits(std::initializer_list<TEditCheck> edits);

// Shows an error message as the program shows any failed command.
void ShowErrorMessage(const QString &message);

// A focus-out event by which a control is left for another control: the
// exit handlers of the dialogs read their edits on it. The focus that a
// message box or a popup takes is no exit.
bool IsExitEvent(const QEvent *event);
