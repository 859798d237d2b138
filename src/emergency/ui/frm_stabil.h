#pragma once
// "Устойчивость проветривания наклонных выработок": the verdicts of the
// descending study in an editable table. The user may enter the temperature
// in the parallel working, the critical depression with measures that raise
// stability, and the conclusion, and delete rows; once edited, the table is
// shown again as it is at the next call, until it is cancelled.
#include "emergency/stability.h"

#include <QtWidgets/QDialog>

class QPushButton;
class QTableWidget;
class TfrmMain;

class TfrmStabil : public QDialog
{
    Q_OBJECT

public:
    TfrmStabil(QWidget *owner, TNetworkTables &t);
    ~TfrmStabil() override;

    TDescendingStability Study;
    bool StabilityEdited() const { return Study.Edited; }

    // Solves, selects and judges with a progress window; the count is 0 when
    // nothing is to be shown.
    void Compute();
    // Writes the table from the stored results.
    void FillTable();
    // Asks, then removes the row's branch.
    void DeleteRow(int row);
    // Stores the cell being left; false (with the message shown) for a text
    // that is no number.
    bool LeaveCell(int row, int column);

    QTableWidget *Grid;
    QPushButton *btnOk, *btnCancel, *btnPrint;

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void CurrentCellChanged(int row, int column, int previousRow, int previousColumn);
    void btnPrintClick();

    TNetworkTables &m_t;
    bool m_returning = false;
};

// The window while it exists.
extern TfrmStabil *frmStabil;

// "Нисходящее проветривание..." (F5).
void RunDescendingStability(TfrmMain &mainWindow);
// Frees the window (its results and edits go with it).
void FreeStabilityWindow();
