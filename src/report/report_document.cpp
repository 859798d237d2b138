#include "report/report_document.h"

#include "platform/prompt.h"
#include "report/interpreter.h"

#include <QtCore/QFile>
#include <QtCore/QSaveFile>

namespace {

QByteArray ReadWholeFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("Cannot open file %1").arg(fileName));
    return file.readAll();
}

void WriteWholeFile(const QString &fileName, const QByteArray &bytes)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EFCreateError(QStringLiteral("Cannot create file %1").arg(fileName));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw EFCreateError(QStringLiteral("Cannot create file %1").arg(fileName));
}

// Runs a reader; any failure becomes an error that names the file.
template <typename F>
void ReadNamed(const QString &fileName, F &&read)
{
    try {
        read();
    } catch (const EFOpenError &) {
        throw;
    } catch (const Exception &e) {
        throw EReportFileError(QStringLiteral("Ошибка чтения файла %1: %2").arg(fileName, e.Message()));
    }
}

} // namespace

TfrView *TfrReportDocument::FindObject(const QString &name) const
{
    for (const TfrPages *pages : {&TemplatePages, m_readingPages}) {
        if (!pages)
            continue;
        for (int i = 0; i < pages->Count(); ++i)
            for (const auto &view : pages->GetPage(i).TemplateObjects)
                if (view->Name.compare(name, Qt::CaseInsensitive) == 0)
                    return view.get();
    }
    return nullptr;
}

void TfrReportDocument::SelectPrinterByName(const QString &name)
{
    if (UseDefaultPrinter)
        return;
    TPrinterSettings &settings = *PrinterSettings;
    const int index = static_cast<int>(settings.Printers.indexOf(name));
    if (index >= 0 && index != settings.VirtualPrinterIndex && index != settings.PrinterIndex)
        settings.SelectPrinter(index);
}

bool TfrReportDocument::ChangePrinter(int oldIndex, int newIndex)
{
    TPrinterSettings &settings = *PrinterSettings;
    const auto applyPages = [this, &settings] {
        settings.PaperCode = -1;
        for (int i = 0; i < TemplatePages.Count(); ++i) {
            TfrPage &page = TemplatePages.GetPage(i);
            page.ChangePaper(page.PaperCode, page.PaperWidth, page.PaperHeight, page.Orientation);
        }
    };
    try {
        settings.SelectPrinter(newIndex);
        applyPages();
        return true;
    } catch (const std::exception &) {
        ShowMessageBox(QStringLiteral("Возникли проблемы с настройкой выбранного принтера."), QStringLiteral("Ошибка"),
                       mb::Ok | mb::IconError);
        settings.SelectPrinter(oldIndex);
        applyPages();
        return false;
    }
}

// ---------------------------------------------------------------- templates

void TfrReportDocument::ReadTemplateBody(TfrStream &stream)
{
    TfrPages pages(this);
    TfrValues bindings;
    QStringList variables = VariableLines;
    m_readingPages = &pages;
    struct TReset
    {
        const TfrPages *&pointer;
        ~TReset() { pointer = nullptr; }
    } reset{m_readingPages};

    const bool keptDefaultPrinter = UseDefaultPrinter, keptTwoPass = TwoPassBuild;
    bool bindingsRead = false;
    try {
        UseDefaultPrinter = stream.ReadValue<std::int16_t>() != 0;
        TwoPassBuild = stream.ReadValue<std::int16_t>() != 0;
        SelectPrinterByName(stream.ReadVersionedString());
        bindingsRead = ReadTemplateRecords(stream, pages, bindings, variables);
    } catch (...) {
        UseDefaultPrinter = keptDefaultPrinter;
        TwoPassBuild = keptTwoPass;
        throw;
    }
    TemplatePages.Swap(pages);
    if (bindingsRead) {
        ValueBindings = std::move(bindings);
        VariableLines = variables;
    }
}

bool TfrReportDocument::ReadTemplateRecords(TfrStream &stream, TfrPages &pages, TfrValues &bindings, QStringList &variables)
{
    bool bindingsRead = false;
    while (!stream.AtEnd()) {
        const auto tag = stream.ReadValue<std::uint8_t>();
        if (tag == TemplateRecordTag) {
            pages.Add().ReadPageRecord(stream);
        } else if (tag == ValuesRecordTag) {
            ReadValueBindings(bindings, stream);
            variables = stream.ReadVersionedStrings();
            bindingsRead = true;
        } else if (tag <= gtAddIn) {
            std::uint8_t type = tag;
            QString className;
            bool framed = false;
            if (type == gtAddIn) {
                className = stream.ReadVersionedString();
                if (className.toUpper() == QStringLiteral("TFRFRAMEDMEMOVIEW")) {
                    framed = true;
                    type = gtMemo;
                }
            }
            const int pageIndex = stream.ReadValue<std::uint8_t>();
            std::unique_ptr<TfrView> view = CreateReportObject(type, className);
            if (!view)
                throw EReadError(QStringLiteral("Неизвестный тип объекта %1").arg(type));
            if (pageIndex >= pages.Count())
                throw EReadError(QStringLiteral("List index out of bounds (%1)").arg(pageIndex));
            TfrView &added = *view;
            pages.GetPage(pageIndex).TemplateObjects.push_back(std::move(view));
            added.LoadFromStream(stream);
            if (framed)
                stream.ReadBytes(8);
        } else {
            // A data-manager block or a record of another kind ends the template.
            break;
        }
    }
    return bindingsRead;
}

void TfrReportDocument::LoadFromStream(TfrStream &stream)
{
    SetCurrentDocument(this);
    TemplateVersion = stream.ReadValue<std::uint8_t>();
    if (TemplateVersion <= 20) {
        // Such streams have no version byte.
        TemplateVersion = 21;
        stream.Seek(0);
    }
    ReadTemplateBody(stream);
}

void TfrReportDocument::WriteTemplateBody(TfrStream &stream)
{
    if (TemplatePages.Count() > MaxTemplatePages)
        throw Exception(QStringLiteral("Шаблон отчета может содержать не более %1 страниц").arg(MaxTemplatePages));
    stream.WriteBool16(UseDefaultPrinter);
    stream.WriteBool16(TwoPassBuild);
    stream.WriteCountedString(PrinterSettings->CurrentPrinterName());
    for (int i = 0; i < TemplatePages.Count(); ++i) {
        stream.WriteValue<std::uint8_t>(TemplateRecordTag);
        TemplatePages.GetPage(i).WritePageRecord(stream);
    }
    for (int i = 0; i < TemplatePages.Count(); ++i) {
        for (const auto &view : TemplatePages.GetPage(i).TemplateObjects) {
            stream.WriteValue<std::uint8_t>(view->ReportObjectType);
            if (view->ReportObjectType == gtAddIn)
                stream.WriteCountedString(view->ClassName());
            stream.WriteValue<std::uint8_t>(static_cast<std::uint8_t>(i));
            const bool prepared = view->PreparedMode;
            view->PreparedMode = false;
            view->SaveToStream(stream);
            view->PreparedMode = prepared;
        }
    }
    stream.WriteValue<std::uint8_t>(ValuesRecordTag);
    WriteValueBindings(ValueBindings, stream);
    stream.WriteStrings(VariableLines);
}

void TfrReportDocument::SaveToStream(TfrStream &stream)
{
    SetCurrentDocument(this);
    TemplateVersion = CurrentTemplateVersion;
    stream.WriteValue<std::uint8_t>(TemplateVersion);
    WriteTemplateBody(stream);
}

void TfrReportDocument::LoadFromFile(const QString &fileName)
{
    TfrStream stream(ReadWholeFile(fileName));
    ReadNamed(fileName, [&] { LoadFromStream(stream); });
}

void TfrReportDocument::SaveToFile(const QString &fileName)
{
    TfrStream stream;
    SaveToStream(stream);
    WriteWholeFile(fileName, stream.Data());
}

void TfrReportDocument::SaveTemplateFile(const QString &fileName, const QStringList &description, const QByteArray &picture)
{
    SetCurrentDocument(this);
    TemplateVersion = CurrentTemplateVersion;
    TfrStream stream;
    stream.WriteStrings(description);
    const qint64 placeholder = stream.Position();
    stream.WriteValue<std::int32_t>(0);
    stream.WriteValue<std::uint8_t>(picture.isEmpty() ? 0 : 1);
    stream.WriteBytes(picture);
    const qint64 body = stream.Position();
    stream.Seek(placeholder);
    stream.WriteValue<std::int32_t>(static_cast<std::int32_t>(body));
    stream.Seek(body);
    WriteTemplateBody(stream);
    WriteWholeFile(fileName, stream.Data());
}

void TfrReportDocument::LoadTemplateFile(const QString &fileName, QStringList &description, bool full, QByteArray &picture)
{
    TfrStream stream(ReadWholeFile(fileName));
    ReadNamed(fileName, [&] {
        TemplateVersion = CurrentTemplateVersion;
        const QStringList text = stream.ReadStrings();
        const auto body = stream.ReadValue<std::int32_t>();
        if (body < stream.Position() || body > stream.Size())
            throw EReadError();
        QByteArray bitmap;
        if (stream.ReadValue<std::uint8_t>() == 1)
            bitmap = stream.ReadBytes(body - stream.Position());
        if (!full) {
            description = text;
            picture = bitmap;
            return;
        }
        SetCurrentDocument(this);
        stream.Seek(body);
        ReadTemplateBody(stream);
    });
}

void TfrReportDocument::WriteReportForm(TfrStream &stream)
{
    stream.WriteValue<std::int32_t>(CurrentTemplateVersion);
    if (!StoreInDFM)
        return;
    TfrStream body;
    SaveToStream(body);
    stream.WriteValue<std::int32_t>(static_cast<std::int32_t>(body.Size()));
    stream.WriteBytes(body.Data());
}

void TfrReportDocument::ReadReportForm(TfrStream &stream)
{
    stream.ReadValue<std::int32_t>();
    if (!StoreInDFM)
        return;
    TfrStream body(stream.ReadBytes(stream.ReadValue<std::int32_t>()));
    LoadFromStream(body);
}

// ---------------------------------------------------------------- prepared reports

void TfrReportDocument::LoadPreparedReport(const QString &fileName)
{
    TfrStream stream(ReadWholeFile(fileName));
    ReadNamed(fileName, [&] { PreparedPages.LoadFromStream(stream, this); });
    Rebuildable = false;
}

void TfrReportDocument::SavePreparedReport(const QString &fileName)
{
    TfrStream stream;
    PreparedPages.SaveToStream(stream, PrinterSettings->CurrentPrinterName());
    WriteWholeFile(fileName, stream.Data());
}

// ---------------------------------------------------------------- hooks

void TfrReportDocument::EnterRect(QStringList &lines, TfrView &view)
{
    if (view.DataFieldIsLargeObject())
        view.SetContent(QVariant(view.DataField->Value().ToString()));
}

void TfrReportDocument::RunObjectScript(TfrView &view)
{
    if (view.ScriptLines.isEmpty() || !EngineRunning())
        return;
    TfrEngine &e = Engine();
    QStringList coded, errors;
    e.ReportInterpreter->Compile(view.ScriptLines, coded, errors);
    // A compile error stops the compilation, not the script: the lines coded
    // before it still run.
    e.ScratchLines << errors;
    e.ReportInterpreter->Run(coded);
}

bool TfrReportDocument::ConditionHolds(const QString &condition, TfrView &view)
{
    return VarCompare(Engine().ReportParser.Evaluate(condition), Variant(0)) != 0;
}

TfrReportDocument *CurrentDocument()
{
    return EngineRunning() ? dynamic_cast<TfrReportDocument *>(Engine().CurrentReport) : nullptr;
}

void SetCurrentDocument(TfrReportDocument *report)
{
    if (EngineRunning())
        Engine().CurrentReport = report;
}
