#pragma once
// Templates made in code for the build tests, and a dump of the prepared
// pages: each sheet object by object (kind, place and size in design pixels,
// printed lines). Text is measured with a fixed advance of 6 pixels, so a
// 10-point line is 15 pixels high and a one-line text object 17.
#include "report/report.h"
#include "report/report_page.h"
#include "report/text_object.h"
#include "template_in_code.h"

#include <gtest/gtest.h>

struct TDumpedObject
{
    QString Kind; // "memo", "picture", "band", "subreport", "line"
    int Left, Top, Width, Height;
    QString Text; // printed lines joined by "|"
};

inline std::vector<TDumpedObject> DumpSheet(TfrEMFPages &pages, int index)
{
    static const char *const kinds[] = {"memo", "picture", "band", "subreport", "line"};
    std::vector<TDumpedObject> objects;
    ForEachPreparedObject(pages[index].Stream, [&](std::unique_ptr<TfrView> view) {
        QStringList lines = view->Lines;
        for (QString &line : lines)
            line.remove(ParagraphMark);
        const int type = view->ReportObjectType;
        objects.push_back({type < 5 ? QString::fromLatin1(kinds[type]) : QStringLiteral("addin"), view->Left, view->Top,
                           view->Width, view->Height, lines.join(u'|')});
    });
    return objects;
}

// The printed texts of a sheet, in output order.
inline QStringList SheetTexts(TfrEMFPages &pages, int index)
{
    QStringList texts;
    for (const TDumpedObject &object : DumpSheet(pages, index))
        if (object.Kind == QLatin1String("memo"))
            texts << object.Text;
    return texts;
}

// Every sheet's texts, sheet after sheet, each sheet "a,b,c".
inline QStringList AllSheetTexts(TfrEMFPages &pages)
{
    QStringList sheets;
    for (int i = 0; i < pages.Count(); ++i)
        sheets << SheetTexts(pages, i).join(u',');
    return sheets;
}

class ReportBuild : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Measure.CharWidth = 6;
        SetWorkCanvas(&Measure);
        Report.Name = QStringLiteral("frReport1");
        Report.OwnerName = QStringLiteral("frmHost");
        Report.ShowProgress = false;
        m_previous = SetReportProgress(&Progress);
    }
    void TearDown() override
    {
        SetReportProgress(m_previous);
        SetWorkCanvas(nullptr);
        EngineMode = 0;
        FirstPassRunning = false;
    }

    TfrPage &Page(int index = 0)
    {
        while (Report.TemplatePages.Count() <= index)
            Report.TemplatePages.Add();
        return Report.TemplatePages.GetPage(index);
    }

    static TfrBandView &Band(TfrPage &page, int kind, int top, int height, const QString &source = {},
                             std::uint16_t flagWord = 0, const QString &name = {})
    {
        return AddBand(page, kind, top, height, source, flagWord, name);
    }

    static TfrMemoView &Memo(TfrPage &page, int left, int top, int width, int height, const QString &text)
    {
        return AddMemo(page, left, top, width, height, text);
    }

    TRecordingCanvas Measure;
    TfrEngineScope Scope;
    TfrHeadlessProgress Progress;
    TfrReport Report;

private:
    TfrProgress *m_previous = nullptr;
};
