#pragma once
// The "Печать" dialog: the printer (its properties in Qt's page set-up
// dialog), the number of copies, and which pages: all, the current one or a
// list such as "1,3,5-12". OK is refused with a message while the copies or
// the list are not numbers, so nothing is printed from a bad entry. Leaving
// without OK selects the printer of the opening again.
#include <QtWidgets/QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

class TfrPrintForm : public QDialog
{
public:
    explicit TfrPrintForm(QWidget *parent = nullptr);

    QGroupBox *GroupBox1;
    QComboBox *CB1;
    QPushButton *PropButton;
    QLabel *Label1;
    QLineEdit *E1;
    QToolButton *UpButton;
    QToolButton *DownButton;
    QGroupBox *GroupBox2;
    QRadioButton *RB1;
    QRadioButton *RB2;
    QRadioButton *RB3;
    QLineEdit *E2;
    QLabel *Label2;
    QPushButton *Button1;
    QPushButton *Button2;
    // The printer selected when the dialog opened.
    int OldIndex = 0;

    // The page list the choice stands for: empty for all pages, the current
    // page's number, or the typed list.
    QString PageList(int currentPage) const;
    int Copies() const;

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void StepCopies(int step);
};
