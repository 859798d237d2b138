#include "platform/ui/current_printer.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtPrintSupport/QPrinter>
#include <QtPrintSupport/QPrinterInfo>

#include <memory>

namespace {
std::function<QPrinter *()> Source;
} // namespace

QPrinter &CurrentPrinter()
{
    if (Source)
        if (QPrinter *printer = Source())
            return *printer;
    static std::unique_ptr<QPrinter> own;
    if (!own) {
        own = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (QPrinterInfo::availablePrinterNames().isEmpty())
            own->setOutputFormat(QPrinter::PdfFormat);
    }
    return *own;
}

void SetCurrentPrinterSource(std::function<QPrinter *()> source)
{
    Source = std::move(source);
}

QString PrintFailureReason(const QPrinter &printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        const QString file = printer.outputFileName();
        if (file.isEmpty())
            return QStringLiteral("не задан файл PDF");
        const QString folder = QFileInfo(file).absolutePath();
        if (!QFileInfo(folder).isDir())
            return QStringLiteral("файл \"%1\" не записать: нет папки \"%2\"")
                .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(folder));
        // Opened for appending, the file is tried without losing what it holds.
        const bool existed = QFileInfo::exists(file);
        QFile probe(file);
        if (!probe.open(QIODevice::WriteOnly | QIODevice::Append))
            return QStringLiteral("файл \"%1\" не открывается для записи (%2)")
                .arg(QDir::toNativeSeparators(file), probe.errorString());
        probe.close();
        if (!existed)
            probe.remove();
        return QStringLiteral("файл \"%1\" не удалось записать").arg(QDir::toNativeSeparators(file));
    }
    const QString name = printer.printerName();
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        return QStringLiteral("в системе не установлен ни один принтер");
    if (name.isEmpty())
        return QStringLiteral("не выбран принтер");
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull())
        return QStringLiteral("принтер \"%1\" не найден в системе").arg(name);
    if (info.state() == QPrinter::Error)
        return QStringLiteral("принтер \"%1\" сообщает об ошибке").arg(name);
    return QStringLiteral("принтер \"%1\" не принял задание").arg(name);
}
