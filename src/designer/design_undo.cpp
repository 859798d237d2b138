#include "designer/design_undo.h"

#include "designer/design_state.h"
#include "report/report_page.h"

#include <algorithm>

TUndoList::TUndoList() = default;
TUndoList::~TUndoList() = default;
TUndoList::TUndoList(TUndoList &&) noexcept = default;
TUndoList &TUndoList::operator=(TUndoList &&) noexcept = default;

void TUndoList::Add(int kind, const std::vector<std::pair<TfrView *, int>> &pairs)
{
    if (Count() >= Capacity)
        m_entries.pop_front();
    TUndoEntry &entry = m_entries.emplace_back();
    entry.Kind = kind;
    entry.Records.reserve(pairs.size());
    for (const auto &[view, index] : pairs) {
        TUndoRecord &r = entry.Records.emplace_back();
        r.ObjectID = view->ObjectID;
        if (kind == ukDelete || kind == ukModify)
            r.Copy = CopyReportObject(*view, true);
        if (kind != ukInsert)
            r.Index = index;
    }
}

TUndoEntry TUndoList::TakeLast()
{
    TUndoEntry e = std::move(m_entries.back());
    m_entries.pop_back();
    return e;
}

std::vector<std::pair<TfrView *, int>> UndoPairs(const TfrPage &page, int kind)
{
    std::vector<std::pair<TfrView *, int>> pairs;
    const auto &objects = page.TemplateObjects;
    for (int i = 0; i < int(objects.size()); ++i)
        if (kind == ukZOrder || objects[i]->Selected)
            pairs.emplace_back(objects[i].get(), i);
    return pairs;
}

namespace {

// Puts every object of a z-order step back at its recorded position; objects
// the step does not name keep their relative order after them.
void RestoreOrder(TfrPage &page, const std::vector<TUndoRecord> &records)
{
    auto &objects = page.TemplateObjects;
    std::vector<std::unique_ptr<TfrView>> placed(objects.size());
    for (const TUndoRecord &r : records) {
        const auto now = std::find_if(objects.begin(), objects.end(),
                                      [&r](const auto &v) { return v && v->ObjectID == r.ObjectID; });
        if (now == objects.end() || r.Index < 0 || r.Index >= int(placed.size()) || placed[r.Index])
            continue;
        placed[r.Index] = std::move(*now);
    }
    std::vector<std::unique_ptr<TfrView>> rest;
    for (auto &v : objects)
        if (v)
            rest.push_back(std::move(v));
    auto next = rest.begin();
    for (auto &slot : placed)
        if (!slot && next != rest.end())
            slot = std::move(*next++);
    placed.erase(std::remove(placed.begin(), placed.end(), nullptr), placed.end());
    objects = std::move(placed);
}

} // namespace

bool ApplyUndoEntry(TfrPage &page, TUndoList &from, TUndoList &to)
{
    if (from.Count() == 0)
        return false;
    TUndoEntry entry = from.TakeLast();
    auto &objects = page.TemplateObjects;
    const int n = int(objects.size());

    // The inverse step first, from the page as it is now.
    std::vector<std::pair<TfrView *, int>> inverse;
    int inverseKind = entry.Kind;
    for (const TUndoRecord &r : entry.Records) {
        switch (entry.Kind) {
        case ukInsert:
            inverseKind = ukDelete;
            if (const int i = page.FindObjectByID(r.ObjectID); i >= 0)
                inverse.emplace_back(objects[i].get(), i);
            break;
        case ukDelete:
            inverseKind = ukInsert;
            inverse.emplace_back(r.Copy.get(), r.Index);
            break;
        case ukModify:
            if (r.Index >= 0 && r.Index < n)
                inverse.emplace_back(objects[r.Index].get(), r.Index);
            break;
        case ukZOrder:
            if (const int i = page.FindObjectByID(r.ObjectID); i >= 0)
                inverse.emplace_back(objects[i].get(), i);
            break;
        default: break;
        }
    }
    to.Add(inverseKind, inverse);

    switch (entry.Kind) {
    case ukInsert:
        for (const TUndoRecord &r : entry.Records)
            if (const int i = page.FindObjectByID(r.ObjectID); i >= 0)
                page.Delete(i);
        break;
    case ukDelete:
        for (TUndoRecord &r : entry.Records) {
            const int at = std::clamp(r.Index, 0, int(objects.size()));
            objects.insert(objects.begin() + at, std::move(r.Copy));
        }
        break;
    case ukModify:
        for (const TUndoRecord &r : entry.Records)
            if (r.Index >= 0 && r.Index < int(objects.size()) && r.Copy)
                objects[r.Index]->Assign(*r.Copy);
        break;
    case ukZOrder:
        RestoreOrder(page, entry.Records);
        break;
    default: break;
    }
    return true;
}
