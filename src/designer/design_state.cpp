#include "designer/design_state.h"

#include "report/report_page.h"

int SelectedCount = 0;
TfrView *LastClickedView = nullptr;
bool SelectionRectValid = false;
bool KeepToolAfterInsert = false;
TRect RubberRect;
TRect SavedRect;
bool ShowRubberSize = false;
std::vector<TRect> SelectionRegion;
bool SelectionRegionStale = true;
bool UpdatingControls = false;
bool DialogConfirmed = false;

std::uint16_t LastFrameTyp = 0;
std::int32_t LastFrameWidth = 1;
std::int32_t LastLineWidth = 2;
TColor LastFrameColor = clBlack;
TColor LastFillColor = clNone;
TColor LastFontColor = clBlack;
std::uint16_t LastFontStyle = 0;
std::uint8_t LastAdjust = 0;
QString LastFontName = QStringLiteral("Arial");
std::int32_t LastFontSize = 10;

std::vector<std::unique_ptr<TfrView>> DesignClipboard;

void ResetNewObjectDefaults()
{
    LastFrameTyp = 0;
    LastFrameWidth = 1;
    LastLineWidth = 2;
    LastFrameColor = clBlack;
    LastFillColor = clNone;
    LastFontColor = clBlack;
    LastFontStyle = 0;
    LastAdjust = 0;
    LastFontName = QStringLiteral("Arial");
    LastFontSize = 10;
}

void ClearDesignClipboard() { DesignClipboard.clear(); }

std::unique_ptr<TfrView> CopyReportObject(const TfrView &source, bool keepId)
{
    std::unique_ptr<TfrView> copy = CreateReportObject(source.ReportObjectType, source.ClassName());
    copy->Assign(source);
    if (keepId)
        copy->ObjectID = source.ObjectID;
    return copy;
}

int TopSelectedIndex(const TfrPage &page)
{
    const auto &objects = page.TemplateObjects;
    for (int i = int(objects.size()) - 1; i >= 0; --i)
        if (objects[i]->Selected)
            return i;
    return int(objects.size()) - 1;
}

TfrView *AlignAnchorView(const TfrPage &page)
{
    if (LastClickedView)
        return LastClickedView;
    const int i = TopSelectedIndex(page);
    return i >= 0 ? page.TemplateObjects[i].get() : nullptr;
}

namespace {

// Starts from TopSelectedIndex; a selected object replaces the pick only
// when `further` says it lies strictly further out.
template <typename Further>
int ExtremeSelected(const TfrPage &page, Further further)
{
    const auto &objects = page.TemplateObjects;
    int best = TopSelectedIndex(page);
    if (best < 0)
        return best;
    for (int i = 0; i < int(objects.size()); ++i)
        if (objects[i]->Selected && further(*objects[i], *objects[best]))
            best = i;
    return best;
}

} // namespace

int LeftmostSelected(const TfrPage &page)
{
    return ExtremeSelected(page, [](const TfrView &a, const TfrView &b) { return a.Left < b.Left; });
}

int RightmostSelected(const TfrPage &page)
{
    return ExtremeSelected(page,
                           [](const TfrView &a, const TfrView &b) { return a.Left + a.Width > b.Left + b.Width; });
}

int TopmostSelected(const TfrPage &page)
{
    return ExtremeSelected(page, [](const TfrView &a, const TfrView &b) { return a.Top < b.Top; });
}

int BottommostSelected(const TfrPage &page)
{
    return ExtremeSelected(page,
                           [](const TfrView &a, const TfrView &b) { return a.Top + a.Height > b.Top + b.Height; });
}

void DeselectAll(TfrPage &page)
{
    for (auto &v : page.TemplateObjects)
        v->Selected = false;
    SelectedCount = 0;
}

void SelectAllObjects(TfrPage &page)
{
    for (auto &v : page.TemplateObjects)
        v->Selected = true;
    SelectedCount = int(page.TemplateObjects.size());
}

void DeleteSelectedObjects(TfrPage &page)
{
    for (int i = int(page.TemplateObjects.size()) - 1; i >= 0; --i)
        if (page.TemplateObjects[i]->Selected)
            page.Delete(i);
    SelectedCount = 0;
}

void BuildSelectionRegion(const TfrPage &page)
{
    SelectionRegion.clear();
    for (const auto &v : page.TemplateObjects)
        if (v->Selected) {
            const std::vector<TRect> r = v->GetRegion(true);
            SelectionRegion.insert(SelectionRegion.end(), r.begin(), r.end());
        }
    SelectionRegionStale = false;
}

std::vector<TfrView *> SelectedObjects(const TfrPage &page)
{
    std::vector<TfrView *> result;
    for (const auto &v : page.TemplateObjects)
        if (v->Selected)
            result.push_back(v.get());
    return result;
}

int SelectionKind(const TfrPage &page)
{
    int kind = 0;
    if (SelectedCount == 1) {
        const TfrView &v = *page.TemplateObjects[TopSelectedIndex(page)];
        if (v.ReportObjectType == gtBand)
            kind = 1;
        else if (dynamic_cast<const TfrMemoView *>(&v))
            kind = 2;
        else
            kind = 4;
    } else if (SelectedCount > 1) {
        kind = 8;
    }
    if (!DesignClipboard.empty())
        kind |= 16;
    return kind;
}
