#pragma once
// Services that the engine and the designer share: function libraries and
// their registry, the lookup of components and data fields by the names
// templates contain, and the record source named in a band.
#include "report/dataset.h"
#include "report/engine.h"

#include <QtCore/QStringList>
#include <memory>

// A component of another class than the one a template expects.
class EInvalidCast : public Exception
{
public:
    using Exception::Exception;
};

class TfrFunctionLibrary
{
public:
    virtual ~TfrFunctionLibrary() = default;
    // Upper-case names, sorted; the index is the function number.
    QStringList FunctionNames;
    // Computes the function when the name is one of ours.
    bool HandleFunction(const QString &name, const Variant &p1, const Variant &p2, const Variant &p3, QString &val);
    virtual void Execute(int fno, const Variant &p1, const Variant &p2, const Variant &p3, QString &val) = 0;
};

// FORMATDATETIME, FORMATFLOAT, INPUT, LOWERCASE, UPPERCASE, NAMECASE,
// STRTODATE, STRTOTIME and the aggregates SUM, MIN, MAX, AVG, COUNT.
class TfrStdFunctionLibrary : public TfrFunctionLibrary
{
public:
    TfrStdFunctionLibrary();
    void Execute(int fno, const Variant &p1, const Variant &p2, const Variant &p3, QString &val) override;
};

// Appends an instance to the engine's FunctionLibraryRegistry.
void RegisterFunctionLibrary(std::unique_ptr<TfrFunctionLibrary> library);
template <class TLibrary> void RegisterFunctionLibrary()
{
    RegisterFunctionLibrary(std::make_unique<TLibrary>());
}
// Appends a designer wizard item, and gives it to the designer when one exists.
void RegisterDesignerTool(const QString &caption, const QVariant &bitmap, const std::function<void()> &onClick);

// "Form.Component" on the named form, or a bare name on `owner`'s form.
TfrComponent *FindComponentByName(const QString &owner, const QString &name);
// A database data set of the current report's form; EInvalidCast for
// another class, nullptr when there is none.
TDataSet *FindDataSet(const QString &name);
// "Form.DataSet.Field", "DataSet.Field" (the field may be in double quotes)
// or a bare field of `dataSet`. A missing field raises in the dotted forms.
void FindDataSetField(const QString &name, TDataSet *&dataSet, TField *&field);
// Removes one leading and one trailing double quote when both are there.
QString StripQuotes(const QString &text);
// Names of the components of a class on every form: bare on `owner`, else
// "Form.Component". `skip` is left out.
template <class TClass>
void ListComponentsOfClass(const QString &owner, QStringList &list, const TfrComponent *skip = nullptr)
{
    list.clear();
    for (const auto &entry : Engine().Components.Entries()) {
        if (entry.Component == skip || !dynamic_cast<TClass *>(entry.Component))
            continue;
        if (entry.Form.compare(owner, Qt::CaseInsensitive) == 0)
            list.append(entry.Component->Name);
        else
            list.append(entry.Form + u'.' + entry.Component->Name);
    }
}

// The record source a band names: a number from 1 up is a counting source
// of that many records (created := true, the caller owns it); another name
// is a TfrDataset of the current report's form. Init is called on it.
TfrDataset *OpenBandDataSet(const QString &name, bool &created);
// The database data set of the data band governing the band being printed.
TDataSet *CurrentBandDataSet();

struct TFontStyles
{
    bool Italic = false;
    bool Bold = false;
    bool Underline = false;
};
// Bit 0 italic, bit 1 bold, bit 2 underline; higher bits ignored.
TFontStyles FontStyleFromCode(int code);
int FontStyleToCode(const TFontStyles &styles);
