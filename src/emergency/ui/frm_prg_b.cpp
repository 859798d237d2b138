#include "emergency/ui/frm_prg_b.h"

#include <QtCore/QCoreApplication>
#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

TfrmPrgB *frmPrgB = nullptr;

TfrmPrgB::TfrmPrgB(QWidget *owner, const QString &caption)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    frmPrgB = this;
    setWindowTitle(caption);
    setWindowModality(Qt::ApplicationModal);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    Button1 = new QPushButton(QStringLiteral("Отмена"), this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ProgressBar1);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);
    connect(Button1, &QPushButton::clicked, this, [this] { CancelFlag = 1; });
    resize(std::max(420, fontMetrics().horizontalAdvance(caption) + 80), sizeHint().height());
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect r = rect();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
}

TfrmPrgB::~TfrmPrgB()
{
    if (frmPrgB == this)
        frmPrgB = nullptr;
}

void TfrmPrgB::SetMax(int max)
{
    ProgressBar1->setRange(0, std::max(max, 1));
    ProgressBar1->setValue(0);
}

void TfrmPrgB::Step()
{
    ProgressBar1->setValue(std::min(ProgressBar1->value() + 1, ProgressBar1->maximum()));
    QCoreApplication::processEvents();
}
