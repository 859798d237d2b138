#include "report/ui/qt_printer.h"

#include "platform/exceptions.h"
#include "platform/prompt.h"
#include "platform/ui/current_printer.h"
#include "platform/ui/file_dialogs.h"
#include "platform/ui/qt_canvas.h"
#include "report/report.h"

#include <QtCore/QDir>
#include <QtGui/QPageLayout>
#include <QtGui/QPageSize>
#include <QtPrintSupport/QPrinter>
#include <QtPrintSupport/QPrinterInfo>
#include <QtWidgets/QApplication>

const QString TQtPrinter::PdfPrinterName = QStringLiteral("Печать в файл PDF");

namespace {

std::unique_ptr<TQtPrinter> Installed;

// QPageSize for a paper code, or a custom size in tenths of a millimetre.
QPageSize PageSizeFor(const TDeviceMode &mode)
{
    if (mode.PaperSize != CustomPaperCode) {
        const QPageSize::PageSizeId id = QPageSize::id(mode.PaperSize);
        if (id != QPageSize::Custom)
            return QPageSize(id);
    }
    const int width = mode.PaperWidth > 0 ? mode.PaperWidth : 2100;
    const int length = mode.PaperLength > 0 ? mode.PaperLength : 2970;
    // A custom size is always given upright; the orientation turns it.
    return QPageSize(QSizeF(std::min(width, length) / 10.0, std::max(width, length) / 10.0), QPageSize::Millimeter,
                     QString(), QPageSize::ExactMatch);
}

} // namespace

TQtPrinter::TQtPrinter(bool systemPrinters)
{
    if (systemPrinters)
        m_systemPrinters = QPrinterInfo::availablePrinterNames();
    const int defaultIndex = static_cast<int>(m_systemPrinters.indexOf(QPrinterInfo::defaultPrinterName()));
    Select(defaultIndex >= 0 ? defaultIndex : 0);
}

TQtPrinter::~TQtPrinter()
{
    if (m_canvas)
        Abort();
}

bool TQtPrinter::IsPdf() const { return m_index >= m_systemPrinters.size(); }

QStringList TQtPrinter::Printers() const { return QStringList(m_systemPrinters) << PdfPrinterName; }

void TQtPrinter::Select(int index)
{
    m_index = std::clamp(index, 0, static_cast<int>(m_systemPrinters.size()));
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (IsPdf()) {
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setPageSize(QPageSize(QPageSize::A4));
    } else {
        m_printer->setPrinterName(m_systemPrinters[m_index]);
    }
    SetDeviceMargins();
    m_printer->setFullPage(false);
}

void TQtPrinter::SetDeviceMargins()
{
    const double mm = IsPdf() ? PdfUnprintableMm : 0;
    m_printer->setPageMargins(QMarginsF(mm, mm, mm, mm), QPageLayout::Millimeter);
}

void TQtPrinter::SetPrinterIndex(int index) { Select(index); }

QString TQtPrinter::DriverName() const { return IsPdf() ? QStringLiteral("pdf") : QStringLiteral("cups"); }

TDeviceMode TQtPrinter::GetDeviceMode() const
{
    TDeviceMode mode;
    mode.Fields = dm::Orientation | dm::PaperSize;
    const QPageLayout layout = m_printer->pageLayout();
    const int windowsId = layout.pageSize().windowsId();
    mode.PaperSize = windowsId > 0 ? windowsId : CustomPaperCode;
    const QSizeF mm = layout.pageSize().size(QPageSize::Millimeter);
    mode.PaperWidth = static_cast<int>(std::lround(mm.width() * 10));
    mode.PaperLength = static_cast<int>(std::lround(mm.height() * 10));
    mode.Orientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
    return mode;
}

void TQtPrinter::SetDeviceMode(const TDeviceMode &mode)
{
    m_printer->setPageOrientation(mode.Orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    m_printer->setPageSize(PageSizeFor(mode));
    // The printer's smallest margins are its unprintable border.
    SetDeviceMargins();
}

int TQtPrinter::DpiX() const { return m_printer->resolution(); }
int TQtPrinter::DpiY() const { return m_printer->resolution(); }

bool TQtPrinter::PhysicalPageSize(int &width, int &height) const
{
    const QRect paper = m_printer->pageLayout().fullRectPixels(m_printer->resolution());
    width = paper.width();
    height = paper.height();
    return true;
}

TDeviceGeometry TQtPrinter::Geometry() const
{
    const QPageLayout layout = m_printer->pageLayout();
    const int dpi = m_printer->resolution();
    const QRect paper = layout.fullRectPixels(dpi);
    const QRect page = layout.paintRectPixels(dpi);
    return {paper.width(), paper.height(), page.left() - paper.left(), page.top() - paper.top(), page.width(), page.height()};
}

std::vector<int> TQtPrinter::PaperCodes() const
{
    std::vector<int> codes;
    if (IsPdf()) {
        for (const TPaperInfo &paper : PaperTable)
            codes.push_back(paper.Code);
        return codes;
    }
    for (const QPageSize &size : QPrinterInfo::printerInfo(m_systemPrinters[m_index]).supportedPageSizes())
        if (size.windowsId() > 0 && std::find(codes.begin(), codes.end(), size.windowsId()) == codes.end())
            codes.push_back(size.windowsId());
    codes.push_back(CustomPaperCode);
    return codes;
}

QStringList TQtPrinter::PaperNames() const
{
    QStringList names;
    for (const int code : PaperCodes()) {
        const auto row = std::find_if(PaperTable.begin(), PaperTable.end(), [code](const TPaperInfo &p) { return p.Code == code; });
        names << (row != PaperTable.end() ? QString::fromUtf8(row->Name) : QPageSize(QPageSize::id(code)).name());
    }
    return names;
}

void TQtPrinter::BeginDoc(const QString &title)
{
    m_printer->setDocName(title);
    if (IsPdf()) {
        const QString file = ChoosePdfFile ? ChoosePdfFile(title) : QString();
        if (file.isEmpty())
            return;
        m_printer->setOutputFileName(file);
    }
    // A file that cannot be written, or a printer that refuses the job, is
    // told by name: the job prints nothing.
    auto canvas = std::make_unique<TQtCanvas>(m_printer.get(), true);
    if (!canvas->Painter().isActive())
        throw Exception(LookupText(QStringLiteral("Ошибка печати")) + QStringLiteral(": ") + PrintFailureReason(*m_printer));
    m_canvas = std::move(canvas);
}

void TQtPrinter::NewPage()
{
    if (m_canvas)
        m_printer->newPage();
}

void TQtPrinter::EndDoc()
{
    if (m_canvas)
        m_canvas->End();
    m_canvas.reset();
}

void TQtPrinter::Abort()
{
    if (!m_canvas)
        return;
    m_printer->abort();
    m_canvas->End();
    m_canvas.reset();
}

TCanvas *TQtPrinter::Canvas()
{
    if (m_canvas)
        return m_canvas.get();
    if (!m_discard)
        m_discard = std::make_unique<TRecordingCanvas>(DpiX(), DpiY(), true);
    m_discard->Clear();
    return m_discard.get();
}

void InstallQtPrinter()
{
    if (Installed)
        return;
    Installed = std::make_unique<TQtPrinter>();
    Installed->ChoosePdfFile = [](const QString &title) {
        QString name = title;
        name.remove(QStringLiteral("Kvadrep: "));
        name.replace(u'/', u'_');
        return GetSaveFileName(QApplication::activeWindow(), TQtPrinter::PdfPrinterName,
                               QDir::home().filePath(name + QStringLiteral(".pdf")),
                               {{QStringLiteral("Документ PDF (*.pdf)"), {QStringLiteral("*.pdf")}}}, nullptr);
    };
    SetReportPrinter(Installed.get());
    PrinterSettings->AttachPrinter(Installed.get());
    // The scheme prints on the same printer.
    SetCurrentPrinterSource([] { return Installed ? &Installed->Device() : nullptr; });
}

void RemoveQtPrinter()
{
    if (!Installed)
        return;
    SetCurrentPrinterSource({});
    PrinterSettings->AttachPrinter(nullptr);
    SetReportPrinter(nullptr);
    Installed.reset();
}

TQtPrinter *InstalledQtPrinter() { return Installed.get(); }
