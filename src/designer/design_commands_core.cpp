#include "designer/design_commands_core.h"

#include "designer/design_state.h"
#include "designer/designer_core.h"
#include "report/report_document.h"
#include "report/report_page.h"

#include <algorithm>
#include <cmath>

namespace {

// Kinds of band a page holds at most once: titles, summaries, page and
// column headers and footers, overlays, cross headers and footers.
bool BandKindHeldOnce(int bandType)
{
    return (bandType >= 0 && bandType <= 3) || (bandType >= 13 && bandType <= 15)
           || (bandType >= 18 && bandType <= 21);
}

int BandTypeOf(const TfrView &v)
{
    const auto *band = dynamic_cast<const TfrBandView *>(&v);
    return band && v.ReportObjectType == gtBand ? band->GetBandType() : -1;
}

// Moves the selected objects to one end, keeping every group's order.
void MoveSelected(TfrPage &page, bool toFront)
{
    auto &objects = page.TemplateObjects;
    const auto selectedLast = [](const auto &v) { return !v->Selected; };
    if (toFront)
        std::stable_partition(objects.begin(), objects.end(), selectedLast);
    else
        std::stable_partition(objects.begin(), objects.end(), [](const auto &v) { return v->Selected; });
    OrderBands(page);
}

int GridRound(int value, int gridSize)
{
    return int(std::nearbyint(double(value) / gridSize)) * gridSize;
}

} // namespace

void BringToFront(TfrPage &page) { MoveSelected(page, true); }

void SendToBack(TfrPage &page) { MoveSelected(page, false); }

void CopySelectionToClipboard(const TfrPage &page)
{
    ClearDesignClipboard();
    for (TfrView *v : SelectedObjects(page))
        DesignClipboard.push_back(CopyReportObject(*v, false));
}

void CutSelectionToClipboard(TfrPage &page)
{
    CopySelectionToClipboard(page);
    DeleteSelectedObjects(page);
    LastClickedView = nullptr;
}

int ScrolledGridOffset(int surfaceEdge, int gridSize)
{
    return surfaceEdge < 0 && gridSize > 0 ? gridSize * (-surfaceEdge / gridSize) : 0;
}

std::vector<TfrView *> PasteClipboard(TfrPage &page, int offsetX, int offsetY)
{
    DeselectAll(page);
    // The object clicked before is no longer in the selection: the pasted
    // group must not align on it.
    LastClickedView = nullptr;
    int mx = 32767;
    int my = 32767;
    for (const auto &c : DesignClipboard) {
        mx = std::min(mx, c->Left);
        my = std::min(my, c->Top);
    }
    std::vector<TfrView *> pasted;
    for (const auto &c : DesignClipboard) {
        const int bandType = BandTypeOf(*c);
        if (BandKindHeldOnce(bandType) && PageHasBand(page, bandType))
            continue;
        std::unique_ptr<TfrView> copy = CopyReportObject(*c, false);
        copy->Left = c->Left - mx + offsetX;
        copy->Top = c->Top - my + offsetY;
        copy->Selected = true;
        const TfrReportDocument *report = CurrentDocument();
        // Objects of built pages have no name; a template's objects each need one.
        if (copy->Name.isEmpty() || (report && report->FindObject(copy->Name)))
            copy->CreateUniqueName();
        ++SelectedCount;
        pasted.push_back(copy.get());
        page.TemplateObjects.push_back(std::move(copy));
    }
    OrderBands(page);
    return pasted;
}

void FitSelectionToGrid(TfrPage &page, int gridSize)
{
    if (gridSize <= 0)
        return;
    for (TfrView *v : SelectedObjects(page)) {
        v->Left = GridRound(v->Left, gridSize);
        v->Top = GridRound(v->Top, gridSize);
        v->Width = GridRound(v->Width, gridSize);
        v->Height = GridRound(v->Height, gridSize);
        if (v->Width == 0)
            v->Width = gridSize;
        if (v->Height == 0)
            v->Height = gridSize;
    }
}

int AlignNeedsSelected(TAlignCommand command)
{
    switch (command) {
    case TAlignCommand::CentreInPageWidth:
    case TAlignCommand::CentreInPageHeight: return 1;
    case TAlignCommand::SpaceAcross:
    case TAlignCommand::SpaceDown: return 3;
    default: return 2;
    }
}

std::vector<TfrView *> SpacingOrder(std::vector<TfrView *> views, bool vertical)
{
    const auto key = [vertical](const TfrView *v) {
        const int n = vertical ? v->Top : v->Left;
        // At least four digits, the sign before them.
        return (n < 0 ? QStringLiteral("-") : QString()) + QString::number(std::abs(qint64(n))).rightJustified(4, u'0');
    };
    std::reverse(views.begin(), views.end());
    std::stable_sort(views.begin(), views.end(), [&key](const TfrView *a, const TfrView *b) {
        return QString::compare(key(a), key(b), Qt::CaseInsensitive) < 0;
    });
    return views;
}

bool AlignSelection(TfrPage &page, TAlignCommand command, int pageWidth, int pageHeight)
{
    if (SelectedCount < AlignNeedsSelected(command))
        return false;
    const std::vector<TfrView *> selected = SelectedObjects(page);
    if (selected.empty())
        return false;
    const TfrView &a = *AlignAnchorView(page);
    const int anchorLeft = a.Left, anchorTop = a.Top, anchorWidth = a.Width, anchorHeight = a.Height;
    const auto &objects = page.TemplateObjects;
    switch (command) {
    case TAlignCommand::Lefts:
        for (TfrView *v : selected)
            v->Left = anchorLeft;
        break;
    case TAlignCommand::Tops:
        for (TfrView *v : selected)
            v->Top = anchorTop;
        break;
    case TAlignCommand::Rights:
        for (TfrView *v : selected)
            v->Left = anchorLeft + anchorWidth - v->Width;
        break;
    case TAlignCommand::Bottoms:
        for (TfrView *v : selected)
            v->Top = anchorTop + anchorHeight - v->Height;
        break;
    case TAlignCommand::HorzCentres:
        for (TfrView *v : selected)
            v->Left = anchorLeft + anchorWidth / 2 - v->Width / 2;
        break;
    case TAlignCommand::VertCentres:
        for (TfrView *v : selected)
            v->Top = anchorTop + anchorHeight / 2 - v->Height / 2;
        break;
    case TAlignCommand::CentreInPageWidth: {
        const int l = objects[LeftmostSelected(page)]->Left;
        const TfrView &r = *objects[RightmostSelected(page)];
        const int shift = l + (r.Left + r.Width - l - pageWidth) / 2;
        for (TfrView *v : selected)
            v->Left -= shift;
        break;
    }
    case TAlignCommand::CentreInPageHeight: {
        const int t = objects[TopmostSelected(page)]->Top;
        const TfrView &b = *objects[BottommostSelected(page)];
        const int shift = t + (b.Top + b.Height - t - pageHeight) / 2;
        for (TfrView *v : selected)
            v->Top -= shift;
        break;
    }
    case TAlignCommand::SpaceAcross:
    case TAlignCommand::SpaceDown: {
        const bool vertical = command == TAlignCommand::SpaceDown;
        const std::vector<TfrView *> order = SpacingOrder(selected, vertical);
        const auto at = [vertical](TfrView *v) -> std::int32_t & { return vertical ? v->Top : v->Left; };
        const int step = (at(order.back()) - at(order.front())) / int(order.size() - 1);
        for (std::size_t i = 1; i + 1 < order.size(); ++i)
            at(order[i]) = at(order[i - 1]) + step;
        break;
    }
    }
    return true;
}

std::optional<int> SpinFrameWidth(const QString &text, int delta)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return delta < 0 ? std::max(1, n + delta) : n + delta;
}

QString FormFileName(const QString &chosen)
{
    const qsizetype slash = std::max(chosen.lastIndexOf(u'/'), chosen.lastIndexOf(u'\\'));
    const qsizetype dot = chosen.lastIndexOf(u'.');
    const QString base = dot > slash ? chosen.left(dot) : chosen;
    return base + QStringLiteral(".frf");
}

int ControlHelpTopic(int tag, bool onObjectsToolbar)
{
    return onObjectsToolbar ? 430 + std::min(tag, 5) : 400 + tag;
}
