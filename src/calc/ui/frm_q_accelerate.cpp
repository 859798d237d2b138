#include "calc/ui/frm_q_accelerate.h"

#include "calc/ui/air_commands.h"
#include "scheme/ui/frm_branch.h"
#include "scheme/ui/vent_boost_hook.h"
#include "shell/main_commands.h"
#include "shell/ui/frm_find.h"
#include "shell/ui/frm_main.h"

#include <QtCore/QCoreApplication>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

TVentBoostHooks VentBoostHooks;

namespace {

QLabel *ValueLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setMinimumWidth(260);
    return label;
}

QToolButton *SpeedButton(QWidget *parent, const char *name, const QString &hint, const QString &glyph)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(glyph);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setAutoRaise(true);
    button->setMinimumSize(28, 28);
    return button;
}

} // namespace

TfrmQAccelerate::TfrmQAccelerate(QWidget *owner, TNetworkTables &t, int branchNo, TNormalAir normalAir)
    : QDialog(owner), m_t(t), m_normalAir(std::move(normalAir)), m_target(branchNo)
{
    setObjectName(QStringLiteral("frmQAccelerate"));
    setWindowTitle(LookupText(QStringLiteral("Усиление проветривания")));

    lblBrNo = ValueLabel(this, "lblBrNo");
    lblOldQ = ValueLabel(this, "lblOldQ");
    lblBestBrNo1 = ValueLabel(this, "lblBestBrNo1");
    lblQAccelerated1 = ValueLabel(this, "lblQAccelerated1");
    lblBestBrNo2 = ValueLabel(this, "lblBestBrNo2");
    lblQAccelerated2 = ValueLabel(this, "lblQAccelerated2");
    lblBrProcessed = ValueLabel(this, "lblBrProcessed");
    lblCurrentQProcessed = ValueLabel(this, "lblCurrentQProcessed");
    lblCurrentQProcessed->hide();

    prbCurrBranch = new QProgressBar(this);
    prbCurrBranch->setObjectName(QStringLiteral("prbCurrBranch"));
    prbCurrBranch->setTextVisible(false);
    prbCurrBranch->setRange(0, std::max(1, MaxBranchNo(m_t)));
    prbCurrBranch->setValue(0);

    btnStop = new QPushButton(LookupText(QStringLiteral("Усилить")), this);
    btnStop->setObjectName(QStringLiteral("btnStop"));
    btnStop->setDefault(true);
    btnClose = new QPushButton(LookupText(QStringLiteral("Закрыть")), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    spbtnBranchProperty = SpeedButton(this, "spbtnBranchProperty", LookupText(QStringLiteral("Свойства ветви")),
                                      QStringLiteral("…"));
    spbtnPickBranchFromScheme = SpeedButton(this, "spbtnPickBranchFromScheme",
                                            LookupText(QStringLiteral("Взять ветвь со схемы")), QStringLiteral("↖"));
    spbtnPickBranchFromList = SpeedButton(this, "spbtnPickBranchFromList",
                                          LookupText(QStringLiteral("Взять ветвь из списка")), QStringLiteral("☰"));

    const auto caption = [this](const char *text) { return new QLabel(LookupText(QString::fromUtf8(text)), this); };
    auto *target = new QGridLayout;
    target->addWidget(caption("Усиление проветривания ветви:"), 0, 0);
    target->addWidget(lblBrNo, 0, 1);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    buttons->addWidget(spbtnBranchProperty);
    buttons->addWidget(spbtnPickBranchFromScheme);
    buttons->addWidget(spbtnPickBranchFromList);
    target->addLayout(buttons, 0, 2);
    target->addWidget(caption("Расход до усиления:"), 1, 0);
    target->addWidget(lblOldQ, 1, 1, 1, 2);
    target->addWidget(caption("Сопротивление перемычки:"), 2, 0);
    target->addWidget(caption("1,0 кМюрг"), 2, 1, 1, 2);
    target->setColumnStretch(1, 1);

    const auto place = [&](QLabel *number, QLabel *flow) {
        auto *box = new QGroupBox(this);
        auto *grid = new QGridLayout(box);
        grid->addWidget(caption("Место установки перемычки:"), 0, 0);
        grid->addWidget(number, 0, 1);
        grid->addWidget(caption("Расход после усиления:"), 1, 0);
        grid->addWidget(flow, 1, 1);
        grid->setColumnStretch(1, 1);
        return box;
    };

    auto *search = new QGridLayout;
    search->addWidget(caption("Поиск ветви:"), 0, 0);
    search->addWidget(lblBrProcessed, 0, 1);
    search->addWidget(lblCurrentQProcessed, 0, 2);
    search->addWidget(prbCurrBranch, 1, 0, 1, 3);
    search->setColumnStretch(1, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(btnStop);
    bottom->addWidget(btnClose);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(target);
    layout->addWidget(place(lblBestBrNo1, lblQAccelerated1));
    layout->addWidget(place(lblBestBrNo2, lblQAccelerated2));
    layout->addLayout(search);
    layout->addLayout(bottom);

    connect(btnStop, &QPushButton::clicked, this, &TfrmQAccelerate::btnStopClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(spbtnBranchProperty, &QToolButton::clicked, this, &TfrmQAccelerate::spbtnBranchPropertyClick);
    // The boost tool of the scheme opens the window again for the branch picked.
    connect(spbtnPickBranchFromScheme, &QToolButton::clicked, this, &QDialog::close);
    connect(spbtnPickBranchFromList, &QToolButton::clicked, this, &TfrmQAccelerate::spbtnPickBranchFromListClick);

    lblBrNo->setText(QString::number(m_target));
    ShowTargetFlow();
    SetRunning(false);
}

TfrmQAccelerate::~TfrmQAccelerate() = default;

const TNetworkTables &TfrmQAccelerate::SearchedTables(std::unique_ptr<TNetworkTables> &normal) const
{
    if (m_normalAir)
        normal = m_normalAir();
    return normal ? *normal : m_t;
}

void TfrmQAccelerate::ShowTargetFlow()
{
    std::unique_ptr<TNetworkTables> normal;
    const TNetworkTables &t = SearchedTables(normal);
    lblOldQ->setText(FormatBoostTargetFlow(ValidItemIndex(m_target) ? t.BranchQ[m_target] : 0));
}

void TfrmQAccelerate::SetRunning(bool running)
{
    m_running = running;
    btnStop->setText(LookupText(running ? QStringLiteral("Стоп") : QStringLiteral("Усилить")));
    btnClose->setEnabled(!running);
    spbtnPickBranchFromScheme->setEnabled(!running);
    spbtnBranchProperty->setEnabled(!running && VentBoostHooks.EditBranch);
    spbtnPickBranchFromList->setEnabled(!running && VentBoostHooks.PickBranch);
}

void TfrmQAccelerate::reject()
{
    // The search must end through "Стоп" before the window can go.
    if (!m_running)
        QDialog::reject();
}

void TfrmQAccelerate::btnStopClick()
{
    SetRunning(!m_running);
    if (m_running)
        RunVentBoost();
}

bool TfrmQAccelerate::ShowTrial(const TBoostState &state, const TBoostTrial &trial)
{
    lblBrProcessed->setText(QString::number(trial.Branch));
    if (trial.Code == crSolved)
        lblCurrentQProcessed->setText(FormatBoostFlow(trial.Q, state.Q0));
    // Once a first place was named, both places are.
    if (state.SecondBranch != 0) {
        lblBestBrNo1->setText(QString::number(state.BestBranch));
        lblQAccelerated1->setText(FormatBoostFlow(state.Best, state.Q0));
        lblBestBrNo2->setText(QString::number(state.SecondBranch));
        lblQAccelerated2->setText(FormatBoostFlow(state.Second, state.Q0));
    }
    prbCurrBranch->setValue(trial.Branch);
    repaint();
    // Here a click on "Стоп" is received, between two trials.
    QCoreApplication::processEvents();
    return m_running;
}

void TfrmQAccelerate::RunVentBoost()
{
    for (QLabel *label : {lblBestBrNo1, lblQAccelerated1, lblBestBrNo2, lblQAccelerated2, lblBrProcessed})
        label->clear();
    lblBrNo->setText(QString::number(m_target));
    std::unique_ptr<TNetworkTables> normal;
    const TNetworkTables &t = SearchedTables(normal);
    lblOldQ->setText(FormatBoostTargetFlow(t.BranchQ[m_target]));
    prbCurrBranch->setRange(0, std::max(1, MaxBranchNo(t)));
    prbCurrBranch->setValue(0);
    const CalcResult code = RunBoostSearch(
        t, m_target, m_state, [this](const TBoostState &s, const TBoostTrial &trial) { return ShowTrial(s, trial); },
        SolveOwnTables, Threads);
    if (!m_state.Stopped && code == crSolved)
        prbCurrBranch->setValue(prbCurrBranch->maximum());
    SetRunning(false);
    // The network that cannot be solved as it is, or the first trial that
    // failed, is told once.
    if (code != crSolved)
        ShowCalcError(this, code, m_t);
    else if (m_state.Failed > 0)
        ShowCalcError(this, m_state.FirstFailure, m_t);
}

void TfrmQAccelerate::spbtnBranchPropertyClick()
{
    if (VentBoostHooks.EditBranch)
        VentBoostHooks.EditBranch(this, m_target, LookupText(QStringLiteral("Ветвь")) + u' ' + lblBrNo->text());
}

void TfrmQAccelerate::spbtnPickBranchFromListClick()
{
    if (!VentBoostHooks.PickBranch)
        return;
    QString text;
    const int branch = VentBoostHooks.PickBranch(this, text);
    if (!ValidItemIndex(branch))
        return;
    m_target = branch;
    lblBrNo->setText(text.isEmpty() ? QString::number(branch) : text);
    ShowTargetFlow();
}

namespace {

// The boost window for a branch of the program's tables, opened from window
// from (the main window for the scheme's boost tool).
void OpenVentBoost(QWidget *from, int branchNo)
{
    if (!ValidItemIndex(branchNo))
        return;
    TfrmQAccelerate::TNormalAir normalAir;
    if (frmMain) {
        if (CanReleaseFireModel(*frmMain, from) && !ReleaseFireModel(*frmMain))
            return;
        normalAir = [] { return NormalAirCopy(*frmMain); };
    }
    TfrmQAccelerate form(frmMain, Net, branchNo, normalAir);
    form.exec();
}

} // namespace

void InstallVentBoost()
{
    ShowVentBoost = [](int branchNo) { OpenVentBoost(frmMain, branchNo); };
    // "Усилить проветр." of the branch dialog, for the branch it was opened on.
    BranchDialogHooks.Boost = [](TfrmBranch &dialog) { OpenVentBoost(&dialog, dialog.Form().OpenedBranch); };
    VentBoostHooks.PickBranch = [](QWidget *owner, QString &text) { return PickBranch(owner, text); };
    VentBoostHooks.EditBranch = [](QWidget *owner, int branch, const QString &caption) {
        EditBranchDialog(owner, caption, branch, false);
    };
}
