#pragma once
// The report engine's shared state: one evaluator, one script runner with its
// variables, the registries and the state of the build in progress. It lives in
// one engine context with an explicit start-up and shutdown, so that every
// program that links the engine (Tunvex and the journal plug-in) starts its own.
//
// The build (report objects, bands, pages) meets this layer through the small
// interfaces below, which its classes implement. Before a build the report
// calls AttachParser (so names and functions reach it), points StopRequested
// at its cancelled flag, and keeps CurrentObject, CurrentBand, AggregateBand,
// CurrentRunPage, CurrentPageIndex, TotalPagesCount and CrossPrinting up to
// date while it forms pages.
#include "platform/exceptions.h"
#include "report/expression.h"
#include "report/values.h"

#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>
#include <functional>
#include <memory>
#include <vector>

class TfrComponent;
class TfrDataset;
class TfrFunctionLibrary;
class TInterpretator;
class TfrReportBase;

// A class or component name that could not be found: an add-in class of a
// template that no library registered, or a component a template names.
class EClassNotFound : public Exception
{
public:
    using Exception::Exception;
};

// A report object as scripts see it. Property indexes are those of
// ScriptPropertyNames; 10 to 14 exist on text objects only.
class TfrScriptObject
{
public:
    virtual ~TfrScriptObject() = default;
    virtual QString ObjectName() const = 0;
    virtual bool IsBandObject() const = 0;
    virtual bool IsTextObject() const = 0;
    // For a band object, Left, Top, Width, Height and Visible are those of its
    // run-time band; integers, Visible a Boolean, FontName a text.
    virtual Variant ReadScriptProperty(int index) const = 0;
    virtual void WriteScriptProperty(int index, const Variant &value) = 0;
    // The object's display format and pattern text (formatting of its brackets).
    virtual std::int32_t ValueFormatCode() const = 0;
    virtual QString ValueFormatText() const = 0;
};

// Band kinds.
enum TfrBandKind {
    btReportTitle = 0, btReportSummary = 1, btPageHeader = 2, btPageFooter = 3,
    btMasterHeader = 4, btMasterData = 5, btMasterFooter = 6,
    btDetailHeader = 7, btDetailData = 8, btDetailFooter = 9,
    btSubDetailHeader = 10, btSubDetailData = 11, btSubDetailFooter = 12,
    btOverlay = 13, btColumnHeader = 14, btColumnFooter = 15,
    btGroupHeader = 16, btGroupFooter = 17,
    btCrossHeader = 18, btCrossData = 19, btCrossFooter = 20, btNone = 21,
};

// The run-time band as values, scripts and aggregates see it.
class TfrBandState
{
public:
    virtual ~TfrBandState() = default;
    // The name of the band object that configured the band.
    virtual QString BandName() const = 0;

    int Kind = btNone;
    bool Visible = true;
    QStringList Aggregates; // "key=value" entries of the aggregate functions
    int AggregateCount = 0;
    bool NewPageRequested = false;
    int LineNumber = 1;
    int LineThroughNumber = 1;
    TfrDataset *RecordSource = nullptr;
};

// The page being formed.
class TfrPageState
{
public:
    virtual ~TfrPageState() = default;
    virtual int ColumnNumber() const = 0;
    virtual int CurrentLineNumber() const = 0;
    // Vertical space left on the sheet (limit minus cursor).
    virtual int FreeSpace() const = 0;
    // A run-time object of the page by name, ignoring case; nullptr when none.
    virtual TfrScriptObject *FindRunObject(const QString &name) = 0;
    // The first data band of the page of a kind (5, 8, 11 or 19); nullptr when none.
    virtual TfrBandState *DataBand(int kind) = 0;
};

// Where hosts register the components that templates name: "Comp" is looked
// up on the form that owns the report, "Form.Comp" on the named form.
class TfrComponentDirectory
{
public:
    void Register(const QString &form, TfrComponent *component); // not owned
    void Unregister(TfrComponent *component);
    bool HasForm(const QString &form) const;
    TfrComponent *Find(const QString &form, const QString &name) const;
    struct TEntry
    {
        QString Form;
        TfrComponent *Component;
    };
    // In registration order.
    const std::vector<TEntry> &Entries() const { return m_entries; }

private:
    std::vector<TEntry> m_entries;
};

// A designer wizard item; the bitmap is whatever the ui layer puts there.
struct TfrToolsInfo
{
    QString Caption;
    QVariant Bitmap;
    std::function<void()> OnClick;
};

// The designer as the registries see it.
class TfrDesignerTools
{
public:
    virtual ~TfrDesignerTools() = default;
    virtual void AddToolItem(const QString &caption, const QVariant &bitmap, const std::function<void()> &onClick) = 0;
};

// State that the output layer (objects, progress, filters) keeps in the
// engine; freed at shutdown after this layer's own objects.
class TfrEngineExtension
{
public:
    virtual ~TfrEngineExtension() = default;
};

class TfrEngine
{
public:
    TfrEngine();
    ~TfrEngine();
    TfrEngine(const TfrEngine &) = delete;
    TfrEngine &operator=(const TfrEngine &) = delete;

    QStringList ScratchLines; // compile errors of object scripts and other work lines
    int DefaultCharset = 1;

    QStringList BandTypeNames;     // 22, by band kind
    QStringList SpecialValueNames; // 9, by special value index
    QStringList BooleanFormats;    // 4
    QStringList DateFormats;       // 4
    QStringList TimeFormats;       // 4

    TParser ReportParser;
    std::unique_ptr<TInterpretator> ReportInterpreter;
    TfrVariables ScriptVariables;
    std::vector<std::unique_ptr<TfrFunctionLibrary>> FunctionLibraryRegistry;
    std::vector<TfrToolsInfo> DesignerToolRegistry;
    TfrDesignerTools *ReportDesignerInstance = nullptr;
    TfrComponentDirectory Components;
    std::unique_ptr<TfrEngineExtension> Extension;

    // Value resolution.
    QString ResolutionGuard;
    Variant LastValue;
    QStringList ResolvingBindings; // bindings being evaluated, against cycles

    // The build in progress.
    TfrReportBase *CurrentReport = nullptr;
    TfrScriptObject *CurrentObject = nullptr;
    TfrBandState *CurrentBand = nullptr;
    TfrBandState *AggregateBand = nullptr;
    TfrPageState *CurrentRunPage = nullptr;
    int CurrentPageIndex = 0;
    int TotalPagesCount = 0;
    bool CrossPrinting = false;
    bool ExpressionError = false;
    QString ExpressionErrorText;

    // Asked now and then while a script runs; true stops it. The build points
    // it at its cancelled flag (pumping the message queue first, so that the
    // progress dialog's Cancel can be clicked).
    std::function<bool()> StopRequested;
    // The INPUT function's box: (caption, prompt, default text) -> typed text.
    // The ui installs a real input box; without one the default text is taken.
    std::function<QString(const QString &, const QString &, const QString &)> InputBox;
};

// The running engine; raises when none was started.
TfrEngine &Engine();
bool EngineRunning();
// Start-up makes the engine and registers the standard function library;
// shutdown frees it. Both once per program (tests may repeat the pair).
void EngineStartup();
void EngineShutdown();

// Start-up and shutdown around a scope (tests, the plug-in's window).
class TfrEngineScope
{
public:
    TfrEngineScope() { EngineStartup(); }
    ~TfrEngineScope() { EngineShutdown(); }
};
