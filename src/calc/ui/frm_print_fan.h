#pragma once
// "Печать графика характеристики вентилятора": the characteristics of the
// fan type in the editor as a chart, with the working point in its title and
// its guides, printed on one landscape page of the program's printer.
#include <QtCore/QRect>
#include <QtWidgets/QDialog>

#include <vector>

class QChart;
class QChartView;
class QLineSeries;
class QPushButton;
class TFanEditor;

class TfrmPrintFan : public QDialog
{
    Q_OBJECT

public:
    // The window takes the editor window's size and the chart the plot's
    // place; the type name goes into the flow axis title.
    TfrmPrintFan(QWidget *owner, TFanEditor &editor, const QString &typeName, const QRect &plotGeometry);

    QChartView *ChartView;
    QChart *Chart;
    // The working-point guides.
    QLineSeries *Series1;
    // One series per stored characteristic, by characteristic index.
    std::vector<QLineSeries *> CurveSeries;
    QPushButton *Button1, *Button2;

    void Button1Click();
    // One landscape page into (W/20, H/10)–(W − W/20, H − H/12) on the
    // program's printer; a failed print is aborted and its reason shown.
    // False when nothing was printed.
    bool PrintChart();
    void FreeSeries();

private:
    TFanEditor &m_editor;
};

// Opens the window modally; true when it closed with OK (after printing).
bool ShowFanChart(QWidget *owner, TFanEditor &editor, const QString &typeName, const QRect &plotGeometry);
