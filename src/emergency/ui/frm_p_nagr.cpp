#include "emergency/ui/frm_p_nagr.h"

#include "emergency/fire_model.h"
#include "platform/exceptions.h"
#include "platform/help.h"
#include "platform/prompt.h"
#include "report/formats.h"

#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGraphicsLineItem>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QVBoxLayout>

#include <cmath>

namespace {

const int FireLoadHelpTopic = 80;

QString AxisText(double v) { return FormatFloatPattern(QStringLiteral("#,##0."), v); }

// An axis from 0 to a round value above max whose labels read "#,##0.".
QCategoryAxis *MakeAxis(const QString &title, double max)
{
    auto *axis = new QCategoryAxis;
    axis->setTitleText(title);
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    if (max <= 0)
        max = 1;
    const double raw = max / 6;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = magnitude;
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (m * magnitude >= raw) {
            step = m * magnitude;
            break;
        }
    const double top = std::ceil(max / step) * step;
    axis->setRange(0, top);
    axis->setStartValue(0);
    for (double v = 0; v <= top + step / 2; v += step)
        axis->append(AxisText(v), v);
    return axis;
}

// A group's combo boxes, each with its text to the left.
void LabelledCombos(QGroupBox *group, std::initializer_list<std::pair<QString, QComboBox *>> rows)
{
    auto *layout = new QGridLayout(group);
    int row = 0;
    for (const auto &[text, combo] : rows) {
        layout->addWidget(new QLabel(text, group), row, 0);
        layout->addWidget(combo, row, 1);
        ++row;
    }
}

} // namespace

TfrmPNagr::TfrmPNagr(QWidget *owner, const TFireLoadBranch &branch) : QDialog(owner), m_branch(branch)
{
    setWindowTitle(QStringLiteral("Характеристика пожарной нагрузки"));
    resize(960, 600);
    PageControl = new QTabWidget(this);

    // The load.
    auto *loadPage = new QWidget;
    rgVariant = new QGroupBox(QStringLiteral("Вариант пожарной нагрузки"), loadPage);
    const char *const variants[4] = {"Конвейерная лента", "Конвейерная лента и затяжка крепи", "Затяжка крепи",
                                     "Крепь (стойки, верхняки и затяжка) "};
    auto *variantLayout = new QVBoxLayout(rgVariant);
    for (int i = 0; i < 4; ++i) {
        rbVariant[i] = new QRadioButton(QString::fromUtf8(variants[i]), rgVariant);
        variantLayout->addWidget(rbVariant[i]);
        connect(rbVariant[i], &QRadioButton::clicked, this, [this, i] {
            FireLoadRec.Variant = i;
            ApplyEnabling();
        });
    }

    gbBelt = new QGroupBox(QStringLiteral("Характеристика ленты"), loadPage);
    cbBeltType = new QComboBox(gbBelt);
    cbBeltType->addItems({QStringLiteral("РТР"), QStringLiteral("РТК"), QStringLiteral("Прочие")});
    cbBeltWidth = new QComboBox(gbBelt);
    for (const auto w : BeltWidths)
        cbBeltWidth->addItem(QString::number(w));
    LabelledCombos(gbBelt, {{QStringLiteral("Тип ленты"), cbBeltType}, {QStringLiteral("Ширина ленты"), cbBeltWidth}});

    lbFrames = new QLabel(QStringLiteral("Между рамами крепи"), loadPage);
    cbFrames = new QComboBox(loadPage);
    cbFrames->addItems({QStringLiteral("Менее 1.5 м"), QStringLiteral("Более 1.5 м")});

    auto *gbOther = new QGroupBox(QStringLiteral("Дополнительные горючие"), loadPage);
    chkLadders = new QCheckBox(QStringLiteral("Трапы "), gbOther);
    chkBars = new QCheckBox(QStringLiteral("Бруски "), gbOther);
    chkCables = new QCheckBox(QStringLiteral("Кабели"), gbOther);
    chkCoal = new QCheckBox(QStringLiteral("Уголь"), gbOther);
    auto *otherLayout = new QVBoxLayout(gbOther);
    for (auto *c : {chkLadders, chkBars, chkCables, chkCoal})
        otherLayout->addWidget(c);

    gbCables = new QGroupBox(QStringLiteral("Характеристика кабелей"), loadPage);
    cbCableType = new QComboBox(gbCables);
    cbCableType->addItems({QStringLiteral("3x25+1x10+3x4"), QStringLiteral("3x35+1x10+3x4"),
                           QStringLiteral("3x50+1x10+3x4"), QStringLiteral("3x70+1x10+3x4"),
                           QStringLiteral("3x90+1x10+3x4")});
    cbCableCount = new QComboBox(gbCables);
    for (int i = 0; i <= 5; ++i)
        cbCableCount->addItem(QString::number(i));
    LabelledCombos(gbCables, {{QStringLiteral("Типы"), cbCableType}, {QStringLiteral("Число, штук"), cbCableCount}});

    auto *framesRow = new QHBoxLayout;
    framesRow->addWidget(lbFrames);
    framesRow->addWidget(cbFrames);
    framesRow->addStretch();
    auto *loadGrid = new QGridLayout(loadPage);
    loadGrid->addWidget(rgVariant, 0, 0);
    loadGrid->addWidget(gbBelt, 0, 1);
    loadGrid->addLayout(framesRow, 1, 0, 1, 2);
    loadGrid->addWidget(gbOther, 2, 0);
    loadGrid->addWidget(gbCables, 2, 1);
    loadGrid->setRowStretch(3, 1);
    PageControl->addTab(loadPage, QStringLiteral("Нагрузка"));

    // The thermal depression.
    auto *chartPage = new QWidget;
    Chart = new QChart;
    Chart->setTitle(QStringLiteral("Динамика тепловой депрессии"));
    SeriesWithout = new QLineSeries;
    SeriesWithout->setName(QStringLiteral("Без учёта пожарной нагрузки"));
    SeriesWithout->setPen(QPen(Qt::red, 2));
    SeriesWith = new QLineSeries;
    SeriesWith->setName(QStringLiteral("С учётом пожарной нагрузки"));
    SeriesWith->setPen(QPen(Qt::blue, 2));
    Chart->addSeries(SeriesWithout);
    Chart->addSeries(SeriesWith);
    Chart->legend()->setAlignment(Qt::AlignBottom);
    ChartView = new QChartView(Chart, chartPage);
    ChartView->setMouseTracking(true);
    ChartView->viewport()->setMouseTracking(true);
    ChartView->viewport()->installEventFilter(this);
    // A yellow pen drawn inverting over the white plot, as the cross-hair shows.
    const QPen crossPen(QColor(0, 0, 255), 1, Qt::DashLine);
    CrossV = new QGraphicsLineItem(Chart);
    CrossH = new QGraphicsLineItem(Chart);
    for (auto *line : {CrossV, CrossH}) {
        line->setPen(crossPen);
        line->setZValue(100);
        line->setVisible(false);
    }
    lbCoords = new QLabel(chartPage);
    Table = new QTableWidget(chartPage);
    Table->setColumnCount(2);
    Table->setHorizontalHeaderLabels({QStringLiteral("Время мин"), QStringLiteral("Разница, %")});
    Table->verticalHeader()->setVisible(false);
    Table->verticalHeader()->setDefaultSectionSize(20);
    Table->setColumnWidth(0, 72);
    Table->setColumnWidth(1, 96);
    Table->setFixedWidth(72 + 96 + 24);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto *tableColumn = new QVBoxLayout;
    tableColumn->addWidget(new QLabel(QStringLiteral("Сравнение  результатов               расчёта"), chartPage));
    tableColumn->addWidget(Table, 1);
    auto *chartColumn = new QVBoxLayout;
    chartColumn->addWidget(ChartView, 1);
    chartColumn->addWidget(lbCoords);
    auto *chartLayout = new QHBoxLayout(chartPage);
    chartLayout->addLayout(chartColumn, 1);
    chartLayout->addLayout(tableColumn);
    PageControl->addTab(chartPage, QStringLiteral("Тепловая"));

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    btnHelp = new QPushButton(QStringLiteral("Справка"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    buttons->addWidget(btnHelp);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl, 1);
    layout->addLayout(buttons);

    // Every control writes into the record as the user changes it.
    connect(cbBeltType, &QComboBox::activated, this, [this](int i) { FireLoadRec.BeltType = i; });
    connect(cbBeltWidth, &QComboBox::activated, this, [this](int i) { FireLoadRec.WidthIndex = i; });
    connect(cbFrames, &QComboBox::activated, this, [this](int i) { FireLoadRec.FrameSpacing = i; });
    connect(chkLadders, &QCheckBox::clicked, this, [](bool on) { FireLoadRec.Ladders = on; });
    connect(chkBars, &QCheckBox::clicked, this, [](bool on) { FireLoadRec.Bars = on; });
    connect(chkCoal, &QCheckBox::clicked, this, [](bool on) { FireLoadRec.Coal = on; });
    connect(chkCables, &QCheckBox::clicked, this, [this](bool on) {
        FireLoadRec.Cables = on;
        ApplyEnabling();
    });
    connect(cbCableType, &QComboBox::activated, this,
            [this](int i) { cbCableCount->setCurrentIndex(std::clamp(FireLoadRec.CableCounts[i], 0, 5)); });
    connect(cbCableCount, &QComboBox::activated, this, [this](int n) {
        const int type = cbCableType->currentIndex();
        if (type >= 0 && type < CableTypeCount)
            FireLoadRec.CableCounts[type] = n;
    });
    connect(PageControl, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == 1)
            InImage();
    });
    connect(btnOk, &QPushButton::clicked, this, &TfrmPNagr::OkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnHelp, &QPushButton::clicked, this, [] { ShowHelpTopic(FireLoadHelpTopic); });

    ShowRecord();
}

void TfrmPNagr::ShowRecord()
{
    const TFireLoadRec &rec = FireLoadRec;
    m_showing = true;
    rbVariant[std::clamp<int>(rec.Variant, 0, 3)]->setChecked(true);
    cbBeltType->setCurrentIndex(std::clamp<int>(rec.BeltType, 0, 2));
    cbBeltWidth->setCurrentIndex(std::clamp<int>(rec.WidthIndex, 0, BeltWidthCount - 1));
    cbFrames->setCurrentIndex(std::clamp<int>(rec.FrameSpacing, 0, 1));
    chkLadders->setChecked(rec.Ladders);
    chkBars->setChecked(rec.Bars);
    chkCables->setChecked(rec.Cables);
    chkCoal->setChecked(rec.Coal);
    cbCableType->setCurrentIndex(0);
    cbCableCount->setCurrentIndex(std::clamp<int>(rec.CableCounts[0], 0, 5));
    m_showing = false;
    ApplyEnabling();
    PageControl->setCurrentIndex(0);
}

void TfrmPNagr::ApplyEnabling()
{
    const int variant = FireLoadRec.Variant;
    gbBelt->setEnabled(variant == flBelt || variant == flBeltAndLagging);
    lbFrames->setEnabled(variant == flSupport);
    cbFrames->setEnabled(variant == flSupport);
    gbCables->setEnabled(chkCables->isChecked());
}

void TfrmPNagr::InImage()
{
    const double slope = BranchSlope(m_branch.L, m_branch.zStart, m_branch.zEnd, m_branch.Angle);
    TFireSeries a, b;
    FireDepression(a, m_branch.L, m_branch.S, slope, m_branch.Q, m_branch.T, m_branch.FireTime);
    TFireLoadRec edited = FireLoadRec;
    FireDepressionLoaded(b, edited, m_branch.L, m_branch.S, slope, m_branch.Q, m_branch.T, m_branch.FireTime);

    const std::vector<TFireLoadRow> rows = FireLoadTableRows(a, b);
    Table->clearContents();
    Table->setRowCount(std::max<int>(m_branch.FireTime, int(rows.size())));
    for (int r = 0; r < int(rows.size()); ++r) {
        Table->setItem(r, 0, new QTableWidgetItem(rows[r].Minute));
        Table->setItem(r, 1, new QTableWidgetItem(rows[r].Difference));
    }

    SeriesWithout->clear();
    SeriesWith->clear();
    double maxY = 0;
    for (int r = 1; r <= a.Count(); ++r) {
        SeriesWithout->append(r, a[r]);
        maxY = std::max(maxY, a[r]);
    }
    for (int r = 1; r <= b.Count(); ++r) {
        SeriesWith->append(r, b[r]);
        maxY = std::max(maxY, b[r]);
    }
    for (auto *axis : Chart->axes()) {
        Chart->removeAxis(axis);
        delete axis;
    }
    auto *x = MakeAxis(QStringLiteral("Время, мин."), std::max(a.Count(), b.Count()));
    auto *y = MakeAxis(QStringLiteral("Тепловая депрессия, мм вод.ст."), maxY);
    Chart->addAxis(x, Qt::AlignBottom);
    Chart->addAxis(y, Qt::AlignLeft);
    for (auto *series : {SeriesWithout, SeriesWith}) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
    CrossV->setVisible(false);
    CrossH->setVisible(false);
}

bool TfrmPNagr::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ChartView->viewport()) {
        if (event->type() == QEvent::MouseMove)
            DrawChartCrossHair(ChartView->mapToScene(static_cast<QMouseEvent *>(event)->position().toPoint()));
        else if (event->type() == QEvent::Leave)
            DrawChartCrossHair(QPointF(-1, -1));
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmPNagr::DrawChartCrossHair(QPointF position)
{
    const QPointF p = Chart->mapFromScene(position);
    const QRectF plot = Chart->plotArea();
    if (!plot.contains(p)) {
        CrossV->setVisible(false);
        CrossH->setVisible(false);
        return;
    }
    CrossV->setLine(p.x(), plot.top(), p.x(), plot.bottom());
    CrossH->setLine(plot.left(), p.y(), plot.right(), p.y());
    CrossV->setVisible(true);
    CrossH->setVisible(true);
    const QPointF value = Chart->mapToValue(p, SeriesWithout);
    lbCoords->setText(QStringLiteral("Время") + u'=' + AxisText(value.x()) + u' ' + QStringLiteral("мин.: депрессия")
                      + u'=' + AxisText(value.y()) + u' ' + QStringLiteral("мм вод.ст."));
}

void TfrmPNagr::OkClick()
{
    const int answer = ShowMessageBox(QStringLiteral("Сохранить изменения") + u'\n' + QStringLiteral("в пожарной нагрузке?"),
                                      QStringLiteral("Подтверждение"), mb::YesNo | mb::IconQuestion);
    if (answer == idYes) {
        FireLoadRec.Variant = 0;
        for (int i = 0; i < 4; ++i)
            if (rbVariant[i]->isChecked())
                FireLoadRec.Variant = i;
        FireLoadRec.BeltType = cbBeltType->currentIndex();
        FireLoadRec.WidthIndex = cbBeltWidth->currentIndex();
        FireLoadRec.FrameSpacing = cbFrames->currentIndex();
        FireLoadRec.Ladders = chkLadders->isChecked();
        FireLoadRec.Bars = chkBars->isChecked();
        FireLoadRec.Cables = chkCables->isChecked();
        FireLoadRec.Coal = chkCoal->isChecked();
        try {
            SaveFireLoad(FireLoadFolder, FireLoadRec);
        } catch (const Exception &e) {
            // Not saved: the user may cancel or try again.
            ShowMessageBox(e.Message(), QString(), mb::Ok | mb::IconError);
            return;
        }
    }
    accept();
}

bool ShowFireLoadForm(QWidget *owner, int fireTime, int L, double Q, double S, double zStart, double zEnd,
                      double angle, double t)
{
    try {
        LoadFireLoad(FireLoadFolder, FireLoadRec);
    } catch (const Exception &e) {
        ShowMessageBox(e.Message(), QString(), mb::Ok | mb::IconError);
        return false;
    }
    TfrmPNagr form(owner, {fireTime, L, Q, S, zStart, zEnd, angle, t});
    return form.exec() == QDialog::Accepted;
}
