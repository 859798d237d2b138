#pragma once
// The report component that every printing window carries: it holds a
// template, builds it into prepared pages (report_build.cpp), previews,
// prints and hands pages to the designer. The host answers values, data and
// page hooks through its events. Also here: the designer as the engine knows
// it, the composite report, the progress of long jobs, and the state a build
// shares across pages and reports.
#include "report/export_filters.h"
#include "report/report_document.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <functional>
#include <memory>
#include <vector>

class TfrBand;
class TfrExportFilter;
class TfrPage;
class TfrReport;
class TPrinterDevice;

enum TfrReportType { rtSimple = 0, rtMultiple = 1 };

// A long job (build, print) runs inside a modal progress window that shows one
// line of text and a Cancel button; Cancel only sets the report's Cancelled.
class TfrProgress
{
public:
    virtual ~TfrProgress() = default;
    // Shows the window, runs the job inside it and returns true when the job
    // closed it with OK. An exception of the job reaches the caller after
    // the window has closed.
    virtual bool Execute(TfrReport &report, const QString &caption, const QString &text,
                         const std::function<void()> &job) = 0;
    virtual bool IsShown() const = 0;
    virtual void SetText(const QString &text) = 0;
    // Ends the running job's window with OK or Cancel; nothing when none runs.
    virtual void Close(bool ok) = 0;
    // Lets the window's Cancel be clicked while a loop runs.
    virtual void Pump() = 0;
};

// Without a window: runs the job at once and keeps the texts it was given,
// so that a program without windows (and the tests) see what would be shown.
class TfrHeadlessProgress : public TfrProgress
{
public:
    bool Execute(TfrReport &report, const QString &caption, const QString &text,
                 const std::function<void()> &job) override;
    bool IsShown() const override { return m_report != nullptr; }
    void SetText(const QString &text) override;
    void Close(bool ok) override { m_closedOk = ok; }
    void Pump() override;

    QStringList Captions;
    QStringList Texts;
    // Called at every pump; a test may press Cancel from here.
    std::function<void(TfrReport &)> OnPump;

private:
    TfrReport *m_report = nullptr;
    bool m_closedOk = true;
};

// The progress window in force (a headless one until the program installs its
// dialog); returns the previous one.
TfrProgress &ReportProgress();
TfrProgress *SetReportProgress(TfrProgress *progress);

// The preview window opener that the program installs: (report, caption,
// modal). Without one ShowPreparedReport opens nothing.
using TPreviewOpener = std::function<void(TfrReport &report, const QString &caption, bool modal)>;
void SetPreviewOpener(TPreviewOpener opener);

// Told when a report is destroyed, so that a modeless preview showing it
// lets it go.
void SetReportDestroyedHook(std::function<void(TfrReport *)> hook);

// The printer that print jobs go to (the program's, or a test's); without
// one the printer model's own device is used.
void SetReportPrinter(TPrinterDevice *printer);
TPrinterDevice *ReportPrinter();

// The designer form as the engine knows it (through the engine's
// ReportDesignerInstance). The designer of the program implements it.
class TfrReportDesigner : public TfrDesignerTools
{
public:
    // The template page being edited.
    TfrPage *Page = nullptr;
    // The template was changed.
    bool Modified = false;

    virtual void AddObjectButton(const QVariant &bitmap, const QString &hint, int tag) = 0;
    virtual void RecordUndoModify() = 0;
    virtual void RedrawSelection() = 0;
    virtual void ShowModal() = 0;
    virtual QString ComponentName() const = 0;
    virtual void SetComponentName(const QString &name) = 0;
    // A second form of the same class, for editing a prepared page.
    virtual std::unique_ptr<TfrReportDesigner> CreateAnother() const = 0;
};
// The linked designer, or nullptr.
TfrReportDesigner *ReportDesigner();

// The state a build shares across template pages and the reports of a
// composite report; it lives in the engine.
class TfrBuildState : public TfrEngineExtension
{
public:
    // The report whose prepared pages receive output; its Cancelled stops every loop.
    TfrReport *OutputReport = nullptr;
    // The next template page continues on the current sheet.
    bool AppendToSheet = false;
    // A composite report's next report starts on this one's last sheet.
    bool NextReportAppends = false;
    // The cursor and limit of the last sheet, for appending.
    int SavedCursorY = 0;
    int SavedLimitY = 0;
    // The page footer was already printed on the last sheet.
    bool LastFooterPrinted = false;
    // Objects told about every text object printed.
    std::vector<TfrView *> ObserverObjects;
    // The first part of the progress line.
    QString FirstCaption;
};
TfrBuildState &BuildState();
// Lets the progress window's Cancel be clicked.
void PumpMessages();

using TBeginPageEvent = std::function<void(int pg, QStringList &masterMemo, QStringList &detailMemo, QStringList &subDetailMemo)>;
using TEnterRectEvent = std::function<void(QStringList &memo, TfrView &view)>;
using TBeginColumnEvent = std::function<void(TfrBand &band)>;
using TPrintColumnEvent = std::function<void(int colNo, int &width)>;
using TManualBuildEvent = std::function<void(TfrPage &page)>;

class TfrReport : public TfrReportDocument
{
public:
    TfrReport();
    ~TfrReport() override;

    // Master record source for rtMultiple and for a master-data band without
    // its own source; not owned.
    TfrDataset *Dataset = nullptr;
    bool GrayedButtons = false;
    TfrReportType ReportType = rtSimple;
    bool ShowProgress = true;
    bool ModalPreview = true;

    std::function<void()> OnBeginDoc;
    std::function<void()> OnEndDoc;
    TBeginPageEvent OnBeginPage;
    // Receives 1 for every template page.
    std::function<void(int pg)> OnEndPage;
    TEnterRectEvent OnEnterRect;
    // In place of the progress window: the page number reached.
    std::function<void(int n)> OnProgress;
    TBeginColumnEvent OnBeginColumn;
    TPrintColumnEvent OnPrintColumn;
    TManualBuildEvent OnManualBuild;

    QString PrintPageList;
    int PrintCopies = 1;
    TfrPage *FormingPage = nullptr;
    bool LastPass = false;

    void Notification(TfrComponent *removed) override;

    // Opens the designer on the template (adding an empty page when it has none).
    void DesignReport();
    // Builds the prepared pages; false only when the user cancelled the
    // progress window of a one-pass build.
    bool PrepareReport();
    // Builds, then previews, or shows the expression error and drops the pages.
    void ShowReport();
    // After a build: true when an expression failed; its error is then shown
    // as ShowReport shows it and the pages are dropped. Every command that
    // builds and then prints or previews asks this, so that none fails mutely.
    bool ShowBuildError();
    void ShowPreparedReport();
    // An empty page list prints all; copies below 1 count as 1.
    void PrintPreparedReport(const QString &pageList, int copies);
    // Edits one prepared page (0-based) in a second designer.
    void EditPreparedPage(int pageIndex);
    // Writes the prepared pages into a new file through a filter of that
    // class. A file that cannot be created raises before anything is shown;
    // the file replaces an old one only when the whole export was written.
    void ExportTo(TfrExportFilterClass filterClass, const QString &fileName);
    // The filter while ExportTo runs, else nullptr.
    TfrExportFilter *ActiveExportFilter = nullptr;

    // The variable names of the index-th category (0-based); empty when there is none.
    void GetCategoryVariables(int index, QStringList &list) const;
    void GetCategories(QStringList &list) const;
    // Index of the line " " + name (exact); -1 when none.
    int FindVariable(const QString &name) const;

    // The build loop over the template pages.
    virtual void BuildReport();
    bool DoPrepareReport();
    void DoBuildReport();
    void ShowProgressText(int n);
    // The progress window's line for page number n.
    QString ProgressLine(int n) const;

    bool HasEnterRectHandler() const override { return bool(OnEnterRect); }
    void EnterRect(QStringList &lines, TfrView &view) override;
    void ExportText(int x, int y, TfrView &view, const QString &text) override;
    void ExportObject(TfrView &view) override;

protected:
    // Binds the data-field value bindings to their data sets.
    void BindValueFields();

private:
    void DoPrintReport();
    bool m_secondPass = false;
    bool m_firstPassCancelled = false;
};

// Builds several reports into one set of prepared pages.
class TfrCompositeReport : public TfrReport
{
public:
    std::vector<TfrReport *> Reports; // not owned
    void BuildReport() override;
};
