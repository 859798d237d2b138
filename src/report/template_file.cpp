#include "report/template_file.h"

#include "platform/numbers.h"
#include "report/report_document.h"

// ---------------------------------------------------------------- template pages

TfrPage &TfrPages::Add()
{
    m_pages.push_back(std::make_unique<TfrPage>(9, 0, 0, 0));
    return *m_pages.back();
}

void TfrPages::Delete(int index)
{
    if (index >= 0 && index < Count())
        m_pages.erase(m_pages.begin() + index);
}

// ---------------------------------------------------------------- value bindings

void WriteValueBindings(const TfrValues &values, TfrStream &stream)
{
    stream.WriteValue<std::int32_t>(values.Count());
    for (int i = 0; i < values.Count(); ++i) {
        const TfrValue &value = *values.Item(i);
        stream.WriteValue<std::uint8_t>(value.Kind);
        stream.WriteValue<std::int32_t>(value.SpecialIndex);
        stream.WriteShortString(value.DataSetName);
        stream.WriteShortString(value.FieldText);
        stream.WriteShortString(value.Name);
    }
}

void ReadValueBindings(TfrValues &values, TfrStream &stream)
{
    values.Clear();
    const auto count = stream.ReadValue<std::int32_t>();
    for (std::int32_t i = 0; i < count; ++i) {
        const auto kind = stream.ReadValue<std::uint8_t>();
        const auto special = stream.ReadValue<std::int32_t>();
        const QString dataSet = stream.ReadShortString();
        const QString field = stream.ReadShortString();
        TfrValue *value = values.AppendValue(stream.ReadShortString());
        value->Kind = kind;
        value->SpecialIndex = special;
        value->DataSetName = dataSet;
        value->FieldText = field;
    }
}

// ---------------------------------------------------------------- prepared pages

TfrPreparedPage &TfrEMFPages::Insert(int index, const TfrPage &templatePage)
{
    auto page = std::make_unique<TfrPreparedPage>();
    page->Stream.WriteValue<std::uint8_t>(CurrentTemplateVersion);
    page->PaperCode = static_cast<std::uint16_t>(templatePage.PaperCode);
    page->PaperWidth = templatePage.PaperWidth;
    page->PaperHeight = templatePage.PaperHeight;
    page->Orientation = templatePage.Orientation;
    page->HonourMargins = templatePage.HonourMargins != 0;
    page->PrinterInfo = templatePage.PrinterInfo;
    if (index < 0 || index >= Count())
        index = Count();
    return **m_pages.insert(m_pages.begin() + index, std::move(page));
}

void TfrEMFPages::Delete(int index)
{
    if (index >= 0 && index < Count())
        m_pages.erase(m_pages.begin() + index);
}

void ForEachPreparedObject(TfrStream &stream, const std::function<void(std::unique_ptr<TfrView>)> &take)
{
    stream.Seek(0);
    // A page that came out of the decompress hook empty shows nothing.
    if (stream.AtEnd())
        return;
    TemplateVersion = stream.ReadValue<std::uint8_t>();
    while (!stream.AtEnd()) {
        const auto type = stream.ReadValue<std::uint8_t>();
        QString className;
        if (type == gtAddIn)
            className = stream.ReadVersionedString();
        std::unique_ptr<TfrView> view = CreateReportObject(type, className);
        if (!view)
            throw EReadError(QStringLiteral("Неизвестный тип объекта %1").arg(type));
        view->PreparedMode = true;
        view->LoadFromStream(stream);
        view->PreparedMode = false;
        take(std::move(view));
    }
}

void CheckPreparedObjects(TfrStream &stream)
{
    // Read now, a damaged object refuses the file instead of throwing from
    // the preview's drawing later. Reading sets the version in force.
    const std::uint8_t version = TemplateVersion;
    try {
        ForEachPreparedObject(stream, [](std::unique_ptr<TfrView>) {});
        TemplateVersion = version;
    } catch (const Exception &) {
        throw;
    } catch (const std::bad_alloc &) {
        throw;
    } catch (const std::exception &) {
        throw EReadError();
    }
}

void TfrEMFPages::BuildPageModel(int index)
{
    TfrPreparedPage &page = (*this)[index];
    page.PageModel.reset();
    auto model = std::make_unique<TfrPage>(page.PaperCode, page.PaperWidth, page.PaperHeight, page.Orientation);
    model->PrinterInfo = page.PrinterInfo;
    // The objects of a prepared page stand where the sheet has them.
    model->HonourMargins = 0;
    ForEachPreparedObject(page.Stream, [&](std::unique_ptr<TfrView> view) { model->TemplateObjects.push_back(std::move(view)); });
    page.PageModel = std::move(model);
}

void TfrEMFPages::StorePageModel(int index)
{
    TfrPreparedPage &page = (*this)[index];
    if (!page.PageModel)
        return;
    page.Stream.Clear();
    TemplateVersion = CurrentTemplateVersion;
    page.Stream.WriteValue<std::uint8_t>(TemplateVersion);
    for (const auto &view : page.PageModel->TemplateObjects) {
        view->PreparedMode = true;
        page.Stream.WriteValue<std::uint8_t>(view->ReportObjectType);
        if (view->ReportObjectType == gtAddIn)
            page.Stream.WriteCountedString(view->ClassName());
        view->OutputLines = view->Lines;
        view->SaveToStream(page.Stream);
        view->PreparedMode = false;
    }
}

void TfrEMFPages::Draw(int index, TCanvas &canvas, const TRect &rect)
{
    TfrPreparedPage &page = (*this)[index];
    const bool printing = canvas.IsPrinter();
    if (!page.Visible) {
        page.PageModel.reset();
        return;
    }
    if (!page.PageModel)
        BuildPageModel(index);
    const double scaleX = page.PrinterInfo.PageWidth ? static_cast<double>(rect.Width()) / page.PrinterInfo.PageWidth : 1.0;
    const double scaleY = page.PrinterInfo.PageHeight ? static_cast<double>(rect.Height()) / page.PrinterInfo.PageHeight : 1.0;
    const TRect clip = canvas.ClipRect();
    for (const auto &view : page.PageModel->TemplateObjects) {
        if (!printing) {
            // Wide: a prepared report's extreme coordinate must not overflow.
            const TRect area{ClampToInt(Round(view->Left * scaleX) + rect.Left - 10),
                             ClampToInt(Round(view->Top * scaleY) + rect.Top - 10),
                             ClampToInt(Round((static_cast<double>(view->Left) + view->Width) * scaleX) + rect.Left + 10),
                             ClampToInt(Round((static_cast<double>(view->Top) + view->Height) * scaleY) + rect.Top + 10)};
            if (!IntersectRects(area, clip))
                continue;
        }
        view->ScaleX = scaleX;
        view->ScaleY = scaleY;
        view->OffsetX = rect.Left;
        view->OffsetY = rect.Top;
        view->ToPrinter = printing;
        view->Draw(canvas);
    }
}

void TfrEMFPages::ExportPage(int index)
{
    ForEachPreparedObject((*this)[index].Stream, [](std::unique_ptr<TfrView> view) {
        view->PreparedMode = true;
        view->ExportObject();
    });
}

void TfrEMFPages::SaveToStream(TfrStream &stream, const QString &printerName) const
{
    stream.WriteValue<std::uint8_t>(0); // the compressor is never enabled
    stream.WriteCountedString(printerName);
    stream.WriteValue<std::int32_t>(Count());
    for (const auto &page : m_pages) {
        const qint64 placeholder = stream.Position();
        stream.WriteValue<std::int32_t>(0);
        stream.WriteValue<std::uint16_t>(page->PaperCode);
        stream.WriteValue<std::int32_t>(page->PaperWidth);
        stream.WriteValue<std::int32_t>(page->PaperHeight);
        stream.WriteValue<std::uint8_t>(page->Orientation);
        stream.WriteValue<std::uint8_t>(page->HonourMargins ? 1 : 0);
        stream.WriteBytes(page->Stream.Data());
        const qint64 end = stream.Position();
        stream.Seek(placeholder);
        stream.WriteValue<std::int32_t>(static_cast<std::int32_t>(end));
        stream.Seek(end);
    }
}

void TfrEMFPages::LoadFromStream(TfrStream &stream, TfrReportDocument *report)
{
    TfrEMFPages pages;
    const bool compressed = stream.ReadValue<std::uint8_t>() != 0;
    TemplateVersion = CurrentTemplateVersion;
    const QString printer = stream.ReadCountedString();
    if (report)
        report->SelectPrinterByName(printer);
    const auto count = stream.ReadValue<std::int32_t>();
    for (std::int32_t i = 0; i < count; ++i) {
        const auto end = stream.ReadValue<std::int32_t>();
        auto page = std::make_unique<TfrPreparedPage>();
        page->PaperCode = stream.ReadValue<std::uint16_t>();
        page->PaperWidth = stream.ReadValue<std::int32_t>();
        page->PaperHeight = stream.ReadValue<std::int32_t>();
        page->Orientation = stream.ReadValue<std::uint8_t>();
        page->HonourMargins = stream.ReadValue<std::uint8_t>() != 0;
        if (end < stream.Position() || end > stream.Size())
            throw EReadError();
        const QByteArray objects = stream.ReadBytes(end - stream.Position());
        // The decompress hook gives nothing: such pages show nothing.
        if (!compressed) {
            page->Stream = TfrStream(objects);
            CheckPreparedObjects(page->Stream);
        }
        TPrinterSettings &settings = *PrinterSettings;
        settings.SetPaper(page->PaperCode, page->PaperWidth, page->PaperHeight, page->Orientation);
        settings.FillPrinterInfo(page->PrinterInfo);
        pages.m_pages.push_back(std::move(page));
        stream.Seek(end);
    }
    Swap(pages);
}
