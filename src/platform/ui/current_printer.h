#pragma once
// The printer the scheme prints on. The program's printer device (the
// report output's, with its list of CUPS printers and the PDF entry) offers
// its printer here when it starts; without it, one printer of our own: the
// default CUPS printer, or a PDF writer when no printer is installed.
#include <QtCore/QString>

#include <functional>

class QPrinter;

QPrinter &CurrentPrinter();
// The printer device's printer of the moment (null: our own); empty removes it.
void SetCurrentPrinterSource(std::function<QPrinter *()> source);

// Why a job on the printer could not start, in words for the user: the PDF
// file that cannot be written, or the printer that is missing or not ready.
QString PrintFailureReason(const QPrinter &printer);
