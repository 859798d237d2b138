#pragma once
// The designer's two bounded lists of design steps for the page being
// edited: the undo list, to which every edit adds a step, and the redo list,
// which receives the inverse of every step undone. A step keeps just enough
// to restore the page's object list: object IDs, list positions and full
// copies of objects where their properties must come back.
#include <cstdint>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

class TfrPage;
class TfrView;

enum TUndoKind : int { ukInsert = 0, ukDelete = 1, ukModify = 2, ukZOrder = 3 };

struct TUndoRecord
{
    std::uint32_t ObjectID = 0;
    // Delete and modify records: a copy of the object with its ID.
    std::unique_ptr<TfrView> Copy;
    // Delete, modify and z-order records: the position in the page's list.
    int Index = 0;
};

struct TUndoEntry
{
    int Kind = ukModify;
    std::vector<TUndoRecord> Records;
};

class TUndoList
{
public:
    static constexpr int Capacity = 100;
    TUndoList();
    ~TUndoList();
    TUndoList(TUndoList &&) noexcept;
    TUndoList &operator=(TUndoList &&) noexcept;

    int Count() const { return int(m_entries.size()); }
    const TUndoEntry &Entry(int i) const { return m_entries[i]; }
    const TUndoEntry &Last() const { return m_entries.back(); }
    // Adds an entry of the kind for the (object, index) pairs; at capacity
    // the oldest entry is dropped.
    void Add(int kind, const std::vector<std::pair<TfrView *, int>> &pairs);
    TUndoEntry TakeLast();
    void Clear() { m_entries.clear(); }

private:
    std::deque<TUndoEntry> m_entries;
};

// The pairs a step records: every selected object in list order, or every
// object for a z-order step.
std::vector<std::pair<TfrView *, int>> UndoPairs(const TfrPage &page, int kind);

// Applies the last entry of `from` to the page and adds its inverse to `to`
// (undoing fills the redo list, redoing the undo list). Nothing when `from`
// is empty; false then.
bool ApplyUndoEntry(TfrPage &page, TUndoList &from, TUndoList &to);
