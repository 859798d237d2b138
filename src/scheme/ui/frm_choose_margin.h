#pragma once
// "Установка отступов": the left and top margins the scheme shift moves the
// scheme's smallest coordinates to.
#include <QtWidgets/QDialog>

class QPushButton;
class QSpinBox;

class TfrmChooseMargin : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmChooseMargin(QWidget *parent = nullptr);

    QSpinBox *SpinEdit1;  // "Отступ слева"
    QSpinBox *SpinEdit2;  // "Отступ сверху"
    QPushButton *Button1, *Button2, *Button3;  // "Выровнять", "Прервать", "Помощь"

    void Button3Click();
};

// The margins asked with the dialog, 10 and 10 at start; false when cancelled.
bool ChooseMargins(QWidget *owner, int &left, int &top);
