#pragma once
// The part of a report that its objects and files meet: the template pages,
// the prepared pages, the template's settings, the load and save operations
// of templates (*.frf, *.frt) and prepared reports (*.frp), and the hooks
// through which objects reach the build (value texts, highlight conditions,
// scripts, the host's enter-rectangle step, the active export filter). The
// report component derives from it.
#include "report/report_base.h"
#include "report/report_objects.h"
#include "report/template_file.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

// A report file that cannot be read; the message names the file. The report
// keeps what it held before.
class EReportFileError : public Exception
{
public:
    using Exception::Exception;
};

class TfrReportDocument : public TfrReportBase
{
public:
    TfrReportDocument() = default;

    TfrPages TemplatePages{this};
    TfrEMFPages PreparedPages;
    bool UseDefaultPrinter = true;
    bool TwoPassBuild = false;
    // False for a report opened from a prepared-report file.
    bool Rebuildable = true;
    QString Title;
    // Whether the template travels inside the host's form description (the
    // "ReportForm" property); the program's hosts load theirs from files.
    bool StoreInDFM = false;

    // The object of that name on any template page, ignoring case.
    virtual TfrView *FindObject(const QString &name) const;

    // Templates. Loading replaces the pages, bindings and variables only when
    // the whole file was read; any damage is an EReportFileError naming it.
    void LoadFromFile(const QString &fileName);
    void SaveToFile(const QString &fileName);
    void LoadFromStream(TfrStream &stream);
    void SaveToStream(TfrStream &stream);
    // Prepared reports.
    void LoadPreparedReport(const QString &fileName);
    void SavePreparedReport(const QString &fileName);
    // Templates with a description and a picture (BMP bytes). With full
    // false only the description and the picture are read.
    void SaveTemplateFile(const QString &fileName, const QStringList &description, const QByteArray &picture);
    void LoadTemplateFile(const QString &fileName, QStringList &description, bool full, QByteArray &picture);

    // The "ReportForm" property: i32 23, then, with StoreInDFM, the
    // template's size and bytes.
    void WriteReportForm(TfrStream &stream);
    void ReadReportForm(TfrStream &stream);

    // The printer a template or prepared report names is taken when the
    // report does not use the default printer and it is installed.
    virtual void SelectPrinterByName(const QString &name);
    // Switches the printer model to another printer; every page takes its
    // paper again. On failure the old printer comes back and false is returned.
    bool ChangePrinter(int oldIndex, int newIndex);

    // Hooks of the build; the defaults serve a report without a host.
    virtual bool HasEnterRectHandler() const { return false; }
    // The host's last word on an object's text before it is printed; a
    // large-object field's content goes into the object first. The report
    // component adds the host's handler.
    virtual void EnterRect(QStringList &lines, TfrView &view);
    // Compiles and runs the object's script (compile errors go to the
    // engine's scratch lines and nothing runs).
    virtual void RunObjectScript(TfrView &view);
    // The printed text of a bracket's content.
    virtual QString FormattedValue(const QString &expression, TfrView &view) { return GetFormattedValue(expression); }
    // True when the condition's value is not the integer 0.
    virtual bool ConditionHolds(const QString &condition, TfrView &view);
    virtual void ExportText(int x, int y, TfrView &view, const QString &text) {}
    virtual void ExportObject(TfrView &view) {}

private:
    void ReadTemplateBody(TfrStream &stream);
    // Reads tagged records up to the end; true when the bindings came.
    bool ReadTemplateRecords(TfrStream &stream, TfrPages &pages, TfrValues &bindings, QStringList &variables);
    void WriteTemplateBody(TfrStream &stream);
    // Pages being read, which generated names must also avoid.
    const TfrPages *m_readingPages = nullptr;
};

// The report of the running engine when it is one of these (objects reach
// their report through it), else nullptr.
TfrReportDocument *CurrentDocument();
void SetCurrentDocument(TfrReportDocument *report);
