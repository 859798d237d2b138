#include "platform/ui/current_printer.h"

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
