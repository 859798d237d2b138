#include "calc/ui/frm_depres.h"

#include "calc/ui/chart_print.h"
#include "calc/ui/frm_reports1.h"
#include "platform/guard.h"
#include "platform/help.h"
#include "platform/prompt.h"
#include "shell/ui/frm_main.h"

#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGraphicsSimpleTextItem>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>

namespace {

constexpr int HelpTopic = 60;

void Warn(const QString &text)
{
    ShowMessageBox(LookupText(text), QString(), mb::Ok | mb::IconWarning);
}

} // namespace

TRouteChart::TRouteChart(QWidget *parent, const QString &xTitle, const QString &yTitle,
                         const std::vector<QColor> &colors)
    // The view is given its chart at once: a view made without one makes a
    // chart of its own, which a later setChart would leave behind.
    : QChartView(new QChart, parent)
{
    QChart *chart = this->chart();
    chart->legend()->hide();
    auto *x = new QValueAxis(chart);
    auto *y = new QValueAxis(chart);
    x->setTitleText(xTitle);
    y->setTitleText(yTitle);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (const QColor &color : colors) {
        auto *series = new QLineSeries(chart);
        series->setPen(QPen(color, 2));
        series->setPointsVisible(true);
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
        Series.push_back(series);
    }
    setRenderHint(QPainter::Antialiasing);
    connect(chart, &QChart::plotAreaChanged, this, [this] { PlaceLabels(); });
}

void TRouteChart::Plot(const std::vector<TChartPoint> &points)
{
    QList<QPointF> values;
    double maxX = 0, maxY = 0;
    for (const TChartPoint &p : points) {
        values << QPointF(p.X, p.Y);
        maxX = std::max(maxX, p.X);
        maxY = std::max(maxY, p.Y);
    }
    for (QLineSeries *series : Series)
        series->replace(values);
    for (auto &[item, at] : m_labels)
        delete item;
    m_labels.clear();
    for (const TChartPoint &p : points) {
        auto *item = new QGraphicsSimpleTextItem(p.Label, chart());
        item->setZValue(10);
        m_labels.emplace_back(item, QPointF(p.X, p.Y));
    }
    const auto axes = chart()->axes();
    for (QAbstractAxis *axis : axes) {
        auto *value = static_cast<QValueAxis *>(axis);
        const double top = axis->orientation() == Qt::Horizontal ? maxX : maxY;
        value->setRange(0, top > 0 ? top * 1.08 : 1);
    }
    PlaceLabels();
}

QStringList TRouteChart::Labels() const
{
    QStringList texts;
    for (const auto &[item, at] : m_labels)
        texts << item->text();
    return texts;
}

void TRouteChart::PlaceLabels()
{
    if (Series.empty())
        return;
    for (auto &[item, at] : m_labels)
        item->setPos(chart()->mapToPosition(at, Series.front()) + QPointF(3, -16));
}

TfrmDepres::TfrmDepres(QWidget *owner, const TNetworkTables &t)
    : QDialog(owner), Study(std::make_unique<TDepressiogram>(t)), ReportData(*Study),
      Report(QStringLiteral("frmDepres"), {&ReportData.udDepres},
             [this](const QString &name, Variant &value) { return ReportData.GetValue(name, value); })
{
    setObjectName(QStringLiteral("frmDepres"));
    setMinimumSize(680, 480);
    resize(900, 600);
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    LabelLongwall = new QLabel(QStringLiteral("Лава"), this);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setToolTip(QStringLiteral("Список лав"));
    btnHelp1 = new QPushButton(QStringLiteral("Справка"), this);
    btnClose = new QPushButton(QStringLiteral("Закрыть"), this);
    top->addWidget(LabelLongwall);
    top->addWidget(ComboBox1, 1);
    top->addWidget(btnHelp1);
    top->addWidget(btnClose);
    layout->addLayout(top);

    Pages = new QTabWidget(this);
    auto page = [this](const QString &caption) {
        auto *w = new QWidget(Pages);
        Pages->addTab(w, caption);
        return new QVBoxLayout(w);
    };
    QVBoxLayout *fresh = page(QStringLiteral("Свежая"));
    FreshList = new QComboBox;
    FreshList->setToolTip(QStringLiteral("Список выработок на поступающей в лаву"));
    FreshChart = new TRouteChart(nullptr, QStringLiteral("Расстояние от входа с поверхности по направлению струи, км"),
                                 QStringLiteral("Депрессия, мм вод ст"), {Qt::red});
    fresh->addWidget(FreshList);
    fresh->addWidget(FreshChart, 1);

    QVBoxLayout *outgoing = page(QStringLiteral("Исходящая"));
    OutgoingList = new QComboBox;
    OutgoingList->setToolTip(QStringLiteral("Список выработок на исходящей из лавы"));
    OutgoingChart = new TRouteChart(nullptr, QStringLiteral("Расстояние от лавы , км"),
                                    QStringLiteral("Депрессия H, мм вод ст"), {Qt::blue});
    outgoing->addWidget(OutgoingList);
    outgoing->addWidget(OutgoingChart, 1);

    QVBoxLayout *whole = page(QStringLiteral("Весь маршрут"));
    WholeChart = new TRouteChart(nullptr, QStringLiteral(" Расстояние от первого узла в км "),
                                 QStringLiteral("Депрессия , мм вод ст"), {Qt::black, Qt::darkRed});
    btnDepresPrint = new QPushButton(QStringLiteral("Печать"));
    whole->addWidget(WholeChart, 1);
    whole->addWidget(btnDepresPrint, 0, Qt::AlignRight);

    QVBoxLayout *table = page(QStringLiteral("Таблица маршрута"));
    StringGrid1 = new QTableWidget;
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setColumnCount(10);
    StringGrid1->setHorizontalHeaderLabels(TDepressiogram::RouteHeaders());
    table->addWidget(StringGrid1, 1);
    auto *buttons = new QHBoxLayout;
    btnDesig = new QPushButton(QStringLiteral("Оформление"));
    btnShow = new QPushButton(QStringLiteral("Печать"));
    btnSave = new QPushButton(QStringLiteral("Сохранить"));
    buttons->addStretch(1);
    for (QPushButton *b : {btnDesig, btnShow, btnSave})
        buttons->addWidget(b);
    // Saving waits for a loaded template.
    btnDesig->setEnabled(TStudyReport::CanDesign());
    btnShow->setEnabled(TStudyReport::CanShow());
    btnSave->setEnabled(false);
    table->addLayout(buttons);
    layout->addWidget(Pages, 1);
    Pages->setCurrentIndex(dpTable);

    connect(btnHelp1, &QPushButton::clicked, this, [] { ShowHelpTopic(HelpTopic); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Click(); });
    connect(btnDepresPrint, &QPushButton::clicked, this, [this] { GuardedCall([this] { PrintRouteChart(); }); });
    connect(btnShow, &QPushButton::clicked, this, [this] { GuardedCall([this] { btnShowClick(); }); });
    connect(btnDesig, &QPushButton::clicked, this, [this] { GuardedCall([this] { btnDesigClick(); }); });
    connect(btnSave, &QPushButton::clicked, this, [this] { GuardedCall([this] { btnSaveClick(); }); });
}

TfrmDepres::~TfrmDepres() = default;

void TfrmDepres::InitDepressiogram()
{
    Study->FillLongwallList();
    ComboBox1->clear();
    if (Study->Longwalls.empty()) {
        Warn(QStringLiteral("Отсутствуют ветви с признаком лавы!..."));
        return;
    }
    ComboBox1->addItems(Study->LongwallItems);
    ComboBox1->setCurrentIndex(0);
    ComboBox1Click();
}

void TfrmDepres::ComboBox1Click()
{
    const QStringList warnings = Study->Choose(ComboBox1->currentIndex());
    for (const QString &w : warnings)
        Warn(w);
    ShowRoute();
}

void TfrmDepres::ShowRoute()
{
    const TDepressiogram &d = *Study;
    FreshChart->Plot(d.Fresh);
    OutgoingChart->Plot(d.Outgoing);
    WholeChart->Plot(d.Whole);
    FreshList->clear();
    FreshList->addItems(d.FreshItems);
    OutgoingList->clear();
    OutgoingList->addItems(d.OutgoingItems);
    if (!d.Caption.isEmpty())
        setWindowTitle(d.Caption);

    StringGrid1->setRowCount(d.RowCount());
    for (int r = 0; r < d.RowCount(); ++r) {
        const QStringList cells = d.RouteRow(r);
        const TRouteRowKind kind = d.RowKind(r);
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            item->setBackground(kind == rkLongwall ? QColor(Qt::yellow) : QColor(Qt::white));
            item->setForeground(kind == rkOutgoing ? QColor(Qt::blue) : QColor(Qt::red));
            StringGrid1->setItem(r, c, item);
        }
    }
    StringGrid1->resizeColumnsToContents();
}

bool TfrmDepres::PrintRouteChart()
{
    return PrintChartPage(WholeChart->chart(), windowTitle(), windowTitle());
}

void TfrmDepres::btnShowClick()
{
    ReportData.MineTitle = frmMain ? frmMain->GetMineTitle() : QString();
    // A template that fails to load is no longer there to be saved.
    btnSave->setEnabled(false);
    Report.Show(TDepressiogram::TemplatePath(NetworkReportsFolder()));
    btnSave->setEnabled(!Report.LoadedFile().isEmpty());
}

void TfrmDepres::btnDesigClick()
{
    btnSave->setEnabled(false);
    Report.Design(TDepressiogram::TemplatePath(NetworkReportsFolder()));
    btnSave->setEnabled(!Report.LoadedFile().isEmpty());
}

void TfrmDepres::btnSaveClick() { Report.Save(TDepressiogram::TemplatePath(NetworkReportsFolder())); }

void RunDepressiogram(QWidget *mainWindow, TNetworkTables &t)
{
    if (!CalcAir(mainWindow, t)) {
        Warn(QStringLiteral("Сбой при расчете потокораспределения"));
        return;
    }
    const int missing = BranchesWithoutLength(t);
    if (missing > 0) {
        Warn(NoLengthMessage(missing));
        return;
    }
    TfrmDepres form(mainWindow, t);
    form.InitDepressiogram();
    form.exec();
}
