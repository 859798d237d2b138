#pragma once
// The preview's find dialog: the text, case sensitivity, and whether to
// search from the start or go on from where the last search stopped.
#include <QtWidgets/QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QPushButton;

class TfrPreviewSearchForm : public QDialog
{
public:
    explicit TfrPreviewSearchForm(QWidget *parent = nullptr);

    QLineEdit *Edit1;
    QCheckBox *CB1;
    QRadioButton *RB1;
    QRadioButton *RB2;
    QPushButton *Button1;
    QPushButton *Button2;

protected:
    void showEvent(QShowEvent *event) override;
};
