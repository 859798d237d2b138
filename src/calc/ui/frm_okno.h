#pragma once
// "Расчет сопротивления двери с окном": the resistance that a door with a
// window adds to an airway, and the airway's total resistance with it.
#include <QtWidgets/QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmOkno : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmOkno(QWidget *owner);
    ~TfrmOkno() override;

    // Window area, airway area, regulator, airway and total resistance.
    double WindowArea = 0;
    double AirwayArea = 0;
    double RReg = 0;
    double RAirway = 0;
    double RTotal = 0;

    QLineEdit *EdOkno, *EdRegul, *EdSumma;
    QLabel *eLbSvir, *eLbVirab;
    QPushButton *BtBStart, *BtBHelp, *btOk, *btCancel;

    void FormShow();
    void PrintResult();
    bool EdOknoExit();
    void BtBStartClick();

    // A number from an edit, as StrInD reads it; on a failure the edit shows
    // the old value again (FormatFixedStr), with the caret at its end and the
    // focus kept.
    static bool StrInDEdit(QLineEdit *edit, double &value, double min, double max, int width, int decimals);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_reading = false;
};

extern TfrmOkno *frmOkno;

// Opens the window for an airway of resistance R and area S; on OK R takes
// the total resistance and the result is true.
bool CalcWindowResistance(QWidget *owner, double &R, double S);
