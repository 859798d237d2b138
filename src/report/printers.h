#pragma once
// The engine's model of the printer that pages are laid out for: the list of
// printers plus a printer-less entry with a built-in paper table, the selected
// paper, the papers offered and the page geometry every page carries.
//
// Report pages are laid out in design pixels: 93/1.022 per inch across and
// 93/1.015 per inch down (5 mm is 18 pixels both ways).
#include "platform/canvas.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

constexpr double DesignPixelsPerInchX = 90.99804305283757;
constexpr double DesignPixelsPerInchY = 91.6256157635468;
constexpr int CustomPaperCode = 256;

// Printer dots to design pixels, rounding halves to even.
int DotsToDesignX(int dots, int dpi);
int DotsToDesignY(int dots, int dpi);
// Tenths of a millimetre to design pixels.
int TenthMmToDesignX(int tenths);
int TenthMmToDesignY(int tenths);

// The geometry of one paper on one printer, kept by every page.
struct TPrinterInfo
{
    std::int32_t DevicePageWidth = 0;
    std::int32_t DevicePageHeight = 0;
    std::int32_t PageWidth = 0;
    std::int32_t PageHeight = 0;
    std::int32_t DeviceOffsetX = 0;
    std::int32_t DeviceOffsetY = 0;
    std::int32_t OffsetX = 0;
    std::int32_t OffsetY = 0;
    std::int32_t DevicePrintableWidth = 0;
    std::int32_t DevicePrintableHeight = 0;
    std::int32_t PrintableWidth = 0;
    std::int32_t PrintableHeight = 0;
    friend bool operator==(const TPrinterInfo &, const TPrinterInfo &) = default;
};

struct TPaperInfo
{
    int Code;
    const char *Name; // UTF-8
    int Width;        // 0.1 mm, portrait
    int Height;
};
extern const std::array<TPaperInfo, 67> PaperTable;

// Field bits of a printer's device-mode block.
namespace dm {
constexpr unsigned Orientation = 1;
constexpr unsigned PaperSize = 2;
constexpr unsigned PaperLength = 4;
constexpr unsigned PaperWidth = 8;
} // namespace dm

// What a printer driver is asked for and answers with.
struct TDeviceMode
{
    unsigned Fields = 0;
    int PaperSize = 0;   // paper code
    int PaperLength = 0; // 0.1 mm, custom size
    int PaperWidth = 0;
    int Orientation = 1; // 1 portrait, 2 landscape
};

// Physical page, unprintable offsets and printable area, in dots.
struct TDeviceGeometry
{
    int PhysicalWidth = 0;
    int PhysicalHeight = 0;
    int PhysicalOffsetX = 0;
    int PhysicalOffsetY = 0;
    int PrintableWidth = 0;
    int PrintableHeight = 0;
};

// The installed printers and a print job on the selected one. The program's
// backend sits on Qt's printing; tests record what is asked.
class TPrinterDevice
{
public:
    virtual ~TPrinterDevice() = default;
    virtual QStringList Printers() const = 0;
    virtual int PrinterIndex() const = 0;
    // Selects a printer with its driver's default settings.
    virtual void SetPrinterIndex(int index) = 0;
    virtual QString DriverName() const = 0;
    virtual TDeviceMode GetDeviceMode() const = 0;
    // The driver may keep other values than those asked (a paper it lacks).
    virtual void SetDeviceMode(const TDeviceMode &mode) = 0;
    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;
    // The sheet in dots; false when the printer cannot say.
    virtual bool PhysicalPageSize(int &width, int &height) const = 0;
    virtual TDeviceGeometry Geometry() const = 0;
    virtual std::vector<int> PaperCodes() const = 0;
    virtual QStringList PaperNames() const = 0;

    virtual void BeginDoc(const QString &title) = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    virtual void Abort() = 0;
    virtual bool Printing() const = 0;
    virtual TCanvas *Canvas() = 0;
    // The device takes a new paper for the next page within one job (a file
    // writer does); a printer's paper is set for a whole job.
    virtual bool ChangesPaperWithinJob() const { return false; }
};

class TPrinterSettings
{
public:
    TPrinterSettings() { AttachPrinter(nullptr); }

    QString DeviceName;
    QString DriverName;
    QString PortName;
    TPrinterDevice *Printer = nullptr;
    QStringList PaperNames;
    QStringList Printers;
    int PrinterIndex = 0;
    int VirtualPrinterIndex = 0;
    std::uint8_t Orientation = 0; // 0 portrait, 1 landscape
    int PaperCode = 9;
    int PaperWidth = 2100;
    int PaperHeight = 2970;
    int DotsPerInchX = 0;
    int DotsPerInchY = 0;
    std::array<std::uint16_t, 256> PaperCodes{};
    int PaperCodeCount = 0;

    // Takes the printer list of a device (none: only the printer-less entry).
    void AttachPrinter(TPrinterDevice *printer);
    void SelectPrinter(int index);
    void SetPaper(int code, int width, int height, int orientation);
    bool SameSettings(int code, int width, int height, int orientation) const;
    // The printer device still holds the paper and orientation set last
    // (always so for the printer-less entry).
    bool DeviceHoldsPaper() const;
    void FillPrinterInfo(TPrinterInfo &info) const;
    int FindPaperIndex(int code) const;
    bool HasDevModeField(unsigned bit) const;
    void AddDevModeField(unsigned bit);
    bool IsVirtual() const { return PrinterIndex == VirtualPrinterIndex; }
    // The name of the current printer as templates store it.
    QString CurrentPrinterName() const;

    void ReadPrinterState();
    void ApplySettings();

private:
    TDeviceMode m_deviceMode;
};

// The engine's printer model; it starts with the printer-less entry only.
extern TPrinterSettings *PrinterSettings;

// The pages a print job takes. Ranges are kept as written, so a range up to
// a huge number costs nothing; a reversed range holds no page.
class TPageList
{
public:
    bool All() const { return m_all; }
    bool Contains(int page) const;

private:
    friend TPageList ParsePageList(const QString &text);
    bool m_all = true;
    std::vector<std::pair<int, int>> m_ranges;
};

// "1,3,5-7" gives 1, 3, 5, 6 and 7; an empty text gives all pages; "5-3"
// gives none. Blanks are ignored; a part that is no integer raises
// EConvertError (before any job starts).
TPageList ParsePageList(const QString &text);
