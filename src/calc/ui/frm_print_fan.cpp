#include "calc/ui/frm_print_fan.h"

#include "calc/fan_editor.h"
#include "calc/ui/chart_print.h"
#include "platform/prompt.h"
#include "shell/main_commands.h"

#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

TfrmPrintFan::TfrmPrintFan(QWidget *owner, TFanEditor &editor, const QString &typeName, const QRect &plotGeometry)
    : QDialog(owner), m_editor(editor)
{
    setObjectName(QStringLiteral("frmPrintFan"));
    setWindowTitle(LookupText(QStringLiteral("Печать графика характеристики вентилятора")));
    if (owner)
        resize(owner->size());

    Chart = new QChart;
    Chart->setBackgroundBrush(Qt::white);
    Chart->legend()->hide();
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSize(10);
    Chart->setTitleFont(titleFont);
    auto *left = new QValueAxis(Chart);
    auto *bottom = new QValueAxis(Chart);
    for (QValueAxis *axis : {left, bottom}) {
        axis->setGridLinePen(QPen(Qt::black, 1, Qt::SolidLine));
        axis->setLinePen(QPen(Qt::black));
        axis->setLabelFormat(QStringLiteral("%g"));
    }
    left->setTitleText(LookupText(QStringLiteral("Депрессия H, мм вод ст")));
    Chart->addAxis(left, Qt::AlignLeft);
    Chart->addAxis(bottom, Qt::AlignBottom);

    ChartView = new QChartView(Chart, this);
    ChartView->setObjectName(QStringLiteral("Chart1"));
    ChartView->setRenderHint(QPainter::Antialiasing);
    ChartView->setMinimumSize(plotGeometry.size());

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button2 = new QPushButton(LookupText(QStringLiteral("Отмена")), this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ChartView, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
    connect(Button1, &QPushButton::clicked, this, &TfrmPrintFan::Button1Click);
    connect(Button2, &QPushButton::clicked, this, [this] {
        FreeSeries();
        reject();
    });

    // What the editor shows now.
    TPlotState &plot = editor.Plot;
    Chart->setTitle(FanChartTitle(plot.A, plot.b, editor.WorkQ, editor.WorkH, editor.N));
    bottom->setTitleText(LookupText(QStringLiteral("Расход воздуха Q, м3.с")) + QStringLiteral(" : ")
                         + LookupText(QStringLiteral("Вентилятор")) + u' ' + typeName);
    left->setRange(0, plot.HEnd);
    bottom->setRange(0, plot.QEnd);
    // Grid lines at the steps the editor's plot uses, from 0.
    for (QValueAxis *axis : {left, bottom}) {
        const double step = AxisStep(axis->max()) * 2;
        if (step > 0) {
            axis->setTickType(QValueAxis::TicksDynamic);
            axis->setTickAnchor(0);
            axis->setTickInterval(step);
        }
    }

    // Sampling a characteristic of up to three points refits the parabola;
    // the editor's A and b are the ones it showed before the print.
    const double a = plot.A, b = plot.b;
    for (int k = 0; k <= editor.Catalogue.LastCurve; ++k) {
        auto *series = new QLineSeries(this);
        Chart->addSeries(series);
        series->attachAxis(bottom);
        series->attachAxis(left);
        QPen pen = series->pen();
        pen.setWidth(k == editor.CurveIndex ? 2 : 1);
        series->setPen(pen);
        for (const TCurveSample &s : SampleCurve(plot, editor.Catalogue.Curves[static_cast<std::size_t>(k)]))
            series->append(s.Q, s.H);
        CurveSeries.push_back(series);
    }
    plot.A = a;
    plot.b = b;

    Series1 = new QLineSeries(this);
    Series1->setPen(QPen(Qt::black, 1, Qt::DashLine));
    Series1->setPointsVisible(true);
    Chart->addSeries(Series1);
    Series1->attachAxis(bottom);
    Series1->attachAxis(left);
    const double q = editor.WorkQ, h = editor.WorkH;
    if (plot.QminWork <= q && q <= plot.QmaxWork)
        Series1->append({QPointF(0, h), QPointF(q, h), QPointF(q, 0)});
}

void TfrmPrintFan::FreeSeries()
{
    for (QLineSeries *series : CurveSeries) {
        Chart->removeSeries(series);
        delete series;
    }
    CurveSeries.clear();
}

bool TfrmPrintFan::PrintChart()
{
    return PrintChartPage(Chart, windowTitle());
}

void TfrmPrintFan::Button1Click()
{
    PrintChart();
    FreeSeries();
    accept();
}

bool ShowFanChart(QWidget *owner, TFanEditor &editor, const QString &typeName, const QRect &plotGeometry)
{
    TfrmPrintFan form(owner, editor, typeName, plotGeometry);
    return form.exec() == QDialog::Accepted;
}
