#pragma once
// The texts a built report prints, and a stand-in for the preview window that
// keeps them: what a window's "Печать" showed, without a window.
#include "report/report.h"
#include "report/template_file.h"
#include "report/text_object.h"

#include <QtCore/QStringList>

#include <memory>

// The text objects of every prepared sheet, in order, their lines joined by '|'.
inline QStringList PreparedTexts(TfrReport &report)
{
    QStringList texts;
    for (int i = 0; i < report.PreparedPages.Count(); ++i)
        ForEachPreparedObject(report.PreparedPages[i].Stream, [&texts](std::unique_ptr<TfrView> view) {
            if (view->ReportObjectType == 0)
                texts << view->Lines.join(u'|').remove(ParagraphMark);
        });
    return texts;
}

// Installed as the preview opener while it lives.
struct TPreviewCapture
{
    TPreviewCapture()
    {
        SetPreviewOpener([this](TfrReport &report, const QString &, bool) {
            ++Shown;
            Texts = PreparedTexts(report);
        });
    }
    ~TPreviewCapture() { SetPreviewOpener(nullptr); }
    TPreviewCapture(const TPreviewCapture &) = delete;
    TPreviewCapture &operator=(const TPreviewCapture &) = delete;

    int Shown = 0;
    QStringList Texts;
};
