#pragma once
// The small prompt of the fan editor, in two modes: the name of a new fan
// type or characteristic (which becomes a file name, so it is kept to 15
// characters that a file name and code page 1251 can hold), and the fan's
// efficiency before its working point is computed. Only its OK button
// closes it.
#include <QtWidgets/QDialog>

class QLineEdit;
class QPushButton;
class QSpinBox;

class TfrmSplein : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmSplein(QWidget *owner);

    QLineEdit *Edit1;
    QSpinBox *SpinEdit1;
    QPushButton *btnOk;

    // The whole text on every change: characters a name must not hold are
    // taken out, then a text above 15 characters loses its last one (the
    // shortened text is a change again, so a long paste comes down to 15).
    void Edit1Change();
    // A typed character; false when it is refused (and dropped).
    bool Edit1KeyPress(QChar c);

    // OK closes only over a name that passes the checks.
    void accept() override;
    // No system buttons, no Escape: the prompt ends with OK.
    void reject() override {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool m_nameMode = false;
    friend bool AskName(QWidget *, QString &, const QString &);
};

// Name mode with text as the initial name; text takes the edit's content
// whatever the end, the result is true when closed with OK.
bool AskName(QWidget *owner, QString &text, const QString &title);
// Efficiency mode, starting at efficiency when it is within 20 to 95, else
// at 57; efficiency takes the chosen value whatever the end.
bool AskFanEfficiency(QWidget *owner, int &efficiency);
