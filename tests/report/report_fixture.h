#pragma once
// A report for object tests: bracket values from a table, highlight
// conditions that hold when they read "1", and a log of what reaches the
// export filter. Text is measured with a fixed advance of 6 pixels.
#include "report/report_document.h"

#include <QtCore/QMap>

#include <gtest/gtest.h>

class TObjectsTestReport : public TfrReportDocument
{
public:
    QMap<QString, QString> Values;
    std::vector<TfrView *> Objects;
    struct TExported
    {
        int X;
        int Y;
        QString Text;
    };
    std::vector<TExported> ExportedTexts;
    int ExportedObjects = 0;
    std::function<void(QStringList &, TfrView &)> OnEnterRect;

    TfrView *FindObject(const QString &name) const override
    {
        for (TfrView *view : Objects)
            if (view->Name.compare(name, Qt::CaseInsensitive) == 0)
                return view;
        return nullptr;
    }
    bool HasEnterRectHandler() const override { return bool(OnEnterRect); }
    void EnterRect(QStringList &lines, TfrView &view) override
    {
        if (OnEnterRect)
            OnEnterRect(lines, view);
    }
    QString FormattedValue(const QString &expression, TfrView &) override
    {
        return Values.value(expression, QStringLiteral("?") + expression);
    }
    bool ConditionHolds(const QString &condition, TfrView &) override { return condition == QStringLiteral("1"); }
    void ExportText(int x, int y, TfrView &, const QString &text) override { ExportedTexts.push_back({x, y, text}); }
    void ExportObject(TfrView &) override { ++ExportedObjects; }
};

// Installs the test report and a fixed-advance work canvas for one test.
class ReportObjects : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Measure.CharWidth = 6;
        SetWorkCanvas(&Measure);
        SetCurrentDocument(&Report);
        EngineMode = 1;
        FirstPassRunning = false;
    }
    void TearDown() override
    {
        SetWorkCanvas(nullptr);
        SetCurrentDocument(nullptr);
        EngineMode = 0;
    }

    TfrEngineScope EngineScope;
    TRecordingCanvas Measure;
    TObjectsTestReport Report;
};
