#include "shell/ui/frm_print_scheme.h"

#include "model/geometry_queries.h"
#include "platform/exceptions.h"
#include "platform/prompt.h"
#include "platform/ui/current_printer.h"
#include "platform/ui/file_dialogs.h"
#include "platform/ui/qt_canvas.h"
#include "scheme/ui/named_controls.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/xq_edit.h"

#include <QtCore/QDir>
#include <QtCore/QEvent>
#include <QtCore/QFileInfo>
#include <QtPrintSupport/QPrintDialog>
#include <QtPrintSupport/QPrinter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QVBoxLayout>

std::function<QString(QWidget *, const QString &)> ChooseSchemePdfFile = [](QWidget *parent, const QString &proposed) {
    return GetSaveFileName(parent, QStringLiteral("PDF"), proposed,
                           {{QStringLiteral("Документ PDF (*.pdf)"), {QStringLiteral("*.pdf")}}}, nullptr);
};

TQtSchemePrinter::TQtSchemePrinter(QPrinter &printer) : m_printer(printer) {}

TQtSchemePrinter::~TQtSchemePrinter() = default;

// The printable area of the page, as the printer's painter sees it.
int TQtSchemePrinter::HorzSize() const { return m_printer.widthMM(); }
int TQtSchemePrinter::VertSize() const { return m_printer.heightMM(); }
int TQtSchemePrinter::HorzRes() const { return m_printer.width(); }
int TQtSchemePrinter::VertRes() const { return m_printer.height(); }
int TQtSchemePrinter::LogPixelsX() const { return m_printer.logicalDpiX(); }
int TQtSchemePrinter::LogPixelsY() const { return m_printer.logicalDpiY(); }

void TQtSchemePrinter::BeginDoc(const QString &title)
{
    m_printer.setDocName(title);
    auto canvas = std::make_unique<TQtCanvas>(&m_printer, true);
    if (!canvas->Painter().isActive())
        throw Exception(LookupText(QStringLiteral("Ошибка печати")) + QStringLiteral(": ") + PrintFailureReason(m_printer));
    m_canvas = std::move(canvas);
}

void TQtSchemePrinter::NewPage() { m_printer.newPage(); }

void TQtSchemePrinter::EndDoc()
{
    if (m_canvas)
        static_cast<TQtCanvas &>(*m_canvas).End();
    m_canvas.reset();
}

TCanvas &TQtSchemePrinter::Canvas() { return *m_canvas; }

namespace {

int PlainInt(const QLineEdit *edit)
{
    return edit->text().trimmed().toInt();
}

TxqEdit *IntEdit(QWidget *parent, const char *name, const QString &text, int min, int max)
{
    auto *edit = new TxqEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->IntMin = min;
    edit->IntMax = max;
    edit->setText(text);
    return edit;
}

} // namespace

TfrmPrintScheme::TfrmPrintScheme(TfrmMain &mainWindow, QPrinter &printer)
    : QDialog(&mainWindow), m_main(mainWindow), m_printer(printer), m_device(printer)
{
    setObjectName(QStringLiteral("frmPrintScheme"));
    setWindowTitle(LookupText(QStringLiteral("Печать схемы")));

    rgPrintWhat = new QGroupBox(LookupText(QStringLiteral("Я хочу распечатать")), this);
    rgPrintWhat->setObjectName(QStringLiteral("rgPrintWhat"));
    auto *whatLayout = new QVBoxLayout(rgPrintWhat);
    for (const char *item : {"ЛИСТ схемы полностью", "Только СХЕМУ ШАХТЫ", "Только ВИДИМУЮ ОБЛАСТЬ схемы шахты"}) {
        auto *radio = new QRadioButton(LookupText(QString::fromUtf8(item)), rgPrintWhat);
        radio->setChecked(whatLayout->count() == 0);
        whatLayout->addWidget(radio);
    }
    rgPrintWhat->setEnabled(false);

    rbtnSizeRequired = new QRadioButton(LookupText(QStringLiteral("Я хочу задать размер в миллиметрах")), this);
    rbtnSizeRequired->setObjectName(QStringLiteral("rbtnSizeRequired"));
    xqeReqX = IntEdit(this, "xqeReqX", QStringLiteral("1200"), 0, 3000);
    xqeReqY = IntEdit(this, "xqeReqY", QStringLiteral("1000"), 0, 3000);
    cbxUnits = new QComboBox(this);
    cbxUnits->setObjectName(QStringLiteral("cbxUnits"));
    cbxUnits->addItems({QStringLiteral("мм"), QStringLiteral("см"), QStringLiteral("м")});
    cbxUnits->setEnabled(false);
    lblSheetsRequared = new QLabel(this);
    lblSheetsRequared->setObjectName(QStringLiteral("lblSheetsRequared"));

    rbtnUseSheets = new QRadioButton(LookupText(QStringLiteral("Я хочу задать размер схемы количеством листов")), this);
    rbtnUseSheets->setObjectName(QStringLiteral("rbtnUseSheets"));
    rbtnUseSheets->setChecked(true);
    auto *sizeKinds = new QButtonGroup(this);
    sizeKinds->addButton(rbtnSizeRequired);
    sizeKinds->addButton(rbtnUseSheets);
    xqeReqPagesByX = IntEdit(this, "xqeReqPagesByX", QStringLiteral("1"), 1, 20);
    xqeReqPagesByY = IntEdit(this, "xqeReqPagesByY", QStringLiteral("1"), 1, 20);
    lblSizeBecome = new QLabel(this);
    lblSizeBecome->setObjectName(QStringLiteral("lblSizeBecome"));

    btnPrinterSetup = NamedButton(this, "btnPrinterSetup", LookupText(QStringLiteral("Принтер...")));
    btnPrinterSetup->setToolTip(LookupText(QStringLiteral("Настройка принтера и выбор бумаги")));
    btnOk = NamedButton(this, "btnOk", LookupText(QStringLiteral("&OK")));
    btnOk->setDefault(true);
    btnCancel = NamedButton(this, "btnCancel", LookupText(QStringLiteral("Отмена")));

    auto *sizes = new QGridLayout;
    sizes->addWidget(rbtnSizeRequired, 0, 0, 1, 5);
    sizes->addWidget(xqeReqX, 1, 1);
    sizes->addWidget(new QLabel(QStringLiteral("x"), this), 1, 2);
    sizes->addWidget(xqeReqY, 1, 3);
    sizes->addWidget(cbxUnits, 1, 4);
    sizes->addWidget(lblSheetsRequared, 2, 1, 1, 4);
    sizes->addWidget(rbtnUseSheets, 3, 0, 1, 5);
    sizes->addWidget(xqeReqPagesByX, 4, 1);
    sizes->addWidget(new QLabel(QStringLiteral("x"), this), 4, 2);
    sizes->addWidget(xqeReqPagesByY, 4, 3);
    sizes->addWidget(lblSizeBecome, 5, 1, 1, 4);
    sizes->setColumnMinimumWidth(0, 16);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnPrinterSetup);
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(rgPrintWhat);
    layout->addLayout(sizes);
    layout->addLayout(buttons);

    // The sheet of the document, taken as millimetres; the edits' handlers
    // are connected only after they are set.
    const TMineProperties &p = m_main.Storage().Doc.MineProperties;
    xqeReqX->setText(QString::number(p.SheetWidth));
    xqeReqY->setText(QString::number(p.SheetHeight));
    m_printer.setPageOrientation(p.SheetHeight < p.SheetWidth ? QPageLayout::Landscape : QPageLayout::Portrait);
    xqeReqXExit();
    xqeReqPagesByXExit();

    for (TxqEdit *edit : {xqeReqX, xqeReqY}) {
        connect(edit, &QLineEdit::textChanged, this, &TfrmPrintScheme::xqeReqXExit);
        edit->installEventFilter(this);
    }
    for (TxqEdit *edit : {xqeReqPagesByX, xqeReqPagesByY}) {
        connect(edit, &QLineEdit::textChanged, this, &TfrmPrintScheme::xqeReqPagesByXExit);
        edit->installEventFilter(this);
    }
    connect(btnPrinterSetup, &QPushButton::clicked, this, &TfrmPrintScheme::btnPrinterSetupClick);
    connect(btnOk, &QPushButton::clicked, this, [this] { m_main.RunCommand([this] { btnOkClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmPrintScheme::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == xqeReqX || watched == xqeReqY)
            rbtnSizeRequired->setChecked(true);
        else if (watched == xqeReqPagesByX || watched == xqeReqPagesByY)
            rbtnUseSheets->setChecked(true);
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmPrintScheme::xqeReqXExit()
{
    const int nx = PagesFor(PlainInt(xqeReqX), m_device.HorzSize());
    const int ny = PagesFor(PlainInt(xqeReqY), m_device.VertSize());
    lblSheetsRequared->setText(
        LookupText(QStringLiteral("Для чего потребуется %1 x %2 = %3 лист(-а, -ов) бумаги")).arg(nx).arg(ny).arg(nx * ny));
}

void TfrmPrintScheme::xqeReqPagesByXExit()
{
    lblSizeBecome->setText(LookupText(QStringLiteral("Что составит область печати размером %1 x %2 мм"))
                               .arg(m_device.HorzSize() * PlainInt(xqeReqPagesByX))
                               .arg(m_device.VertSize() * PlainInt(xqeReqPagesByY)));
}

void TfrmPrintScheme::btnPrinterSetupClick()
{
    QPrintDialog dialog(&m_printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    dialog.exec();
    xqeReqXExit();
    xqeReqPagesByXExit();
}

void TfrmPrintScheme::btnOkClick()
{
    int width = 0, height = 0;
    if (rbtnUseSheets->isChecked()) {
        int across = 0, down = 0;
        if (!ReadEdits([&] {
                across = EditToInt(xqeReqPagesByX);
                down = EditToInt(xqeReqPagesByY);
            }))
            return;
        width = across * m_device.HorzSize();
        height = down * m_device.VertSize();
        if (across < 1 || down < 1) {
            ShowMessageBox(LookupText(QStringLiteral("Количество листов должно быть не меньше 1.")),
                           LookupText(QStringLiteral("Печать схемы")), mb::Ok | mb::IconWarning);
            return;
        }
    } else {
        if (!ReadEdits([&] {
                width = EditToInt(xqeReqX);
                height = EditToInt(xqeReqY);
            }))
            return;
        if (width < 1 || height < 1) {
            ShowMessageBox(LookupText(QStringLiteral("Размер схемы должен быть не меньше 1 мм.")),
                           LookupText(QStringLiteral("Печать схемы")), mb::Ok | mb::IconWarning);
            return;
        }
    }
    const TMineProperties &p = m_main.Storage().Doc.MineProperties;
    const TSchemePrintPlan plan = MakeSchemePrintPlan(width, height, m_device, p.SheetWidth, p.SheetHeight, SchemeBounds(Net));
    if (plan.PagesX < 1 || plan.PagesY < 1)
        return;

    // A PDF is proposed beside the scheme, named after the mine.
    if (m_printer.outputFormat() == QPrinter::PdfFormat) {
        const QString scheme = m_main.Document().FileName();
        const QString folder = scheme.isEmpty() ? QDir::homePath() : QFileInfo(scheme).absolutePath();
        const QString proposed = QDir(folder).filePath(m_main.GetMineTitle() + QStringLiteral(".pdf"));
        const QString file = ChooseSchemePdfFile ? ChooseSchemePdfFile(this, proposed) : QString();
        if (file.isEmpty())
            return;
        m_printer.setOutputFileName(file);
    }

    const QString caption = windowTitle();
    TSchemePrintHost host;
    host.View = &m_main.View();
    host.SetPrinterTarget = [this](TCanvas *canvas) { m_main.SetPrintTarget(canvas); };
    host.PaintPage = [this](TCanvas &canvas) { m_main.PaintScheme(canvas); };
    host.PageDone = [this](int page, int pages) {
        setWindowTitle(LookupText(QStringLiteral("Идет печать схемы: лист %1 из %2")).arg(page).arg(pages));
        QApplication::processEvents();
    };
    host.Redraw = [this] { m_main.Redraw(); };
    const QString title = QStringLiteral("Zyr \"Ворбаль\" - %1").arg(m_main.GetMineTitle());
    try {
        PrintSchemePages(m_device, title, plan, host);
    } catch (...) {
        setWindowTitle(caption);
        throw;
    }
    setWindowTitle(caption);
    accept();
}

void ShowPrintScheme(TfrmMain &mainWindow)
{
    TfrmPrintScheme dialog(mainWindow, CurrentPrinter());
    dialog.exec();
}
