#include "calc/ui/frm_resist.h"

#include "calc/resistance.h"
#include "calc/ui/frm_resist_gr.h"
#include "platform/float_format.h"
#include "platform/prompt.h"
#include "shell/main_commands.h"
#include "shell/ui/xq_edit.h"

#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QVBoxLayout>

TfrmResist *frmResist = nullptr;

namespace {

const QString ResistCaption = QStringLiteral("Сопротивление");

void ShowError(const QString &text)
{
    ShowMessageBox(LookupText(text), LookupText(QStringLiteral("Ошибка")), mb::Ok | mb::IconError);
}

} // namespace

TfrmResist::TfrmResist(QWidget *owner) : QDialog(owner)
{
    frmResist = this;
    setWindowTitle(LookupText(QStringLiteral("Расчет аэродинамического сопротивления")));

    edL = new QLineEdit(this);
    edL->setObjectName(QStringLiteral("edL"));
    edS = new QLineEdit(this);
    edS->setObjectName(QStringLiteral("edS"));
    edAlfa = new QLineEdit(this);
    edAlfa->setObjectName(QStringLiteral("edAlfa"));
    edS->installEventFilter(this);

    rdFSech = new QGroupBox(LookupText(QStringLiteral("Форма поперечного сечения")), this);
    Shapes = new QButtonGroup(this);
    auto *shapes = new QVBoxLayout(rdFSech);
    for (int i = 0; i < SectionShapeCount; ++i) {
        auto *radio = new QRadioButton(QString::fromUtf8(SectionShapeFactors[static_cast<std::size_t>(i)].Name), rdFSech);
        Shapes->addButton(radio, i);
        shapes->addWidget(radio);
    }

    btResist = new QPushButton(LookupText(QStringLiteral("Сопротивление...")), this);
    btResist->setObjectName(QStringLiteral("btResist"));
    btResist->setDefault(true);
    btResist->installEventFilter(this);
    btGrafik = new QPushButton(LookupText(QStringLiteral("Использовать график...")), this);
    btGrafik->setObjectName(QStringLiteral("btGrafik"));
    btGrafik->setToolTip(LookupText(QStringLiteral("Возможно при сечении 5<S<16")));
    btOk = new QPushButton(QStringLiteral("OK"), this);
    btCancel = new QPushButton(LookupText(QStringLiteral("Отмена")), this);
    for (QPushButton *b : {btGrafik, btOk, btCancel})
        b->setAutoDefault(false);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(LookupText(QStringLiteral("Длина, м")), this), 0, 0);
    grid->addWidget(edL, 0, 1);
    grid->addWidget(new QLabel(LookupText(QStringLiteral("Площадь сечения, кв.м")), this), 1, 0);
    grid->addWidget(edS, 1, 1);
    grid->addWidget(new QLabel(LookupText(QStringLiteral(
                                   "Коэффициент аэродинамического сопротивления,  а х 10,000,  кг*с2/м6")),
                               this),
                    2, 0, 1, 2);
    grid->addWidget(edAlfa, 3, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btOk);
    buttons->addWidget(btCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(rdFSech);
    layout->addWidget(btResist);
    layout->addWidget(btGrafik);
    layout->addLayout(buttons);

    connect(btResist, &QPushButton::clicked, this, &TfrmResist::btResistClick);
    connect(btGrafik, &QPushButton::clicked, this, &TfrmResist::btGrafikClick);
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmResist::~TfrmResist()
{
    if (frmResist == this)
        frmResist = nullptr;
}

void TfrmResist::FormShow()
{
    edL->setText(QString::number(L));
    edS->setText(FloatToStrF(S, ffFixed, 7, 1));
    edAlfa->setText(FloatToStrF(Alpha, ffFixed, 7, 2));
}

void TfrmResist::edSExit()
{
    ReadEdits([this] { S = EditToFloat(edS); });
}

void TfrmResist::btResistClick()
{
    if (!ReadEdits([this] {
            L = EditToInt(edL);
            S = EditToFloat(edS);
            Alpha = EditToFloat(edAlfa);
        }))
        return;
    const int shape = Shapes->checkedId();
    double factor = 0;
    if (shape < 0)
        ShowError(QStringLiteral("Укажите форму поперечного сечения"));
    else
        factor = SectionShapeFactors[static_cast<std::size_t>(shape)].Factor;
    if (L > 0 && S > 0 && Alpha > 0 && factor > 0) {
        R = SectionResistance(L, S, Alpha, factor);
        btResist->setText(ResistCaption + QStringLiteral(": ") + FloatToStrF(R, ffFixed, 7, 5)
                          + QStringLiteral("кмюрг"));
        return;
    }
    ShowError(QStringLiteral("Исходные данные заданы неверно"));
    if (L <= 0)
        edL->setFocus();
    else if (S <= 0)
        edS->setFocus();
    else if (Alpha <= 0)
        edAlfa->setFocus();
    else
        Shapes->button(0)->setFocus();
}

void TfrmResist::btResistExit() { btResist->setText(LookupText(ResistCaption)); }

void TfrmResist::btGrafikClick()
{
    if (!ReadEdits([this] {
            L = EditToInt(edL);
            S = EditToFloat(edS);
        }))
        return;
    if (S < SupportAreaMin || S > SupportAreaMax) {
        ShowError(QStringLiteral("Использование графика невозможно") + u'\r' + QStringLiteral("      ")
                  + QStringLiteral("ПРИ СЕЧЕНИИ МЕНЕЕ 5 м2") + u'\r' + QStringLiteral("      ")
                  + QStringLiteral("или БОЛЕЕ 16 м2 !!!"));
        return;
    }
    if (!ResistanceFromGraph(this, L, S, R))
        return;
    btResist->setText(ResistCaption + QStringLiteral(": ") + FloatToStrF(R, ffFixed, 7, 4) + QStringLiteral("кмюрг"));
    edS->setText(FloatToStrF(S, ffFixed, 7, 1));
}

bool TfrmResist::eventFilter(QObject *watched, QEvent *event)
{
    if (IsExitEvent(event)) {
        if (watched == edS)
            edSExit();
        else if (watched == btResist)
            btResistExit();
    }
    return QDialog::eventFilter(watched, event);
}

bool CalcBranchResistance(QWidget *owner, int &L, double &S, double &R, double &Alpha)
{
    TfrmResist form(owner);
    form.L = L;
    form.S = S;
    form.R = R;
    form.Alpha = Alpha;
    form.FormShow();
    if (form.exec() != QDialog::Accepted)
        return false;
    L = form.L;
    S = form.S;
    R = form.R;
    Alpha = form.Alpha;
    return true;
}
