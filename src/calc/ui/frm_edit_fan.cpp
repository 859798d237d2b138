#include "calc/ui/frm_edit_fan.h"

#include "calc/solver.h"
#include "calc/ui/frm_print_fan.h"
#include "calc/ui/frm_splein.h"
#include "model/network.h"
#include "platform/help.h"
#include "platform/numbers.h"
#include "platform/prompt.h"
#include "platform/ui/qt_canvas.h"
#include "shell/main_commands.h"

#include <QtGui/QContextMenuEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QVBoxLayout>

namespace {

constexpr int HelpTopicFanEditor = 50;
constexpr int PlotWidth = 760;
constexpr int PlotHeight = 500;
constexpr int MarkerSize = 6;
// A press that moves farther than this is a drag, not a click.
constexpr int DragDistance = 3;

QPushButton *Button(QWidget *parent, const char *name, const QString &caption, const QString &hint = {})
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    if (!hint.isEmpty())
        b->setToolTip(hint);
    return b;
}

QSpinBox *Spin(QWidget *parent, const char *name, const QString &hint, int min, int max, int value)
{
    auto *s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setToolTip(hint);
    s->setRange(min, max);
    s->setSingleStep(10);
    s->setValue(value);
    s->setKeyboardTracking(false);
    return s;
}

void SetCombo(QComboBox *combo, const QStringList &items, int index)
{
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(index < combo->count() ? index : -1);
}

} // namespace

TFanPlotImage::TFanPlotImage(TfrmEditFan &form, QWidget *parent) : QWidget(parent), m_form(form)
{
    setObjectName(QStringLiteral("Image1"));
    setFixedSize(PlotWidth, PlotHeight);
    setMouseTracking(true);
    Picture = QImage(PlotWidth, PlotHeight, QImage::Format_RGB32);
    Picture.fill(Qt::white);
    QLabelReadout = new QLabel(this);
    HLabelReadout = new QLabel(this);
    for (QLabel *l : {QLabelReadout, HLabelReadout}) {
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        l->hide();
    }
}

void TFanPlotImage::ShowReadout(int x, int y)
{
    TPlotState &plot = m_form.Editor.Plot;
    if (!CursorReadout(plot, x, y)) {
        HideReadout();
        return;
    }
    m_readout = true;
    m_at = {x, y};
    QLabelReadout->setText(QStringLiteral("Q=")
                           + FormatFixedPD(plot.LastReadoutQ, plot.QFormat.Precision, plot.QFormat.Decimals));
    HLabelReadout->setText(QStringLiteral("H=")
                           + FormatFixedPD(plot.LastReadoutH, plot.HFormat.Precision, plot.HFormat.Decimals));
    QLabelReadout->adjustSize();
    HLabelReadout->adjustSize();
    QLabelReadout->move(x + 8, plot.Top - QLabelReadout->height() - 2);
    HLabelReadout->move(plot.Right + 2, y + 6);
    QLabelReadout->show();
    HLabelReadout->show();
    update();
}

void TFanPlotImage::HideReadout()
{
    m_readout = false;
    QLabelReadout->hide();
    HLabelReadout->hide();
    update();
}

void TFanPlotImage::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, Picture);
    if (!m_readout)
        return;
    const TPlotState &plot = m_form.Editor.Plot;
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawLine(m_at.x(), plot.Top, m_at.x(), m_at.y() - 5);
    p.drawLine(m_at.x() + 5, m_at.y(), plot.Right, m_at.y());
    // The two arrows: down at the top edge over the cursor, left at the right edge.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const QPoint down[3] = {{m_at.x() - 4, plot.Top - 8}, {m_at.x() + 4, plot.Top - 8}, {m_at.x(), plot.Top}};
    const QPoint left[3] = {{plot.Right + 8, m_at.y() - 4}, {plot.Right + 8, m_at.y() + 4}, {plot.Right, m_at.y()}};
    p.drawPolygon(down, 3);
    p.drawPolygon(left, 3);
}

void TFanPlotImage::mouseMoveEvent(QMouseEvent *event)
{
    ShowReadout(event->position().toPoint().x(), event->position().toPoint().y());
}

void TFanPlotImage::contextMenuEvent(QContextMenuEvent *event)
{
    ShowReadout(event->pos().x(), event->pos().y());
    m_form.PopupMenu1->exec(event->globalPos());
}

TFanPointMarker::TFanPointMarker(TfrmEditFan &form, int index, QWidget *parent)
    : QWidget(parent), Index(index), m_form(form)
{
    setObjectName(QStringLiteral("Shape%1").arg(index));
    setFixedSize(MarkerSize, MarkerSize);
    setCursor(Qt::PointingHandCursor);
    hide();
}

void TFanPointMarker::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(Colour);
    p.setBrush(Colour);
    p.drawEllipse(0, 0, MarkerSize - 1, MarkerSize - 1);
}

void TFanPointMarker::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_grab = event->position().toPoint();
    m_dragging = false;
}

void TFanPointMarker::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint at = event->position().toPoint();
    if (!m_dragging && (at - m_grab).manhattanLength() < DragDistance)
        return;
    if (!m_dragging) {
        m_dragging = true;
        m_form.MarkerDragStarted(Index);
    }
    move(mapToParent(at - m_grab));
}

void TFanPointMarker::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (m_dragging) {
        m_dragging = false;
        m_form.MarkerDropped(Index, mapToParent(QPoint(MarkerSize / 2, MarkerSize / 2)));
    } else {
        m_form.MarkerClicked(Index);
    }
}

TfrmEditFan::TfrmEditFan(TFanEditor &editor, QWidget *owner) : QDialog(owner), Editor(editor)
{
    setObjectName(QStringLiteral("frmEditFan"));
    setWindowTitle(LookupText(QStringLiteral("Редактор вентиляторов")));
    auto *layout = new QHBoxLayout(this);
    Image1 = new TFanPlotImage(*this, this);
    // Without a fan type the plot is hidden; the buttons keep their place
    // beside it rather than spreading over the window.
    QSizePolicy keepPlace = Image1->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    Image1->setSizePolicy(keepPlace);
    layout->addWidget(Image1, 0, Qt::AlignTop);

    PopupMenu1 = new QMenu(this);
    N1 = PopupMenu1->addAction(LookupText(QStringLiteral("Увеличить масштаб")));
    N2 = PopupMenu1->addAction(LookupText(QStringLiteral("Обычный масштаб")));
    N3 = PopupMenu1->addAction(LookupText(QStringLiteral("Добавить Точку")));
    N4 = PopupMenu1->addAction(LookupText(QStringLiteral("Удалить точку")));
    N2->setEnabled(false);

    auto *side = new QVBoxLayout;
    layout->addLayout(side);
    ComboBox4 = new QComboBox(this);
    ComboBox4->setObjectName(QStringLiteral("ComboBox4"));
    ComboBox4->setToolTip(LookupText(QStringLiteral("Тип ")));
    ComboBox4->setMaxVisibleItems(32);
    ComboBox5 = new QComboBox(this);
    ComboBox5->setObjectName(QStringLiteral("ComboBox5"));
    ComboBox5->setToolTip(LookupText(QStringLiteral("Характеристика")));
    side->addWidget(ComboBox4);
    side->addWidget(ComboBox5);

    Panel3 = new QWidget(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    auto *entry = new QHBoxLayout(Panel3);
    entry->setContentsMargins(0, 0, 0, 0);
    ComboBox3 = new QComboBox(Panel3);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox3->setToolTip(LookupText(QStringLiteral("Перейти к точке")));
    BitBtn2 = Button(Panel3, "BitBtn2", LookupText(QStringLiteral("Отменить")));
    entry->addWidget(ComboBox3, 1);
    entry->addWidget(BitBtn2);
    side->addWidget(Panel3);

    BitBtn1 = Button(this, "BitBtn1", LookupText(QStringLiteral("Сохранить")));
    BitBtn9 = Button(this, "BitBtn9", LookupText(QStringLiteral("Удалить")));
    side->addWidget(BitBtn1);
    side->addWidget(BitBtn9);

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto *pan = new QGridLayout(Panel2);
    pan->setContentsMargins(0, 0, 0, 0);
    BitBtn3 = Button(Panel2, "BitBtn3", QStringLiteral("◄"), LookupText(QStringLiteral("Влево по графику")));
    BitBtn4 = Button(Panel2, "BitBtn4", QStringLiteral("►"), LookupText(QStringLiteral("Вправо по графику")));
    BitBtn5 = Button(Panel2, "BitBtn5", QStringLiteral("▼"), LookupText(QStringLiteral("Вниз по графику")));
    BitBtn6 = Button(Panel2, "BitBtn6", QStringLiteral("▲"), LookupText(QStringLiteral("Вверх по графику")));
    pan->addWidget(BitBtn6, 0, 1);
    pan->addWidget(BitBtn3, 1, 0);
    pan->addWidget(BitBtn4, 1, 2);
    pan->addWidget(BitBtn5, 2, 1);
    side->addWidget(Panel2);
    Panel2->hide();

    Button1 = Button(this, "Button1", LookupText(QStringLiteral("Печать")));
    Button2 = Button(this, "Button2", LookupText(QStringLiteral("Работа на ШВС")));
    side->addWidget(Button1);
    side->addWidget(Button2);
    Label3 = new QLabel(LookupText(QStringLiteral("Ожидайте !")), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    Label3->hide();
    side->addWidget(Label3);
    side->addStretch();
    BitBtn8 = Button(this, "BitBtn8", LookupText(QStringLiteral("Справка")));
    BitBtn7 = Button(this, "BitBtn7", QStringLiteral("OK"));
    BitBtn10 = Button(this, "BitBtn10", LookupText(QStringLiteral("Отмена")));
    for (QPushButton *b : {BitBtn8, BitBtn7, BitBtn10})
        side->addWidget(b);

    SpinEdit1 = Spin(Image1, "SpinEdit1", LookupText(QStringLiteral("Максимум депрессии")), 10, 2000, 500);
    SpinEdit2 = Spin(Image1, "SpinEdit2", LookupText(QStringLiteral("Максимум расхода")), 10, 900, 100);
    SpinEdit1->hide();
    SpinEdit2->hide();

    for (int i = 0; i < PointMarkerCount; ++i)
        PointShapes[static_cast<std::size_t>(i)] = new TFanPointMarker(*this, i, Image1);

    connect(ComboBox4, &QComboBox::activated, this, &TfrmEditFan::ComboBox4Click);
    connect(ComboBox5, &QComboBox::activated, this, &TfrmEditFan::ComboBox5Click);
    connect(ComboBox3, &QComboBox::activated, this, &TfrmEditFan::ComboBox3Click);
    connect(N1, &QAction::triggered, this, &TfrmEditFan::N1Click);
    connect(N2, &QAction::triggered, this, &TfrmEditFan::N2Click);
    connect(N3, &QAction::triggered, this, &TfrmEditFan::N3Click);
    connect(N4, &QAction::triggered, this, &TfrmEditFan::N4Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TfrmEditFan::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TfrmEditFan::BitBtn2Click);
    connect(BitBtn9, &QPushButton::clicked, this, &TfrmEditFan::BitBtn9Click);
    for (QPushButton *b : {BitBtn3, BitBtn4, BitBtn5, BitBtn6})
        connect(b, &QPushButton::clicked, this, [this, b] { PanClick(b); });
    connect(Button1, &QPushButton::clicked, this, &TfrmEditFan::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TfrmEditFan::Button2Click);
    connect(BitBtn8, &QPushButton::clicked, this, [] { ShowHelpTopic(HelpTopicFanEditor); });
    connect(BitBtn7, &QPushButton::clicked, this, &TfrmEditFan::BitBtn7Click);
    connect(BitBtn10, &QPushButton::clicked, this, &TfrmEditFan::BitBtn10Click);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, [this] { SpinEditChange(true); });
    connect(SpinEdit2, &QSpinBox::valueChanged, this, [this] { SpinEditChange(false); });
}

void TfrmEditFan::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    Editor.Start();
    FillLists();
    DrawFanPlot();
}

void TfrmEditFan::FillLists()
{
    SetCombo(ComboBox4, Editor.Catalogue.TypeList, Editor.Catalogue.TypeIndex);
    SetCombo(ComboBox5, Editor.Catalogue.CurveList, Editor.CurveIndex);
}

void TfrmEditFan::SyncControls()
{
    m_syncing = true;
    const TFanEditor &e = Editor;
    Image1->setVisible(e.PlotVisible);
    ComboBox5->setVisible(e.CurveListVisible);
    ComboBox4->setEnabled(e.ListsEnabled);
    ComboBox5->setEnabled(e.ListsEnabled);
    BitBtn7->setEnabled(e.OkEnabled);
    N3->setEnabled(e.AddPointEnabled && e.IsNewCurve());
    N4->setEnabled(e.DeletePointEnabled);
    Panel3->setVisible(e.EntryPanelVisible);
    SetCombo(ComboBox3, e.PointList, e.SelectedPoint);
    BitBtn1->setVisible(e.SaveVisible);
    BitBtn9->setVisible(e.DeleteVisible);
    Button1->setVisible(e.PrintVisible);
    Button2->setVisible(e.WorkVisible);
    SpinEdit1->setVisible(e.NewTypeMode && e.PlotVisible);
    SpinEdit2->setVisible(e.NewTypeMode && e.PlotVisible);
    const TPlotState &plot = e.Plot;
    SpinEdit1->move(plot.Left + 2, plot.Top + 2);
    SpinEdit2->move(plot.Right - SpinEdit2->width() - 2, plot.Bottom - SpinEdit2->height() - 2);
    for (std::size_t i = 0; i < PointShapes.size(); ++i) {
        const TPointMarker &m = e.Markers[i];
        TFanPointMarker *shape = PointShapes[i];
        shape->setVisible(m.Visible && e.PlotVisible);
        if (m.Visible) {
            shape->Colour = TColorToQColor(m.BrushColor);
            shape->move(m.Centre.X - MarkerSize / 2, m.Centre.Y - MarkerSize / 2);
            shape->update();
        }
    }
    m_syncing = false;
}

void TfrmEditFan::DrawFanPlot()
{
    if (Editor.PlotVisible) {
        TQtCanvas canvas(&Image1->Picture);
        Editor.DrawFanPlot(canvas, Image1->Picture.width(), Image1->Picture.height());
    }
    Image1->HideReadout();
    SyncControls();
    Image1->update();
}

void TfrmEditFan::DrawPlotText(const QString &text, bool belowPlot)
{
    TQtCanvas canvas(&Image1->Picture);
    canvas.Brush.Style = TBrushStyle::bsClear;
    const TPlotState &plot = Editor.Plot;
    const int th = canvas.TextHeight(text);
    // Below the plot the title takes the line from 1.5 text heights down;
    // the text goes on the line under it.
    canvas.TextOut(plot.Left, belowPlot ? plot.Bottom + 5 * th / 2 + 1 : plot.Top - 2 * th, text);
    Image1->update();
}

void TfrmEditFan::ComboBox4Click(int index)
{
    Editor.ChooseType(index);
    FillLists();
    DrawFanPlot();
    if (Editor.NewTypeMode && Editor.IsNewCurve()) {
        DrawPlotText(LookupText(QStringLiteral("Выбирайте размеры по шкалам скроллерами ")), true);
        DrawPlotText(LookupText(QStringLiteral("Точки вводите с помощью меню правой кнопки мыши")), false);
    }
}

void TfrmEditFan::ComboBox5Click(int index)
{
    Editor.ChooseCurve(index);
    DrawFanPlot();
    if (Editor.IsNewCurve())
        DrawPlotText(LookupText(QStringLiteral("Точки вводите с помощью меню правой кнопки мыши")), false);
}

void TfrmEditFan::AskDeletePoint()
{
    DrawFanPlot();
    const QString text = ComboBox3->currentText();
    if (ShowMessageBox(LookupText(QStringLiteral("Удалить точку")) + u' ' + text + QStringLiteral(" ?"),
                       LookupText(QStringLiteral("Подтверждение")), mb::YesNo | mb::IconQuestion)
        != idYes)
        return;
    Beep();
    Editor.DeletePoint(Editor.SelectedPoint);
    DrawFanPlot();
}

void TfrmEditFan::ComboBox3Click(int index)
{
    Editor.SelectPoint(index);
    AskDeletePoint();
}

void TfrmEditFan::MarkerClicked(int marker)
{
    Editor.SelectPoint(Editor.Markers[static_cast<std::size_t>(marker)].Position);
    AskDeletePoint();
}

void TfrmEditFan::MarkerDragStarted(int marker)
{
    Editor.SelectPoint(Editor.Markers[static_cast<std::size_t>(marker)].Position);
    Editor.CopyMarkersToCurve();
    DrawFanPlot();
}

void TfrmEditFan::MarkerDropped(int marker, QPoint at)
{
    TPlotState &plot = Editor.Plot;
    if (CursorReadout(plot, at.x(), at.y())) {
        Editor.MovePoint(marker, plot.LastReadoutQ, plot.LastReadoutH);
    }
    DrawFanPlot();
}

void TfrmEditFan::N1Click()
{
    Panel2->show();
    N2->setEnabled(true);
    N1->setEnabled(false);
    Editor.ZoomIn();
    for (QPushButton *b : {BitBtn3, BitBtn4, BitBtn5, BitBtn6})
        b->setEnabled(true);
    DrawFanPlot();
}

void TfrmEditFan::N2Click()
{
    Panel2->hide();
    N2->setEnabled(false);
    N1->setEnabled(true);
    Editor.NormalScale();
    DrawFanPlot();
}

void TfrmEditFan::PanClick(QPushButton *button)
{
    bool moved = true;
    QPushButton *opposite = nullptr;
    if (button == BitBtn3) {
        moved = Editor.PanFlow(-1);
        opposite = BitBtn4;
    } else if (button == BitBtn4) {
        moved = Editor.PanFlow(1);
        opposite = BitBtn3;
    } else if (button == BitBtn5) {
        moved = Editor.PanPressure(-1);
        opposite = BitBtn6;
    } else {
        moved = Editor.PanPressure(1);
        opposite = BitBtn5;
    }
    button->setEnabled(moved);
    opposite->setEnabled(true);
    DrawFanPlot();
}

void TfrmEditFan::N3Click()
{
    const TPlotState &plot = Editor.Plot;
    if (Editor.TryAddPoint(plot.LastReadoutQ, plot.LastReadoutH))
        DrawFanPlot();
}

void TfrmEditFan::N4Click()
{
    if (Editor.SelectedPoint < 0)
        return;
    Editor.DeletePoint(Editor.SelectedPoint);
    DrawFanPlot();
}

void TfrmEditFan::BitBtn2Click()
{
    Editor.CancelEntry();
    DrawFanPlot();
}

void TfrmEditFan::BitBtn1Click()
{
    Editor.Save();
    FillLists();
    DrawFanPlot();
}

void TfrmEditFan::BitBtn9Click()
{
    Editor.DeleteCurve();
    FillLists();
    DrawFanPlot();
}

void TfrmEditFan::SpinEditChange(bool pressure)
{
    if (m_syncing)
        return;
    QSpinBox *spin = pressure ? SpinEdit1 : SpinEdit2;
    const int value = Editor.CheckedSpinValue(spin->text(), spin->minimum(), pressure);
    if (value != spin->value()) {
        const QSignalBlocker block(spin);
        spin->setValue(value);
    }
    Editor.ApplyAxisSpins(SpinEdit1->value(), SpinEdit2->value());
    DrawFanPlot();
}

void TfrmEditFan::Button1Click()
{
    ShowFanChart(this, Editor, ComboBox4->currentText(), Image1->geometry());
}

void TfrmEditFan::RunWorkingPoint()
{
    LastWorkingPoint = Editor.RunWorkingPoint();
    if (LastWorkingPoint.Outcome == TWorkingPoint::wpFound) {
        TQtCanvas canvas(&Image1->Picture);
        Editor.DrawWorkingPoint(canvas, LastWorkingPoint);
    }
    Image1->HideReadout();
    SyncControls();
    Image1->update();
}

void TfrmEditFan::Button2Click() { RunWorkingPoint(); }

void TfrmEditFan::BitBtn7Click()
{
    if (Editor.Catalogue.LastCurve < 0)
        Editor.PrepareOk();
    else if (Editor.WorkVisible)
        RunWorkingPoint();
    if (ShowMessageBox(LookupText(QStringLiteral("Завершить работу Редактора?")),
                       LookupText(QStringLiteral("Подтверждение")), mb::YesNo | mb::IconQuestion)
        == idYes)
        accept();
}

void TfrmEditFan::BitBtn10Click()
{
    Editor.Cancel();
    QDialog::reject();
}

void TfrmEditFan::reject() { BitBtn10Click(); }

bool EditBranchFan(QWidget *owner, int branchNo, QString &fanName, double &a, double &b, double &q, int &curveIndex,
                   int &efficiency)
{
    TFanEditor &e = FanEditor;
    e.Open(branchNo, fanName, a, b, q, curveIndex, efficiency);
    if (!e.Tables)
        e.Tables = &Net;
    TfrmEditFan form(e, owner);
    e.Services.AskName = [&form](QString &text, const QString &title) { return AskName(&form, text, title); };
    e.Services.AskEfficiency = [&form](int &value) { return AskFanEfficiency(&form, value); };
    e.Services.Solve = [&form, &e] { CalcAir(&form, *e.Tables); };
    e.Services.ShowWait = [&form](bool shown) {
        form.Label3->setVisible(shown);
        form.repaint();
    };
    const bool ok = form.exec() == QDialog::Accepted && e.Changed;
    e.Services = {};
    e.WriteBack(fanName, a, b, q, curveIndex, efficiency);
    return ok;
}
