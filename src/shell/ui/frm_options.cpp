#include "shell/ui/frm_options.h"

#include "model/geometry_queries.h"
#include "platform/prompt.h"
#include "platform/ui/qt_canvas.h"
#include "shell/options_apply.h"
#include "shell/ui/xq_edit.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtGui/QScreen>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QVBoxLayout>

TfrmOptions *frmOptions = nullptr;

namespace {


template <typename W>
W *Named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QGroupBox *RadioGroup(const QString &title, QRadioButton *a, QRadioButton *b)
{
    auto *group = new QGroupBox(title);
    auto *layout = new QVBoxLayout(group);
    layout->addWidget(a);
    layout->addWidget(b);
    return group;
}

} // namespace

TfrmOptions::TfrmOptions(const TOptionsHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    frmOptions = this;
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Настройки"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);

    m_pages = Named(new QTabWidget(this), "PageControl1");
    m_pages->addTab(CreateGeneralPage(), QStringLiteral("Общие"));
    m_pages->addTab(CreateColorsPage(), QStringLiteral("Цвета"));
    m_pages->addTab(CreateLocationPage(), QStringLiteral("Расположение"));
    m_pages->addTab(CreatePasswordPage(), QStringLiteral("Пароль"));
    m_pages->addTab(CreateSymbolsPage(), QStringLiteral("Символы"));

    m_ok = Named(new QPushButton(QStringLiteral("OK")), "bbtnOK");
    m_ok->setDefault(true);
    m_cancel = Named(new QPushButton(QStringLiteral("Отмена")), "bbtnCancel");
    m_apply = Named(new QPushButton(QStringLiteral("Применить")), "bbtnApply");
    connect(m_ok, &QPushButton::clicked, this, &TfrmOptions::bbtnOKClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_apply, &QPushButton::clicked, this, &TfrmOptions::bbtnApplyClick);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_apply);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);

    if (m_host.Options)
        ShowSettings(*m_host.Options);

    for (const QString &name : m_host.SymbolNames)
        m_symbolList->addItem(name);
    if (m_symbolList->count() > 0)
        m_symbolList->setCurrentRow(0);

    if (m_host.SheetWidth)
        m_sheetX->SetIntValue(*m_host.SheetWidth);
    if (m_host.SheetHeight)
        m_sheetY->SetIntValue(*m_host.SheetHeight);

    for (int i = 0; i < SchemeColorCount; ++i)
        m_colorList->addItem(SchemeColorName(i));
    m_colorList->setCurrentRow(0);
    ShowColor(0);

    // Only what the user does from here on counts as a change.
    const auto changed = [this] { MarkChanged(); };
    for (QCheckBox *box : {m_loadPlugins, m_gridOn, m_snapToGrid, m_showSheet, m_askPassword})
        connect(box, &QCheckBox::toggled, this, changed);
    for (QRadioButton *radio : {m_firstFree, m_byBranches, m_russianSpeeds})
        connect(radio, &QRadioButton::toggled, this, changed);
    for (QSpinBox *spin : {m_gridStep, m_fireTime})
        connect(spin, &QSpinBox::valueChanged, this, changed);
    for (QLineEdit *edit : {static_cast<QLineEdit *>(m_sheetX), static_cast<QLineEdit *>(m_sheetY), m_plugins, m_mines,
                            m_pla, m_reports, m_fans, m_symbols, m_password, m_confirmation})
        connect(edit, &QLineEdit::textChanged, this, changed);
    m_apply->setEnabled(false);

    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TfrmOptions::~TfrmOptions()
{
    if (frmOptions == this)
        frmOptions = nullptr;
}

QWidget *TfrmOptions::CreateGeneralPage()
{
    auto *page = new QWidget;
    m_loadPlugins = Named(new QCheckBox(QStringLiteral("Загружать расширения при запуске")), "cbxLoadPlugins");
    m_loadPlugins->setToolTip(QStringLiteral("Установите этот флажок, если у вас достаточно памяти (16Мб или более)"));

    auto *grid = new QGroupBox(QStringLiteral("Сетка"));
    m_gridOn = Named(new QCheckBox(QStringLiteral("Включена")), "cbxGridOn");
    m_snapToGrid = Named(new QCheckBox(QStringLiteral("Привязывать к сетке")), "cbxSnapToGrid");
    m_gridStep = Named(new QSpinBox, "speGridStep");
    m_gridStep->setRange(1, 50);
    auto *gridLayout = new QFormLayout(grid);
    gridLayout->addRow(m_gridOn);
    gridLayout->addRow(m_snapToGrid);
    gridLayout->addRow(QStringLiteral("Сетка с шагом"), m_gridStep);

    m_showSheet = Named(new QCheckBox(QStringLiteral("Показывать границы листа")), "cbxShowSheet");
    m_firstFree = Named(new QRadioButton(QStringLiteral("Первый доступный")), "rbFirstFree");
    m_maxPlusOne = Named(new QRadioButton(QStringLiteral("Максимальный номер + 1")), "rbMaxPlusOne");
    m_fireTime = Named(new QSpinBox, "speFireTime");
    m_fireTime->setRange(10, 360);
    m_fireTime->setSingleStep(10);
    m_byBranches = Named(new QRadioButton(QStringLiteral("По ветвям")), "rbByBranches");
    m_byNodes = Named(new QRadioButton(QStringLiteral("По узлам")), "rbByNodes");
    m_russianSpeeds = Named(new QRadioButton(QStringLiteral("Устав ВГСЧ Российской Федерации")), "rbRussianSpeeds");
    m_ukrainianSpeeds = Named(new QRadioButton(QStringLiteral("Устав ГВГСС Украины")), "rbUkrainianSpeeds");
    QGroupBox *speeds = RadioGroup(QStringLiteral("Таблица скоростей"), m_russianSpeeds, m_ukrainianSpeeds);
    speeds->setToolTip(QStringLiteral("Для построения маршрутов использовать таблицу скоростей"));

    auto *sheet = new QGroupBox(QStringLiteral("Размер листа"));
    m_sheetX = Named(new TxqEdit, "edSheetX");
    m_sheetY = Named(new TxqEdit, "edSheetY");
    m_sheetX->SetIntRange(0, 10000);
    m_sheetY->SetIntRange(0, 10000);
    auto *sheetLayout = new QFormLayout(sheet);
    sheetLayout->addRow(QStringLiteral("Размер по Х:"), m_sheetX);
    sheetLayout->addRow(QStringLiteral("Размер по Y:"), m_sheetY);

    auto *fire = new QFormLayout;
    fire->addRow(QStringLiteral("Время расчета тепловой депрессии, мин."), m_fireTime);

    auto *layout = new QGridLayout(page);
    layout->addWidget(m_loadPlugins, 0, 0, 1, 2);
    layout->addWidget(grid, 1, 0);
    layout->addWidget(sheet, 1, 1);
    layout->addWidget(m_showSheet, 2, 0, 1, 2);
    layout->addWidget(RadioGroup(QStringLiteral("Номер нового объекта"), m_firstFree, m_maxPlusOne), 3, 0);
    layout->addWidget(RadioGroup(QStringLiteral("Сортировка в отчетах"), m_byBranches, m_byNodes), 3, 1);
    layout->addWidget(speeds, 4, 0, 1, 2);
    layout->addLayout(fire, 5, 0, 1, 2);
    layout->setRowStretch(6, 1);
    return page;
}

QWidget *TfrmOptions::CreateColorsPage()
{
    auto *page = new QWidget;
    m_colorList = Named(new QListWidget, "lbxColors");
    m_colorSwatch = Named(new QPushButton, "shpColor");
    m_colorSwatch->setFlat(true);
    m_colorSwatch->setAutoFillBackground(true);
    m_colorSwatch->setMinimumSize(64, 32);
    auto *change = Named(new QPushButton(QStringLiteral("Изменить...")), "btnChangeColor");
    m_palettes = Named(new QComboBox, "cbxPalettes");
    m_palettes->addItem(QStringLiteral("По умолчанию (стандартная)"));
    m_palettes->addItem(QStringLiteral("Черно-белая"));
    m_palettes->setCurrentIndex(-1);
    auto *palettes = new QGroupBox(QStringLiteral("Предопределенные палитры"));
    (new QVBoxLayout(palettes))->addWidget(m_palettes);

    connect(m_colorList, &QListWidget::currentRowChanged, this, &TfrmOptions::ShowColor);
    connect(change, &QPushButton::clicked, this, &TfrmOptions::ChangeColor);
    connect(m_colorSwatch, &QPushButton::clicked, this, &TfrmOptions::ChangeColor);
    connect(m_palettes, &QComboBox::activated, this, &TfrmOptions::ChoosePalette);

    auto *side = new QVBoxLayout;
    side->addWidget(m_colorSwatch);
    side->addWidget(change);
    side->addWidget(palettes);
    side->addStretch();
    auto *layout = new QHBoxLayout(page);
    layout->addWidget(m_colorList, 1);
    layout->addLayout(side);
    return page;
}

QWidget *TfrmOptions::CreateLocationPage()
{
    auto *page = new QWidget;
    auto *folders = new QGroupBox(QStringLiteral("Папки"));
    auto *grid = new QGridLayout(folders);
    int row = 0;
    const auto addFolder = [&](const QString &caption, const char *name, const QString &prompt) {
        auto *edit = Named(new QLineEdit, name);
        auto *browse = new QPushButton(QStringLiteral("..."));
        browse->setObjectName(QString::fromLatin1(name) + QStringLiteral("Browse"));
        grid->addWidget(new QLabel(caption), row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(browse, row, 2);
        ++row;
        connect(browse, &QPushButton::clicked, this, [this, edit, prompt] {
            const QString folder = m_host.ChooseFolder
                ? m_host.ChooseFolder(prompt, edit->text())
                : QFileDialog::getExistingDirectory(this, prompt, edit->text());
            if (!folder.isEmpty())
                edit->setText(folder);
        });
        return edit;
    };
    // These boxes say what the folder edits always do.
    const auto addRemember = [&] {
        auto *remember = new QCheckBox(QStringLiteral("Запоминать последнюю папку"));
        remember->setChecked(true);
        remember->setEnabled(false);
        grid->addWidget(remember, row++, 1);
    };
    m_plugins = addFolder(QStringLiteral("Расширений"), "edPlugins", QStringLiteral("Укажите папку с файлами расширений"));
    m_mines = addFolder(QStringLiteral("Шахты"), "edMines", QStringLiteral("Укажите папку с файлами шахт"));
    addRemember();
    m_pla = addFolder(QStringLiteral("ПЛА"), "edPLA", QStringLiteral("Укажите папку с файлами шахт"));
    addRemember();
    m_reports = addFolder(QStringLiteral("Отчетов"), "edReports", QStringLiteral("Укажите папку с файлами отчетов"));
    m_fans = addFolder(QStringLiteral("Вентиляторы"), "edFans", QStringLiteral("Укажите папку с файлами вентиляторов"));
    m_symbols = addFolder(QStringLiteral("Символы"), "edSymbols", QStringLiteral("Укажите папку со значками"));
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(folders);
    layout->addStretch();
    return page;
}

QWidget *TfrmOptions::CreatePasswordPage()
{
    auto *page = new QWidget;
    m_password = Named(new QLineEdit, "edPassword");
    m_password->setEchoMode(QLineEdit::Password);
    m_confirmation = Named(new QLineEdit, "edConfirmation");
    m_confirmation->setEchoMode(QLineEdit::Password);
    m_askPassword = Named(new QCheckBox(QStringLiteral("Запрашивать пароль при запуске программы")), "cbxAskPassword");
    auto *note = new QLabel(QStringLiteral(
        "Пароль необходимо ввести два раза для того, чтобы удостовериться, что Вы вводите именно тот пароль "
        "который хотите и не ошибаетесь при наборе символов."));
    note->setWordWrap(true);
    auto *memo = Named(new QPlainTextEdit, "memPasswordHint");
    memo->setReadOnly(true);
    memo->setPlainText(QStringLiteral("Для задания пароля можно использовать любые символы имеющиеся на \n"
                                      "клавиатуре. В качестве надежного пароля рекомендуется бессмысленное \n"
                                      "сочетание букв русского, английского алфавита в разных регистрах в \n"
                                      "комбинации с цифрами и специальными знаками и длиной не менее 6-ти \n"
                                      "символов. Например: Qw7#kP2$z или mR4!tY8&vLe"));
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("Укажите пароль для запуска программы")));
    layout->addWidget(m_password);
    layout->addWidget(new QLabel(QStringLiteral("Введите пароль еще раз")));
    layout->addWidget(m_confirmation);
    layout->addWidget(m_askPassword);
    layout->addWidget(note);
    layout->addWidget(memo);
    return page;
}

QWidget *TfrmOptions::CreateSymbolsPage()
{
    auto *page = new QWidget;
    m_symbolList = Named(new QListWidget, "lbxSymbols");
    m_preview = Named(new QLabel, "imgPreview");
    m_preview->setFixedSize(160, 120);
    connect(m_symbolList, &QListWidget::currentRowChanged, this, &TfrmOptions::DrawPreview);
    auto *layout = new QHBoxLayout(page);
    layout->addWidget(m_symbolList, 1);
    layout->addWidget(m_preview, 0, Qt::AlignTop);
    return page;
}

void TfrmOptions::ShowSettings(const TOptionsSet &o)
{
    m_loadPlugins->setChecked(o.LoadPluginsAtStartup);
    m_gridOn->setChecked(o.GridIsOn);
    m_snapToGrid->setChecked(o.SnapToGrid);
    m_gridStep->setValue(o.GridStep);
    m_showSheet->setChecked(o.ShowSheet);
    (o.NewObjectsIsFirstFree ? m_firstFree : m_maxPlusOne)->setChecked(true);
    m_fireTime->setValue(o.FireTime);
    (o.ReportStyle == 0 ? m_byBranches : m_byNodes)->setChecked(true);
    (o.UseRussianSpeeds ? m_russianSpeeds : m_ukrainianSpeeds)->setChecked(true);
    m_plugins->setText(o.PluginsLocation);
    m_mines->setText(o.MinesLocation);
    m_pla->setText(o.PLALocationFolder);
    m_reports->setText(o.ReportsLocation);
    m_fans->setText(o.FanLocations);
    m_symbols->setText(o.SymbolsLocation);
    m_password->setText(o.Password);
    m_confirmation->setText(o.Password);
    m_askPassword->setChecked(o.AskPasswordAtStartup);
    m_colors = o.Colors;
}

void TfrmOptions::TakeSettings(TOptionsSet &o) const
{
    o.LoadPluginsAtStartup = m_loadPlugins->isChecked();
    o.GridIsOn = m_gridOn->isChecked();
    o.SnapToGrid = m_snapToGrid->isChecked();
    o.GridStep = m_gridStep->value();
    o.ShowSheet = m_showSheet->isChecked();
    o.NewObjectsIsFirstFree = m_firstFree->isChecked();
    o.FireTime = m_fireTime->value();
    o.ReportStyle = m_byBranches->isChecked() ? 0 : 1;
    o.UseRussianSpeeds = m_russianSpeeds->isChecked();
    o.PluginsLocation = m_plugins->text();
    o.MinesLocation = m_mines->text();
    o.PLALocationFolder = m_pla->text();
    o.ReportsLocation = m_reports->text();
    o.FanLocations = m_fans->text();
    o.SymbolsLocation = m_symbols->text();
    o.Password = m_password->text();
    o.AskPasswordAtStartup = m_askPassword->isChecked();
    o.Colors = m_colors;
}

int TfrmOptions::ActivePage() const
{
    return m_pages->currentIndex();
}

void TfrmOptions::SetActivePage(int page)
{
    m_pages->setCurrentIndex(page);
}

void TfrmOptions::MarkChanged()
{
    m_okApplies = true;
    m_apply->setEnabled(true);
    m_cancel->setEnabled(true);
}

void TfrmOptions::ShowColor(int index)
{
    if (index < 0 || index >= SchemeColorCount)
        return;
    QPalette palette = m_colorSwatch->palette();
    palette.setColor(QPalette::Button, TColorToQColor(m_colors[index]));
    palette.setColor(QPalette::Window, TColorToQColor(m_colors[index]));
    m_colorSwatch->setPalette(palette);
    m_colorSwatch->setProperty("color", static_cast<int>(m_colors[index]));
}

void TfrmOptions::ChangeColor()
{
    const int index = m_colorList->currentRow();
    if (index < 0 || !m_host.ChooseColor)
        return;
    TColor color = m_colors[index];
    if (!m_host.ChooseColor(color))
        return;
    m_colors[index] = color;
    ShowColor(index);
    MarkChanged();
}

void TfrmOptions::ChoosePalette(int palette)
{
    if (palette < 0 || palette >= SchemePaletteCount)
        return;
    m_colors = DefaultSchemeColors[palette];
    m_colorList->setCurrentRow(0);
    ShowColor(0);
    MarkChanged();
}

void TfrmOptions::DrawPreview(int index)
{
    const QSize size = m_preview->size();
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.setBrush(TColorToQColor(m_host.Options ? m_host.Options->Colors[sciBackground] : m_colors[sciBackground]));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    const int w = size.width(), h = size.height();
    painter.drawLine(0, h * 40 / 100, w, h * 40 / 100);
    painter.drawLine(0, h * 60 / 100, w, h * 60 / 100);
    painter.end();
    if (index >= 0 && index < m_symbolList->count() && m_host.DrawSymbol) {
        const QRect box(QPoint(w * 40 / 100, h * 40 / 100), QPoint(w * 60 / 100, h * 60 / 100));
        try {
            m_host.DrawSymbol(index, image, box);
        } catch (...) {
            // A symbol library that fails leaves the preview as it is.
        }
    }
    m_preview->setPixmap(QPixmap::fromImage(image));
}

bool TfrmOptions::ApplyChanges()
{
    if (m_password->text() != m_confirmation->text()) {
        ShowMessageBox(QStringLiteral("Пароль задан неверно") + u'\r' + QStringLiteral("Подтвердите пароль"),
                       QStringLiteral("Ошибка при вводе пароля"), mb::Ok | mb::IconError);
        SetActivePage(pgPassword);
        m_confirmation->setFocus();
        return false;
    }
    // The sheet is read before anything is applied, so that a wrong number
    // leaves the settings and the branch colours as they were.
    int sheetWidth = 0, sheetHeight = 0;
    if (!ReadEdits([&] {
            sheetWidth = m_sheetX->GetIntValue();
            sheetHeight = m_sheetY->GetIntValue();
        })) {
        // The edit may sit on a page that is not shown: show it, then focus it.
        SetActivePage(pgGeneral);
        (m_sheetX->IsValidInt() ? m_sheetY : m_sheetX)->setFocus();
        return false;
    }

    TOptionsSet *options = m_host.Options;
    const TColor oldBranchColor = options ? options->Colors[sciBranch] : m_colors[sciBranch];
    if (options)
        TakeSettings(*options);

    std::int32_t width = sheetWidth, height = sheetHeight;
    const TRect bounds = m_host.Tables ? SchemeBounds(*m_host.Tables) : TRect{0, 0, 1500, 1000};
    if (FitSheetToScheme(width, height, bounds)) {
        ShowMessageBox(SheetTooSmallMessage(sheetWidth, sheetHeight), SheetTooSmallCaption(), mb::Ok | mb::IconWarning);
        m_sheetX->SetIntValue(width);
        m_sheetY->SetIntValue(height);
    }
    if (m_host.SheetWidth)
        *m_host.SheetWidth = width;
    if (m_host.SheetHeight)
        *m_host.SheetHeight = height;

    if (m_host.Tables && m_host.BranchColors)
        RecolorBranches(*m_host.Tables, *m_host.BranchColors, oldBranchColor, m_colors[sciBranch]);
    if (m_host.Applied)
        m_host.Applied();
    return true;
}

void TfrmOptions::bbtnOKClick()
{
    if (!m_okApplies) {
        reject();
        return;
    }
    if (ApplyChanges())
        QDialog::accept();
}

void TfrmOptions::accept()
{
    // Enter in an edit comes here as well: the same rules as the OK button.
    bbtnOKClick();
}

void TfrmOptions::bbtnApplyClick()
{
    if (!ApplyChanges())
        return;
    m_okApplies = false;
    m_apply->setEnabled(false);
    m_cancel->setEnabled(false);
}

bool ShowOptionsWindow(const TOptionsHost &host, int page, QWidget *parent)
{
    TfrmOptions window(host, parent);
    window.SetActivePage(page);
    return window.exec() == QDialog::Accepted;
}
