#pragma once
// A report of the form "Form1" with one database data set "Orders"
// (fields "Num", "Client", "Sum"), registered with a running engine.
#include "report/engine.h"
#include "report/report.h"

#include <memory>
#include <vector>

class TFixtureField : public TField
{
public:
    TFixtureField(QString name, int width) : m_name(std::move(name)), m_width(width) {}
    QString FieldName() const override { return m_name; }
    int DataType() const override { return ftString; }
    Variant Value() const override { return Variant::Null(); }
    int DisplayWidth() const override { return m_width; }

private:
    QString m_name;
    int m_width;
};

class TFixtureDataSet : public TDataSet
{
public:
    TFixtureDataSet()
    {
        Name = QStringLiteral("Orders");
        m_fields.push_back(std::make_unique<TFixtureField>(QStringLiteral("Num"), 5));
        m_fields.push_back(std::make_unique<TFixtureField>(QStringLiteral("Client"), 0));
        m_fields.push_back(std::make_unique<TFixtureField>(QStringLiteral("Sum"), 300));
    }
    bool Active() const override { return true; }
    void Open() override {}
    void Close() override {}
    void First() override {}
    void Next() override {}
    bool Eof() const override { return true; }
    QByteArray GetBookmark() const override { return {}; }
    void GotoBookmark(const QByteArray &) override {}
    TField *FindField(const QString &name) const override
    {
        for (const auto &f : m_fields)
            if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0)
                return f.get();
        return nullptr;
    }
    QStringList FieldNames() const override
    {
        QStringList names;
        for (const auto &f : m_fields)
            names << f->FieldName();
        return names;
    }

private:
    std::vector<std::unique_ptr<TFixtureField>> m_fields;
};

struct TDesignerFixture
{
    TfrEngineScope Engine_;
    TfrReport Report;
    TFixtureDataSet Orders;

    TDesignerFixture()
    {
        Report.OwnerName = QStringLiteral("Form1");
        Engine().Components.Register(QStringLiteral("Form1"), &Orders);
        Engine().CurrentReport = &Report;
    }
    ~TDesignerFixture() { Engine().CurrentReport = nullptr; }
};
