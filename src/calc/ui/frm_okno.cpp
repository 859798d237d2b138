#include "calc/ui/frm_okno.h"

#include "calc/resistance.h"
#include "model/helpers.h"
#include "platform/float_format.h"
#include "platform/help.h"
#include "shell/main_commands.h"
#include "shell/ui/xq_edit.h"

#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

TfrmOkno *frmOkno = nullptr;

namespace {

constexpr int HelpTopicWindowDoor = 100;
constexpr double MinWindowArea = 0.01;

} // namespace

TfrmOkno::TfrmOkno(QWidget *owner) : QDialog(owner)
{
    frmOkno = this;
    setWindowTitle(LookupText(QStringLiteral("Расчет сопротивления двери с окном")));

    EdOkno = new QLineEdit(this);
    EdOkno->setObjectName(QStringLiteral("EdOkno"));
    EdOkno->installEventFilter(this);
    eLbSvir = new QLabel(this);
    eLbSvir->setObjectName(QStringLiteral("eLbSvir"));
    eLbVirab = new QLabel(this);
    eLbVirab->setObjectName(QStringLiteral("eLbVirab"));
    EdRegul = new QLineEdit(this);
    EdRegul->setObjectName(QStringLiteral("EdRegul"));
    EdRegul->setReadOnly(true);
    EdSumma = new QLineEdit(this);
    EdSumma->setObjectName(QStringLiteral("EdSumma"));
    EdSumma->setReadOnly(true);

    auto *areas = new QGroupBox(LookupText(QStringLiteral("Площадь сечения, кв. м")), this);
    auto *a = new QGridLayout(areas);
    a->addWidget(new QLabel(LookupText(QStringLiteral("Окна")), areas), 0, 0);
    a->addWidget(EdOkno, 0, 1);
    a->addWidget(new QLabel(LookupText(QStringLiteral("Выработки  ")), areas), 1, 0);
    a->addWidget(eLbSvir, 1, 1);
    auto *resistances = new QGroupBox(LookupText(QStringLiteral("Сопротивления, кмюрг")), this);
    auto *r = new QGridLayout(resistances);
    r->addWidget(new QLabel(LookupText(QStringLiteral("Выработки")), resistances), 0, 0);
    r->addWidget(eLbVirab, 0, 1);
    r->addWidget(new QLabel(LookupText(QStringLiteral("Регулятора")), resistances), 1, 0);
    r->addWidget(EdRegul, 1, 1);
    r->addWidget(new QLabel(LookupText(QStringLiteral("Общее")), resistances), 2, 0);
    r->addWidget(EdSumma, 2, 1);

    BtBStart = new QPushButton(LookupText(QStringLiteral("Расчёт")), this);
    BtBStart->setObjectName(QStringLiteral("BtBStart"));
    BtBStart->setDefault(true);
    BtBHelp = new QPushButton(LookupText(QStringLiteral("Справка")), this);
    btOk = new QPushButton(QStringLiteral("OK"), this);
    btCancel = new QPushButton(LookupText(QStringLiteral("Отмена")), this);
    for (QPushButton *b : {BtBHelp, btOk, btCancel})
        b->setAutoDefault(false);

    auto *groups = new QHBoxLayout;
    groups->addWidget(areas);
    groups->addWidget(resistances);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {BtBStart, BtBHelp, btOk, btCancel})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(buttons);

    connect(BtBStart, &QPushButton::clicked, this, &TfrmOkno::BtBStartClick);
    connect(BtBHelp, &QPushButton::clicked, this, [] { ShowHelpTopic(HelpTopicWindowDoor); });
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmOkno::~TfrmOkno()
{
    if (frmOkno == this)
        frmOkno = nullptr;
}

void TfrmOkno::FormShow()
{
    EdOkno->setText(FloatToStrF(WindowArea, ffFixed, 7, 2));
    eLbVirab->setText(FloatToStrF(RAirway, ffFixed, 7, 5));
    eLbSvir->setText(FloatToStrF(AirwayArea, ffFixed, 7, 1));
    PrintResult();
}

void TfrmOkno::PrintResult()
{
    EdRegul->setText(FloatToStrF(RReg, ffFixed, 7, 5));
    EdSumma->setText(FloatToStrF(RTotal, ffFixed, 7, 5));
}

bool TfrmOkno::EdOknoExit()
{
    // The warning box takes the focus from the edit; that is no second exit.
    if (m_reading)
        return false;
    m_reading = true;
    const bool ok = StrInDEdit(EdOkno, WindowArea, MinWindowArea, AirwayArea, 7, 2);
    m_reading = false;
    return ok;
}

void TfrmOkno::BtBStartClick()
{
    // "Расчёт" is the default button: Enter in the edit computes with what
    // was typed there, not with the area read before.
    if (!EdOknoExit())
        return;
    RReg = RegulatorResistance(AirwayArea, WindowArea);
    RTotal = RAirway + RReg;
    PrintResult();
}

bool TfrmOkno::StrInDEdit(QLineEdit *edit, double &value, double min, double max, int width, int decimals)
{
    const double old = value;
    if (StrInD(edit->text(), value, min, max, width, decimals))
        return true;
    edit->setText(FormatFixedStr(old, width, decimals));
    edit->setCursorPosition(static_cast<int>(edit->text().size()));
    edit->setFocus();
    return false;
}

bool TfrmOkno::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EdOkno && IsExitEvent(event))
        EdOknoExit();
    return QDialog::eventFilter(watched, event);
}

bool CalcWindowResistance(QWidget *owner, double &R, double S)
{
    TfrmOkno form(owner);
    form.WindowArea = S;
    form.AirwayArea = S;
    form.RReg = 0;
    form.RAirway = R;
    form.RTotal = R;
    form.FormShow();
    if (form.exec() != QDialog::Accepted)
        return false;
    R = form.RTotal;
    return true;
}
