#pragma once
// The program's printer: the CUPS printers that Qt knows, then a PDF writer
// (every desktop has a print-to-file printer; here it is Qt's own PDF
// output, its file chosen when a job starts). Paper codes are QPageSize's
// Windows ids, 256 a custom size; resolution, sheet and offsets come from
// the page layout. Jobs paint on a QPrinter through the Qt canvas; a PDF
// job is one file whose pages each keep their own paper.
#include "report/printers.h"

#include <QtCore/QString>

#include <functional>
#include <memory>

class QPrinter;
class TQtCanvas;

class TQtPrinter : public TPrinterDevice
{
public:
    // The installed printers as Qt lists them (none in tests that pass false).
    explicit TQtPrinter(bool systemPrinters = true);
    ~TQtPrinter() override;

    // The name of the PDF entry that ends the list.
    static const QString PdfPrinterName;

    // Asked for the PDF file when a job starts on the PDF entry, with the
    // job's title; an empty answer cancels the job (nothing is written).
    std::function<QString(const QString &title)> ChoosePdfFile;

    QPrinter &Device() { return *m_printer; }
    bool IsPdf() const;

    QStringList Printers() const override;
    int PrinterIndex() const override { return m_index; }
    void SetPrinterIndex(int index) override;
    QString DriverName() const override;
    TDeviceMode GetDeviceMode() const override;
    void SetDeviceMode(const TDeviceMode &mode) override;
    int DpiX() const override;
    int DpiY() const override;
    bool PhysicalPageSize(int &width, int &height) const override;
    TDeviceGeometry Geometry() const override;
    std::vector<int> PaperCodes() const override;
    QStringList PaperNames() const override;

    void BeginDoc(const QString &title) override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override { return m_canvas != nullptr; }
    TCanvas *Canvas() override;
    bool ChangesPaperWithinJob() const override { return IsPdf(); }

    // The border a PDF page leaves unprinted, as an office laser printer
    // does: templates that print from the printer's offsets keep it.
    static constexpr double PdfUnprintableMm = 5.0;

private:
    // The printer's smallest margins: a PDF's border, else none.
    void SetDeviceMargins();
    void Select(int index);
    QStringList m_systemPrinters;
    int m_index = 0;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<TQtCanvas> m_canvas;
    // What a job that did not start (a cancelled file choice) draws on.
    std::unique_ptr<TRecordingCanvas> m_discard;
};

// The program's printer, made when the report engine starts: print jobs go
// to it and the printer model takes its list. RemoveQtPrinter detaches it.
void InstallQtPrinter();
void RemoveQtPrinter();
TQtPrinter *InstalledQtPrinter();
