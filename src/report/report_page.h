#pragma once
// A template page: its paper, margins, columns, the geometry of the printer
// model for its paper, and the objects it owns in drawing order. The build
// gives the page its run-time behaviour; the files and the designer need
// what is here.
#include "report/printers.h"
#include "report/report_objects.h"

#include <memory>
#include <vector>

class TfrPage
{
public:
    // The page applies its paper to the printer model at once.
    TfrPage(int paperCode, int paperWidth, int paperHeight, int orientation);
    virtual ~TfrPage() = default;

    std::int32_t PaperCode = 9;
    std::int32_t PaperWidth = 0;
    std::int32_t PaperHeight = 0;
    std::int32_t MarginLeft = 0;
    std::int32_t MarginTop = 0;
    std::int32_t MarginRight = 0;
    std::int32_t MarginBottom = 0;
    std::uint8_t Orientation = 0;
    std::int16_t PrintOnPreviousSheet = 0;
    std::int16_t HonourMargins = 0;
    std::int32_t ColumnCount = 1;
    std::int32_t ColumnGap = 0;
    TPrinterInfo PrinterInfo;
    std::vector<std::unique_ptr<TfrView>> TemplateObjects;

    // Asks the printer model for the paper (a custom size of the same
    // dimensions when the printer refuses it) and takes what it gave.
    void ChangePaper(int code, int width, int height, int orientation);

    void ReadPageRecord(TfrStream &stream);
    void WritePageRecord(TfrStream &stream) const;
};
