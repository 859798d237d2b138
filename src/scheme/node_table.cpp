#include "scheme/node_table.h"

#include "platform/numbers.h"
#include "platform/prompt.h"

namespace {

constexpr double MinAltitude = -2500;
constexpr double MaxAltitude = 2000;
constexpr double Shown3dMinimum = 0.00000000001;

} // namespace

TNodeTable::TNodeTable(TNetworkTables &tables, TBranchFormHost host)
    : TCellTable(tables, std::move(host)), ShownNodes(TableSize), ChangedNodes(TableSize), CreatedNodes(TableSize)
{
}

QString TNodeTable::SurfaceText() { return QStringLiteral("узел поверхности"); }
QString TNodeTable::ExitText() { return QStringLiteral("подъем на поверхность"); }
QString TNodeTable::BothText() { return SurfaceText() + QStringLiteral(", ") + ExitText(); }

QStringList TNodeTable::FilterItems() const
{
    return {QStringLiteral("1-%1").arg(MaxNodeNo(m_t)), LookupText(QStringLiteral("С неполной информацией"))};
}

QStringList TNodeTable::Headers() const
{
    return {QStringLiteral("УЗЕЛ"), QStringLiteral("ВЫС.ОТМ."), QStringLiteral("ПРИМ."), QStringLiteral("3dX"),
            QStringLiteral("3dY"),  QStringLiteral("X"),        QStringLiteral("Y")};
}

bool TNodeTable::RowExists(int row) const
{
    const int n = RowItem(row);
    return n != 0 && NodeExist(m_t, n);
}

int TNodeTable::ItemCount() const
{
    return NodeCount(m_t);
}

void TNodeTable::Open(int filterIndex)
{
    for (auto *marks : {&ShownNodes, &ChangedNodes, &CreatedNodes})
        std::fill(marks->begin(), marks->end(), false);
    Filter(FilterItems().value(filterIndex), filterIndex);
}

void TNodeTable::ApplyFilter(const QString &filterText, int filterIndex)
{
    std::fill(ShownNodes.begin(), ShownNodes.end(), false);
    if (filterIndex == 1) {
        for (int n = 1; n <= MaxItems; ++n)
            if (NodeExist(m_t, n) && m_t.NodeAltitude[n] == AltitudeNotGiven)
                ShownNodes[static_cast<std::size_t>(n)] = true;
        return;
    }
    ParseShown(filterText, [this](int n) {
        if (NodeExist(m_t, n))
            ShownNodes[static_cast<std::size_t>(n)] = true;
    });
}

bool TNodeTable::Shown(int n) const
{
    return ShownNodes[static_cast<std::size_t>(n)] && NodeExist(m_t, n);
}

QStringList TNodeTable::RowTexts(int n) const
{
    const TNetworkTables &t = m_t;
    QString notes;
    if (t.NodeIsSurface[n] && t.NodeLiftToSurface[n])
        notes = BothText();
    else if (t.NodeIsSurface[n])
        notes = SurfaceText();
    else if (t.NodeLiftToSurface[n])
        notes = ExitText();
    const auto coordinate3d = [](double v) { return v < Shown3dMinimum ? QString() : FloatToStr(v); };
    const auto plan = [](int v) { return v <= 0 ? QString() : QString::number(v); };
    return {QString::number(n),
            t.NodeAltitude[n] == AltitudeNotGiven ? QString() : FormatFixedPD(t.NodeAltitude[n], 7, 1),
            notes,
            coordinate3d(t.Node3dX[n]),
            coordinate3d(t.Node3dY[n]),
            plan(t.NodeX[n]),
            plan(t.NodeY[n])};
}

bool TNodeTable::CheckCell(int col, int row)
{
    const QString text = Cell(col, row).trimmed();
    const bool empty = text.isEmpty();
    double v = 0;
    int i = 0;
    bool ok = true;
    if (col == ncNumber && RowExists(row))
        return true;
    switch (col) {
    case ncNumber:
        if (empty)
            return false;
        ok = TryStrToInt(text, i) && i >= 1 && i <= MaxItems;
        if (ok && NodeExist(m_t, i)) {
            if (row > ItemCount())
                ShowTableError(LookupText(QStringLiteral("Узел с таким номером уже есть")));
            ok = false;
        }
        break;
    case ncAltitude:
        ok = empty || (TryStrToFloat(text, v) && v >= MinAltitude && v <= MaxAltitude);
        break;
    case ncNotes:
        ok = empty || text == SurfaceText() || text == ExitText() || text == BothText();
        break;
    case nc3dX:
    case nc3dY:
        // An empty cell is refused, unless it is as it was filled.
        if (empty)
            return RowExists(row) && RowTexts(RowNumber(row)).value(col).isEmpty();
        ok = TryStrToFloat(text, v);
        break;
    default:
        return true;
    }
    if (!ok)
        ShowTableError(InvalidValueText());
    return ok;
}

bool TNodeTable::StoreValue(int col, int n, const QString &text)
{
    TNetworkTables &t = m_t;
    double v = 0;
    switch (col) {
    case ncAltitude: {
        const double altitude = text.isEmpty() ? AltitudeNotGiven : (TryStrToFloat(text, v), v);
        if (t.NodeAltitude[n] == altitude)
            return false;
        t.NodeAltitude[n] = altitude;
        return true;
    }
    case ncNotes:
        if (text == SurfaceText()) {
            if (t.NodeIsSurface[n])
                return false;
            t.NodeIsSurface[n] = 1;
            t.NodeLiftToSurface[n] = 0;
            return true;
        }
        if (text == ExitText()) {
            if (t.NodeLiftToSurface[n])
                return false;
            t.NodeLiftToSurface[n] = 1;
            t.NodeIsSurface[n] = 0;
            return true;
        }
        if (text.isEmpty() && (t.NodeIsSurface[n] || t.NodeLiftToSurface[n])) {
            t.NodeIsSurface[n] = 0;
            t.NodeLiftToSurface[n] = 0;
            return true;
        }
        return false;
    case nc3dX:
    case nc3dY: {
        if (text.isEmpty())
            return false;
        TryStrToFloat(text, v);
        double &stored = col == nc3dX ? t.Node3dX[n] : t.Node3dY[n];
        if (stored == v)
            return false;
        stored = v;
        return true;
    }
    default:
        return false;
    }
}

void TNodeTable::StoreCell(int col, int row)
{
    const int n = RowNumber(row);
    const QString text = Cell(col, row).trimmed();
    // A cell left as it was filled stores nothing (the altitude is shown rounded).
    if (text == RowTexts(n).value(col))
        return;
    if (StoreValue(col, n, text))
        ChangedNodes[static_cast<std::size_t>(n)] = true;
}

bool TNodeTable::LeaveNewRowCell(int fromCol, int row, int toCol, int toRow)
{
    if (fromCol == ncNotes && !Cell(ncNumber, row).trimmed().isEmpty()
        && !Cell(ncAltitude, row).trimmed().isEmpty()) {
        const int n = RowNumber(row);
        m_t.NodeNo[n] = static_cast<std::int16_t>(n);
        CreatedNodes[static_cast<std::size_t>(n)] = true;
        ShownNodes[static_cast<std::size_t>(n)] = true;
        // What was typed into the row belongs to the new node.
        StoreValue(ncAltitude, n, Cell(ncAltitude, row).trimmed());
        StoreValue(ncNotes, n, Cell(ncNotes, row).trimmed());
        Cells[static_cast<std::size_t>(row)] = RowTexts(n);
        RowItems[static_cast<std::size_t>(row)] = n;
        return true;
    }
    if (toRow != row)
        return false;
    return toCol == fromCol || (fromCol == ncNumber && toCol == ncAltitude)
           || (fromCol == ncAltitude && toCol == ncNotes);
}

void TNodeTable::Confirm(bool leaveCell)
{
    if (NodeCount(m_t) == 0)
        return;
    if (leaveCell)
        LeaveCurrentCell();
    if (!m_host.ObjectChanged)
        return;
    const int last = MaxNodeNo(m_t);
    for (int n = 1; n <= last; ++n) {
        if (!NodeExist(m_t, n))
            continue;
        if (CreatedNodes[static_cast<std::size_t>(n)])
            m_host.ObjectChanged(std::make_unique<TNode>(m_t, n), ckCreated);
        else if (ChangedNodes[static_cast<std::size_t>(n)])
            m_host.ObjectChanged(std::make_unique<TNode>(m_t, n), ckChanged);
    }
}
