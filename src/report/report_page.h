#pragma once
// A template page: its paper, margins, columns, the geometry of the printer
// model for its paper, and the objects it owns in drawing order. During a
// build the page also holds its run-time model: copies of its objects placed
// in run-time bands, and the cursor of the sheet being filled
// (report_build.cpp).
#include "report/printers.h"
#include "report/report_objects.h"

#include <initializer_list>
#include <memory>
#include <vector>

class TfrBand;

// The name of the template page of this index, as the designer's tabs and the
// build's messages give it: "Стр.1" for index 0.
QString PageTabName(int index);

class TfrPage : public TfrPageState
{
public:
    // The page applies its paper to the printer model at once.
    TfrPage(int paperCode, int paperWidth, int paperHeight, int orientation);
    ~TfrPage() override;
    TfrPage(const TfrPage &) = delete;
    TfrPage &operator=(const TfrPage &) = delete;

    std::int32_t PaperCode = 9;
    std::int32_t PaperWidth = 0;
    std::int32_t PaperHeight = 0;
    std::int32_t MarginLeft = 0;
    std::int32_t MarginTop = 0;
    std::int32_t MarginRight = 0;
    std::int32_t MarginBottom = 0;
    std::uint8_t Orientation = 0;
    std::int16_t PrintOnPreviousSheet = 0;
    // A new page keeps to its margins; a stored page says for itself.
    std::int16_t HonourMargins = -1;
    std::int32_t ColumnCount = 1;
    std::int32_t ColumnGap = 0;
    TPrinterInfo PrinterInfo;
    std::vector<std::unique_ptr<TfrView>> TemplateObjects;

    // Asks the printer model for the paper (a custom size of the same
    // dimensions when the printer refuses it) and takes what it gave.
    void ChangePaper(int code, int width, int height, int orientation);

    void ReadPageRecord(TfrStream &stream);
    void WritePageRecord(TfrStream &stream) const;

    // Frees the objects one by one from the front.
    void Clear();
    // Frees the object at the index.
    void Delete(int index);
    // Index of the object with that ObjectID, -1 when none.
    int FindObjectByID(std::uint32_t id) const;

    // ---- the run-time model of a build ----
    // Heads of the chains of run-time bands, by band kind.
    std::array<std::unique_ptr<TfrBand>, btNone + 1> BandsByKind;
    bool IsSubReportPage = false;
    bool RunModelBuilt = false;
    int ColumnIndex = 0;
    int ColumnTopY = 0;
    int ColumnShiftX = 0;
    int ColumnWidth = 0;
    // The current column already has its column footer.
    bool ColumnClosed = false;
    // The lowest edge of what the bands of the current column's flow printed
    // on the current sheet, subreport rows included: a band split over
    // sheets, or one with subreports, breaks the sheet before it moves the
    // cursor, and its column footer goes under it.
    int ColumnBottomY = 0;
    struct TStep
    {
        TfrBand *Band;
        std::uint8_t Action; // 0 show the band, 1 first record, 2 next record
    };
    std::vector<TStep> RecordedSteps;
    bool Recording = false;
    int ReplayIndex = 0;
    TfrBand *ResumeBand = nullptr;
    int ColumnNo = 1;
    int CurrentLineNo = 1;
    std::vector<std::unique_ptr<TfrView>> RunObjects;
    int CursorY = 0;
    int LimitY = 0;
    // Where the current sheet or column starts taking bands after its
    // headers: a band that does not fit there will not fit anywhere.
    int FreshTopY = -1;
    // The page that runs this one as a subreport, during a build.
    TfrPage *SubReportOwner = nullptr;

    // The page area in design pixels.
    int LeftEdge() const;
    int TopEdge() const;
    int RightEdge() const;
    int BottomEdge() const;

    void PrepareRun();
    void FinishRun();
    void BuildRunModel();
    void BindFieldObjects();
    void FormPage();
    void ShowBand(TfrBand *band);
    void NewPage();
    // Closes the current column with the column footer, once.
    void ShowColumnFooter();
    // The height kept free under every column for its footer; none on a
    // subreport page, whose own column footer never prints.
    int ColumnFooterRoom() const;
    // The page whose columns this one prints into: the page that runs it as
    // a subreport, through any chain of them, else itself.
    TfrPage &ColumnPage();
    // Ends the build with a message naming the page when, on a fresh sheet,
    // margins, headers and footers leave no room for data under y.
    void RefuseSheetWithoutRoom(int y);
    // The same message at once: a band or a line of text that may print only
    // on a fresh sheet does not fit there.
    [[noreturn]] void RefuseSheet();
    // A band of this height does not fit above the column footer even on a
    // sheet without headers.
    bool BandTallerThanSheet(int height) const;
    // Ends the build with a message naming the band that, alone, is taller
    // than an empty sheet's room, and suggesting it be made breakable.
    [[noreturn]] void RefuseBand(const TfrBand &band);
    void PrintPageFooters();
    // Replays recorded steps from ReplayIndex on; true when a band did not fit.
    bool Replay();
    // Nothing can be gained by moving to another sheet or column.
    bool SheetIsFresh() const;
    // Updates the aggregates of every band of these kinds, chains included.
    void UpdateAggregatesOf(std::initializer_list<int> kinds);

    int ColumnNumber() const override { return ColumnNo; }
    int CurrentLineNumber() const override { return CurrentLineNo; }
    int FreeSpace() const override { return LimitY - CursorY; }
    TfrScriptObject *FindRunObject(const QString &name) override;
    TfrBandState *DataBand(int kind) override;

private:
    void DataLoop(int level);
    void ShowPending();
    std::vector<TfrBand *> m_pending;
    int m_deepestLevel = 1;
    bool m_groups = false;
};
