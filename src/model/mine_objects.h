#pragma once
// Small objects that stand for one item of the network: snapshots of a node or
// branch taken when an edit is confirmed, bend points of a branch and entries
// of a node's incidence list.
#include <QtCore/QString>
#include <cstdint>

struct TNetworkTables;

// Root of the item objects. The five operations are kept for the shape of the
// class tree; the system keeps no history of edits, so they do nothing.
class TUndoRedoObject
{
public:
    virtual ~TUndoRedoObject() = default;
    virtual void Undo() = 0;
    virtual void Redo() = 0;
    virtual void Apply() = 0;
    virtual void Store(bool flag) = 0;
    virtual void Restore(bool flag) = 0;
};

class TMineObject : public TUndoRedoObject
{
public:
    explicit TMineObject(std::int32_t number = 0) : Number(number) {}
    std::int32_t Number;
};

class TNode : public TMineObject
{
public:
    TNode() = default;
    // Captures node n of the tables.
    TNode(const TNetworkTables &t, int n);
    void Undo() override {}
    void Redo() override {}
    void Apply() override {}
    void Store(bool) override {}
    void Restore(bool) override {}

    std::int32_t X = 0;
    std::int32_t Y = 0;
    double Altitude = 0;
    std::uint8_t LiftToSurface = 0;
    std::uint8_t IsSurface = 0;
};

// One point of a branch's point list, in scheme units.
class TTurn : public TMineObject
{
public:
    TTurn() = default;
    TTurn(std::int32_t branch, std::int32_t x, std::int32_t y) : TMineObject(branch), X(x), Y(y) {}
    void Undo() override {}
    void Redo() override {}
    void Apply() override {}
    void Store(bool) override {}
    void Restore(bool) override {}

    std::int32_t X = 0;
    std::int32_t Y = 0;
};

class TBranch : public TMineObject
{
public:
    TBranch() = default;
    // Captures branch n of the tables; the name as GetBranchName gives it.
    TBranch(const TNetworkTables &t, int n);
    void Undo() override {}
    void Redo() override {}
    void Apply() override {}
    void Store(bool) override {}
    void Restore(bool) override {}

    QString Name;
    std::int32_t DGSMark = 0;
    std::int32_t Flags = 0;
    std::int32_t StartNode = 0;
    std::int32_t EndNode = 0;
    std::int32_t Length = 0;
    std::int32_t People = 0;
    std::int32_t PLAPosition = 0;
    std::int32_t PLAColor = 0;
    double Alpha = 0;
    double R = 0;
    double GivenDepression = 0;
    double AuxDepression = 0;
    double Q = 0;
    double RequiredFlow = 0;
    double StartTemp = 0;
    double EndTemp = 0;
    double Area = 0;
    double Height = 0;
    double Angle = 0;
    std::uint8_t Type = 0;
    std::uint8_t IsFresh = 0;
};

// One entry of a node's incidence list.
struct TBranchToNode
{
    static constexpr std::int32_t Leaving = -1;
    static constexpr std::int32_t Entering = 1;
    std::int32_t Branch = 0;
    std::int32_t Direction = 0;
};

// What happened to the item a snapshot stands for.
enum TChangeKind { ckDeleted = 0, ckCreated = 1, ckChanged = 2 };
