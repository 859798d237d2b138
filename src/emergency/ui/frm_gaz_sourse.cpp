#include "emergency/ui/frm_gaz_sourse.h"

#include "model/mine_objects.h"
#include "platform/prompt.h"
#include "shell/ui/frm_main.h"

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

TfrmGazSourse *frmGazSourse = nullptr;

namespace {

QLabel *BoldLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

TfrmGazSourse::TfrmGazSourse(QWidget *owner, const TNetworkTables &t) : QDialog(owner)
{
    frmGazSourse = this;
    setWindowTitle(QStringLiteral("Источники газовыделения"));

    const int n = MaxBranchNo(t);
    for (int b = 1; b <= n; ++b) {
        if (!BranchExist(t, b))
            continue;
        if (t.BranchType[b] == btLongwall)
            ++LongwallCount;
        else if (t.BranchType[b] == btDevelopmentFace)
            ++FaceCount;
    }

    lblLongwalls = new QLabel(QStringLiteral("Лавы - ") + QString::number(LongwallCount), this);
    lblFaces = new QLabel(QStringLiteral("Подготовительные забои - ") + QString::number(FaceCount), this);
    chkLongwalls = new QCheckBox(QStringLiteral("Лавы"), this);
    chkFaces = new QCheckBox(QStringLiteral("Подготовительные забои "), this);
    chkLongwalls->setChecked(LongwallCount > 0);
    chkLongwalls->setEnabled(LongwallCount > 0);
    chkFaces->setChecked(FaceCount > 0);
    chkFaces->setEnabled(FaceCount > 0);

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    connect(btnOk, &QPushButton::clicked, this, &TfrmGazSourse::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(BoldLabel(QStringLiteral("В шахте заданы:    "), this));
    layout->addWidget(lblLongwalls);
    layout->addWidget(lblFaces);
    layout->addWidget(BoldLabel(QStringLiteral(" При расчете свежая / исходящая учитывать:"), this));
    layout->addWidget(chkLongwalls);
    layout->addWidget(chkFaces);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
}

TfrmGazSourse::~TfrmGazSourse()
{
    if (frmGazSourse == this)
        frmGazSourse = nullptr;
}

TGasSourceTypeSet TfrmGazSourse::TypeSet() const
{
    TGasSourceTypeSet set = 0;
    if (chkLongwalls->isChecked())
        set |= TypeBit(btLongwall);
    if (chkFaces->isChecked())
        set |= TypeBit(btDevelopmentFace);
    return set;
}

void TfrmGazSourse::btnOkClick()
{
    if (TypeSet() != 0) {
        accept();
        return;
    }
    ShowMessageBox(QStringLiteral("Расчет невозможен. Не заданы источники газовыделения."),
                   QStringLiteral("ОШИБКА"), mb::Ok | mb::IconError);
    // With sources in the mine the user may still tick one; without, there is nothing to choose.
    if (LongwallCount + FaceCount == 0)
        reject();
}

bool RunFreshRecalc(QWidget *mainWindow, TNetworkTables &t, const TFreshRecalcHost &host)
{
    TGasSourceTypeSet set = 0;
    {
        TfrmGazSourse dialog(mainWindow, t);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        set = dialog.TypeSet();
    }
    std::vector<int> changed;
    const CalcResult result = GasSourceZone(t, set, TableArrays(t), changed);
    if (result != crSolved) {
        // The old marking must not pass for a recomputed one.
        ShowCalcError(mainWindow, result, t);
        return false;
    }
    if (host.ObjectChanged)
        for (const int b : changed)
            host.ObjectChanged(b);
    if (host.SetStandardColors)
        host.SetStandardColors();
    if (host.Colors)
        ShowGasSourceZone(*host.Colors, host.Palette, t, set);
    return true;
}

void RunFreshRecalc(TfrmMain &mainWindow)
{
    TFreshRecalcHost host;
    host.ObjectChanged = [&mainWindow](int b) { mainWindow.ObjectChanged(std::make_unique<TBranch>(Net, b), ckChanged); };
    host.SetStandardColors = [&mainWindow] { mainWindow.SetStandardColors(); };
    host.Colors = &mainWindow.Document().BranchColors;
    host.Palette = mainWindow.Options().Colors;
    RunFreshRecalc(&mainWindow, Net, host);
    mainWindow.Redraw();
}

void InstallFreshRecalcCommand(TfrmMain &mainWindow)
{
    mainWindow.SetNormalAirCommandHandler(QStringLiteral("TaskFreshRecalc"), [&mainWindow] { RunFreshRecalc(mainWindow); });
}
