#pragma once
// The four small dialogs of the installations along a branch, opened from the
// page "Аксессуары" of the branch dialog: the conveyor (belt type and width as
// list indexes), the fire-water pipe (diameter), the degassing pipe (valve
// number) and the electric cables (cut-off cells). Each has "Сохранить"
// (default) and "Отмена" and works on the working copies of the branch dialog
// that opened it; the tables change only when that dialog is confirmed.
#include <QtWidgets/QDialog>

class QComboBox;
class QLineEdit;
class TBranchForm;

class TfrmConv : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmConv(QWidget *parent = nullptr);
    QComboBox *cbType = nullptr;
    QComboBox *cbWidth = nullptr;
};

// One free text; the three text dialogs differ in caption, label and limit.
class TfrmAccessoryText : public QDialog
{
    Q_OBJECT

public:
    TfrmAccessoryText(const QString &caption, const QString &label, int maxLength, QWidget *parent = nullptr);
    QLineEdit *Edit = nullptr;
};

class TfrmFireWater : public TfrmAccessoryText
{
    Q_OBJECT

public:
    explicit TfrmFireWater(QWidget *parent = nullptr);
    QLineEdit *edDiam = nullptr;
};

class TfrmDeGaze : public TfrmAccessoryText
{
    Q_OBJECT

public:
    explicit TfrmDeGaze(QWidget *parent = nullptr);
    QLineEdit *edZadv = nullptr;
};

class TfrmCableProperty : public TfrmAccessoryText
{
    Q_OBJECT

public:
    explicit TfrmCableProperty(QWidget *parent = nullptr);
    QLineEdit *edCables = nullptr;
};

// The cable cells edit takes at most this many characters.
constexpr int CableCellsMaxLength = 18;

// Conveyor: when confirmed, the form's belt type and width become the chosen
// indexes (−1 for none) and the form is modified.
void EditConveyor(TBranchForm &form, QWidget *parent = nullptr);
// The text editors: result stays current unless the dialog is confirmed (true).
bool EditFirePipe(const QString &current, QString &result, QWidget *parent = nullptr);
bool EditDegasPipe(const QString &current, QString &result, QWidget *parent = nullptr);
bool EditCables(const QString &current, QString &result, QWidget *parent = nullptr);
