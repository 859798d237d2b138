#include "report/report.h"

#include "platform/help.h"
#include "platform/prompt.h"
#include "report/library.h"
#include "report/print_job.h"
#include "report/report_page.h"

#include <QtCore/QDate>
#include <QtCore/QDateTime>
#include <QtCore/QSaveFile>
#include <QtCore/QScopeGuard>

namespace {

TfrHeadlessProgress DefaultProgress;
TfrProgress *InstalledProgress = nullptr;
TPreviewOpener PreviewOpener;
TPrinterDevice *InstalledPrinter = nullptr;
std::function<void(TfrReport *)> ReportDestroyed;

const QString PrepareCaption = QStringLiteral("Подготовка отчета");

QString JobCaption(const QString &title)
{
    return title.isEmpty() ? PrepareCaption : PrepareCaption + QStringLiteral(" - ") + title;
}

} // namespace

// ---------------------------------------------------------------- progress

bool TfrHeadlessProgress::Execute(TfrReport &report, const QString &caption, const QString &text,
                                  const std::function<void()> &job)
{
    Captions << caption;
    Texts << text;
    TfrReport *outer = m_report;
    m_report = &report;
    m_closedOk = true;
    const auto restore = qScopeGuard([this, outer] { m_report = outer; });
    if (job)
        job();
    return m_closedOk;
}

void TfrHeadlessProgress::SetText(const QString &text)
{
    if (Texts.isEmpty() || Texts.last() != text)
        Texts << text;
}

void TfrHeadlessProgress::Pump()
{
    if (OnPump && m_report)
        OnPump(*m_report);
}

TfrProgress &ReportProgress() { return InstalledProgress ? *InstalledProgress : DefaultProgress; }

TfrProgress *SetReportProgress(TfrProgress *progress)
{
    TfrProgress *previous = InstalledProgress;
    InstalledProgress = progress;
    return previous;
}

void SetPreviewOpener(TPreviewOpener opener) { PreviewOpener = std::move(opener); }

void SetReportDestroyedHook(std::function<void(TfrReport *)> hook) { ReportDestroyed = std::move(hook); }

void SetReportPrinter(TPrinterDevice *printer) { InstalledPrinter = printer; }
TPrinterDevice *ReportPrinter() { return InstalledPrinter ? InstalledPrinter : PrinterSettings->Printer; }

TfrReportDesigner *ReportDesigner()
{
    return EngineRunning() ? dynamic_cast<TfrReportDesigner *>(Engine().ReportDesignerInstance) : nullptr;
}

TfrBuildState &BuildState()
{
    TfrEngine &e = Engine();
    if (!e.Extension)
        e.Extension = std::make_unique<TfrBuildState>();
    return static_cast<TfrBuildState &>(*e.Extension);
}

void PumpMessages() { ReportProgress().Pump(); }

// ---------------------------------------------------------------- component

TfrReport::TfrReport() = default;

TfrReport::~TfrReport()
{
    if (ReportDestroyed)
        ReportDestroyed(this);
    if (EngineRunning() && Engine().Extension && BuildState().OutputReport == this)
        BuildState().OutputReport = nullptr;
}

void TfrReport::Notification(TfrComponent *removed)
{
    if (removed && removed == Dataset)
        Dataset = nullptr;
}

void TfrReport::GetCategoryVariables(int index, QStringList &list) const
{
    list.clear();
    int category = -1;
    qsizetype i = 0;
    for (; i < VariableLines.size(); ++i) {
        const QString &line = VariableLines[i];
        if (!line.isEmpty() && line[0] != u' ' && ++category == index)
            break;
    }
    // A category that does not exist has no variables.
    if (i >= VariableLines.size())
        return;
    for (++i; i < VariableLines.size() && VariableLines[i].startsWith(u' '); ++i)
        list << VariableLines[i].mid(1);
}

void TfrReport::GetCategories(QStringList &list) const
{
    list.clear();
    for (const QString &line : VariableLines)
        if (!line.isEmpty() && line[0] != u' ')
            list << line;
}

int TfrReport::FindVariable(const QString &name) const
{
    return static_cast<int>(VariableLines.indexOf(u' ' + name));
}

void TfrReport::EnterRect(QStringList &lines, TfrView &view)
{
    TfrReportDocument::EnterRect(lines, view);
    if (OnEnterRect)
        OnEnterRect(lines, view);
}

void TfrReport::DesignReport()
{
    if (TemplatePages.Count() == 0)
        TemplatePages.Add();
    SetCurrentDocument(this);
    const QString savedHelp = HelpFile();
    SetHelpFile(QStringLiteral("KRuser.hlp"));
    const auto restoreHelp = qScopeGuard([savedHelp] { SetHelpFile(savedHelp); });
    if (TfrReportDesigner *designer = ReportDesigner())
        designer->ShowModal();
}

bool TfrReport::PrepareReport()
{
    EngineMode = 1;
    const QDateTime now = QDateTime::currentDateTime();
    const double days = static_cast<double>(QDate(1899, 12, 30).daysTo(now.date()));
    PrepareDate = days;
    PrepareTime = now.time().msecsSinceStartOfDay() / 86400000.0;
    BuildState().OutputReport = this;
    bool result = false;
    try {
        result = DoPrepareReport();
    } catch (...) {
        LastPass = false;
        FirstPassRunning = false;
        m_secondPass = false;
        throw;
    }
    LastPass = false;
    return result;
}

bool TfrReport::DoPrepareReport()
{
    TfrEngine &e = Engine();
    TfrBuildState &st = BuildState();
    TfrProgress &progress = ReportProgress();
    Cancelled = false;
    st.AppendToSheet = false;
    FirstPassRunning = false;
    LastPass = true;
    e.CurrentPageIndex = 0;
    PreparedPages.Clear();
    const bool direct = OnProgress || !ShowProgress;
    const auto job = [this] { DoBuildReport(); };

    if (TwoPassBuild) {
        FirstPassRunning = true;
        LastPass = false;
        if (direct) {
            DoBuildReport();
        } else {
            st.FirstCaption = QStringLiteral("Выполняется 1-й проход:");
            progress.Execute(*this, JobCaption(Title), st.FirstCaption + QStringLiteral("  1"), job);
        }
        return true;
    }

    bool result = true;
    st.FirstCaption = QStringLiteral("Формируется страница:");
    if (m_secondPass) {
        // The second pass runs inside the first pass's window.
        if (!m_firstPassCancelled)
            TwoPassBuild = true;
        DoBuildReport();
    } else {
        // A one-pass build knows no total.
        e.TotalPagesCount = 0;
        if (direct)
            DoBuildReport();
        else
            result = progress.Execute(*this, JobCaption(Title), st.FirstCaption + QStringLiteral("  1"), job);
    }
    Cancelled = false;
    return result;
}

void TfrReport::DoBuildReport()
{
    BuildReport();
    if (LastPass) {
        ReportProgress().Close(!Cancelled);
        return;
    }
    m_firstPassCancelled = Cancelled;
    Engine().TotalPagesCount = PreparedPages.Count();
    TwoPassBuild = false;
    m_secondPass = true;
    const auto restore = qScopeGuard([this] {
        m_secondPass = false;
        TwoPassBuild = true;
    });
    DoPrepareReport();
}

void TfrReport::ShowProgressText(int n)
{
    if (OnProgress) {
        OnProgress(n);
        return;
    }
    if (!ShowProgress)
        return;
    ReportProgress().SetText(ProgressLine(n));
    PumpMessages();
}

QString TfrReport::ProgressLine(int n) const
{
    TfrBuildState &st = BuildState();
    QString text = st.FirstCaption + QStringLiteral("  ") + QString::number(n);
    const TfrReport *out = st.OutputReport ? st.OutputReport : this;
    // The total is known in the second pass of a build and in an export.
    if ((out->TwoPassBuild && out->LastPass) || ActiveExportFilter)
        text += QStringLiteral(" из ") + QString::number(Engine().TotalPagesCount);
    return text;
}

void TfrReport::BindValueFields()
{
    for (int i = 0; i < ValueBindings.Count(); ++i) {
        TfrValue &value = *ValueBindings.Item(i);
        if (value.Kind != TfrValue::kindField)
            continue;
        value.Field = nullptr;
        try {
            if (TDataSet *dataSet = FindDataSet(value.DataSetName))
                value.Field = dataSet->FindField(value.FieldText);
        } catch (const Exception &) {
            value.Field = nullptr;
        }
    }
}

void TfrReport::ShowReport()
{
    // A cancelled build is previewed with the pages made so far.
    PrepareReport();
    if (!ShowBuildError())
        ShowPreparedReport();
}

bool TfrReport::ShowBuildError()
{
    TfrEngine &e = Engine();
    if (!e.ExpressionError)
        return false;
    ShowMessageBox(e.ExpressionErrorText, QStringLiteral("Ошибка"), mb::Ok | mb::IconError);
    PreparedPages.Clear();
    return true;
}

void TfrReport::ShowPreparedReport()
{
    QString caption = QStringLiteral("Предварительный просмотр");
    if (!Title.isEmpty())
        caption += QStringLiteral(" - ") + Title;
    if (PreviewOpener)
        PreviewOpener(*this, caption, ModalPreview);
}

void TfrReport::PrintPreparedReport(const QString &pageList, int copies)
{
    Cancelled = false;
    PrintPageList = pageList;
    PrintCopies = copies;
    const auto clear = qScopeGuard([this] { Cancelled = false; });
    if (OnProgress || !ShowProgress) {
        DoPrintReport();
        return;
    }
    TfrBuildState &st = BuildState();
    st.FirstCaption = QStringLiteral("Печатается страница:");
    ReportProgress().Execute(*this, JobCaption(Title), st.FirstCaption, [this] {
        DoPrintReport();
        ReportProgress().Close(true);
    });
}

void TfrReport::DoPrintReport()
{
    TPrinterDevice *printer = ReportPrinter();
    if (!printer)
        return;
    TPrintRequest request;
    request.Title = Title;
    request.PageList = PrintPageList;
    request.Copies = PrintCopies;
    request.Cancelled = &Cancelled;
    request.Progress = [this](int page) { ShowProgressText(page); };
    PrintPreparedPages(PreparedPages, *printer, request);
}

void TfrReport::EditPreparedPage(int pageIndex)
{
    TfrReportDesigner *first = ReportDesigner();
    if (!first || pageIndex < 0 || pageIndex >= PreparedPages.Count())
        return;
    const QString firstName = first->ComponentName();
    first->SetComponentName(firstName + QStringLiteral("__"));
    std::unique_ptr<TfrReportDesigner> second = first->CreateAnother();
    Engine().ReportDesignerInstance = second.get();
    TfrStream kept;
    SaveToStream(kept);
    TfrPreparedPage &prepared = PreparedPages[pageIndex];
    // The template comes back from the stream and the first designer comes
    // back in every case, also after an error inside the designer.
    const auto restore = qScopeGuard([&] {
        prepared.PageModel.reset();
        TemplatePages.Clear();
        kept.Seek(0);
        try {
            LoadFromStream(kept);
        } catch (const Exception &) {
        }
        second.reset();
        Engine().ReportDesignerInstance = first;
        first->SetComponentName(firstName);
    });
    TemplatePages.Clear();
    PreparedPages.BuildPageModel(pageIndex);
    TemplatePages.Adopt(std::move(prepared.PageModel));
    SetCurrentDocument(this);
    second->Page = &TemplatePages.GetPage(0);
    second->ShowModal();
    EngineMode = 1;
    if (second->Modified
        && ShowMessageBox(QStringLiteral("Сохранить изменения?"), QStringLiteral("Подтверждение"),
                          mb::YesNo | mb::IconQuestion)
               == idYes) {
        prepared.PageModel = TemplatePages.Release(0);
        PreparedPages.StorePageModel(pageIndex);
    }
}

void TfrReport::ExportText(int x, int y, TfrView &view, const QString &text)
{
    if (ActiveExportFilter)
        ActiveExportFilter->AddText(x, y, &view, text);
}

void TfrReport::ExportObject(TfrView &view)
{
    if (ActiveExportFilter)
        ActiveExportFilter->AddObject(view.Left, view.Top, &view);
}

void TfrReport::ExportTo(TfrExportFilterClass filterClass, const QString &fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EFCreateError(QStringLiteral("Cannot create file %1").arg(fileName));
    std::unique_ptr<TfrExportFilter> filter = filterClass(file);
    ActiveExportFilter = filter.get();
    const auto release = qScopeGuard([this] { ActiveExportFilter = nullptr; });
    filter->BeginDocument();
    TfrEngine &e = Engine();
    TfrBuildState &st = BuildState();
    SetCurrentDocument(this);
    e.CurrentReport = this;
    st.OutputReport = this;
    e.TotalPagesCount = PreparedPages.Count();
    st.FirstCaption = QStringLiteral("Формируется страница:");
    std::exception_ptr failure;
    // Cancel is not asked: every page is exported.
    ReportProgress().Execute(*this, JobCaption(Title), ProgressLine(1), [&] {
        try {
            PumpMessages();
            for (int i = 0; i < PreparedPages.Count(); ++i) {
                filter->BeginPage();
                PreparedPages.ExportPage(i);
                ReportProgress().SetText(ProgressLine(i + 1));
                PumpMessages();
                filter->EndPage();
            }
            filter->EndDocument();
        } catch (...) {
            failure = std::current_exception();
        }
        ReportProgress().Close(true);
    });
    if (failure)
        std::rethrow_exception(failure);
    filter->Finish();
    if (!file.commit())
        throw EFCreateError(QStringLiteral("Cannot create file %1").arg(fileName));
}

// ---------------------------------------------------------------- composite

void TfrCompositeReport::BuildReport()
{
    TfrEngine &e = Engine();
    TfrBuildState &st = BuildState();
    Rebuildable = true;
    e.CurrentPageIndex = 0;
    if (OnBeginDoc)
        OnBeginDoc();
    for (std::size_t i = 0; i < Reports.size(); ++i) {
        TfrReport *next = i + 1 < Reports.size() ? Reports[i + 1] : nullptr;
        const bool appends = next && next->TemplatePages.Count() > 0 && next->TemplatePages.GetPage(0).PrintOnPreviousSheet;
        st.NextReportAppends = appends;
        Reports[i]->BuildReport();
        st.AppendToSheet = appends;
        st.NextReportAppends = false;
        if (Cancelled)
            break;
    }
    if (OnEndDoc)
        OnEndDoc();
}
