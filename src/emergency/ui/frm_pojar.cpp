#include "emergency/ui/frm_pojar.h"

#include "calc/ui/air_commands.h"
#include "emergency/fire_zone_report.h"
#include "emergency/ui/fire_branch_dialog.h"
#include "emergency/ui/frm_fr_stab.h"
#include "emergency/ui/frm_p_nagr.h"
#include "platform/help.h"
#include "platform/prompt.h"
#include "platform/ui/qt_canvas.h"
#include "report/template_preview.h"
#include "scheme/ui/fire_tool_hook.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_find.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/xq_edit.h"

#include <QtCore/QDir>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

TFireWindowHooks FireWindowHooks;
TfrmPojar *frmPojar = nullptr;

namespace {

const int GridColumns = 8;
const int HeaderRows = 2;

// What the main window's caption carries while a zone is shown on the scheme.
QString ZoneCaptionSuffix() { return u' ' + QStringLiteral("Зона загазирования"); }

QLabel *ValueLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setMinimumWidth(90);
    return label;
}

bool IsResultPage(int page) { return page >= fpEmergencyAir && page <= fpReversals; }

} // namespace

TfrmPojar::TfrmPojar(QWidget *owner, TNetworkTables &t) : QDialog(owner), m_model(std::make_unique<TFireModel>(t))
{
    frmPojar = this;
    m_model->Owner = this;
    setWindowTitle(QStringLiteral("Моделирование пожара"));
    resize(1000, 600);

    PageControl1 = new QTabWidget(this);
    for (int p = 0; p < FirePageCount; ++p) {
        Pages[p] = new QWidget;
        PageControl1->addTab(Pages[p], FirePageCaption(p));
    }
    PageControl1->setTabToolTip(fpZone1, QStringLiteral("на момент возникновения пожара"));
    PageControl1->setTabToolTip(fpZone2, QStringLiteral("при максимальной тепловой депрессии пожара"));
    // The two pages of later studies stay empty.
    for (const int p : {fpHighTemp, fpFireSource}) {
        PageControl1->setTabVisible(p, false);
        PageControl1->setTabEnabled(p, false);
    }

    // The fire branch.
    auto *page = Pages[fpFireBranch];
    EdInr = new TxqEdit(page);
    EdInr->SetIntRange(1, MaxFireBranchNo);
    EdInr->setMaximumWidth(80);
    SpeedButton1 = new QToolButton(page);
    SpeedButton1->setText(QStringLiteral("..."));
    SpeedButton1->setToolTip(QStringLiteral("Выбрать ветвь"));
    BitBtn3 = new QPushButton(QStringLiteral("Свойства"), page);
    lbName = new QLabel(page);
    QFont bold = lbName->font();
    bold.setBold(true);
    lbName->setFont(bold);
    lbPLA = ValueLabel(page);
    lbLength = ValueLabel(page);
    lbArea = ValueLabel(page);
    lbAngle = ValueLabel(page);
    lbFlow = ValueLabel(page);
    lbTemp = ValueLabel(page);
    lbVentType = new QLabel(page);
    lbUpst = new QLabel(page);
    lbUpst->setFont(bold);
    lbUpst->setWordWrap(true);
    lbUpst->setVisible(false);

    rgHt = new QGroupBox(QStringLiteral("Тепловую депрессию пожара"), page);
    rbThermalOn = new QRadioButton(QStringLiteral("Учитывать"), rgHt);
    rbThermalOff = new QRadioButton(QStringLiteral("Не учитывать"), rgHt);
    rbThermalOn->setChecked(true);
    auto *rgLayout = new QVBoxLayout(rgHt);
    rgLayout->addWidget(rbThermalOn);
    rgLayout->addWidget(rbThermalOff);

    auto *loadGroup = new QGroupBox(QStringLiteral("Учёт пожарной нагрузки (эксперимент)"), page);
    ChkPNagr = new QCheckBox(QStringLiteral("Пожарная нагрузка =>"), loadGroup);
    BtNagruz = new QPushButton(QStringLiteral("Характеристика"), loadGroup);
    auto *loadLayout = new QHBoxLayout(loadGroup);
    loadLayout->addWidget(ChkPNagr);
    loadLayout->addWidget(BtNagruz);

    auto *numberRow = new QHBoxLayout;
    numberRow->addWidget(EdInr);
    numberRow->addWidget(SpeedButton1);
    numberRow->addWidget(BitBtn3);
    numberRow->addStretch();
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Номер пожарной выработки:"), numberRow);
    form->addRow(QString(), lbName);
    form->addRow(QStringLiteral("Длина выработки, м:"), lbLength);
    form->addRow(QStringLiteral("Площадь сечения, м2:"), lbArea);
    form->addRow(QStringLiteral("Угол наклона, грд.:"), lbAngle);
    form->addRow(QStringLiteral("Расход воздуха до пожара, м3/с:"), lbFlow);
    form->addRow(QStringLiteral("Температура до пожара, грд. C:"), lbTemp);
    form->addRow(QStringLiteral("Позиция ПЛА, №:"), lbPLA);
    auto *choices = new QVBoxLayout;
    choices->addWidget(rgHt);
    choices->addWidget(loadGroup);
    choices->addStretch();
    auto *top = new QHBoxLayout;
    top->addLayout(form, 1);
    top->addLayout(choices);
    auto *firstLayout = new QVBoxLayout(page);
    firstLayout->addLayout(top);
    firstLayout->addWidget(lbVentType);
    firstLayout->addWidget(lbUpst);
    firstLayout->addStretch();

    // The result pages: a text above the grid, shown only when there is one.
    for (int p = fpEmergencyAir; p <= fpReversals; ++p) {
        PageLabels[p] = new QLabel(Pages[p]);
        PageLabels[p]->setWordWrap(true);
        PageLabels[p]->setFont(bold);
        auto *grid = new QTableWidget(Pages[p]);
        grid->setColumnCount(GridColumns);
        grid->horizontalHeader()->setVisible(false);
        grid->verticalHeader()->setVisible(false);
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->setSelectionMode(QAbstractItemView::NoSelection);
        grid->setColumnWidth(0, 220);
        for (int c = 1; c < GridColumns; ++c)
            grid->setColumnWidth(c, 74);
        Grids[p] = grid;
        auto *layout = new QVBoxLayout(Pages[p]);
        layout->addWidget(PageLabels[p]);
        layout->addWidget(grid, 1);
    }

    bbtPrint = new QPushButton(QStringLiteral("Печать..."), this);
    bbtCancel = new QPushButton(QStringLiteral("Отмена"), this);
    bbtSchem = new QPushButton(QStringLiteral("&На схему"), this);
    bbtSchem->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(bbtPrint);
    buttons->addStretch();
    buttons->addWidget(bbtCancel);
    buttons->addWidget(bbtSchem);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);

    connect(EdInr, &QLineEdit::textChanged, this, &TfrmPojar::EdInrChanged);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TfrmPojar::PageChanged);
    connect(rbThermalOn, &QRadioButton::toggled, this, &TfrmPojar::rgHtClick);
    connect(ChkPNagr, &QCheckBox::toggled, this, [this](bool checked) {
        m_model->UseFireLoad = checked;
        BtNagruz->setEnabled(checked);
    });
    connect(BtNagruz, &QPushButton::clicked, this, &TfrmPojar::BtNagruzClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TfrmPojar::SpeedButton1Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TfrmPojar::BitBtn3Click);
    connect(bbtSchem, &QPushButton::clicked, this, [this] {
        if (bbtSchemClick())
            accept();
    });
    connect(bbtCancel, &QPushButton::clicked, this, &TfrmPojar::reject);
    connect(bbtPrint, &QPushButton::clicked, this, [this] {
        if (FireWindowHooks.PrintZoneReport)
            FireWindowHooks.PrintZoneReport(*this);
    });

    if (frmMain) {
        m_model->ReportStyle = frmMain->GetReportStyle();
        m_model->FireTime = frmMain->GetFireTime();
    }
    SetActivePage(fpFireBranch);
    EdInr->clear();
    ShowFireBranch();
    bbtPrint->setEnabled(false);
}

TfrmPojar::~TfrmPojar()
{
    if (FireWindowHooks.ResultsGone)
        FireWindowHooks.ResultsGone();
    // The model puts the normal flows and depressions back as it goes.
    m_model.reset();
    if (frmMain) {
        frmMain->Storage().ExchangeForWrite = nullptr;
        frmMain->SetStandardColors();
        // No zone, and no route over it, is left to name in the caption.
        frmMain->SetCaptionSuffix(QString());
    }
    if (frmPojar == this)
        frmPojar = nullptr;
}

int TfrmPojar::ActivePage() const
{
    return m_page;
}

void TfrmPojar::SetActivePage(int page)
{
    m_changingPage = true;
    PageControl1->setCurrentIndex(page);
    m_changingPage = false;
    m_page = page;
    FillPage(page);
    UpdatePrintButton();
    ShowReversalLabel();
}

TGasZoneList TfrmPojar::SmokeZone() const
{
    return m_model->SmokeZone(m_page);
}

void TfrmPojar::EdInrChanged(const QString &text)
{
    if (m_filtering)
        return;
    const QString filtered = FilterBranchNumberText(text);
    if (filtered != text) {
        m_filtering = true;
        const int cursor = EdInr->cursorPosition();
        EdInr->setText(filtered);
        EdInr->setCursorPosition(std::min<int>(cursor, filtered.size()));
        m_filtering = false;
    }
    ShowFireBranch();
}

void TfrmPojar::ShowFireBranch()
{
    bool ok = false;
    const int b = EdInr->text().trimmed().toInt(&ok);
    const TFireBranchInfo info = m_model->ShowFireBranch(ok ? b : 0);
    lbName->setText(info.Name);
    lbPLA->setText(info.PLAPosition);
    lbLength->setText(info.Length);
    lbArea->setText(info.Area);
    lbAngle->setText(info.Angle);
    lbFlow->setText(info.Flow);
    lbTemp->setText(info.Temperature);
    lbVentType->setText(info.VentTypeText);
    lbUpst->clear();
    lbUpst->setVisible(false);
    ChkPNagr->setChecked(false);
    ChkPNagr->setEnabled(info.Exists);
    BtNagruz->setEnabled(false);
    BitBtn3->setEnabled(info.Exists && FireBranchDialogReady());
    SpeedButton1->setEnabled(bool(FireWindowHooks.PickBranch));
    for (const int p : {fpEmergencyAir, fpZone1, fpReversals})
        PageControl1->setTabEnabled(p, info.Exists);
    rgHt->setEnabled(info.ThermalChoice);
    PageControl1->setTabVisible(fpZone2, m_model->Zone2Visible());
}

void TfrmPojar::rgHtClick()
{
    m_model->UseThermal = rbThermalOn->isChecked();
    ChkPNagr->setEnabled(rgHt->isEnabled() && m_model->UseThermal && BranchExist(m_model->Tables(), EdInr->text().toInt()));
    if (!ChkPNagr->isEnabled())
        ChkPNagr->setChecked(false);
    BtNagruz->setEnabled(ChkPNagr->isEnabled() && ChkPNagr->isChecked());
    PageControl1->setTabVisible(fpZone2, m_model->Zone2Visible());
}

bool TfrmPojar::Compute()
{
    m_model->UseThermal = rbThermalOn->isChecked();
    m_model->UseFireLoad = ChkPNagr->isChecked();
    if (frmMain)
        FireLoadFolder = frmMain->GetFansFolder();
    TFireInputCheck check = fiOk;
    if (!m_model->Compute(EdInr->text(), &check)) {
        if (check == fiNotNumber || check == fiNoBranch)
            EdInr->setFocus();
        return false;
    }
    // The normal distribution was solved again: what the first page says of
    // it follows.
    const TFireBranchInfo info = m_model->DescribeFireBranch(m_model->FireBranch);
    lbFlow->setText(info.Flow);
    lbVentType->setText(info.VentTypeText);
    rgHt->setEnabled(info.ThermalChoice);
    PageControl1->setTabVisible(fpZone2, m_model->Zone2Visible());
    if (FireWindowHooks.ResultsGone)
        FireWindowHooks.ResultsGone();
    return true;
}

void TfrmPojar::PageChanged(int index)
{
    if (m_changingPage)
        return;
    const int previous = m_page;
    if (previous == fpFireBranch && index != fpFireBranch && !Compute()) {
        // The page change is refused: the user stays on the fire branch.
        m_changingPage = true;
        PageControl1->setCurrentIndex(fpFireBranch);
        m_changingPage = false;
        ShowReversalLabel();
        return;
    }
    m_page = index;
    FillPage(index);
    UpdatePrintButton();
    ShowReversalLabel();
}

void TfrmPojar::FillPage(int page)
{
    if (!IsResultPage(page))
        return;
    QString message;
    bool gridShown = true;
    switch (page) {
    case fpEmergencyAir:
        m_model->FillEmergencyAir();
        message = m_model->EmergencyAirLabel();
        break;
    case fpZone1:
        m_model->FillZone1();
        message = m_model->Zone1Message();
        break;
    case fpZone2:
        m_model->FillZone2();
        message = m_model->Zone2Message();
        break;
    case fpReversals:
        gridShown = m_model->FillReversals();
        message = m_model->ReversalsLabel();
        break;
    }
    PageLabels[page]->setText(message);
    PageLabels[page]->setVisible(!message.isEmpty());
    Grids[page]->setVisible(gridShown);
    FillGrid(Grids[page]);
}

void TfrmPojar::FillGrid(QTableWidget *grid)
{
    const auto &items = m_model->Items;
    grid->clearContents();
    grid->setRowCount(int(items.size()) + HeaderRows + (items.empty() ? 1 : 0));
    QFont bold = grid->font();
    bold.setBold(true);
    for (int r = 0; r < HeaderRows; ++r) {
        const QStringList header = TFireModel::GridHeader(r);
        for (int c = 0; c < GridColumns; ++c) {
            auto *item = new QTableWidgetItem(header[c]);
            item->setFont(bold);
            item->setTextAlignment(Qt::AlignCenter);
            item->setBackground(grid->palette().button());
            grid->setItem(r, c, item);
        }
    }
    for (int k = 0; k < int(items.size()); ++k) {
        const int b = items[k];
        const QStringList cells = m_model->GridRow(b);
        const std::optional<TColor> color = m_model->RowColor(b);
        for (int c = 0; c < GridColumns; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            if (color) {
                item->setBackground(TColorToQColor(*color));
                item->setForeground(Qt::black);
            }
            grid->setItem(k + HeaderRows, c, item);
        }
    }
}

void TfrmPojar::UpdatePrintButton()
{
    bool enabled = IsResultPage(m_page) && bool(FireWindowHooks.PrintZoneReport);
    if (m_page == fpReversals && !Grids[fpReversals]->isVisibleTo(Pages[fpReversals]))
        enabled = false;
    bbtPrint->setEnabled(enabled);
}

void TfrmPojar::ShowReversalLabel()
{
    const QString text = m_model->Computed() ? m_model->UpsetLabel() : QString();
    lbUpst->setText(text);
    lbUpst->setVisible(!text.isEmpty());
}

bool TfrmPojar::bbtSchemClick()
{
    if (m_page == fpFireBranch && !Compute()) {
        setResult(0);
        return false;
    }
    if (frmMain) {
        frmMain->SetStandardColors();
        const int page = m_model->ShowZones(frmMain->Document().BranchColors, frmMain->Options().Colors, m_page);
        // With the thermal depression left out the second zone is the first.
        SetActivePage(page == fpZone2 && !PageControl1->isTabVisible(fpZone2) ? fpZone1 : page);
    } else {
        SetActivePage(m_page == fpZone1 || m_model->VentKind == 0 || !m_model->Zone2Visible() ? fpZone1 : fpZone2);
    }
    m_model->ZoneRect = m_model->ZoneBounds();
    return true;
}

void TfrmPojar::reject()
{
    // The branch of the last computation comes back, with the normal set.
    const QString last = m_model->FireBranch > 0 ? QString::number(m_model->FireBranch) : QString();
    if (EdInr->text() != last)
        EdInr->setText(last);
    else
        ShowFireBranch();
    QDialog::reject();
}

void TfrmPojar::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (frmMain)
        FireLoadFolder = frmMain->GetFansFolder();
    if (m_page == fpFireBranch)
        EdInr->setFocus();
    FillPage(m_page);
    UpdatePrintButton();
    ShowReversalLabel();
}

void TfrmPojar::SpeedButton1Click()
{
    if (!FireWindowHooks.PickBranch)
        return;
    QString text;
    const int b = FireWindowHooks.PickBranch(this, text);
    if (b > 0)
        EdInr->setText(QString::number(b));
}

void TfrmPojar::BitBtn3Click()
{
    bool ok = false;
    const int b = EdInr->text().toInt(&ok);
    if (!ok || !BranchExist(m_model->Tables(), b))
        return;
    EditFireBranch(this, QStringLiteral("Ветвь ") + EdInr->text(), b);
    ShowFireBranch();
}

void TfrmPojar::BtNagruzClick()
{
    const TNetworkTables &t = m_model->Tables();
    bool ok = false;
    const int b = EdInr->text().toInt(&ok);
    if (!ok || !BranchExist(t, b)) {
        ShowMessageBox(QStringLiteral(" Ветвь ") + EdInr->text() + QStringLiteral(" отсутсвует в сети выработок"), QString(),
                       mb::Ok | mb::IconError);
        EdInr->setFocus();
        return;
    }
    if (!ChkPNagr->isChecked())
        return;
    if (frmMain)
        FireLoadFolder = frmMain->GetFansFolder();
    ShowFireLoadForm(this, m_model->FireTime, t.BranchLength[b], m_model->NormalQ[b], t.BranchArea[b],
                     t.NodeAltitude[t.BranchStartNode[b]], t.NodeAltitude[t.BranchEndNode[b]], t.BranchAngle[b],
                     t.BranchStartTemp[b]);
}

TfrmPojar *CreateFireWindow(QWidget *owner)
{
    if (frmPojar)
        return frmPojar;
    if (!CalcAir(owner, Net))
        return nullptr;
    auto *window = new TfrmPojar(owner, Net);
    if (frmMain) {
        frmMain->Storage().ExchangeForWrite = [] {
            if (frmPojar)
                frmPojar->Model().SwapNormal();
        };
    }
    return window;
}

void FreeFireWindow()
{
    delete frmPojar;
}

void mnuFireNewClick(TfrmMain &mainWindow)
{
    if (!frmPojar) {
        if (!CreateFireWindow(&mainWindow)) {
            mainWindow.Redraw();
            return;
        }
        frmPojar->SetActivePage(fpFireBranch);
    }
    frmPojar->bbtSchem->setText(QStringLiteral("&На схему"));
    if (frmPojar->exec() == QDialog::Accepted) {
        mainWindow.SetCaptionSuffix(ZoneCaptionSuffix());
        mainWindow.FitRect(frmPojar->ZoneRect());
    } else {
        mainWindow.SetCaptionSuffix(QString());
        FreeFireWindow();
    }
    mainWindow.Redraw();
}

void InstallFireCommands(TfrmMain &mainWindow)
{
    TfrmMain *w = &mainWindow;
    mainWindow.SetCommandHandler(QStringLiteral("TaskFire"), [w] { mnuFireNewClick(*w); });
    mainWindow.SetCommandHandler(QStringLiteral("pmnuFire"), [w] { mnuFireNewClick(*w); });
    FireWindowHooks.PickBranch = [](QWidget *owner, QString &text) { return PickBranch(owner, text); };
    FireWindowHooks.PrintZoneReport = [](TfrmPojar &window) {
        TFireZoneReport data(window.Model(), FirePageCaption(window.ActivePage()),
                             frmMain ? frmMain->GetMineTitle() : QString());
        PreviewTemplateFile(QStringLiteral("frmPojar"), QDir(ReportsFolder()).filePath(FireZoneTemplate),
                            {&data.frBranches},
                            [&data](const QString &name, Variant &value) { data.GetValue(name, value); });
    };
    FireModelHooks.Exists = [] { return frmPojar != nullptr; };
    FireModelHooks.Free = [] { FreeFireWindow(); };
    QObject::connect(&mainWindow, &TfrmMain::documentCleared, &mainWindow, [] { FreeFireWindow(); });
    FireToolClick = [](int branch) {
        if (!frmPojar && !CreateFireWindow(nullptr))
            return false;
        frmPojar->EdInr->setText(QString::number(branch));
        frmPojar->SetActivePage(fpFireBranch);
        // The zone stands on the scheme as after "На схему" of the window.
        if (frmPojar->bbtSchemClick() && frmMain)
            frmMain->SetCaptionSuffix(ZoneCaptionSuffix());
        return true;
    };
}
