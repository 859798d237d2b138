#pragma once
// "Характеристика пожарной нагрузки": what burns in the fire branch (variant,
// conveyor belt, support frames, cables, other combustibles), kept in
// "FireLoad.dat", and the fire's thermal depression without and with that
// load compared on a chart and in a table.
#include "emergency/fire_depression.h"

#include <QtWidgets/QDialog>

class QCheckBox;
class QChart;
class QChartView;
class QComboBox;
class QGraphicsLineItem;
class QGroupBox;
class QLabel;
class QLineSeries;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;

// The fire branch the load is described for.
struct TFireLoadBranch
{
    int FireTime = DefaultFireTime;
    int L = 0;
    double Q = 0, S = 0, zStart = 0, zEnd = 0, Angle = 0, T = 0;
};

class TfrmPNagr : public QDialog
{
    Q_OBJECT

public:
    // The record is FireLoadRec, read from the file before the window is made.
    TfrmPNagr(QWidget *owner, const TFireLoadBranch &branch);

    // Both series, the table and the chart.
    void InImage();
    // Sets the controls from FireLoadRec and applies the enabling rules.
    void ShowRecord();

    QTabWidget *PageControl;
    QGroupBox *rgVariant;
    QRadioButton *rbVariant[4];
    QGroupBox *gbBelt;
    QComboBox *cbBeltType, *cbBeltWidth;
    QLabel *lbFrames;
    QComboBox *cbFrames;
    QCheckBox *chkLadders, *chkBars, *chkCables, *chkCoal;
    QGroupBox *gbCables;
    QComboBox *cbCableType, *cbCableCount;
    QChartView *ChartView;
    QChart *Chart;
    QLineSeries *SeriesWithout, *SeriesWith;
    QLabel *lbCoords;
    QTableWidget *Table;
    QPushButton *btnOk, *btnCancel, *btnHelp;
    // The cross-hair over the plot, hidden while the pointer is outside it.
    QGraphicsLineItem *CrossV, *CrossH;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ApplyEnabling();
    void DrawChartCrossHair(QPointF position);
    void OkClick();

    TFireLoadBranch m_branch;
    bool m_showing = false;
};

// Reads the fire-load file, shows the window modally; true when closed with
// OK. A file that cannot be read is reported with its name and no window opens.
bool ShowFireLoadForm(QWidget *owner, int fireTime, int L, double Q, double S, double zStart, double zEnd,
                      double angle, double t);
