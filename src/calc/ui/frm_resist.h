#pragma once
// "Расчет аэродинамического сопротивления": an airway's resistance from its
// length, area, section shape and alpha, or read off the support graphs.
#include <QtWidgets/QDialog>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;

class TfrmResist : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmResist(QWidget *owner);
    ~TfrmResist() override;

    // The values handed in and out.
    int L = 0;
    double S = 0;
    double R = 0;
    double Alpha = 0;

    QLineEdit *edL, *edS, *edAlfa;
    QGroupBox *rdFSech;
    QButtonGroup *Shapes;
    QPushButton *btResist, *btGrafik, *btOk, *btCancel;

    // The edits from the values.
    void FormShow();
    void edSExit();
    void btResistClick();
    void btResistExit();
    void btGrafikClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

extern TfrmResist *frmResist;

// Opens the calculator with the values; on OK writes L, S, R and alpha back
// and returns true, otherwise leaves them as they were.
bool CalcBranchResistance(QWidget *owner, int &L, double &S, double &R, double &Alpha);
