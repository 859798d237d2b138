#pragma once
// What the node properties dialog shows and stores, apart from its window:
// the texts of its fields, the surface-node rule, the branches entering and
// leaving the node, and the OK and "Удалить" that change the tables. The
// window shows these members and copies the user's input back; tests drive
// the same object without a window.
#include "model/mine_objects.h"
#include "model/network.h"

#include <QtCore/QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// What the dialog reports to the main window.
struct TNodeFormHost
{
    std::function<void(std::unique_ptr<TMineObject> snapshot, TChangeKind kind)> ObjectChanged;
    std::function<void(bool modified)> SetModified;
    // The air pressure at a node on the solved network; nothing when it
    // cannot be had, and then the dialog keeps its designed text.
    std::function<std::optional<double>(int node)> NodePressure;
};

enum class TNodeField { No, X, Y, Altitude };

// The designed text of the pressure, shown where none is computed.
inline constexpr char16_t NodePressureNotShown[] = u"xxx";

class TNodeForm
{
public:
    TNodeForm(TNetworkTables &tables, TNodeFormHost host = {});

    // Fills every field for an existing node. The caller's deletable flag
    // decides whether the pressure is computed; "Удалить" is offered only
    // when the node is also free, since nothing else can be deleted here.
    void Load(int node, bool deletable);

    // The branches entering (ending at) and leaving (starting at) the node.
    std::vector<int> IncomingBranches() const;
    std::vector<int> OutgoingBranches() const;
    QString IncomingCaption() const;
    QString OutgoingCaption() const;

    // "Узел поверхности" clicked into the given state. A node cannot become
    // a surface node when one of its branches already reaches one: the
    // warning names that branch and the box is cleared (false).
    bool SetSurface(bool ticked);

    // "Получить номер узла автоматически".
    void PickNodeNumber();

    // OK. Every field is read before anything is stored; a fault is shown
    // and nothing is stored (false, FocusField names the field). Otherwise
    // renumbers, stores what changed and hands a snapshot.
    bool Apply();
    // "Удалить": destroys a free node; false when the node is not free.
    bool Delete();

    QString NodeNoText;
    QString XText = QStringLiteral("0");
    QString YText = QStringLiteral("0");
    QString AltitudeText;
    // Set by filling for a placed node and by the user's typing.
    bool XModified = false;
    bool YModified = false;
    bool AltitudeModified = false;
    bool IsSurface = false;
    bool IsExit = false;
    QString PressureText = QString::fromUtf16(NodePressureNotShown);
    bool Deletable = false;
    bool Modified = false;

    int Node = 0;  // the node edited; its new number after renumbering
    std::optional<TNodeField> FocusField;

    TNetworkTables &Tables() { return m_t; }

private:
    void Hand(TChangeKind kind);

    TNetworkTables &m_t;
    TNodeFormHost m_host;
};

// The branch number of a row of the node's lists: the text between the
// first "(" and the ")" after it, as the branch list writes it.
std::optional<int> BranchOfRowCaption(const QString &caption);

// The branch that joins node n to another surface node, the first by number.
std::optional<int> SurfaceNeighbourBranch(const TNetworkTables &t, int n);

// The choice of "Выберите один узел поверхности": the chosen end of the
// branch stays a surface node, the other loses the flag. The snapshot of the
// node that changed goes to the host.
void KeepSurfaceNode(TNetworkTables &t, int branch, bool keepStart, const TNodeFormHost &host = {});
