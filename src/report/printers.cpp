#include "report/printers.h"

#include "platform/numbers.h"

#include <algorithm>

namespace {

const QString VirtualPrinterName = QStringLiteral("Принтер по умолчанию");

int Convert(double value) { return static_cast<int>(Round(value)); }

} // namespace

int DotsToDesignX(int dots, int dpi) { return dpi > 0 ? Convert(dots * DesignPixelsPerInchX / dpi) : 0; }
int DotsToDesignY(int dots, int dpi) { return dpi > 0 ? Convert(dots * DesignPixelsPerInchY / dpi) : 0; }
int TenthMmToDesignX(int tenths) { return Convert(tenths * DesignPixelsPerInchX / 254); }
int TenthMmToDesignY(int tenths) { return Convert(tenths * DesignPixelsPerInchY / 254); }

const std::array<TPaperInfo, 67> PaperTable = {{
    {1, "Letter, 8 1/2 x 11\"", 2159, 2794},
    {2, "Letter small, 8 1/2 x 11\"", 2159, 2794},
    {3, "Tabloid, 11 x 17\"", 2794, 4318},
    {4, "Ledger, 17 x 11\"", 4318, 2794},
    {5, "Legal, 8 1/2 x 14\"", 2159, 3556},
    {6, "Statement, 5 1/2 x 8 1/2\"", 1397, 2159},
    {7, "Executive, 7 1/4 x 10 1/2\"", 1842, 2667},
    {8, "A3 297 x 420 мм", 2970, 4200},
    {9, "A4 210 x 297 мм", 2100, 2970},
    {10, "A4 small sheet, 210 x 297 мм", 2100, 2970},
    {11, "A5 148 x 210 мм", 1480, 2100},
    {12, "B4 250 x 354 мм", 2500, 3540},
    {13, "B5 182 x 257 мм", 1820, 2570},
    {14, "Folio, 8 1/2 x 13\"", 2159, 3302},
    {15, "Quarto Sheet, 215 x 275 мм", 2150, 2750},
    {16, "10 x 14\"", 2540, 3556},
    {17, "11 x 17\"", 2794, 4318},
    {18, "Note, 8 1/2 x 11\"", 2159, 2794},
    {19, "9 Envelope, 3 7/8 x 8 7/8\"", 984, 2254},
    {20, "#10 Envelope, 4 1/8  x 9 1/2\"", 1048, 2413},
    {21, "#11 Envelope, 4 1/2 x 10 3/8\"", 1143, 2635},
    {22, "#12 Envelope, 4 3/4 x 11\"", 1207, 2794},
    {23, "#14 Envelope, 5 x 11 1/2\"", 1270, 2921},
    {24, "C Sheet, 17 x 22\"", 4318, 5588},
    {25, "D Sheet, 22 x 34\"", 5588, 8636},
    {26, "E Sheet, 34 x 44\"", 8636, 11176},
    {27, "DL Envelope, 110 x 220 мм", 1100, 2200},
    {28, "C5 Envelope, 162 x 229 мм", 1620, 2290},
    {29, "C3 Envelope,  324 x 458 мм", 3240, 4580},
    {30, "C4 Envelope,  229 x 324 мм", 2290, 3240},
    {31, "C6 Envelope,  114 x 162 мм", 1140, 1620},
    {32, "C65 Envelope, 114 x 229 мм", 1140, 2290},
    {33, "B4 Envelope,  250 x 353 мм", 2500, 3530},
    {34, "B5 Envelope,  176 x 250 мм", 1760, 2500},
    {35, "B6 Envelope,  176 x 125 мм", 1760, 1250},
    {36, "Italy Envelope, 110 x 230 мм", 1100, 2300},
    {37, "Monarch Envelope, 3 7/8 x 7 1/2\"", 984, 1905},
    {38, "6 3/4 Envelope, 3 5/8 x 6 1/2\"", 920, 1651},
    {39, "US Std Fanfold, 14 7/8 x 11\"", 3778, 2794},
    {40, "German Std Fanfold, 8 1/2 x 12\"", 2159, 3048},
    {41, "German Legal Fanfold, 8 1/2 x 13\"", 2159, 3302},
    {42, "B4 (ISO) 250 x 353 мм", 2500, 3530},
    {43, "Japanese Postcard 100 x 148 мм", 1000, 1480},
    {44, "9 x 11\"", 2286, 2794},
    {45, "10 x 11\"", 2540, 2794},
    {46, "15 x 11\"", 3810, 2794},
    {47, "Envelope Invite 220 x 220 мм", 2200, 2200},
    {50, "Letter Extra 9/275 x 12\"", 2355, 3048},
    {51, "Legal Extra 9/275 x 15\"", 2355, 3810},
    {52, "Tabloid Extra 11.69 x 18\"", 2969, 4572},
    {53, "A4 Extra 9.27 x 12.69\"", 2354, 3223},
    {54, "Letter Transverse 8/275 x 11\"", 2101, 2794},
    {55, "A4 Transverse 210 x 297 мм", 2100, 2970},
    {56, "Letter Extra Transverse 9/275 x 12\"", 2355, 3048},
    {57, "SuperASuperAA4 227 x 356 мм", 2270, 3560},
    {58, "SuperBSuperBA3 305 x 487 мм", 3050, 4870},
    {59, "Letter Plus 8.5 x 12.69\"", 2159, 3223},
    {60, "A4 Plus 210 x 330 мм", 2100, 3300},
    {61, "A5 Transverse 148 x 210 мм", 1480, 2100},
    {62, "B5 (JIS) Transverse 182 x 257 мм", 1820, 2570},
    {63, "A3 Extra 322 x 445 мм", 3220, 4450},
    {64, "A5 Extra 174 x 235 мм", 1740, 2350},
    {65, "B5 (ISO) Extra 201 x 276 мм", 2010, 2760},
    {66, "A2 420 x 594 мм", 4200, 5940},
    {67, "A3 Transverse 297 x 420 мм", 2970, 4200},
    {68, "A3 Extra Transverse 322 x 445 мм", 3220, 4450},
    {256, "Другой", 0, 0},
}};

namespace {
TPrinterSettings DefaultPrinterSettings;
} // namespace

TPrinterSettings *PrinterSettings = &DefaultPrinterSettings;

void TPrinterSettings::AttachPrinter(TPrinterDevice *printer)
{
    Printer = printer;
    Printers.clear();
    PrinterIndex = 0;
    if (Printer && !Printer->Printers().isEmpty()) {
        Printers = Printer->Printers();
        PrinterIndex = Printer->PrinterIndex();
        ReadPrinterState();
    }
    Printers << VirtualPrinterName;
    VirtualPrinterIndex = static_cast<int>(Printers.size()) - 1;
    // Without a printer the printer-less entry is the current one: its paper
    // table must be there from the start, not only after a paper change.
    if (IsVirtual())
        ApplySettings();
}

void TPrinterSettings::SelectPrinter(int index)
{
    PrinterIndex = index;
    if (IsVirtual()) {
        ApplySettings();
        return;
    }
    if (Printer && !Printer->Printers().isEmpty()) {
        Printer->SetPrinterIndex(index);
        ReadPrinterState();
    }
}

void TPrinterSettings::SetPaper(int code, int width, int height, int orientation)
{
    // Others print on the same printer (the charts, the scheme) and may
    // have turned it since: what the device holds counts, not what was set.
    if (SameSettings(code, width, height, orientation) && DeviceHoldsPaper())
        return;
    PaperCode = code;
    PaperWidth = width;
    PaperHeight = height;
    Orientation = static_cast<std::uint8_t>(orientation);
    ApplySettings();
}

bool TPrinterSettings::DeviceHoldsPaper() const
{
    if (IsVirtual() || !Printer)
        return true;
    const TDeviceMode mode = Printer->GetDeviceMode();
    if ((mode.Fields & dm::Orientation) && mode.Orientation != (Orientation == 1 ? 2 : 1))
        return false;
    return !(mode.Fields & dm::PaperSize) || mode.PaperSize == PaperCode;
}

bool TPrinterSettings::SameSettings(int code, int width, int height, int orientation) const
{
    if (PaperCode != code || Orientation != orientation)
        return false;
    return code != CustomPaperCode || (PaperWidth == width && PaperHeight == height);
}

int TPrinterSettings::FindPaperIndex(int code) const
{
    for (int i = 0; i < PaperCodeCount; ++i)
        if (PaperCodes[i] == code)
            return i;
    return PaperCodeCount - 1;
}

bool TPrinterSettings::HasDevModeField(unsigned bit) const { return (m_deviceMode.Fields & bit) != 0; }

void TPrinterSettings::AddDevModeField(unsigned bit) { m_deviceMode.Fields |= bit; }

QString TPrinterSettings::CurrentPrinterName() const
{
    return PrinterIndex >= 0 && PrinterIndex < Printers.size() ? Printers[PrinterIndex] : QString();
}

void TPrinterSettings::ReadPrinterState()
{
    if (!Printer)
        return;
    const QStringList names = Printer->Printers();
    const int index = Printer->PrinterIndex();
    DeviceName = index >= 0 && index < names.size() ? names[index] : QString();
    DriverName = Printer->DriverName().left(63);
    m_deviceMode = Printer->GetDeviceMode();
    DotsPerInchX = Printer->DpiX();
    DotsPerInchY = Printer->DpiY();
    if (HasDevModeField(dm::PaperSize))
        PaperCode = m_deviceMode.PaperSize;
    if (HasDevModeField(dm::Orientation))
        Orientation = m_deviceMode.Orientation == 2 ? 1 : 0;
    int w = 0, h = 0;
    if (Printer->PhysicalPageSize(w, h) && DotsPerInchX > 0 && DotsPerInchY > 0) {
        PaperWidth = Convert(static_cast<double>(w) / DotsPerInchX * 254);
        PaperHeight = Convert(static_cast<double>(h) / DotsPerInchY * 254);
    } else {
        PaperWidth = 0;
        PaperHeight = 0;
    }
    PaperCodes.fill(0);
    const std::vector<int> codes = Printer->PaperCodes();
    PaperCodeCount = static_cast<int>(std::min<size_t>(codes.size(), PaperCodes.size()));
    for (int i = 0; i < PaperCodeCount; ++i)
        PaperCodes[i] = static_cast<std::uint16_t>(codes[i]);
    PaperNames = Printer->PaperNames();
}

void TPrinterSettings::ApplySettings()
{
    if (IsVirtual() || !Printer) {
        PaperNames.clear();
        PaperCodes.fill(0);
        for (size_t i = 0; i < PaperTable.size(); ++i) {
            PaperNames << QString::fromUtf8(PaperTable[i].Name);
            PaperCodes[i] = static_cast<std::uint16_t>(PaperTable[i].Code);
        }
        PaperCodeCount = static_cast<int>(PaperTable.size());
        if (PaperCode != CustomPaperCode) {
            for (const TPaperInfo &paper : PaperTable) {
                if (paper.Code != PaperCode)
                    continue;
                PaperWidth = Orientation == 1 ? paper.Height : paper.Width;
                PaperHeight = Orientation == 1 ? paper.Width : paper.Height;
                break;
            }
        }
        return;
    }
    m_deviceMode = Printer->GetDeviceMode();
    if (PaperCode == CustomPaperCode) {
        AddDevModeField(dm::PaperLength);
        m_deviceMode.PaperLength = PaperHeight;
        AddDevModeField(dm::PaperWidth);
        m_deviceMode.PaperWidth = PaperWidth;
    }
    if (HasDevModeField(dm::PaperSize))
        m_deviceMode.PaperSize = PaperCode;
    if (HasDevModeField(dm::Orientation))
        m_deviceMode.Orientation = Orientation == 1 ? 2 : 1;
    Printer->SetDeviceMode(m_deviceMode);
    ReadPrinterState();
}

void TPrinterSettings::FillPrinterInfo(TPrinterInfo &info) const
{
    if (IsVirtual() || !Printer) {
        info.PageWidth = TenthMmToDesignX(PaperWidth);
        info.PageHeight = TenthMmToDesignY(PaperHeight);
        info.OffsetX = TenthMmToDesignX(50);
        info.OffsetY = TenthMmToDesignY(50);
        info.PrintableWidth = info.PageWidth - 2 * info.OffsetX;
        info.PrintableHeight = info.PageHeight - 2 * info.OffsetY;
        return;
    }
    const TDeviceGeometry g = Printer->Geometry();
    info.DevicePageWidth = g.PhysicalWidth;
    info.DevicePageHeight = g.PhysicalHeight;
    info.DeviceOffsetX = g.PhysicalOffsetX;
    info.DeviceOffsetY = g.PhysicalOffsetY;
    info.DevicePrintableWidth = g.PrintableWidth;
    info.DevicePrintableHeight = g.PrintableHeight;
    info.PageWidth = DotsToDesignX(g.PhysicalWidth, DotsPerInchX);
    info.PageHeight = DotsToDesignY(g.PhysicalHeight, DotsPerInchY);
    info.OffsetX = DotsToDesignX(g.PhysicalOffsetX, DotsPerInchX);
    info.OffsetY = DotsToDesignY(g.PhysicalOffsetY, DotsPerInchY);
    info.PrintableWidth = DotsToDesignX(g.PrintableWidth, DotsPerInchX);
    info.PrintableHeight = DotsToDesignY(g.PrintableHeight, DotsPerInchY);
}

bool TPageList::Contains(int page) const
{
    if (m_all)
        return true;
    for (const auto &[first, last] : m_ranges)
        if (page >= first && page <= last)
            return true;
    return false;
}

TPageList ParsePageList(const QString &text)
{
    QString s = text;
    s.remove(u' ');
    TPageList pages;
    if (s.isEmpty())
        return pages;
    pages.m_all = false;
    s += u',';
    QString number;
    bool range = false;
    int rangeStart = 0;
    for (const QChar c : s) {
        if (c == u'-') {
            rangeStart = StrToInt(number);
            range = true;
            number.clear();
        } else if (c == u',') {
            const int last = StrToInt(number);
            pages.m_ranges.emplace_back(range ? rangeStart : last, last);
            range = false;
            number.clear();
        } else {
            number += c;
        }
    }
    return pages;
}
