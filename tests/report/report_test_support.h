#pragma once
// Shared helpers of the report engine's tests: printing of values, a small
// in-memory database data set, and stand-ins for the run-time band, page and
// object that the build provides.
#include "report/dataset.h"
#include "report/engine.h"
#include "report/interpreter.h"
#include "report/report_base.h"
#include "report/variant.h"

#include <map>
#include <ostream>

// Lets GoogleTest print values in its failure messages.
inline void PrintTo(const Variant &value, std::ostream *os)
{
    *os << VarTypeName(value.type()).toStdString() << "(" << value.ToString().toStdString() << ")";
}

// Rows of named values; the bookmark is the row number.
class TMemoryDataSet : public TDataSet
{
public:
    class TMemoryField : public TField
    {
    public:
        TMemoryField(const TMemoryDataSet *owner, QString name, int column)
            : m_owner(owner), m_name(std::move(name)), m_column(column)
        {
        }
        QString FieldName() const override { return m_name; }
        int DataType() const override { return ftFloat; }
        Variant Value() const override
        {
            if (m_owner->Row < 0 || m_owner->Row >= static_cast<int>(m_owner->Rows.size()))
                return Variant::Null();
            return m_owner->Rows[m_owner->Row][m_column];
        }

    private:
        const TMemoryDataSet *m_owner;
        QString m_name;
        int m_column;
    };

    TMemoryDataSet(const QString &name, const QStringList &fields, std::vector<std::vector<Variant>> rows)
        : Rows(std::move(rows))
    {
        Name = name;
        for (int i = 0; i < fields.size(); ++i)
            m_fields.push_back(std::make_unique<TMemoryField>(this, fields[i], i));
    }

    bool Active() const override { return IsOpen; }
    void Open() override { IsOpen = true; }
    void Close() override { IsOpen = false; }
    void First() override { Row = 0; }
    void Next() override
    {
        if (Row < static_cast<int>(Rows.size()))
            ++Row;
    }
    bool Eof() const override { return Row >= static_cast<int>(Rows.size()); }
    QByteArray GetBookmark() const override { return QByteArray::number(Row); }
    void GotoBookmark(const QByteArray &bookmark) override { Row = bookmark.toInt(); }
    TField *FindField(const QString &name) const override
    {
        for (const auto &f : m_fields)
            if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0)
                return f.get();
        return nullptr;
    }

    std::vector<std::vector<Variant>> Rows;
    int Row = 0;
    bool IsOpen = false;

private:
    std::vector<std::unique_ptr<TMemoryField>> m_fields;
};

class TFakeBand : public TfrBandState
{
public:
    TFakeBand(QString name, int kind) : m_name(std::move(name)) { Kind = kind; }
    QString BandName() const override { return m_name; }

private:
    QString m_name;
};

// A report object with properties in a table; text objects have all 15.
class TFakeObject : public TfrScriptObject
{
public:
    TFakeObject(QString name, bool text = true, bool band = false) : m_name(std::move(name)), m_text(text), m_band(band)
    {
        Properties[spVisible] = Variant(true);
        Properties[spFontName] = Variant(QStringLiteral("Arial"));
    }
    QString ObjectName() const override { return m_name; }
    bool IsBandObject() const override { return m_band; }
    bool IsTextObject() const override { return m_text; }
    Variant ReadScriptProperty(int index) const override
    {
        auto it = Properties.find(index);
        return it == Properties.end() ? Variant(0) : it->second;
    }
    void WriteScriptProperty(int index, const Variant &value) override { Properties[index] = value; }
    std::int32_t ValueFormatCode() const override { return Format; }
    QString ValueFormatText() const override { return Pattern; }

    std::map<int, Variant> Properties;
    std::int32_t Format = FormatCode::Default();
    QString Pattern;

private:
    QString m_name;
    bool m_text;
    bool m_band;
};

class TFakePage : public TfrPageState
{
public:
    int ColumnNumber() const override { return Column; }
    int CurrentLineNumber() const override { return CurrentLine; }
    int FreeSpace() const override { return Free; }
    TfrScriptObject *FindRunObject(const QString &name) override
    {
        for (TFakeObject *o : Objects)
            if (o->ObjectName().compare(name, Qt::CaseInsensitive) == 0)
                return o;
        return nullptr;
    }
    TfrBandState *DataBand(int kind) override
    {
        auto it = DataBands.find(kind);
        return it == DataBands.end() ? nullptr : it->second;
    }

    int Column = 1;
    int CurrentLine = 1;
    int Free = 0;
    std::vector<TFakeObject *> Objects;
    std::map<int, TfrBandState *> DataBands;
};

class TTestReport : public TfrReportBase
{
};

// A started engine with a report attached to its evaluator, and a page.
class TEngineFixture
{
public:
    TEngineFixture()
    {
        Report.Name = QStringLiteral("frReport1");
        Report.OwnerName = QStringLiteral("frmHost");
        Report.AttachParser();
        Engine().CurrentRunPage = &Page;
    }

    TfrEngineScope Scope;
    TTestReport Report;
    TFakePage Page;
};
