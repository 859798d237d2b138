#pragma once
// The depressiogram window: the route of a longwall as three curves (fresh,
// outgoing, whole) and as a table.
#include "calc/depressiogram.h"
#include "calc/ui/study_report.h"

#include <QtCharts/QChartView>
#include <QtWidgets/QDialog>

#include <memory>
#include <vector>

class QComboBox;
class QGraphicsSimpleTextItem;
class QLabel;
class QLineSeries;
class QPushButton;
class QTabWidget;
class QTableWidget;

// A line chart whose points carry their own text labels (node numbers,
// "Лава"), kept beside their points whenever the plot area moves.
class TRouteChart : public QChartView
{
public:
    TRouteChart(QWidget *parent, const QString &xTitle, const QString &yTitle, const std::vector<QColor> &colors);

    std::vector<QLineSeries *> Series;
    // Puts the points on every series; the labels go with the first.
    void Plot(const std::vector<TChartPoint> &points);
    QStringList Labels() const;

private:
    void PlaceLabels();
    std::vector<std::pair<QGraphicsSimpleTextItem *, QPointF>> m_labels;
};

class TfrmDepres : public QDialog
{
    Q_OBJECT

public:
    enum TPage { dpFresh, dpOutgoing, dpWhole, dpTable };

    TfrmDepres(QWidget *owner, const TNetworkTables &t);
    ~TfrmDepres() override;

    std::unique_ptr<TDepressiogram> Study;
    TDepressiogramReport ReportData;
    TStudyReport Report;

    QLabel *LabelLongwall;
    QComboBox *ComboBox1, *FreshList, *OutgoingList;
    QPushButton *btnHelp1, *btnClose, *btnDepresPrint, *btnDesig, *btnShow, *btnSave;
    QTabWidget *Pages;
    TRouteChart *FreshChart, *OutgoingChart, *WholeChart;
    QTableWidget *StringGrid1;

    // The longwall list and the route of the first longwall.
    void InitDepressiogram();
    // Another longwall chosen.
    void ComboBox1Click();
    // "Печать" on "Весь маршрут": the whole-route chart on one landscape
    // page of the program's printer; false when nothing was printed.
    bool PrintRouteChart();
    // "Печать" under the route table: previews the route's template.
    void btnShowClick();
    // "Оформление": opens the designer on the route's template.
    void btnDesigClick();
    // "Сохранить": writes the route's template back, only when this window loaded it.
    void btnSaveClick();

private:
    void ShowRoute();
};

// The command "Депрессиограмма...".
void RunDepressiogram(QWidget *mainWindow, TNetworkTables &t = Net);
