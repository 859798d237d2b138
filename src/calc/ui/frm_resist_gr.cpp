#include "calc/ui/frm_resist_gr.h"

#include "platform/numbers.h"
#include "platform/ui/qt_canvas.h"
#include "shell/main_commands.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

TfrmResistGr *frmResistGr = nullptr;

namespace {

QString AreaText(double s)
{
    return LookupText(QStringLiteral("Сечение:")) + u' ' + FormatFixed(s, 1) + u' ' + QStringLiteral("м2");
}

QString ResistanceText(double r)
{
    return LookupText(QStringLiteral("Сопротивление:")) + u' ' + FormatFixed(r, 5) + u' ' + QStringLiteral("кмюрг");
}

} // namespace

TGraphImage::TGraphImage(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setMinimumSize(400, 300);
}

void TGraphImage::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, Image);
}

void TGraphImage::resizeEvent(QResizeEvent *)
{
    if (Resized)
        Resized();
}

void TGraphImage::mouseMoveEvent(QMouseEvent *event)
{
    if (MouseMoved)
        MouseMoved(event->position().toPoint().x(), event->position().toPoint().y());
}

void TGraphImage::mousePressEvent(QMouseEvent *event)
{
    if (MousePressed && event->button() == Qt::LeftButton)
        MousePressed(event->position().toPoint().x(), event->position().toPoint().y());
}

TfrmResistGr::TfrmResistGr(QWidget *owner) : QDialog(owner)
{
    frmResistGr = this;
    setWindowTitle(LookupText(QStringLiteral("Расчет аэродинамического сопротивления")));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    resize(720, 560);

    CmType = new QComboBox(this);
    CmType->setObjectName(QStringLiteral("CmType"));
    for (const char *name : SupportTypeNames)
        CmType->addItem(QString::fromUtf8(name));
    CmType->setCurrentIndex(-1);
    CmType->setMinimumContentsLength(40);
    ImGraf = new TGraphImage(this);
    ImGraf->setObjectName(QStringLiteral("ImGraf"));

    // The values under the mouse take the places of the chosen ones; the
    // panel keeps its size, so that showing a label never resizes the graph
    // (which would be drawn and read again).
    auto *values = new QWidget(this);
    QPalette blue = palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    Label2 = new QLabel(LookupText(QStringLiteral("Сечение S=")), values);
    Label3 = new QLabel(LookupText(QStringLiteral("Сопротивление R=")), values);
    Label2->setPalette(blue);
    Label3->setPalette(blue);
    Label4 = new QLabel(LookupText(QStringLiteral("Сечение, м2")), values);
    Label5 = new QLabel(LookupText(QStringLiteral("Сопротивление, кмюрг")), values);
    const int lineHeight = Label2->sizeHint().height();
    constexpr int PanelWidth = 340;
    values->setFixedSize(PanelWidth, 2 * lineHeight + 4);
    for (QLabel *label : {Label2, Label4})
        label->setGeometry(0, 0, PanelWidth, lineHeight);
    for (QLabel *label : {Label3, Label5})
        label->setGeometry(0, lineHeight + 4, PanelWidth, lineHeight);
    btOk = new QPushButton(QStringLiteral("OK"), this);
    btCancel = new QPushButton(LookupText(QStringLiteral("Отмена")), this);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(LookupText(QStringLiteral("Тип крепи")), this));
    top->addWidget(CmType, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(values);
    bottom->addStretch(1);
    bottom->addWidget(btOk);
    bottom->addWidget(btCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ImGraf, 1);
    layout->addLayout(bottom);

    connect(CmType, &QComboBox::activated, this, &TfrmResistGr::CmTypeChange);
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    ImGraf->MouseMoved = [this](int x, int y) { ImGrafMouseMove(x, y); };
    ImGraf->MousePressed = [this](int x, int y) { ImGrafMouseDown(x, y); };
}

TfrmResistGr::~TfrmResistGr()
{
    if (frmResistGr == this)
        frmResistGr = nullptr;
}

void TfrmResistGr::FormShow()
{
    LoadSupportCurves(PlotState, m_curves);
    Type = -1;
    CmType->setCurrentIndex(-1);
    Label2->setText(LookupText(QStringLiteral("Сечение")) + QStringLiteral(" S=") + FormatFixed(S, 1));
    Label3->setText(LookupText(QStringLiteral("Сопротивление")) + QStringLiteral(" R=?"));
    Label4->hide();
    Label5->hide();
    Label2->show();
    Label3->show();
    DrawResistanceGraphs(true);
    // The graph follows the window's size from now on, keeping the reading.
    ImGraf->Resized = [this] { DrawResistanceGraphs(true); };
}

void TfrmResistGr::DrawResistanceGraphs(bool read)
{
    QImage image(std::max(ImGraf->width(), 1), std::max(ImGraf->height(), 1), QImage::Format_RGB32);
    {
        TQtCanvas canvas(&image);
        canvas.Font.Name = QStringLiteral("Arial");
        canvas.Font.Size = 8;
        ::DrawResistanceGraphs(canvas, image.width(), image.height(), PlotState, m_curves, Type);
        if (read && Type >= 0) {
            const TGraphReading reading = ReadGraphResistance(canvas, PlotState, S, L);
            R = reading.R;
            ShowChosen();
            DrawGraphCross(canvas, reading.X, reading.Y);
        }
    }
    ImGraf->Image = image;
    ImGraf->update();
}

void TfrmResistGr::ShowChosen()
{
    Label4->hide();
    Label5->hide();
    Label2->setText(AreaText(S));
    Label3->setText(ResistanceText(R));
    Label2->show();
    Label3->show();
}

void TfrmResistGr::CmTypeChange(int index)
{
    Type = index;
    DrawResistanceGraphs(true);
}

bool TfrmResistGr::IsCurvePixel(int x, int y) const
{
    const QImage &image = ImGraf->Image;
    return image.valid(x, y) && (image.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
}

void TfrmResistGr::ImGrafMouseMove(int x, int y)
{
    if (IsCurvePixel(x, y)) {
        Label2->hide();
        Label3->hide();
        Label4->setText(AreaText(GraphAreaAt(PlotState, x)));
        Label5->setText(ResistanceText(GraphResistanceAt(PlotState, y, L)));
        Label4->show();
        Label5->show();
    } else {
        Label4->hide();
        Label5->hide();
        Label2->show();
        Label3->show();
    }
}

void TfrmResistGr::ImGrafMouseDown(int x, int y)
{
    if (!IsCurvePixel(x, y))
        return;
    S = GraphAreaAt(PlotState, x);
    R = GraphResistanceAt(PlotState, y, L);
    DrawResistanceGraphs(false);
    {
        TQtCanvas canvas(&ImGraf->Image);
        DrawGraphCross(canvas, x, y);
    }
    ImGraf->update();
    ShowChosen();
}

bool ResistanceFromGraph(QWidget *owner, int L, double &S, double &R)
{
    TfrmResistGr form(owner);
    form.S = S;
    form.R = R;
    form.L = L;
    form.FormShow();
    if (form.exec() != QDialog::Accepted)
        return false;
    S = form.S;
    R = form.R;
    return true;
}
