#include "scheme/ui/frm_branch.h"

#include "platform/help.h"
#include "platform/prompt.h"
#include "platform/ui/qt_canvas.h"
#include "scheme/ui/frm_accessories.h"
#include "scheme/ui/named_controls.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFrame>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QTreeWidget>
#include <QtWidgets/QVBoxLayout>

TBranchDialogHost BranchDialogHost;
TBranchDialogHooks BranchDialogHooks;

namespace {

constexpr int HelpTopicBranch = 10;
constexpr int SymbolsPage = 5;

TNetworkTables &HostTables() { return BranchDialogHost.Tables ? *BranchDialogHost.Tables : Net; }

TSchemeDocument &HostDocument()
{
    // Without a document the branch has no seams, links or fans to carry.
    static TSchemeDocument none;
    return BranchDialogHost.Doc ? *BranchDialogHost.Doc : none;
}

// A control whose window is not there yet stays disabled.
void EnableWhenHooked(QWidget *control, bool hooked) { control->setEnabled(hooked); }

} // namespace

TfrmBranch::TfrmBranch(QWidget *parent)
    : QDialog(parent), m_form(HostTables(), HostDocument(), BranchDialogHost.Form)
{
    setObjectName(QStringLiteral("frmBranch"));
    auto *layout = new QHBoxLayout(this);
    pcBranch = new QTabWidget(this);
    pcBranch->setObjectName(QStringLiteral("pcBranch"));
    layout->addWidget(pcBranch, 1);
    CreatePageProperties();
    CreatePageSpeed();
    CreatePageView();
    CreatePagePLA();
    CreatePageAccessories();
    CreatePageSymbols();

    auto *buttons = new QVBoxLayout;
    bbtnDelete = NamedButton(this, "bbtnDelete", QStringLiteral("Удалить"));
    btnFile = NamedButton(this, "btnFile", QStringLiteral("Текст ПЛА"));
    btnQAccelerate = NamedButton(this, "btnQAccelerate", QStringLiteral("Усилить проветр."));
    bbtnHelp = NamedButton(this, "bbtnHelp", QStringLiteral("Помощь"));
    bbtnCancel = NamedButton(this, "bbtnCancel", QStringLiteral("Отмена"));
    bbtnOK = NamedButton(this, "bbtnOK", QStringLiteral("OK"));
    bbtnOK->setDefault(true);
    for (QPushButton *b : {bbtnOK, bbtnCancel, bbtnDelete, btnFile, btnQAccelerate, bbtnHelp})
        buttons->addWidget(b);
    buttons->addStretch();
    layout->addLayout(buttons);

    connect(bbtnOK, &QPushButton::clicked, this, &TfrmBranch::bbtnOKClick);
    connect(bbtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(bbtnDelete, &QPushButton::clicked, this, &TfrmBranch::bbtnDeleteClick);
    connect(bbtnHelp, &QPushButton::clicked, this, [] { ShowHelpTopic(HelpTopicBranch); });
    connect(btnDirection, &QPushButton::clicked, this, &TfrmBranch::btnDirectionClick);
    connect(btnRevers, &QPushButton::clicked, this, &TfrmBranch::btnReversClick);
    connect(btnSameBranches, &QPushButton::clicked, this, &TfrmBranch::btnSameBranchesClick);
    connect(bCoveyor, &QPushButton::clicked, this, &TfrmBranch::bCoveyorClick);
    connect(bFireWater, &QPushButton::clicked, this, &TfrmBranch::bFireWaterClick);
    connect(bDeGaze, &QPushButton::clicked, this, &TfrmBranch::bDeGazeClick);
    connect(bCable, &QPushButton::clicked, this, &TfrmBranch::bCableClick);

    // The commands that other windows serve.
    const TBranchDialogHooks &h = BranchDialogHooks;
    const auto hook = [this](QPushButton *button, const std::function<void(TfrmBranch &)> &command) {
        EnableWhenHooked(button, bool(command));
        connect(button, &QPushButton::clicked, this, [this, command] {
            if (command)
                command(*this);
        });
    };
    hook(btnResist, h.CalcResistance);
    hook(Button3, h.WindowResistance);
    hook(bbtnAuxDepr, h.Fan);
    hook(btnFile, h.PLADocuments);
    hook(btnQAccelerate, h.Boost);
    EnableWhenHooked(btnSameBranches, bool(h.SelectBranches));
    EnableWhenHooked(edPhone, bool(h.PhoneNumber));
    EnableWhenHooked(bbtnPLAColor, bool(BranchDialogHost.Form.ChooseColor));
    connect(btnCalcAngle, &QPushButton::clicked, this, &TfrmBranch::btnCalcAngleClick);
    connect(bbtnPLAColor, &QPushButton::clicked, this, &TfrmBranch::bbtnPLAColorClick);
    connect(btnAddSymbol, &QPushButton::clicked, this, &TfrmBranch::btnAddSymbolClick);
    connect(btnDeleteSymbol, &QPushButton::clicked, this, &TfrmBranch::btnDeleteSymbolClick);
    connect(lvSymb, &QTreeWidget::itemDoubleClicked, this, &TfrmBranch::lvSymbDblClick);
    lvSymb->installEventFilter(this);
    connect(pcBranch, &QTabWidget::currentChanged, this, &TfrmBranch::pcBranchChange);

    WireChanges();
    pcBranch->setCurrentIndex(0);
}

void TfrmBranch::CreatePageProperties()
{
    auto *page = new QWidget(pcBranch);
    auto *grid = new QGridLayout(page);
    const auto label = [&](const QString &caption, int row, int column) {
        grid->addWidget(new QLabel(caption, page), row, column);
    };
    edNo = NamedEdit(page, "edNo");
    xqePosDGS = NamedEdit(page, "xqePosDGS");
    edName = NamedEdit(page, "edName");
    lblDirection = new QLabel(page);
    lblDirection->setObjectName(QStringLiteral("lblDirection"));
    btnDirection = NamedButton(page, "btnDirection", QStringLiteral("Развернуть"));
    cbxType = new QComboBox(page);
    cbxType->setObjectName(QStringLiteral("cbxType"));
    cbxType->addItems(GetBranchTypeList());
    cbFresh = NamedCheck(page, "cbFresh", QStringLiteral("Свежая"));
    cbxZonaRevers = NamedCheck(page, "cbxZonaRevers", QStringLiteral("Зона реверсирования"));
    edRes = NamedEdit(page, "edRes");
    btnResist = NamedButton(page, "btnResist", QStringLiteral("Расчет"));
    Button3 = NamedButton(page, "Button3", QStringLiteral("Rокна, кмюрг..."));
    edAuxDepr = NamedEdit(page, "edAuxDepr");
    bbtnAuxDepr = NamedButton(page, "bbtnAuxDepr", QStringLiteral("Расчет"));
    xqeQtr = NamedEdit(page, "xqeQtr");
    edAirDebt = NamedEdit(page, "edAirDebt");
    xqeDepr = NamedEdit(page, "xqeDepr");
    xqeDepr->setReadOnly(true);
    edStTemp = NamedEdit(page, "edStTemp");
    edEndTemp = NamedEdit(page, "edEndTemp");
    edLen = NamedEdit(page, "edLen");
    edSquare = NamedEdit(page, "edSquare");
    xqeAlpha = NamedEdit(page, "xqeAlpha");
    edAngle = NamedEdit(page, "edAngle");
    btnCalcAngle = NamedButton(page, "btnCalcAngle", QStringLiteral("Уг. наклона, гр. >>>"));
    edAltitude = NamedEdit(page, "edAltitude");
    edPeople = NamedEdit(page, "edPeople");

    label(QStringLiteral("Номер ветви, №"), 0, 0);
    grid->addWidget(edNo, 0, 1);
    label(QStringLiteral("Признак ДГС"), 0, 3);
    grid->addWidget(xqePosDGS, 0, 4);
    label(QStringLiteral("Название"), 1, 0);
    grid->addWidget(edName, 1, 1, 1, 5);
    grid->addWidget(lblDirection, 2, 0, 1, 2);
    grid->addWidget(btnDirection, 2, 2);
    label(QStringLiteral("Тип"), 3, 0);
    grid->addWidget(cbxType, 3, 1, 1, 2);
    grid->addWidget(cbFresh, 3, 3);
    grid->addWidget(cbxZonaRevers, 3, 4, 1, 2);
    label(QStringLiteral("Сопр., кмюрг..."), 4, 0);
    grid->addWidget(edRes, 4, 1);
    grid->addWidget(btnResist, 4, 2);
    grid->addWidget(Button3, 4, 3);
    label(QStringLiteral("Доп.депр., мм.в.ст..."), 5, 0);
    grid->addWidget(edAuxDepr, 5, 1);
    grid->addWidget(bbtnAuxDepr, 5, 2);
    label(QStringLiteral("Треб.расх(Qtr), м3/с"), 6, 0);
    grid->addWidget(xqeQtr, 6, 1);
    label(QStringLiteral("Расх. возд., м3/с."), 6, 3);
    grid->addWidget(edAirDebt, 6, 4);
    label(QStringLiteral("Депрессия, мм.в.ст."), 7, 0);
    grid->addWidget(xqeDepr, 7, 1);
    label(QStringLiteral("Нач. темп., гр.C"), 8, 0);
    grid->addWidget(edStTemp, 8, 1);
    label(QStringLiteral("Кон. темп., гр.C"), 8, 3);
    grid->addWidget(edEndTemp, 8, 4);
    label(QStringLiteral("Длина, м"), 9, 0);
    grid->addWidget(edLen, 9, 1);
    label(QStringLiteral("Сечение, м2"), 9, 3);
    grid->addWidget(edSquare, 9, 4);
    label(QStringLiteral("Коэф. аэродин. сопр."), 10, 0);
    grid->addWidget(xqeAlpha, 10, 1);
    grid->addWidget(btnCalcAngle, 10, 3);
    grid->addWidget(edAngle, 10, 4);
    label(QStringLiteral("Высота, м"), 11, 0);
    grid->addWidget(edAltitude, 11, 1);
    label(QStringLiteral("Число людей на ветви"), 11, 3);
    grid->addWidget(edPeople, 11, 4);
    grid->setRowStretch(12, 1);
    pcBranch->addTab(page, QStringLiteral("Свойства"));
}

void TfrmBranch::CreatePageSpeed()
{
    auto *page = new QWidget(pcBranch);
    auto *layout = new QVBoxLayout(page);
    lblBrSpeed = new QLabel(page);
    lblBrSpeed->setObjectName(QStringLiteral("lblBrSpeed"));
    QFont bold = lblBrSpeed->font();
    bold.setBold(true);
    lblBrSpeed->setFont(bold);
    layout->addWidget(lblBrSpeed);

    gbSpeed = new QGroupBox(page);
    gbSpeed->setObjectName(QStringLiteral("gbSpeed"));
    auto *grid = new QGridLayout(gbSpeed);
    cmbMinS = new QComboBox(gbSpeed);
    cmbMinS->setObjectName(QStringLiteral("cmbMinS"));
    cmbMinS->addItems(TBranchForm::MinSpeedItems());
    cmbMaxS = new QComboBox(gbSpeed);
    cmbMaxS->setObjectName(QStringLiteral("cmbMaxS"));
    cmbMaxS->addItems(TBranchForm::MaxSpeedItems());
    lblMinRule = new QLabel(gbSpeed);
    lblMaxRule = new QLabel(gbSpeed);
    grid->addWidget(new QLabel(QStringLiteral("Минимальная скорость:"), gbSpeed), 0, 0);
    grid->addWidget(cmbMinS, 0, 1);
    grid->addWidget(lblMinRule, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Максимальная скорость:"), gbSpeed), 2, 0);
    grid->addWidget(cmbMaxS, 2, 1);
    grid->addWidget(lblMaxRule, 3, 1);
    layout->addWidget(gbSpeed);

    lblNoSpeed = new QLabel(page);
    lblNoSpeed->setObjectName(QStringLiteral("lblNoSpeed"));
    layout->addWidget(lblNoSpeed);
    cbxCtrlGasLayer = NamedCheck(page, "cbxCtrlGasLayer", QStringLiteral("Контроль слоевого скопления"));
    layout->addWidget(cbxCtrlGasLayer);
    layout->addStretch();
    pcBranch->addTab(page, QStringLiteral("Скорость воздуха"));
}

void TfrmBranch::CreatePageView()
{
    auto *page = new QWidget(pcBranch);
    auto *layout = new QVBoxLayout(page);
    auto *group = new QGroupBox(QStringLiteral("Показывать на схеме"), page);
    auto *grid = new QGridLayout(group);
    for (std::size_t i = 0; i < LabelBoxes.size(); ++i) {
        auto *box = new QCheckBox(QString::fromUtf8(LabelBoxes[i].Caption), group);
        box->setProperty("Tag", LabelBoxes[i].Bit);
        LabelChecks[i] = box;
        grid->addWidget(box, static_cast<int>(i % 8), static_cast<int>(i / 8));
        if (LabelBoxes[i].Bit == lfNumber) {
            cbxBrNo = box;
            box->setObjectName(QStringLiteral("cbxBrNo"));
        }
    }
    layout->addWidget(group);
    auto *row = new QHBoxLayout;
    btnRevers = NamedButton(page, "btnRevers", QStringLiteral("Установить/Сбросить все"));
    btnSameBranches = NamedButton(page, "btnSameBranches", QStringLiteral("Также для ветвей..."));
    row->addWidget(btnRevers);
    row->addWidget(btnSameBranches);
    row->addStretch();
    layout->addLayout(row);
    layout->addStretch();
    pcBranch->addTab(page, QStringLiteral("Вид"));
}

void TfrmBranch::CreatePagePLA()
{
    auto *page = new QWidget(pcBranch);
    auto *grid = new QGridLayout(page);
    edPLA = NamedEdit(page, "edPLA");
    shBranchColor = new QFrame(page);
    shBranchColor->setObjectName(QStringLiteral("shBranchColor"));
    shBranchColor->setFrameShape(QFrame::Box);
    shBranchColor->setFixedSize(40, 40);
    shBranchColor->setAutoFillBackground(true);
    bbtnPLAColor = NamedButton(page, "bbtnPLAColor", QStringLiteral("Изменить..."));
    grid->addWidget(new QLabel(QStringLiteral("Номер позиции"), page), 0, 0);
    grid->addWidget(edPLA, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Цвет позиции"), page), 1, 0);
    grid->addWidget(shBranchColor, 1, 1, Qt::AlignLeft);
    grid->addWidget(bbtnPLAColor, 1, 2);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(3, 1);
    pcBranch->addTab(page, QStringLiteral("ПЛА"));
}

void TfrmBranch::CreatePageAccessories()
{
    auto *page = new QWidget(pcBranch);
    auto *layout = new QVBoxLayout(page);
    auto *grid = new QGridLayout;
    const auto row = [&](int r, const char *name, QPushButton **button, const char *buttonName) {
        auto *box = NamedCheck(page, name, QString::fromUtf8(AccessoryBoxes[static_cast<std::size_t>(r)].Caption));
        grid->addWidget(box, r, 0);
        if (button) {
            *button = NamedButton(page, buttonName, QStringLiteral("Свойства ..."));
            grid->addWidget(*button, r, 1);
        }
        return box;
    };
    cbxFirePipe = row(0, "cbxFirePipe", &bFireWater, "bFireWaterPipe");
    cbxConveyer = row(1, "cbxConveyer", &bCoveyor, "bCoveyor");
    cbxPowerCords = row(2, "cbxPowerCords", &bCable, "bCable");
    cbxPressedAirPipe = row(3, "cbxPressedAirPipe", nullptr, nullptr);
    cbxDegasationPipe = row(4, "cbxDegasationPipe", &bDeGaze, "bDeGaze");
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);

    auto *seam = new QHBoxLayout;
    cbxBrLayer = new QComboBox(page);
    cbxBrLayer->setObjectName(QStringLiteral("cbxBrLayer"));
    cbxBrLayer->addItems(m_form.LayerItems());
    seam->addWidget(new QLabel(QStringLiteral("Принадлежит пласту"), page));
    seam->addWidget(cbxBrLayer, 1);
    layout->addLayout(seam);

    auto *phone = new QGroupBox(QStringLiteral("Телефон:"), page);
    auto *phoneRow = new QHBoxLayout(phone);
    edPhone = NamedEdit(phone, "edPhone");
    edPhone->setMaxLength(TTelephone::MaxNumberLength); // what the scheme file keeps
    edPhone->setToolTip(QStringLiteral("(для удаления - введите пустую строку)"));
    phoneRow->addWidget(new QLabel(QStringLiteral("Номер"), phone));
    phoneRow->addWidget(edPhone, 1);
    layout->addWidget(phone);
    layout->addStretch();
    pcBranch->addTab(page, QStringLiteral("Аксессуары"));
}

void TfrmBranch::CreatePageSymbols()
{
    auto *page = new QWidget(pcBranch);
    auto *layout = new QVBoxLayout(page);
    lvSymb = new QTreeWidget(page);
    lvSymb->setObjectName(QStringLiteral("lvSymb"));
    lvSymb->setRootIsDecorated(false);
    lvSymb->setHeaderLabels({QStringLiteral("Название символа"), QStringLiteral("Расстояние от начала выработки")});
    lvSymb->header()->resizeSection(0, 250);
    lvSymb->header()->resizeSection(1, 200);
    layout->addWidget(lvSymb, 1);
    auto *row = new QHBoxLayout;
    cbSymbolType = new QComboBox(page);
    cbSymbolType->setObjectName(QStringLiteral("cbSymbolType"));
    btnAddSymbol = NamedButton(page, "Button1", QStringLiteral("Добавить"));
    btnDeleteSymbol = NamedButton(page, "Button2", QStringLiteral("Удалить"));
    row->addWidget(cbSymbolType, 1);
    row->addWidget(btnAddSymbol);
    row->addWidget(btnDeleteSymbol);
    layout->addLayout(row);
    pcBranch->addTab(page, QStringLiteral("Символы"));
}

void TfrmBranch::WireChanges()
{
    const auto changed = [this](QObject *sender) { return [this, sender] { edNameChange(sender); }; };
    for (QLineEdit *e : {xqePosDGS, edName, edNo, edRes, edAuxDepr, xqeQtr, edAirDebt, edStTemp, edEndTemp, edLen,
                         edSquare, xqeAlpha, edAngle, edAltitude, edPeople, edPLA, edPhone})
        connect(e, &QLineEdit::textChanged, this, changed(e));
    std::vector<QCheckBox *> boxes{cbFresh, cbxZonaRevers, cbxCtrlGasLayer, cbxFirePipe, cbxConveyer,
                                   cbxPowerCords, cbxPressedAirPipe, cbxDegasationPipe};
    boxes.insert(boxes.end(), LabelChecks.begin(), LabelChecks.end());
    for (QCheckBox *b : boxes)
        connect(b, &QCheckBox::toggled, this, changed(b));
    for (QComboBox *c : {cbxType, cmbMinS, cmbMaxS, cbxBrLayer})
        connect(c, &QComboBox::currentIndexChanged, this, changed(c));
}

void TfrmBranch::edNameChange(QObject *sender)
{
    // Filling the controls fires this too; the opening clears the flag after.
    m_form.Modified = true;
    if (sender == cbxType && !m_filling)
        ShowSpeedLimits(cbxType->currentIndex());
    UpdateAccessoryButtons();
}

void TfrmBranch::UpdateAccessoryButtons()
{
    bFireWater->setEnabled(cbxFirePipe->isChecked());
    bCoveyor->setEnabled(cbxConveyer->isChecked());
    bCable->setEnabled(cbxPowerCords->isChecked());
    bDeGaze->setEnabled(cbxDegasationPipe->isChecked());
}

QLineEdit *TfrmBranch::FieldEdit(TBranchField field) const
{
    switch (field) {
    case TBranchField::No: return edNo;
    case TBranchField::Length: return edLen;
    case TBranchField::PLAPosition: return edPLA;
    case TBranchField::R: return edRes;
    case TBranchField::AuxDepression: return edAuxDepr;
    case TBranchField::Q: return edAirDebt;
    case TBranchField::StartTemp: return edStTemp;
    case TBranchField::EndTemp: return edEndTemp;
    case TBranchField::Area: return edSquare;
    case TBranchField::Height: return edAltitude;
    case TBranchField::Angle: return edAngle;
    case TBranchField::People: return edPeople;
    case TBranchField::Alpha: return xqeAlpha;
    case TBranchField::RequiredFlow: return xqeQtr;
    case TBranchField::DGSMark: return xqePosDGS;
    case TBranchField::Count: break;
    }
    return nullptr;
}

void TfrmBranch::ShowSpeedLimits(int type)
{
    const TSpeedLimitTexts texts = m_form.ShowSpeedLimits(type);
    gbSpeed->setVisible(texts.Controlled);
    lblNoSpeed->setVisible(!texts.Controlled);
    if (!texts.Controlled) {
        lblNoSpeed->setText(texts.NoSpeedText);
        return;
    }
    lblMinRule->setText(texts.MinRule);
    lblMaxRule->setText(texts.MaxRule);
    const bool filling = m_filling;
    m_filling = true;
    cmbMinS->setCurrentIndex(m_form.MinSpeedItem);
    cmbMaxS->setCurrentIndex(m_form.MaxSpeedItem);
    m_filling = filling;
}

void TfrmBranch::ShowPLAColor()
{
    QPalette palette = shBranchColor->palette();
    palette.setColor(QPalette::Window, TColorToQColor(m_form.PLAColor));
    shBranchColor->setPalette(palette);
}

void TfrmBranch::ShowForm()
{
    m_filling = true;
    const TBranchForm &f = m_form;
    edName->setText(f.Name);
    for (int i = 0; i < BranchFieldCount; ++i)
        FieldEdit(static_cast<TBranchField>(i))->setText(f.Texts[static_cast<std::size_t>(i)]);
    xqeDepr->setText(f.Depression);
    cbFresh->setChecked(f.Fresh);
    cbxZonaRevers->setChecked(f.ReversalZone);
    cbxType->setCurrentIndex(f.Type < cbxType->count() ? f.Type : -1);
    cbxBrLayer->setCurrentIndex(f.Layer);
    for (std::size_t i = 0; i < LabelBoxes.size(); ++i)
        LabelChecks[i]->setChecked(f.LabelWord & LabelBoxes[i].Bit);
    const std::array<QCheckBox *, 5> accessories{cbxFirePipe, cbxConveyer, cbxPowerCords, cbxPressedAirPipe,
                                                 cbxDegasationPipe};
    for (std::size_t i = 0; i < accessories.size(); ++i)
        accessories[i]->setChecked(f.AccessoryBits & AccessoryBoxes[i].Bit);
    cbxCtrlGasLayer->setChecked(f.GasLayerControl);
    ShowPLAColor();
    lblDirection->setText(f.DirectionText());
    btnCalcAngle->setText(f.SlopeCaption());
    lblBrSpeed->setText(f.SpeedText());
    ShowSpeedLimits(f.Type);
    UpdateAccessoryButtons();
    m_filling = false;
}

void TfrmBranch::TakeInput()
{
    TBranchForm &f = m_form;
    f.Name = edName->text();
    for (int i = 0; i < BranchFieldCount; ++i)
        f.Texts[static_cast<std::size_t>(i)] = FieldEdit(static_cast<TBranchField>(i))->text();
    f.Fresh = cbFresh->isChecked();
    f.ReversalZone = cbxZonaRevers->isChecked();
    f.GasLayerControl = cbxCtrlGasLayer->isChecked();
    f.Type = cbxType->currentIndex();
    f.Layer = cbxBrLayer->currentIndex();
    f.MinSpeedItem = cmbMinS->currentIndex();
    f.MaxSpeedItem = cmbMaxS->currentIndex();
    f.LabelWord = 0;
    for (std::size_t i = 0; i < LabelBoxes.size(); ++i)
        if (LabelChecks[i]->isChecked())
            f.LabelWord |= static_cast<std::uint16_t>(LabelBoxes[i].Bit);
    const std::array<QCheckBox *, 5> accessories{cbxFirePipe, cbxConveyer, cbxPowerCords, cbxPressedAirPipe,
                                                 cbxDegasationPipe};
    f.AccessoryBits = 0;
    for (std::size_t i = 0; i < accessories.size(); ++i)
        if (accessories[i]->isChecked())
            f.AccessoryBits |= AccessoryBoxes[i].Bit;
}

void TfrmBranch::Fill(const QString &caption, int branch, bool deletable)
{
    m_form.Load(branch);
    setWindowTitle(caption);
    ShowForm();
    const bool hasPhone = bool(BranchDialogHooks.PhoneNumber);
    edPhone->setText(hasPhone ? BranchDialogHooks.PhoneNumber(branch) : QString());
    bbtnDelete->setEnabled(deletable);
    cbSymbolType->clear();
    cbSymbolType->addItems(m_form.SymbolTypeItems());
    FillSymbolList();
    pcBranch->setTabVisible(SymbolsPage, m_form.SymbolsPageVisible());
    // What the controls show now (a combo without the stored item shows
    // none) is what the user has not changed.
    TakeInput();
    m_form.KeepShown();
    m_form.Modified = false;
    m_form.PLAColorChanged = false;
    edNo->setFocus();
}

bool TfrmBranch::EditBranch(const QString &caption, int branch, bool deletable)
{
    Fill(caption, branch, deletable);
    return exec() == QDialog::Accepted;
}

void TfrmBranch::bbtnOKClick()
{
    TakeInput();
    const bool modified = m_form.Modified;
    if (!m_form.Apply()) {
        if (m_form.FocusField)
            FocusField(*m_form.FocusField);
        return;
    }
    if (modified && BranchDialogHooks.StorePhone)
        BranchDialogHooks.StorePhone(m_form.Branch, edPhone->text());
    accept();
}

void TfrmBranch::FocusField(TBranchField field)
{
    pcBranch->setCurrentIndex(0);
    FieldEdit(field)->setFocus();
}

void TfrmBranch::btnCalcAngleClick()
{
    m_form.Text(TBranchField::Length) = edLen->text();
    if (!m_form.CalcSlopeAngle()) {
        if (m_form.FocusField)
            FocusField(*m_form.FocusField);
        return;
    }
    edAngle->setText(m_form.Text(TBranchField::Angle));
}

void TfrmBranch::bbtnPLAColorClick()
{
    if (m_form.ChoosePLAColor())
        ShowPLAColor();
}

void TfrmBranch::FillSymbolList()
{
    lvSymb->clear();
    for (const TLink &link : m_form.Links) {
        auto *item = new QTreeWidgetItem(lvSymb);
        item->setText(0, m_form.SymbolCaption(link));
        item->setText(1, QString::number(link.Distance));
    }
}

void TfrmBranch::btnAddSymbolClick()
{
    m_form.Text(TBranchField::Length) = edLen->text();
    if (m_form.AddSymbol(cbSymbolType->currentIndex()))
        FillSymbolList();
}

void TfrmBranch::btnDeleteSymbolClick()
{
    QTreeWidgetItem *item = lvSymb->currentItem();
    if (item && m_form.DeleteSymbol(lvSymb->indexOfTopLevelItem(item)))
        FillSymbolList();
}

void TfrmBranch::lvSymbDblClick()
{
    QTreeWidgetItem *item = lvSymb->currentItem();
    m_form.Text(TBranchField::Length) = edLen->text();
    if (item && m_form.EditSymbolDistance(lvSymb->indexOfTopLevelItem(item)))
        FillSymbolList();
}

bool TfrmBranch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lvSymb && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        QTreeWidgetItem *item = lvSymb->currentItem();
        if (key == Qt::Key_Delete) {
            btnDeleteSymbolClick();
            return true;
        }
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && item) {
            m_form.Text(TBranchField::Length) = edLen->text();
            m_form.ReenterSymbolDistance(lvSymb->indexOfTopLevelItem(item), item->text(1));
            FillSymbolList();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmBranch::pcBranchChange(int page)
{
    if (page != SymbolsPage || m_form.SymbolsPageVisible())
        return;
    // The tab is hidden for short airways; a way round to it is closed too.
    pcBranch->setCurrentIndex(0);
    pcBranch->setTabVisible(SymbolsPage, false);
    ShowMessageBox(QStringLiteral("Слишком короткая ветвь.\rСимволы можно ставить на ветвь от 10м."),
                   QStringLiteral("Предупреждение"), mb::Ok | mb::IconWarning);
}

void TfrmBranch::bbtnDeleteClick()
{
    if (m_form.Delete())
        done(QDialog::Rejected);
}

void TfrmBranch::btnDirectionClick()
{
    m_form.Text(TBranchField::Q) = edAirDebt->text();
    const bool negated = m_form.Reverse();
    lblDirection->setText(m_form.DirectionText());
    if (negated) {
        const bool filling = m_filling;
        m_filling = true;
        edAirDebt->setText(m_form.Text(TBranchField::Q));
        m_filling = filling;
    } else {
        pcBranch->setCurrentIndex(0);
        edAirDebt->setFocus();
    }
}

void TfrmBranch::btnReversClick()
{
    TakeInput();
    m_form.ToggleAllLabels();
    for (std::size_t i = 0; i < LabelBoxes.size(); ++i)
        LabelChecks[i]->setChecked(m_form.LabelWord & LabelBoxes[i].Bit);
}

void TfrmBranch::btnSameBranchesClick()
{
    std::fill(m_form.SameLabels.begin(), m_form.SameLabels.end(), false);
    if (!BranchDialogHooks.SelectBranches)
        return;
    std::vector<bool> flags(TableSize, false);
    if (BranchDialogHooks.SelectBranches(*this, flags))
        m_form.SameLabels = flags;
}

void TfrmBranch::bCoveyorClick() { EditConveyor(m_form, this); }

void TfrmBranch::bFireWaterClick()
{
    if (EditFirePipe(m_form.FirePipeDiameter, m_form.FirePipeDiameter, this))
        m_form.Modified = true;
}

void TfrmBranch::bDeGazeClick()
{
    if (EditDegasPipe(m_form.DegasValve, m_form.DegasValve, this))
        m_form.Modified = true;
}

void TfrmBranch::bCableClick()
{
    if (EditCables(m_form.CableCells, m_form.CableCells, this))
        m_form.Modified = true;
}

void TfrmBranch::done(int result)
{
    // A branch between two surface nodes is a short circuit past the whole
    // mine: the user must take the flag from one end before the dialog closes.
    const TNetworkTables &t = m_form.Tables();
    const int n = m_form.Branch;
    if (BranchDialogHooks.ChooseSurfaceNode && BranchPresent(t, n)) {
        const int start = t.BranchStartNode[n];
        const int end = t.BranchEndNode[n];
        if (ValidItemIndex(start) && ValidItemIndex(end) && t.NodeIsSurface[start] && t.NodeIsSurface[end]) {
            BranchDialogHooks.ChooseSurfaceNode(*this, n);
            return;
        }
    }
    QDialog::done(result);
}

bool EditBranchDialog(QWidget *owner, const QString &caption, int branch, bool deletable)
{
    TfrmBranch dialog(owner);
    dialog.pcBranch->setCurrentIndex(0);
    return dialog.EditBranch(caption, branch, deletable);
}
