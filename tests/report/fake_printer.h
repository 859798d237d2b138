#pragma once
// A printer for tests: two installed printers, a 600-dpi A4 sheet (or any
// paper asked for), and a log of every job step.
#include "report/printers.h"

class TFakePrinter : public TPrinterDevice
{
public:
    QStringList Names{QStringLiteral("Лазерный"), QStringLiteral("Плоттер")};
    int Index = 0;
    TDeviceMode Mode{dm::Orientation | dm::PaperSize, 9, 0, 0, 1};
    // Paper codes the driver refuses (it answers with A4).
    std::vector<int> Refused;
    QStringList Log;
    TRecordingCanvas Paper{600, 600, true};
    bool InJob = false;

    QStringList Printers() const override { return Names; }
    int PrinterIndex() const override { return Index; }
    void SetPrinterIndex(int index) override
    {
        Index = index;
        Mode = {dm::Orientation | dm::PaperSize, 9, 0, 0, 1};
    }
    QString DriverName() const override { return QStringLiteral("fake.drv"); }
    TDeviceMode GetDeviceMode() const override { return Mode; }
    void SetDeviceMode(const TDeviceMode &mode) override
    {
        Mode = mode;
        if (std::find(Refused.begin(), Refused.end(), mode.PaperSize) != Refused.end())
            Mode.PaperSize = 9;
    }
    int DpiX() const override { return 600; }
    int DpiY() const override { return 600; }
    bool PhysicalPageSize(int &width, int &height) const override
    {
        const TDeviceGeometry g = Geometry();
        width = g.PhysicalWidth;
        height = g.PhysicalHeight;
        return true;
    }
    TDeviceGeometry Geometry() const override
    {
        int w = 4960, h = 7016; // A4 at 600 dpi
        if (Mode.PaperSize == CustomPaperCode) {
            w = static_cast<int>(Mode.PaperWidth * 600 / 254);
            h = static_cast<int>(Mode.PaperLength * 600 / 254);
        } else if (Mode.PaperSize == 8) {
            w = 7016;
            h = 9921;
        }
        if (Mode.Orientation == 2)
            std::swap(w, h);
        return {w, h, 100, 120, w - 200, h - 240};
    }
    std::vector<int> PaperCodes() const override { return {9, 8, CustomPaperCode}; }
    QStringList PaperNames() const override { return {QStringLiteral("A4"), QStringLiteral("A3"), QStringLiteral("Другой")}; }

    void BeginDoc(const QString &title) override
    {
        Log << QStringLiteral("begin ") + title + QStringLiteral(" paper %1/%2").arg(Mode.PaperSize).arg(Mode.Orientation);
        InJob = true;
    }
    void NewPage() override { Log << QStringLiteral("new page"); }
    void EndDoc() override
    {
        Log << QStringLiteral("end");
        InJob = false;
    }
    void Abort() override
    {
        Log << QStringLiteral("abort");
        InJob = false;
    }
    bool Printing() const override { return InJob; }
    TCanvas *Canvas() override { return &Paper; }
};
