#pragma once
// The report engine without windows, for the tests that build templates:
// texts are measured with a fixed advance of 6 pixels on a recording canvas
// and long jobs run at once. Declare it before the reports that it serves.
#include "platform/canvas.h"
#include "prepared_texts.h"
#include "report/engine.h"
#include "report/report.h"
#include "report/template_file.h"
#include "report/text_object.h"

class THeadlessReportEngine
{
public:
    THeadlessReportEngine()
    {
        Measure.CharWidth = 6;
        SetWorkCanvas(&Measure);
        m_previous = SetReportProgress(&Progress);
    }
    ~THeadlessReportEngine()
    {
        SetReportProgress(m_previous);
        SetWorkCanvas(nullptr);
    }
    THeadlessReportEngine(const THeadlessReportEngine &) = delete;
    THeadlessReportEngine &operator=(const THeadlessReportEngine &) = delete;

    TRecordingCanvas Measure;
    TfrEngineScope Scope;
    TfrHeadlessProgress Progress;

private:
    TfrProgress *m_previous = nullptr;
};
