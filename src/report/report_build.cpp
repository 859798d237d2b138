// The build of a report into prepared pages: the loop over template pages,
// each page's run-time model (run copies of its objects placed in run-time
// bands), the formation of a page with its data loop, the sheet mechanics
// (new sheet, new column, repeated headers, page footers, subreport pages
// recorded and replayed) and how one band prints itself.
#include "platform/geometry.h"
#include "report/band.h"
#include "report/interpreter.h"
#include "report/library.h"
#include "report/report.h"
#include "report/report_page.h"
#include "report/text_object.h"

#include <QtCore/QScopeGuard>

#include <climits>
#include <functional>

namespace {

bool OutputCancelled()
{
    const TfrReport *out = BuildState().OutputReport;
    return out && out->Cancelled;
}

TfrReport *CurrentRunReport()
{
    return EngineRunning() ? dynamic_cast<TfrReport *>(Engine().CurrentReport) : nullptr;
}

void ShowProgress(int n)
{
    if (TfrReport *report = CurrentRunReport())
        report->ShowProgressText(n);
}

TfrEMFPages &OutputPages() { return BuildState().OutputReport->PreparedPages; }

bool IsFixedKind(int kind) { return kind == btPageFooter || kind == btOverlay || kind == btNone; }
bool IsCrossKind(int kind) { return kind >= btCrossHeader && kind <= btCrossFooter; }
bool IsSheetBandKind(int kind)
{
    return kind == btPageHeader || kind == btPageFooter || kind == btOverlay || kind == btColumnHeader
        || kind == btColumnFooter;
}
// The bands that print one under the other in a column: data with their
// headers and footers, groups and the column header. The column footer
// stands under what they print; a page header, a title or an overlay may
// hold a frame around the whole sheet, and the footer does not follow it.
bool IsColumnFlowKind(int kind)
{
    return (kind >= btMasterHeader && kind <= btSubDetailFooter) || kind == btColumnHeader || kind == btGroupHeader
        || kind == btGroupFooter;
}

int DataKindOfLevel(int level) { return level == 1 ? btMasterData : (level == 2 ? btDetailData : btSubDetailData); }

TfrMemoView *AsMemo(TfrView *view) { return view && view->ReportObjectType == gtMemo ? static_cast<TfrMemoView *>(view) : nullptr; }

// Writes an object into the current sheet, then tells the observers about
// text that is not a part of a split.
void WriteToSheet(TfrView &view)
{
    TfrMemoView *memo = AsMemo(&view);
    const bool whole = !memo || memo->PrintState != 3;
    TfrStream &stream = OutputPages()[Engine().CurrentPageIndex].Stream;
    stream.Seek(stream.Size());
    view.PrintToStream(stream);
    if (memo && whole) {
        TfrView *current = dynamic_cast<TfrView *>(Engine().CurrentObject);
        for (TfrView *observer : BuildState().ObserverObjects)
            observer->ObserveObject(current);
    }
}

// The record source a band's data-source text names; a component of another
// class is an error that names it.
TfrDataset *OpenSource(const QString &text, bool &created)
{
    try {
        return OpenBandDataSet(text, created);
    } catch (const EInvalidCast &) {
        throw Exception(QStringLiteral("Компонент %1 не является источником данных").arg(text));
    }
}

// The page as the designer's tabs name it.
QString PageCaption(const TfrPage &page)
{
    if (TfrReport *report = CurrentRunReport())
        for (int i = 0; i < report->TemplatePages.Count(); ++i)
            if (&report->TemplatePages.GetPage(i) == &page)
                return PageTabName(i);
    return QStringLiteral("Стр.?");
}

// A subreport naming a page the template lacks (a damaged or hand-made
// template), and subreports that show each other, which would record and
// replay one another for ever, are refused before anything is built. A page
// showing itself is skipped when it runs, so it is no ring here.
void RefuseBadSubReports(TfrPages &pages)
{
    const int count = pages.Count();
    std::vector<std::vector<int>> shows(count);
    for (int i = 0; i < count; ++i)
        for (const auto &view : pages.GetPage(i).TemplateObjects)
            if (view->ReportObjectType == gtSubReport) {
                const int target = static_cast<const TfrSubReportView &>(*view).PageIndex;
                if (target < 0 || target >= count)
                    throw Exception(QStringLiteral("Подотчет %1 на странице %2 показывает страницу %3, которой в "
                                                   "шаблоне нет. Отчет не построен.")
                                        .arg(view->Name, PageTabName(i), PageTabName(target)));
                if (target != i)
                    shows[i].push_back(target);
            }
    // Depth-first walk: 0 not seen, 1 on the current path, 2 done.
    std::vector<int> state(count, 0);
    std::vector<int> path;
    std::function<void(int)> visit = [&](int page) {
        state[page] = 1;
        path.push_back(page);
        for (int next : shows[page]) {
            if (state[next] == 1) {
                QStringList names;
                for (auto it = std::find(path.begin(), path.end(), next); it != path.end(); ++it)
                    names << PageTabName(*it);
                names << PageTabName(next);
                throw Exception(QStringLiteral("Подотчеты показывают друг друга по кругу: %1. Отчет не построен.")
                                    .arg(names.join(QStringLiteral(" → "))));
            }
            if (state[next] == 0)
                visit(next);
        }
        path.pop_back();
        state[page] = 2;
    };
    for (int i = 0; i < count; ++i)
        if (state[i] == 0)
            visit(i);
}

} // namespace

bool IsDataBandKind(int kind) { return kind == btMasterData || kind == btDetailData || kind == btSubDetailData; }

// ================================================================ the report

void TfrReport::BuildReport()
{
    RefuseBadSubReports(TemplatePages);
    TfrEngine &e = Engine();
    TfrBuildState &st = BuildState();
    st.ObserverObjects.clear();
    Rebuildable = true;
    EngineMode = 1;
    AttachParser();
    if (OnBeginDoc)
        OnBeginDoc();
    e.ExpressionError = false;
    e.StopRequested = [] {
        PumpMessages();
        return OutputCancelled();
    };

    const bool multiple = Dataset && ReportType == rtMultiple;
    const int count = TemplatePages.Count();
    // Run-time models go away also when the build fails half-way.
    const auto finish = qScopeGuard([this, count] {
        for (int i = 0; i < count && i < TemplatePages.Count(); ++i)
            TemplatePages.GetPage(i).FinishRun();
        FormingPage = nullptr;
        BuildState().ObserverObjects.clear();
    });
    if (multiple) {
        Dataset->Init();
        Dataset->First();
    }
    for (int i = 0; i < count; ++i)
        TemplatePages.GetPage(i).IsSubReportPage = false;
    for (int i = 0; i < count; ++i)
        TemplatePages.GetPage(i).PrepareRun();
    BindValueFields();
    for (int i = 0; i < count; ++i)
        TemplatePages.GetPage(i).BindFieldObjects();

    TfrReport *out = st.OutputReport;
    do {
        ShowProgressText(e.CurrentPageIndex + 1);
        for (int i = 0; i < count; ++i) {
            TfrPage &page = TemplatePages.GetPage(i);
            if (page.IsSubReportPage)
                continue;
            FormingPage = &page;
            if (OnBeginPage) {
                const auto memo = [&page](int kind) {
                    TfrBand *band = page.BandsByKind[kind].get();
                    return band && band->BandObject ? band->BandMemo : QStringList();
                };
                QStringList master = memo(btMasterData), detail = memo(btDetailData), sub = memo(btSubDetailData);
                OnBeginPage(i, master, detail, sub);
            }
            page.Recording = false;
            if (OnManualBuild)
                OnManualBuild(page);
            else
                page.FormPage();
            if (OnEndPage)
                OnEndPage(1);
            st.AppendToSheet = false;
            const bool last = i == count - 1;
            const bool append = last ? st.NextReportAppends && (!multiple || Dataset->Eof())
                                     : TemplatePages.GetPage(i + 1).PrintOnPreviousSheet != 0;
            if (append) {
                e.CurrentPageIndex -= 1;
                st.AppendToSheet = true;
            }
            if (!st.AppendToSheet) {
                e.CurrentPageIndex = out->PreparedPages.Count();
                ShowProgressText(e.CurrentPageIndex);
            }
            if (out->Cancelled)
                break;
        }
        ShowProgressText(e.CurrentPageIndex);
        if (multiple)
            Dataset->Next();
    } while (!out->Cancelled && multiple && !Dataset->Eof());

    if (multiple)
        Dataset->Exit();
    if (OnEndDoc)
        OnEndDoc();
}

// ================================================================ the page

TfrPage::~TfrPage() = default;

int TfrPage::LeftEdge() const
{
    if (!HonourMargins)
        return 0;
    return MarginLeft ? MarginLeft : PrinterInfo.OffsetX;
}

int TfrPage::TopEdge() const
{
    if (!HonourMargins)
        return 0;
    return MarginTop ? MarginTop : PrinterInfo.OffsetY;
}

// The right and bottom edges are worked out wide: a damaged template's
// margins hold them at the ends of the range instead of overflowing.
int TfrPage::RightEdge() const
{
    if (!HonourMargins)
        return PrinterInfo.PageWidth;
    return ClampToInt(MarginRight ? std::int64_t{PrinterInfo.PageWidth} - MarginRight
                                  : std::int64_t{PrinterInfo.OffsetX} + PrinterInfo.PrintableWidth);
}

int TfrPage::BottomEdge() const
{
    std::int64_t bottom;
    if (!HonourMargins)
        bottom = PrinterInfo.PageHeight;
    else
        bottom = MarginBottom ? std::int64_t{PrinterInfo.PageHeight} - MarginBottom
                              : std::int64_t{PrinterInfo.OffsetY} + PrinterInfo.PrintableHeight;
    const TfrBand *footer = BandsByKind[btPageFooter].get();
    if (footer && footer->HasObjects())
        bottom -= footer->Height;
    return ClampToInt(bottom);
}

bool TfrPage::SheetIsFresh() const { return FreshTopY >= 0 && CursorY <= FreshTopY; }

TfrScriptObject *TfrPage::FindRunObject(const QString &name)
{
    for (const auto &view : RunObjects)
        if (view->Name.compare(name, Qt::CaseInsensitive) == 0)
            return view.get();
    return nullptr;
}

TfrBandState *TfrPage::DataBand(int kind)
{
    if (kind < 0 || kind > btNone)
        return nullptr;
    TfrBand *band = BandsByKind[kind].get();
    return band && band->BandObject ? band : nullptr;
}

void TfrPage::PrepareRun()
{
    for (int kind = 0; kind <= btNone; ++kind)
        BandsByKind[kind] = std::make_unique<TfrBand>(kind, this);
    RunObjects.clear();
    m_pending.clear();
    RecordedSteps.clear();
    ResumeBand = nullptr;
    SubReportOwner = nullptr;
    BuildRunModel();
    RunModelBuilt = true;
    ColumnNo = 1;
    CurrentLineNo = 1;
}

void TfrPage::FinishRun()
{
    if (!RunModelBuilt)
        return;
    if (EngineRunning()) {
        TfrEngine &e = Engine();
        for (const auto &view : RunObjects)
            if (e.CurrentObject == view.get())
                e.CurrentObject = nullptr;
        e.CurrentBand = e.AggregateBand = nullptr;
        if (e.CurrentRunPage == this)
            e.CurrentRunPage = nullptr;
    }
    for (auto &band : BandsByKind)
        band.reset();
    RunObjects.clear();
    RecordedSteps.clear();
    m_pending.clear();
    ResumeBand = nullptr;
    RunModelBuilt = false;
}

void TfrPage::BuildRunModel()
{
    TfrEngine &e = Engine();
    TfrBuildState &st = BuildState();
    TfrReport *report = CurrentRunReport();
    std::vector<bool> pending;

    // Run copies.
    for (const auto &source : TemplateObjects) {
        std::unique_ptr<TfrView> copy = CreateReportObject(source->ReportObjectType, source->ClassName());
        copy->Assign(*source);
        copy->PreparedMode = true;
        if (copy->Flags & flags::Observed)
            st.ObserverObjects.push_back(copy.get());
        pending.push_back(copy->ReportObjectType != gtBand);
        copy->OwnerBand = nullptr;
        if (copy->ReportObjectType == gtSubReport && report) {
            const int target = static_cast<TfrSubReportView *>(copy.get())->PageIndex;
            if (target >= 0 && target < report->TemplatePages.Count())
                report->TemplatePages.GetPage(target).IsSubReportPage = true;
        }
        RunObjects.push_back(std::move(copy));
    }

    const auto configure = [&](TfrBand &band, TfrView &object) {
        band.BandMemo = object.Lines;
        QStringList errors;
        band.BandScript.clear();
        if (!object.ScriptLines.isEmpty()) {
            e.ReportInterpreter->Compile(object.ScriptLines, band.BandScript, errors);
            if (!errors.isEmpty()) {
                e.ScratchLines << errors;
                band.BandScript.clear();
            }
        }
        band.BandObject = &object;
        band.FlagWord = object.Flags;
        object.OwnerBand = &band;
    };

    // Cross bands take the objects lying inside their horizontal span.
    bool anyCross = false;
    for (const auto &object : RunObjects) {
        const int kind = object->ReportObjectType == gtBand ? static_cast<TfrBandView &>(*object).GetBandType() : -1;
        if (!IsCrossKind(kind))
            continue;
        TfrBand &band = *BandsByKind[kind];
        configure(band, *object);
        band.Left = object->Left;
        band.Width = object->Width;
        band.SetDataSource(object->FormatText);
        anyCross = true;
    }
    if (anyCross) {
        for (int kind : {btCrossHeader, btCrossData, btCrossFooter}) {
            TfrBand &band = *BandsByKind[kind];
            if (!band.BandObject)
                continue;
            for (std::size_t i = 0; i < RunObjects.size(); ++i) {
                TfrView &view = *RunObjects[i];
                if (!pending[i] || view.OwnerBand)
                    continue;
                if (band.Left <= view.Left && view.Left + view.Width <= band.Left + band.Width) {
                    view.Left -= band.Left;
                    view.OwnerBand = &band;
                    band.BandObjects.push_back(&view);
                }
            }
        }
    }

    // Horizontal bands, kind by kind, each chain ordered by Y.
    for (int kind = btReportTitle; kind <= btGroupFooter; ++kind) {
        std::vector<std::unique_ptr<TfrBand>> chain;
        for (const auto &object : RunObjects) {
            if (object->ReportObjectType != gtBand || static_cast<TfrBandView &>(*object).GetBandType() != kind)
                continue;
            std::unique_ptr<TfrBand> band = chain.empty() ? std::move(BandsByKind[kind]) : std::make_unique<TfrBand>(kind, this);
            configure(*band, *object);
            band->Top = object->Top;
            band->Height = object->Height;
            band->SetDataSource(object->FormatText);
            band->Stretched = object->Flags & 1;
            band->PrintWhenDetailEmpty = object->Flags & 4;
            // The bands a new sheet shows itself neither start another
            // sheet nor split: either would start the same sheet again.
            const bool sheetBand = IsSheetBandKind(kind);
            band->NewPageAfter = !IsSubReportPage && !sheetBand && (object->Flags & 2);
            band->Breakable = !IsSubReportPage && !sheetBand && (object->Flags & 8);
            const std::int64_t top = band->Top, bottom = top + band->Height;
            const auto inRange = [&](const TfrView &view) { return view.Top >= top && view.Top <= bottom; };
            for (int pass = 0; pass < 3; ++pass) {
                for (std::size_t i = 0; i < RunObjects.size(); ++i) {
                    TfrView &view = *RunObjects[i];
                    if (!pending[i] || !inRange(view))
                        continue;
                    const bool sub = view.ReportObjectType == gtSubReport;
                    const bool inCross = view.OwnerBand && IsCrossKind(view.OwnerBand->Kind);
                    const bool take = pass == 0 ? !view.OwnerBand && !sub : (pass == 1 ? inCross : !view.OwnerBand && sub);
                    if (!take)
                        continue;
                    if (!inCross)
                        view.OwnerBand = band.get();
                    view.Top = static_cast<int>(view.Top - top);
                    pending[i] = false;
                    band->BandObjects.push_back(&view);
                }
            }
            chain.push_back(std::move(band));
        }
        if (chain.empty())
            continue;
        std::stable_sort(chain.begin(), chain.end(), [](const auto &a, const auto &b) { return a->Top < b->Top; });
        TfrBand *last = chain.back().get();
        for (std::size_t i = chain.size() - 1; i > 0; --i) {
            chain[i]->PrevBand = chain[i - 1].get();
            chain[i - 1]->NextBand = std::move(chain[i]);
        }
        BandsByKind[kind] = std::move(chain.front());
        BandsByKind[kind]->LastOfChain = last;
    }

    // Objects outside every band print where they stand.
    TfrBand &loose = *BandsByKind[btNone];
    for (std::size_t i = 0; i < RunObjects.size(); ++i) {
        if (!pending[i])
            continue;
        TfrView &view = *RunObjects[i];
        if (!view.OwnerBand)
            view.OwnerBand = &loose;
        loose.BandObjects.push_back(&view);
    }

    // Headers and footers of the data levels: the n-th data band takes the
    // n-th header and footer.
    for (int level = 1; level <= 3; ++level) {
        const int data = DataKindOfLevel(level);
        TfrBand *header = BandsByKind[data - 1].get(), *footer = BandsByKind[data + 1].get();
        for (TfrBand *band = BandsByKind[data].get(); band; band = band->NextBand.get()) {
            band->HeaderBand = header && header->BandObject ? header : nullptr;
            band->FooterBand = footer && footer->BandObject ? footer : nullptr;
            header = header ? header->NextBand.get() : nullptr;
            footer = footer ? footer->NextBand.get() : nullptr;
        }
    }

    // Groups: the innermost (lowest) header pairs with the topmost footer.
    if (BandsByKind[btGroupHeader]->BandObject) {
        TfrBand *footer = BandsByKind[btGroupFooter]->BandObject ? BandsByKind[btGroupFooter].get() : nullptr;
        for (TfrBand *header = BandsByKind[btGroupHeader]->LastOfChain; header; header = header->PrevBand) {
            header->FooterBand = footer;
            footer = footer ? footer->NextBand.get() : nullptr;
        }
    }

    // Column sources of the cross-tab: "band=source;" items.
    TfrBand &crossData = *BandsByKind[btCrossData];
    if (crossData.HasObjects() && crossData.BandObject && crossData.BandObject->FormatText.contains(u';')) {
        const QString text = crossData.BandObject->FormatText;
        const QStringList items = text.left(text.lastIndexOf(u';')).split(u';');
        for (const QString &item : items) {
            const qsizetype eq = item.indexOf(u'=');
            const QString name = item.left(eq);
            const QString source = eq >= 0 ? item.mid(eq + 1) : QString();
            for (int kind = btMasterHeader; kind <= btGroupFooter; ++kind) {
                for (TfrBand *band = BandsByKind[kind].get(); band; band = band->NextBand.get()) {
                    if (!band->BandObject || band->BandObject->Name.compare(name, Qt::CaseInsensitive) != 0)
                        continue;
                    if (band->OwnsColumnSource)
                        delete band->ColumnSource;
                    bool created = false;
                    band->ColumnSource = OpenSource(source, created);
                    band->OwnsColumnSource = created;
                }
            }
        }
    }

    if (ColumnCount <= 0)
        ColumnCount = 1;
    ColumnWidth = ClampToInt((std::int64_t{RightEdge()} - LeftEdge()) / ColumnCount);
}

void TfrPage::BindFieldObjects()
{
    TfrEngine &e = Engine();
    for (const auto &view : RunObjects) {
        view->DataField = nullptr;
        if (view->Lines.isEmpty())
            continue;
        const QString &line = view->Lines.first();
        if (line.size() <= 2 || !line.startsWith(u'['))
            continue;
        const qsizetype close = line.lastIndexOf(u']');
        if (close <= 0)
            continue;
        const QString name = line.mid(1, close - 1);
        TfrReport *report = CurrentRunReport();
        if (TfrValue *binding = report ? report->ValueBindings.FindVariable(name) : nullptr) {
            if (binding->Kind == TfrValue::kindField)
                view->DataField = binding->Field;
            continue;
        }
        // The data set of the object's band level.
        const auto keptBand = e.CurrentBand;
        const auto keptPage = e.CurrentRunPage;
        e.CurrentBand = view->OwnerBand;
        e.CurrentRunPage = this;
        TDataSet *dataSet = CurrentBandDataSet();
        TField *field = nullptr;
        try {
            FindDataSetField(name, dataSet, field);
        } catch (const Exception &) {
            field = nullptr;
        }
        e.CurrentBand = keptBand;
        e.CurrentRunPage = keptPage;
        view->DataField = field;
    }
}

void TfrPage::ShowBand(TfrBand *band)
{
    if (!band)
        return;
    if (Recording)
        RecordedSteps.push_back({band, 0});
    else
        band->Draw();
}

void TfrPage::FormPage()
{
    TfrEngine &e = Engine();
    TfrBuildState &st = BuildState();
    TfrEMFPages &pages = OutputPages();
    e.CurrentRunPage = this;
    if (!Recording) {
        if (st.AppendToSheet && st.SavedCursorY == st.SavedLimitY) {
            st.AppendToSheet = false;
            st.LastFooterPrinted = false;
            e.CurrentPageIndex = pages.Count();
        }
        LimitY = st.AppendToSheet && st.LastFooterPrinted ? st.SavedLimitY : BottomEdge();
        ColumnIndex = 0;
        ColumnClosed = false;
        ColumnBottomY = 0;
        ColumnShiftX = LeftEdge();
        if (!st.AppendToSheet) {
            pages.Add(*this);
            CursorY = TopEdge();
            FreshTopY = CursorY;
            ShowBand(BandsByKind[btOverlay].get());
            ShowBand(BandsByKind[btNone].get());
        } else {
            CursorY = st.SavedCursorY;
            FreshTopY = -1;
        }
        const int sheets = pages.Count();
        TfrBand *title = BandsByKind[btReportTitle].get();
        ShowBand(title);
        if (pages.Count() == sheets) {
            TfrBand *header = BandsByKind[btPageHeader].get();
            if (header->HasObjects() && (header->FlagWord & flags::OnFirstPage))
                ShowBand(header);
            ShowBand(BandsByKind[btColumnHeader].get());
            if (!title->HasObjects() && FreshTopY >= 0)
                FreshTopY = CursorY;
        }
    }

    m_deepestLevel = 1;
    for (int level = 3; level >= 1; --level) {
        if (BandsByKind[DataKindOfLevel(level)]->HasObjects()) {
            m_deepestLevel = level;
            break;
        }
    }
    m_groups = BandsByKind[btGroupHeader]->HasObjects();
    m_pending.clear();
    DataLoop(1);

    if (Recording)
        return;
    ShowColumnFooter();
    ShowBand(BandsByKind[btReportSummary].get());
    st.SavedCursorY = ColumnIndex > 0 ? BottomEdge() : CursorY;
    st.SavedLimitY = LimitY;
    ColumnIndex = 0;
    ColumnShiftX = LeftEdge();
    st.LastFooterPrinted = false;
    const int index = e.CurrentPageIndex;
    TfrBand *footer = BandsByKind[btPageFooter].get();
    if (footer->FlagWord & flags::OnLastPage) {
        st.LastFooterPrinted = footer->HasObjects();
        if (st.LastFooterPrinted)
            PrintPageFooters();
    }
    e.CurrentPageIndex = index + 1;
}

void TfrPage::ShowPending()
{
    for (TfrBand *band : m_pending)
        if (band->HasObjects())
            ShowBand(band);
    m_pending.clear();
}

void TfrPage::DataLoop(int level)
{
    TfrEngine &e = Engine();
    TfrBand *groupHead = BandsByKind[btGroupHeader].get();
    const bool groups = level == 1 && m_groups;
    for (TfrBand *b = BandsByKind[DataKindOfLevel(level)].get(); b && b->RecordSource; b = b->NextBand.get()) {
        TfrDataset &source = *b->RecordSource;
        source.First();
        if (Recording)
            RecordedSteps.push_back({b, 1});
        else
            b->LineNumber = 1;
        if (level == 1) {
            for (TfrBand *g = groupHead; g; g = g->NextBand.get())
                g->LineNumber = g->LineThroughNumber = 0;
        }
        if (source.Eof())
            continue;
        if (groups) {
            for (TfrBand *g = groupHead; g; g = g->NextBand.get()) {
                ++g->LineNumber;
                ++g->LineThroughNumber;
                ShowBand(g);
            }
        }
        if (b->HeaderBand)
            m_pending.push_back(b->HeaderBand);
        if (b->FooterBand)
            b->FooterBand->ResetAggregates();
        // The master footer already printed by the last group change.
        bool footerShown = false;
        while (!source.Eof()) {
            PumpMessages();
            if (OutputCancelled())
                break;
            m_pending.push_back(b);
            bool printed = true;
            if (level < m_deepestLevel) {
                DataLoop(level + 1);
                if (!m_pending.empty()) {
                    if (b->PrintWhenDetailEmpty) {
                        ShowPending();
                    } else {
                        m_pending.pop_back();
                        printed = false;
                    }
                }
            } else {
                ShowPending();
            }
            source.Next();
            if (groups) {
                for (TfrBand *g = groupHead; g; g = g->NextBand.get()) {
                    e.CurrentBand = g;
                    const Variant value = g->GroupExpression.isEmpty() ? Variant() : e.ReportParser.Evaluate(g->GroupExpression);
                    if (VarCompare(value, g->GroupValue) == 0 && !source.Eof())
                        continue;
                    ShowBand(b->FooterBand);
                    footerShown = source.Eof();
                    std::vector<TfrBand *> inner;
                    for (TfrBand *h = g->NextBand.get(); h; h = h->NextBand.get())
                        inner.push_back(h);
                    for (auto it = inner.rbegin(); it != inner.rend(); ++it) {
                        (*it)->LineNumber = 0;
                        ShowBand((*it)->FooterBand);
                    }
                    ShowBand(g->FooterBand);
                    if (!source.Eof()) {
                        if (g->NewPageAfter)
                            NewPage();
                        for (TfrBand *h = g; h; h = h->NextBand.get()) {
                            ++h->LineNumber;
                            ++h->LineThroughNumber;
                            ShowBand(h);
                        }
                        ShowBand(b->HeaderBand);
                        b->LineNumber = 0;
                    }
                    break;
                }
            }
            if (Recording) {
                RecordedSteps.push_back({b, 2});
            } else if (printed) {
                ++CurrentLineNo;
                ++b->LineThroughNumber;
                ++b->LineNumber;
                if (!source.Eof() && b->NewPageAfter)
                    NewPage();
            }
        }
        if (m_pending.empty()) {
            if (!footerShown)
                ShowBand(b->FooterBand);
        } else {
            m_pending.pop_back();
        }
    }
}

void TfrPage::NewPage()
{
    TfrEngine &e = Engine();
    ShowProgress(e.CurrentPageIndex + 1);
    ShowColumnFooter();
    PrintPageFooters();
    LimitY = BottomEdge();
    OutputPages().Add(*this);
    ColumnClosed = false;
    ColumnBottomY = 0;
    BuildState().AppendToSheet = false;
    ShowBand(BandsByKind[btOverlay].get());
    CursorY = TopEdge();
    // The headers of a new sheet print there even when they do not fit.
    FreshTopY = CursorY;
    ShowBand(BandsByKind[btPageHeader].get());
    ShowBand(BandsByKind[btColumnHeader].get());
    FreshTopY = CursorY;
}

int TfrPage::ColumnFooterRoom() const
{
    if (IsSubReportPage)
        return 0;
    const int height = BandsByKind[btColumnFooter]->Height;
    return height <= std::int64_t{BottomEdge()} - TopEdge() ? height : 0;
}

TfrPage &TfrPage::ColumnPage()
{
    TfrPage *column = this;
    while (column->IsSubReportPage && column->SubReportOwner && column->SubReportOwner != column)
        column = column->SubReportOwner;
    return *column;
}

void TfrPage::RefuseSheetWithoutRoom(int y)
{
    if (SheetIsFresh() && std::int64_t{LimitY} - ColumnFooterRoom() - y - 2 <= 0)
        RefuseSheet();
}

void TfrPage::RefuseSheet()
{
    throw Exception(QStringLiteral("На листе страницы %1 нет места для данных: поля, колонтитулы и "
                                   "заголовки занимают его целиком. Отчет не построен.")
                        .arg(PageCaption(ColumnPage())));
}

bool TfrPage::BandTallerThanSheet(int height) const
{
    return std::int64_t{height} + ColumnFooterRoom() > std::int64_t{BottomEdge()} - TopEdge();
}

void TfrPage::RefuseBand(const TfrBand &band)
{
    const QString name = band.BandName();
    const QString kind = BandKindName(band.Kind);
    // A subreport page's bands never split.
    const QString hint = IsSubReportPage ? QString()
                                         : QStringLiteral(" Отметьте у полосы «Разрываемый», чтобы она продолжалась "
                                                          "на следующих листах.");
    throw Exception(QStringLiteral("Полоса %1 на странице %2 выше места для данных на пустом листе: она не помещается "
                                   "над подвалом колонки.%3 Отчет не построен.")
                        .arg(name.isEmpty() ? kind : QStringLiteral("%1 (%2)").arg(name, kind),
                             PageCaption(IsSubReportPage ? *this : ColumnPage()), hint));
}

void TfrPage::ShowColumnFooter()
{
    if (ColumnClosed)
        return;
    ColumnClosed = true;
    // One taller than an empty sheet has no room kept for it and is left out.
    if (ColumnFooterRoom() > 0)
        ShowBand(BandsByKind[btColumnFooter].get());
}

void TfrPage::PrintPageFooters()
{
    TfrEngine &e = Engine();
    TfrBuildState &st = BuildState();
    ColumnIndex = 0;
    ColumnShiftX = LeftEdge();
    TfrBand *footer = BandsByKind[btPageFooter].get();
    if (e.CurrentPageIndex > 0 || (footer->FlagWord & flags::OnFirstPage)) {
        for (; e.CurrentPageIndex < OutputPages().Count(); ++e.CurrentPageIndex)
            if (!(st.AppendToSheet && st.LastFooterPrinted))
                ShowBand(footer);
    }
    e.CurrentPageIndex = OutputPages().Count();
}

bool TfrPage::Replay()
{
    while (ReplayIndex < static_cast<int>(RecordedSteps.size())) {
        const TStep step = RecordedSteps[ReplayIndex];
        switch (step.Action) {
        case 0:
            if (ResumeBand) {
                ResumeBand->RunSubReports();
                if (ResumeBand)
                    return true;
            } else if (step.Band->Draw()) {
                return true;
            }
            break;
        case 1:
            step.Band->RecordSource->First();
            step.Band->LineNumber = 1;
            break;
        default:
            step.Band->RecordSource->Next();
            ++CurrentLineNo;
            ++step.Band->LineThroughNumber;
            ++step.Band->LineNumber;
            break;
        }
        ++ReplayIndex;
    }
    return false;
}

void TfrPage::UpdateAggregatesOf(std::initializer_list<int> kinds)
{
    for (int kind : kinds)
        for (TfrBand *band = BandsByKind[kind].get(); band; band = band->NextBand.get())
            band->UpdateAggregates();
}

// ================================================================ the band

TfrBand::TfrBand(int kind, TfrPage *page) : OwnerPage(page) { Kind = kind; }

TfrBand::~TfrBand()
{
    // A long chain goes one band at a time, not by recursion.
    std::unique_ptr<TfrBand> next = std::move(NextBand);
    while (next)
        next = std::move(next->NextBand);
    if (RecordSource) {
        RecordSource->Exit();
        if (OwnsRecordSource)
            delete RecordSource;
    }
    if (ColumnSource) {
        ColumnSource->Exit();
        if (OwnsColumnSource)
            delete ColumnSource;
    }
    if (EngineRunning()) {
        TfrEngine &e = Engine();
        if (e.CurrentBand == this)
            e.CurrentBand = nullptr;
        if (e.AggregateBand == this)
            e.AggregateBand = nullptr;
    }
}

void TfrBand::SetDataSource(const QString &text)
{
    if (Kind == btGroupHeader) {
        GroupExpression = text;
        return;
    }
    if (!text.contains(u';') && !text.isEmpty()) {
        bool created = false;
        RecordSource = OpenSource(text, created);
        OwnsRecordSource = created;
    }
    if (Kind == btMasterData && !RecordSource) {
        TfrReport *report = CurrentRunReport();
        if (report && report->ReportType == rtSimple && report->Dataset) {
            RecordSource = report->Dataset;
            OwnsRecordSource = false;
            RecordSource->Init();
        }
    }
}

void TfrBand::RunScript()
{
    if (!BandScript.isEmpty())
        Engine().ReportInterpreter->Run(BandScript);
}

Variant TfrBand::EvaluateGroup()
{
    TfrEngine &e = Engine();
    if (GroupExpression.isEmpty())
        return Variant();
    const auto kept = e.CurrentBand;
    e.CurrentBand = this;
    const auto restore = qScopeGuard([&] { e.CurrentBand = kept; });
    return e.ReportParser.Evaluate(GroupExpression);
}

bool TfrBand::Draw()
{
    TfrEngine &e = Engine();
    TfrPage &p = *OwnerPage;
    e.CurrentObject = BandObject;
    e.CurrentBand = e.AggregateBand = this;
    e.CurrentRunPage = &p;
    NewPageRequested = false;
    RunScript();
    if (NewPageRequested)
        p.NewPage();
    bool result = false;
    if (Visible) {
        if (Kind == btColumnHeader)
            p.ColumnTopY = p.CursorY;
        if (Kind == btPageFooter)
            Top = p.LimitY;
        if (HasObjects()) {
            if (!IsFixedKind(Kind) && Kind != btColumnFooter && std::int64_t{p.CursorY} + CalcHeight() > p.LimitY && !Breakable) {
                // On a fresh sheet nothing is gained by waiting for the next
                // one: the band prints here, clipped, so that the build ends.
                if (!p.SheetIsFresh()) {
                    if (p.IsSubReportPage)
                        return true;
                    BreakColumn();
                }
            }
            SubReportsFinished = true;
            if (IsDataBandKind(Kind) && RecordSource && NextBand && !NextBand->RecordSource) {
                for (TfrBand *band = this; band; band = band->NextBand.get())
                    band->DoDraw();
            } else {
                DoDraw();
                if (!IsDataBandKind(Kind) && Kind != btGroupHeader && NewPageAfter)
                    p.NewPage();
            }
            result = !SubReportsFinished;
        }
    } else if (IsDataBandKind(Kind)) {
        // The hidden record still counts.
        p.UpdateAggregatesOf({btPageFooter, btMasterFooter, btDetailFooter, btSubDetailFooter, btGroupFooter, btReportSummary});
    }
    if (!KeepAggregates && !(Kind == btPageFooter && e.CurrentPageIndex < OutputPages().Count() - 1))
        ResetAggregates();
    return result;
}

int TfrBand::CalcContentHeight()
{
    TfrEngine &e = Engine();
    e.CurrentBand = e.AggregateBand = this;
    for (TfrView *view : BandObjects)
        view->SavedHeight = view->Height;
    int height = Height;
    for (TfrView *view : BandObjects) {
        TfrMemoView *memo = AsMemo(view);
        if (memo && memo->OwnerBand == this)
            height = std::max(height, ClampToInt(std::int64_t{memo->Top} + memo->MeasureHeight()));
    }
    return height;
}

int TfrBand::CalcHeight()
{
    if (IsDataBandKind(Kind) && NextBand && !NextBand->RecordSource) {
        int height = 0;
        for (TfrBand *band = this; band; band = band->NextBand.get())
            height += band->CalcContentHeight();
        return height;
    }
    return Stretched ? CalcContentHeight() : Height;
}

void TfrBand::DoDraw()
{
    if (!HasObjects())
        return;
    TfrPage &p = *OwnerPage;
    const int keptTop = Top;
    const bool fixed = IsFixedKind(Kind);
    if (!fixed)
        Top = p.CursorY;
    bool subReports = false;
    // Puts the band where it goes on the sheet, moving on to another column
    // or sheet when it does not fit.
    const auto place = [&](int h) {
        if (Kind == btColumnFooter) {
            // Room for it was kept under every band of the column, and it goes
            // under all the column holds, also when a band broke the sheet
            // before moving the cursor; under a band printed clipped on a
            // fresh sheet it goes as low as the sheet allows.
            Top = std::max(p.TopEdge(), std::min(std::max(p.CursorY, p.ColumnBottomY), ClampToInt(std::int64_t{p.LimitY} - h)));
            p.CursorY = Top;
            return;
        }
        // A band of a subreport page that does not fit has told the replay
        // so before coming here: such a page never breaks the sheet itself.
        if (!Breakable && !p.SheetIsFresh() && !p.IsSubReportPage)
            BreakIfNeeded(Top, h, false);
        Top = p.CursorY;
        // On a fresh sheet a band too tall prints clipped, but not where the
        // column footer would print over it: that would repeat on every
        // sheet, one record each. The report summary comes after its column
        // footer.
        if (!Breakable && !IsSheetBandKind(Kind) && Kind != btReportSummary
            && std::int64_t{Top} + p.ColumnFooterRoom() + h > p.LimitY) {
            p.RefuseSheetWithoutRoom(Top);
            if (p.SheetIsFresh() && p.ColumnPage().ColumnFooterRoom() > 0) {
                if (p.ColumnPage().BandTallerThanSheet(h))
                    p.RefuseBand(*this);
                p.RefuseSheet();
            }
        }
    };
    const auto writeAll = [&] {
        subReports = WriteObjects();
        if (!subReports)
            WriteCross();
    };
    if (Stretched) {
        const int h = CalcContentHeight();
        if (h > Height) {
            for (TfrView *view : BandObjects)
                if ((view->ReportObjectType == gtMemo || view->ReportObjectType == gtLine) && (view->Flags & flags::Stretched))
                    view->Height = h - view->Top;
        }
        ContentHeight = h;
        if (!fixed)
            place(h);
        if (Breakable)
            WriteSplit();
        else
            writeAll();
        for (TfrView *view : BandObjects)
            view->Height = view->SavedHeight;
        if (!Breakable && !subReports && !fixed)
            p.CursorY = ClampToInt(std::int64_t{p.CursorY} + h);
    } else {
        if (!fixed)
            place(Height);
        if (Breakable) {
            ContentHeight = CalcContentHeight();
            WriteSplit();
        } else {
            writeAll();
            if (!fixed && !subReports)
                p.CursorY = ClampToInt(std::int64_t{p.CursorY} + Height);
        }
    }
    Top = keptTop;
    if (IsDataBandKind(Kind))
        p.UpdateAggregatesOf({btPageFooter, btMasterFooter, btDetailFooter, btSubDetailFooter, btGroupFooter, btReportSummary});
}

bool TfrBand::WriteObjects()
{
    // Every other object prints before the subreports run, which may move on
    // to further sheets: outside every band a text may follow a subreport.
    SubReports.clear();
    for (TfrView *view : BandObjects) {
        if (view->ReportObjectType == gtSubReport) {
            SubReports.push_back(static_cast<TfrSubReportView *>(view));
            continue;
        }
        WriteObject(*view);
        if (OutputCancelled())
            return false;
    }
    if (SubReports.empty())
        return false;
    StartSubReports();
    RunSubReports();
    return true;
}

void TfrBand::WriteObject(TfrView &view)
{
    TfrEngine &e = Engine();
    TfrPage &p = *OwnerPage;
    e.CurrentRunPage = &p;
    e.CurrentBand = e.AggregateBand = this;
    if (view.OwnerBand != this)
        return;
    if (IsColumnFlowKind(Kind) && !e.CrossPrinting) {
        TfrPage *column = &p.ColumnPage();
        const std::int64_t bottom = std::int64_t{Top} + view.Top + std::max(view.Height, 0);
        column->ColumnBottomY = static_cast<int>(std::clamp<std::int64_t>(bottom, column->ColumnBottomY, INT_MAX));
    }
    if (FirstPassRunning)
        return;
    const int x = view.Left, y = view.Top;
    view.Left = ClampToInt(std::int64_t{view.Left} + p.ColumnShiftX - p.LeftEdge());
    view.Top += Top;
    const auto restore = qScopeGuard([&] {
        view.Left = x;
        view.Top = y;
    });
    try {
        WriteToSheet(view);
    } catch (const Exception &) {
        ShowExpressionError();
    }
}

void TfrBand::ShowExpressionError()
{
    TfrEngine &e = Engine();
    e.ExpressionError = true;
    QString text = QStringLiteral("Возникла ошибка при обработке выражения");
    const auto *view = dynamic_cast<const TfrView *>(e.CurrentObject);
    if (view)
        for (const QString &line : view->Lines)
            text += u'\r' + line;
    text += QStringLiteral("\rДокумент: ") + (e.CurrentReport ? e.CurrentReport->Name : QString());
    text += QStringLiteral("\rСекция: ") + BandKindName(view && view->OwnerBand ? view->OwnerBand->Kind : Kind);
    e.ExpressionErrorText = text;
    if (TfrReport *out = BuildState().OutputReport)
        out->Cancelled = true;
}

bool TfrBand::BreakIfNeeded(int y, int height, bool testOnly)
{
    TfrPage &p = *OwnerPage;
    if (std::int64_t{y} + p.ColumnFooterRoom() + height <= p.LimitY)
        return false;
    if (!testOnly)
        BreakColumn();
    return true;
}

void TfrBand::BreakColumn()
{
    TfrPage &p = *OwnerPage;
    if (p.ColumnIndex < p.ColumnCount - 1) {
        p.ShowColumnFooter();
        p.ColumnClosed = false;
        p.ColumnBottomY = 0;
        ++p.ColumnIndex;
        p.ColumnShiftX = ClampToInt(std::int64_t{p.ColumnShiftX} + p.ColumnWidth + p.ColumnGap);
        p.CursorY = p.ColumnTopY;
        p.ShowBand(p.BandsByKind[btColumnHeader].get());
    } else {
        p.NewPage();
    }
    // Headers marked for every sheet come again; their showing here does
    // not close their groups' totals.
    for (TfrBand *g = p.BandsByKind[btGroupHeader].get(); g && g != this; g = g->NextBand.get()) {
        if (g->FlagWord & flags::RepeatOnPages) {
            const bool kept = g->KeepAggregates;
            g->KeepAggregates = true;
            p.ShowBand(g);
            g->KeepAggregates = kept;
        }
    }
    if (IsDataBandKind(Kind) && HeaderBand && (HeaderBand->FlagWord & flags::RepeatOnPages))
        p.ShowBand(HeaderBand);
    p.FreshTopY = p.CursorY;
}

void TfrBand::WriteSplit()
{
    TfrPage &p = *OwnerPage;
    const std::size_t n = BandObjects.size();
    std::vector<bool> pending(n, true);
    // A text some lines of which are printed: the rest goes on at the top of
    // the next column or sheet.
    std::vector<bool> started(n, false);
    for (TfrView *view : BandObjects)
        view->SavedRect = {view->Left, view->Top, view->Width, view->Height};
    const auto anyPending = [&] { return std::find(pending.begin(), pending.end(), true) != pending.end(); };

    if (!BreakIfNeeded(Top, ContentHeight, true)) {
        WriteObjects();
    } else {
        for (TfrView *view : BandObjects) {
            if (TfrMemoView *memo = AsMemo(view)) {
                memo->MeasureHeight();
                memo->OutputLines = memo->WrappedLines();
            }
        }
        const auto linesLeft = [](const TfrMemoView &memo) { return static_cast<std::int64_t>(memo.OutputLines.size()); };
        // A text cut to at most a pixels ends between lines, one line earlier
        // when its insets do not fit. 0 when the part would show no line: a
        // part that is written always takes at least one line away.
        const auto cut = [&](TfrMemoView &memo, std::int64_t a) {
            const std::int64_t lh = memo.LineHeight;
            std::int64_t c = a / lh * lh + 2 * std::int64_t{memo.TextInsetY} + 1;
            if (c > a)
                c -= lh;
            c = std::min(c, a);
            return c > 0 && memo.SplitTextRoom(ClampToInt(c)) >= lh ? ClampToInt(c) : 0;
        };
        // The height of a part showing all the lines left: the lines and the
        // insets, more where a thick bottom frame takes room from the lines.
        const auto partHeight = [&](TfrMemoView &memo) {
            const std::int64_t need = linesLeft(memo) * memo.LineHeight;
            const std::int64_t h = need + 2 * std::int64_t{memo.TextInsetY} + 1;
            return std::max<std::int64_t>(h + std::max<std::int64_t>(0, need - memo.SplitTextRoom(ClampToInt(h))), 1);
        };
        const auto pushDown = [&](TfrView &object, std::int64_t bottom, std::int64_t by) {
            for (TfrView *other : BandObjects) {
                if (other != &object && other->Top > bottom && other->Left >= object.Left
                    && other->Left <= std::int64_t{object.Left} + object.Width)
                    other->Top = ClampToInt(other->Top + by);
            }
        };
        // Writes a part of a text at y, cut to c of the a pixels it had; the
        // rest waits at the top of the next column or sheet, as tall as the
        // text had left or as its lines need. What stands below the text
        // moves down by the carry, what the cut left of a: it keeps its
        // distance from the text's end, not from a rest made taller for its
        // insets. A text that took no line away (its script hid it) has
        // nothing more to print.
        const auto writePart = [&](TfrMemoView &memo, std::int64_t y, std::int64_t h, std::int64_t a, int c, int avail) {
            memo.Top = ClampToInt(y);
            memo.Height = c;
            memo.PrintState = 3;
            const std::int64_t before = linesLeft(memo);
            WriteObject(memo);
            // A first pass writes nothing, but counts the lines taken all the same.
            if (FirstPassRunning)
                memo.OutputLines.remove(0, std::min<std::int64_t>(before, memo.SplitTextRoom(c) / memo.LineHeight));
            else if (linesLeft(memo) >= before)
                memo.OutputLines.clear();
            const std::int64_t carry = a - c + 1;
            pushDown(memo, y + h, carry);
            memo.Top = avail;
            memo.Height = ClampToInt(std::max(h - c + 1, partHeight(memo)));
        };
        int bottom = 0;
        do {
            // Every round but the first starts a fresh column or sheet, and
            // one without room even for that is refused.
            p.RefuseSheetWithoutRoom(Top);
            const int avail = ClampToInt(std::int64_t{p.LimitY} - p.ColumnFooterRoom() - Top - 2);
            const bool fresh = p.SheetIsFresh();
            bottom = 0;
            for (std::size_t i = 0; i < n; ++i) {
                if (!pending[i])
                    continue;
                TfrView &view = *BandObjects[i];
                TfrMemoView *memo = AsMemo(&view);
                const std::int64_t y = view.Top, h = view.Height;
                if (started[i]) {
                    // The rest of a cut text, at the top of this column or
                    // sheet. One without lines left is dropped.
                    if (linesLeft(*memo) == 0) {
                        pending[i] = false;
                    } else if (h < avail) {
                        view.Height = ClampToInt(partHeight(*memo));
                        bottom = std::max(bottom, view.Height);
                        memo->PrintState = 3;
                        WriteObject(view);
                        view.Height = ClampToInt(h);
                        pending[i] = false;
                    } else if (const int c = cut(*memo, avail); c > 0) {
                        bottom = std::max(bottom, c);
                        writePart(*memo, 0, h, avail, c, avail);
                    } else {
                        p.RefuseSheet();
                    }
                } else if (y >= avail) {
                    // Waits for a later column or sheet.
                } else if (y + h < avail) {
                    bottom = std::max(bottom, ClampToInt(y + h));
                    WriteObject(view);
                    pending[i] = false;
                } else if (memo && memo->LineHeight > 0) {
                    if (const int c = cut(*memo, avail - y + 1); c > 0) {
                        bottom = std::max(bottom, ClampToInt(y + c));
                        writePart(*memo, y, h, avail - y + 1, c, avail);
                        started[i] = true;
                    } else if (fresh && y <= 0) {
                        // Not even one line fits on an empty sheet.
                        p.RefuseSheet();
                    } else {
                        pushDown(view, y + h, avail - y);
                        view.Top = avail;
                    }
                } else if (fresh && y <= 0) {
                    // Taller than an empty sheet: it prints here clipped above
                    // the column footer's room instead of moving on from
                    // sheet to sheet.
                    view.Height = ClampToInt(avail - y);
                    WriteObject(view);
                    view.Height = ClampToInt(h);
                    bottom = std::max(bottom, avail);
                    pending[i] = false;
                } else {
                    view.Top = avail;
                }
            }
            // A sheet already full printed nothing: the objects keep their places.
            for (TfrView *view : BandObjects)
                view->Top = ClampToInt(std::int64_t{view->Top} - std::max(avail, 0));
            if (anyPending()) {
                BreakColumn();
                Top = p.CursorY;
            }
        } while (anyPending() && !OutputCancelled());
        ContentHeight = bottom;
    }
    for (TfrView *view : BandObjects) {
        view->Top = view->SavedRect[1];
        view->Height = view->SavedRect[3];
    }
    p.CursorY = ClampToInt(std::int64_t{p.CursorY} + ContentHeight);
}

void TfrBand::StartSubReports()
{
    TfrPage &p = *OwnerPage;
    TfrReport *report = CurrentRunReport();
    const int count = static_cast<int>(SubReports.size());
    // As many subreports as the band holds.
    SubReportFinished.assign(count, true);
    for (int k = 0; k < count; ++k) {
        TfrSubReportView *object = SubReports[k];
        if (!report || object->PageIndex < 0 || object->PageIndex >= report->TemplatePages.Count())
            continue;
        TfrPage &target = report->TemplatePages.GetPage(object->PageIndex);
        if (&target == &p || !target.RunModelBuilt)
            continue;
        target.SubReportOwner = &p;
        target.Recording = true;
        target.RecordedSteps.clear();
        target.FormPage();
        target.Recording = false;
        Engine().CurrentRunPage = &p;
        target.CursorY = ClampToInt(std::int64_t{object->Top} + Top);
        target.FreshTopY = p.SheetIsFresh() && object->Top == 0 ? target.CursorY : -1;
        // The owner's column footer keeps its room under the subreport's rows.
        target.LimitY = ClampToInt(std::int64_t{p.LimitY} - p.ColumnFooterRoom());
        target.ColumnShiftX = ClampToInt(std::int64_t{p.ColumnShiftX} + object->Left);
        target.ReplayIndex = 0;
        SubReportFinished[k] = false;
    }
    p.ResumeBand = nullptr;
}

void TfrBand::RunSubReports()
{
    TfrPage &p = *OwnerPage;
    TfrReport *report = CurrentRunReport();
    const int count = static_cast<int>(SubReportFinished.size());
    const auto object = [&](int k) { return SubReports[k]; };
    const auto target = [&](int k) -> TfrPage & { return report->TemplatePages.GetPage(object(k)->PageIndex); };
    do {
        if (!SubReportsFinished) {
            // On the next sheet each goes on under its object, as on the first.
            for (int k = 0; k < count; ++k) {
                if (SubReportFinished[k])
                    continue;
                TfrPage &t = target(k);
                t.CursorY = p.CursorY;
                t.LimitY = ClampToInt(std::int64_t{p.LimitY} - p.ColumnFooterRoom());
                t.ColumnShiftX = ClampToInt(std::int64_t{p.ColumnShiftX} + object(k)->Left);
                t.FreshTopY = p.SheetIsFresh() ? t.CursorY : -1;
            }
        }
        SubReportsFinished = true;
        SubReportBottom = p.CursorY;
        for (int k = 0; k < count; ++k) {
            if (SubReportFinished[k])
                continue;
            TfrPage &t = target(k);
            if (t.Replay()) {
                SubReportsFinished = false;
            } else {
                SubReportFinished[k] = true;
                SubReportBottom = std::max(SubReportBottom, t.CursorY);
            }
            Engine().CurrentRunPage = &p;
        }
        if (!SubReportsFinished) {
            if (p.IsSubReportPage) {
                p.ResumeBand = this;
                return;
            }
            p.NewPage();
        }
    } while (!SubReportsFinished && !OutputCancelled());
    // A page showing itself was skipped: its own steps are still replaying.
    for (int k = 0; k < count; ++k)
        if (report && &target(k) != &p)
            target(k).RecordedSteps.clear();
    p.CursorY = SubReportBottom;
    p.ResumeBand = nullptr;
}

void TfrBand::WriteCross()
{
    if (Kind == btPageFooter)
        return;
    bool crossed = false;
    for (TfrView *view : BandObjects)
        crossed = crossed || (view->OwnerBand && IsCrossKind(view->OwnerBand->Kind));
    if (!crossed)
        return;
    TfrEngine &e = Engine();
    TfrPage &p = *OwnerPage;
    TfrReport *report = CurrentRunReport();
    p.ColumnNo = 1;
    int x = 0;
    const int kept = e.CurrentPageIndex;
    e.CrossPrinting = true;
    const auto restore = qScopeGuard([&] {
        e.CurrentPageIndex = kept;
        e.CrossPrinting = false;
    });
    if (report && report->OnBeginColumn)
        report->OnBeginColumn(*this);
    TfrBand *header = p.BandsByKind[btCrossHeader].get();
    TfrBand *data = p.BandsByKind[btCrossData].get();
    TfrBand *footer = p.BandsByKind[btCrossFooter].get();
    if (header->HasObjects()) {
        WriteCrossCell(header, header->Left);
        x = header->Left + header->Width;
    }
    if (data->HasObjects()) {
        if (x == 0)
            x = data->Left;
        TfrDataset *columns = data->RecordSource ? data->RecordSource : ColumnSource;
        if (columns) {
            columns->First();
            while (!columns->Eof()) {
                int w = data->Width;
                if (report && report->OnPrintColumn)
                    report->OnPrintColumn(p.ColumnNo, w);
                CrossColumnBreak(x, w);
                WriteCrossCell(data, x);
                if (IsDataBandKind(Kind))
                    p.UpdateAggregatesOf({btPageFooter, btMasterFooter, btDetailFooter, btSubDetailFooter, btGroupFooter,
                                          btCrossFooter, btReportSummary});
                x += w;
                ++p.ColumnNo;
                columns->Next();
                if (OutputCancelled())
                    break;
            }
        }
    }
    if (footer->HasObjects()) {
        if (x == 0)
            x = footer->Left;
        CrossColumnBreak(x, footer->Width);
        e.AggregateBand = footer;
        WriteCrossCell(footer, x);
        footer->ResetAggregates();
    }
}

void TfrBand::CrossColumnBreak(int &x, int w)
{
    TfrEngine &e = Engine();
    TfrPage &p = *OwnerPage;
    if (x + w <= p.RightEdge())
        return;
    const bool startedOnFirst = e.CurrentPageIndex == 0;
    x = p.LeftEdge();
    ++e.CurrentPageIndex;
    TfrEMFPages &pages = OutputPages();
    if (e.CurrentPageIndex >= pages.Count()) {
        pages.Add(p);
        const int keptY = p.CursorY;
        p.ShowBand(p.BandsByKind[btOverlay].get());
        p.CursorY = p.TopEdge();
        TfrBand *pageHeader = p.BandsByKind[btPageHeader].get();
        if (!(startedOnFirst && !(pageHeader->FlagWord & flags::OnFirstPage)))
            p.ShowBand(pageHeader);
        p.CursorY = keptY;
        ShowProgress(e.CurrentPageIndex + 1);
    }
    TfrBand *header = p.BandsByKind[btCrossHeader].get();
    if (header->HasObjects() && (header->FlagWord & flags::RepeatOnPages)) {
        WriteCrossCell(header, p.LeftEdge());
        x = p.LeftEdge() + header->Width;
    }
}

void TfrBand::WriteCrossCell(TfrBand *cell, int xoff)
{
    if (FirstPassRunning)
        return;
    for (TfrView *view : cell->BandObjects) {
        if (std::find(BandObjects.begin(), BandObjects.end(), view) == BandObjects.end())
            continue;
        const int x = view->Left, y = view->Top;
        view->Left += xoff;
        view->Top += Top;
        view->OwnerBand = this;
        const auto restore = qScopeGuard([&] {
            view->OwnerBand = cell;
            view->Left = x;
            view->Top = y;
        });
        try {
            WriteToSheet(*view);
        } catch (const Exception &) {
            ShowExpressionError();
            return;
        }
    }
}

void TfrBand::UpdateAggregates()
{
    TfrEngine &e = Engine();
    for (QString &entry : Aggregates) {
        const qsizetype eq = entry.indexOf(u'=');
        if (eq >= 0 && eq + 1 < entry.size())
            entry[eq + 1] = u'0';
    }
    const auto keptObject = e.CurrentObject;
    const auto keptAggregate = e.AggregateBand;
    Visible = false;
    e.AggregateBand = this;
    for (TfrView *view : BandObjects) {
        TfrMemoView *memo = AsMemo(view);
        if (!memo)
            continue;
        e.CurrentObject = memo;
        try {
            memo->ExpandText();
        } catch (const Exception &) {
            // The object reports its error when it is printed.
        }
    }
    Visible = true;
    e.CurrentObject = keptObject;
    e.AggregateBand = keptAggregate;
    ++AggregateCount;
}

void TfrBand::ResetAggregates()
{
    if (Kind != btGroupHeader) {
        Aggregates.clear();
        AggregateCount = 0;
        return;
    }
    for (TfrBand *g = this; g; g = g->NextBand.get()) {
        if (g->FooterBand) {
            g->FooterBand->Aggregates.clear();
            g->FooterBand->AggregateCount = 0;
        }
        g->GroupValue = g->EvaluateGroup();
    }
}
