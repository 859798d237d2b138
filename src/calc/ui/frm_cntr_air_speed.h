#pragma once
// "Контроль скорости воздуха": the air speed of every controlled branch
// against the limits of its kind, rows below the minimum red and above the
// maximum yellow, filtered by limit, gas-layer control, numbers or kind.
#include "calc/speed_control.h"

#include <QtWidgets/QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

class TfrmCntrAirSpeed : public QDialog
{
    Q_OBJECT

public:
    TfrmCntrAirSpeed(QWidget *owner, const TNetworkTables &t = Net);
    ~TfrmCntrAirSpeed() override;

    TSpeedTable Table;

    QTableWidget *sgAirSpeed;
    QLabel *lblShow;
    QComboBox *cmbDiap;
    QPushButton *btPrn;   // "Печать...": the report manager over the listed branches
    QPushButton *btnClose;

    // Computes the speeds and lists every controlled branch.
    void ComputeSpeeds();
    void FillTable();
    // The report manager over the listed branches, modal.
    void btPrnClick();

private:
    void cmbDiapChange(int index);
    void cmbDiapTyped(const QString &text);
};

// The window while it exists.
extern TfrmCntrAirSpeed *frmCntrAirSpeed;

// Solves the network on the tables; a failure is shown and nothing opens.
// Otherwise shows the speed window modally and frees it.
void RunSpeedCheck(QWidget *Owner, TNetworkTables &t = Net);
