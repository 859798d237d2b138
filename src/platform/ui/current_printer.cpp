#include "platform/ui/current_printer.h"

#include <QtPrintSupport/QPrinter>
#include <QtPrintSupport/QPrinterInfo>

#include <memory>

QPrinter &CurrentPrinter()
{
    static std::unique_ptr<QPrinter> printer;
    if (!printer) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (QPrinterInfo::availablePrinterNames().isEmpty())
            printer->setOutputFormat(QPrinter::PdfFormat);
    }
    return *printer;
}
