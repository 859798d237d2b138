#pragma once
// "ВОЗДУХОРАСПРЕДЕЛЕНИЕ": the result window of an air distribution. Lists the
// branches of a category, or of a typed list of numbers, with flow,
// resistance and depressions, and the totals of a category. Its OK and
// Cancel give the answer that the reversal of branches takes as confirmation.
#include "calc/air_table.h"

#include <QtWidgets/QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

class TfrmAirTablN : public QDialog
{
    Q_OBJECT

public:
    TfrmAirTablN(QWidget *owner, const TNetworkTables &t = Net, int reportStyle = 1);
    ~TfrmAirTablN() override;

    // Set by every opener: the category box is offered and sets the caption.
    bool ShowRangeChoice = false;
    // Also holds the fixed-depression mode, which that command sets.
    TAirTable Table;

    QTableWidget *sgAirDebt;
    QLabel *lblDiap;
    QComboBox *cbxDiap;
    QPushButton *SpeedButton1;  // "Печать...": previews the listed branches
    QPushButton *btnCancel;
    QPushButton *btnOk;

    // Row `row` of the grid (0 the first below the captions) shows branch b.
    void FillBranchRow(int row, int b);
    void FillTable();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void FillRow(int row, const QStringList &cells);
    void cbxDiapChange(int index);
    void cbxDiapTyped(const QString &text);

    bool m_shown = false;
};

// The window while it exists.
extern TfrmAirTablN *frmAirTablN;
