#include "report/report_page.h"

#include "report/band.h"

QString PageTabName(int index) { return QStringLiteral("Стр.%1").arg(std::int64_t{index} + 1); }

TfrPage::TfrPage(int paperCode, int paperWidth, int paperHeight, int orientation)
{
    ChangePaper(paperCode, paperWidth, paperHeight, orientation);
}

void TfrPage::ChangePaper(int code, int width, int height, int orientation)
{
    TPrinterSettings &settings = *PrinterSettings;
    try {
        settings.SetPaper(code, width, height, orientation);
        settings.FillPrinterInfo(PrinterInfo);
    } catch (const std::exception &) {
        settings.SetPaper(CustomPaperCode, width, height, orientation);
        settings.FillPrinterInfo(PrinterInfo);
    }
    PaperCode = settings.PaperCode;
    PaperWidth = settings.PaperWidth;
    PaperHeight = settings.PaperHeight;
    Orientation = settings.Orientation;
}

void TfrPage::ReadPageRecord(TfrStream &stream)
{
    const auto code = stream.ReadValue<std::int32_t>();
    const auto width = stream.ReadValue<std::int32_t>();
    const auto height = stream.ReadValue<std::int32_t>();
    MarginLeft = stream.ReadValue<std::int32_t>();
    MarginTop = stream.ReadValue<std::int32_t>();
    MarginRight = stream.ReadValue<std::int32_t>();
    MarginBottom = stream.ReadValue<std::int32_t>();
    const auto orientation = stream.ReadValue<std::uint8_t>();
    if (TemplateVersion < 23)
        stream.ReadBytes(6);
    PrintOnPreviousSheet = stream.ReadValue<std::int16_t>();
    HonourMargins = stream.ReadValue<std::int16_t>();
    ColumnCount = stream.ReadValue<std::int32_t>();
    ColumnGap = stream.ReadValue<std::int32_t>();
    ChangePaper(code, width, height, orientation);
}

void TfrPage::WritePageRecord(TfrStream &stream) const
{
    stream.WriteValue<std::int32_t>(PaperCode);
    stream.WriteValue<std::int32_t>(PaperWidth);
    stream.WriteValue<std::int32_t>(PaperHeight);
    stream.WriteValue<std::int32_t>(MarginLeft);
    stream.WriteValue<std::int32_t>(MarginTop);
    stream.WriteValue<std::int32_t>(MarginRight);
    stream.WriteValue<std::int32_t>(MarginBottom);
    stream.WriteValue<std::uint8_t>(Orientation);
    stream.WriteValue<std::int16_t>(PrintOnPreviousSheet);
    stream.WriteValue<std::int16_t>(HonourMargins);
    stream.WriteValue<std::int32_t>(ColumnCount);
    stream.WriteValue<std::int32_t>(ColumnGap);
}

void TfrPage::Clear()
{
    while (!TemplateObjects.empty())
        TemplateObjects.erase(TemplateObjects.begin());
}

void TfrPage::Delete(int index)
{
    if (index >= 0 && index < static_cast<int>(TemplateObjects.size()))
        TemplateObjects.erase(TemplateObjects.begin() + index);
}

int TfrPage::FindObjectByID(std::uint32_t id) const
{
    for (std::size_t i = 0; i < TemplateObjects.size(); ++i)
        if (TemplateObjects[i]->ObjectID == id)
            return static_cast<int>(i);
    return -1;
}
