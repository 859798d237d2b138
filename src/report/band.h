#pragma once
// The run-time band of a build: every band object of a template page becomes
// one, chained with the other bands of its kind and holding the run copies of
// the objects placed in it. A band prints itself on the current sheet: its
// script, the space test, stretching, splitting over sheets, subreports side
// by side, the cross-tab part and the aggregates (report_build.cpp).
#include "report/engine.h"
#include "report/report_objects.h"

#include <memory>
#include <vector>

class TfrPage;

class TfrBand : public TfrBandState
{
public:
    TfrBand(int kind, TfrPage *page);
    // Destroying a band destroys the rest of its chain.
    ~TfrBand() override;
    TfrBand(const TfrBand &) = delete;
    TfrBand &operator=(const TfrBand &) = delete;

    QString BandName() const override { return BandObject ? BandObject->Name : QString(); }

    TfrPage *OwnerPage;
    TfrView *BandObject = nullptr;
    std::uint16_t FlagWord = 0;
    std::unique_ptr<TfrBand> NextBand;
    TfrBand *PrevBand = nullptr;
    // The band's subreport objects, in list order, while they run.
    std::vector<TfrSubReportView *> SubReports;
    int SubReportBottom = 0;
    bool SubReportsFinished = true;
    // One per entry of SubReports.
    std::vector<bool> SubReportFinished;
    Variant GroupValue;
    TfrBand *HeaderBand = nullptr;
    TfrBand *FooterBand = nullptr;
    TfrBand *LastOfChain = nullptr;
    bool KeepAggregates = false;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int ContentHeight = 0;
    bool PrintWhenDetailEmpty = false;
    bool NewPageAfter = false;
    bool Stretched = false;
    bool Breakable = false;
    // A horizontal band lists its subreport objects last; the objects outside
    // every band keep the template's order.
    std::vector<TfrView *> BandObjects;
    QStringList BandMemo;
    QStringList BandScript; // compiled
    bool OwnsRecordSource = false;
    TfrDataset *ColumnSource = nullptr;
    bool OwnsColumnSource = false;
    QString GroupExpression;

    bool HasObjects() const { return !BandObjects.empty(); }
    // Takes the record source (or the group expression) from the band
    // object's data-source text.
    void SetDataSource(const QString &text);
    // Prints the band; true when it did not fit on a subreport page or its
    // subreports did not finish.
    bool Draw();
    void DoDraw();
    int CalcHeight();
    int CalcContentHeight();
    // Writes every object but the subreports, then runs those; true when
    // subreports ran.
    bool WriteObjects();
    void WriteObject(TfrView &view);
    void WriteSplit();
    void StartSubReports();
    void RunSubReports();
    void WriteCross();
    void WriteCrossCell(TfrBand *cell, int xoff);
    void UpdateAggregates();
    void ResetAggregates();
    void ShowExpressionError();
    // Moves to the next column or sheet when y + height does not fit; with
    // testOnly only says so.
    bool BreakIfNeeded(int y, int height, bool testOnly);
    // Moves to the next column or sheet whatever room is left, showing the
    // headers marked for every sheet again.
    void BreakColumn();

private:
    void RunScript();
    Variant EvaluateGroup();
    // The cross-tab part's move to the next sheet for a column of width w.
    void CrossColumnBreak(int &x, int w);
};

bool IsDataBandKind(int kind);
