#include "scheme/branch_table.h"

#include "platform/numbers.h"
#include "platform/prompt.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace {

constexpr double ValueLimit = 9999;     // resistances, depressions and flows stay below
constexpr double PairThreshold = 0.00001;

QString Int(int v) { return QString::number(v); }
QString IntOrEmpty(int v) { return v == 0 ? QString() : QString::number(v); }
QString Fixed(double v, int p, int d) { return FormatFixedPD(v, p, d); }

bool ReadInt(const QString &text, int &v) { return TryStrToInt(text.trimmed(), v); }
bool ReadFloat(const QString &text, double &v) { return TryStrToFloat(text.trimmed(), v); }

void StoreIfDiffers(double &stored, double value, bool &changed)
{
    if (stored != value) {
        stored = value;
        changed = true;
    }
}

} // namespace

TBranchTable::TBranchTable(TNetworkTables &tables, TBranchFormHost host)
    : TCellTable(tables, std::move(host)), ShownBranches(TableSize), CreatedBranches(TableSize),
      ChangedBranches(TableSize), CreatedNodes(TableSize)
{
}

QStringList TBranchTable::FilterItems() const
{
    return {QStringLiteral("1-%1").arg(MaxBranchNo(m_t)),
            LookupText(QStringLiteral("С неполной информацией (длина, площадь сечения, высота, угол наклона)")),
            LookupText(QStringLiteral("Сопротивление = 0")), LookupText(QStringLiteral("Не задан тип ")),
            LookupText(QStringLiteral("Расход < 0")), LookupText(QStringLiteral("Длина = 0"))};
}

QStringList TBranchTable::Headers() const
{
    return {QStringLiteral("ВЕТВЬ"),      QStringLiteral("Н.УЗЕЛ"),      QStringLiteral("К.УЗЕЛ"),
            QStringLiteral("НАЗВАНИЕ"),   QStringLiteral("СОПРОТ."),     QStringLiteral("ДЛИНА"),
            QStringLiteral("ПЛ.СЕЧ."),    QStringLiteral("ДОП.ДЕПР."),   QStringLiteral("ТЕМП.Н.УЗ."),
            QStringLiteral("ТЕМП.К.УЗ."), QStringLiteral("ВЫСОТА"),      QStringLiteral("УГ.НАКЛ."),
            QStringLiteral("ПОЗ.ПЛА"),    QStringLiteral("ТИП"),         QStringLiteral("ФИКС.ДЕПР."),
            QStringLiteral("ФИКС.РАСХ."), QStringLiteral("СОП.ЗАК."),    QStringLiteral("НОРМ.РАСХ."),
            QStringLiteral("ИЗМЕР.РАСХ."), QStringLiteral("ЗАМЕР.ДЕПР.")};
}

bool TBranchTable::RowExists(int row) const
{
    const int n = RowItem(row);
    return n != 0 && BranchPresent(m_t, n);
}

void TBranchTable::Open(int filterIndex, const QString &range)
{
    for (auto *marks : {&ShownBranches, &CreatedBranches, &ChangedBranches, &CreatedNodes})
        std::fill(marks->begin(), marks->end(), false);
    Filter(filterIndex < 0 ? range : FilterItems().value(filterIndex), filterIndex);
}

void TBranchTable::ApplyFilter(const QString &filterText, int filterIndex)
{
    m_filterIndex = filterIndex;
    m_filterText = filterText;
    std::fill(ShownBranches.begin(), ShownBranches.end(), false);
    const auto show = [this](int n) { ShownBranches[static_cast<std::size_t>(n)] = true; };
    const TNetworkTables &t = m_t;
    if (filterIndex >= btfIncomplete && filterIndex <= btfNegativeQ) {
        const int last = MaxBranchNo(t);
        for (int n = 1; n <= last; ++n) {
            if (t.BranchNo[n] == 0)
                continue;
            bool shown = false;
            switch (filterIndex) {
            case btfIncomplete:
                shown = t.BranchLength[n] == 0 || t.BranchHeight[n] <= 0 || t.BranchAngle[n] >= AngleNotGiven
                        || t.BranchArea[n] == 0;
                break;
            case btfZeroR:
                shown = t.BranchR[n] == 0;
                break;
            case btfNoType:
                shown = t.BranchType[n] >= UnknownBranchType;
                break;
            default:
                shown = t.BranchQ[n] < 0;
                break;
            }
            if (shown)
                show(n);
        }
    } else if (filterIndex == btfZeroLength) {
        for (int n = 1; n <= MaxItems; ++n)
            if (BranchExist(t, n) && t.BranchLength[n] == 0)
                show(n);
    } else {
        ParseShown(filterText, [&](int n) {
            if (BranchExist(t, n))
                show(n);
        });
    }
}

bool TBranchTable::Shown(int n) const
{
    return ShownBranches[static_cast<std::size_t>(n)] && m_t.BranchNo[n] == n;
}

int TBranchTable::ItemCount() const
{
    return BranchCount(m_t);
}

QStringList TBranchTable::RowTexts(int n) const
{
    const TNetworkTables &t = m_t;
    const auto emptyAtOrBelow = [](double v, double marker, int p, int d) {
        return v <= marker ? QString() : Fixed(v, p, d);
    };
    const int type = t.BranchType[n];
    return {Int(n),
            Int(t.BranchStartNode[n]),
            Int(t.BranchEndNode[n]),
            t.BranchName[n],
            Fixed(t.BranchR[n], 9, 5),
            IntOrEmpty(t.BranchLength[n]),
            emptyAtOrBelow(t.BranchArea[n], 0, 5, 2),
            Fixed(t.BranchAuxDepression[n], 5, 2),
            emptyAtOrBelow(t.BranchStartTemp[n], TempNotGiven, 5, 2),
            emptyAtOrBelow(t.BranchEndTemp[n], TempNotGiven, 5, 2),
            emptyAtOrBelow(t.BranchHeight[n], 0, 5, 2),
            t.BranchAngle[n] >= AngleNotGiven ? QString() : Fixed(t.BranchAngle[n], 5, 2),
            IntOrEmpty(t.BranchPLAPosition[n]),
            type < UnknownBranchType ? BranchTypeNames[static_cast<std::size_t>(type)] : QString(),
            Fixed(t.BranchFixedDepression[n], 5, 2),
            Fixed(t.BranchRequiredFlow[n], 5, 2),
            Fixed(t.BranchShortCircuitR[n], 9, 5),
            Fixed(t.BranchNormativeFlow[n], 5, 2),
            Fixed(t.BranchMeasuredFlow[n], 5, 2),
            Fixed(t.BranchMeasuredDepression[n], 5, 2)};
}

int TBranchTable::TypeCodeByName(const QString &name)
{
    return name.isEmpty() ? UnknownBranchType : BranchTypeByName(name);
}

bool TBranchTable::CheckNumberCell(int col, int row)
{
    const QString text = Cell(col, row).trimmed();
    int v = 0;
    if (!ReadInt(text, v) || v < 1 || v > MaxItems)
        return false;
    if (col == bcNumber) {
        if (!BranchPresent(m_t, v))
            return true;
        if (row > ItemCount())
            ShowTableError(LookupText(QStringLiteral("Ветвь с таким номером уже есть")));
        return false;
    }
    // The two ends are compared as numbers: "07" and "7" are one node.
    int other = 0;
    return !ReadInt(Cell(col == bcStartNode ? bcEndNode : bcStartNode, row), other) || other != v;
}

bool TBranchTable::CheckCell(int col, int row)
{
    const QString text = Cell(col, row).trimmed();
    const bool empty = text.isEmpty();
    bool ok = true;
    double v = 0;
    int i = 0;
    // The number of an existing branch is not typed; it stays as filled.
    if (col == bcNumber && RowExists(row))
        return true;
    switch (col) {
    case bcNumber:
    case bcStartNode:
    case bcEndNode:
    case bcR:
        // These cells are never empty; an empty one is refused without a word.
        if (empty)
            return false;
        ok = col == bcR ? ReadFloat(text, v) && v > 0 && v < ValueLimit : CheckNumberCell(col, row);
        break;
    case bcName:
        return true;
    case bcLength:
        // The length is a 16-bit number in the tables and the file.
        ok = empty || (ReadInt(text, i) && i >= 0 && i <= std::numeric_limits<std::int16_t>::max());
        break;
    case bcArea:
    case bcHeight:
        ok = empty || (ReadFloat(text, v) && v >= 0);
        break;
    case bcStartTemp:
    case bcEndTemp:
        ok = empty || (ReadFloat(text, v) && v >= -10 && v <= 40);
        break;
    case bcAngle:
        ok = empty || (ReadFloat(text, v) && v >= -90 && v <= 90);
        break;
    case bcPLAPosition:
        ok = empty || (ReadInt(text, i) && i >= 0 && i <= MaxItems);
        break;
    case bcType:
        ok = empty || BranchTypeByName(text) < UnknownBranchType;
        break;
    case bcFixedDepression:
    case bcRequiredFlow: {
        ok = empty || (ReadFloat(text, v) && v >= 0 && v < ValueLimit);
        if (!ok)
            break;
        const QString other = Cell(col == bcFixedDepression ? bcRequiredFlow : bcFixedDepression, row).trimmed();
        double w = 0;
        if (!empty && !other.isEmpty() && ReadFloat(other, w) && v > PairThreshold && w > PairThreshold) {
            ShowTableError(
                LookupText(QStringLiteral("Недопустимы у ветви одновременно фиксированные депрессия и расход.")));
            return false;
        }
        break;
    }
    default:
        ok = empty || (ReadFloat(text, v) && v >= 0 && v < ValueLimit);
        break;
    }
    if (!ok)
        ShowTableError(InvalidValueText());
    return ok;
}

void TBranchTable::TouchEndNode(int node)
{
    if (!ValidItemIndex(node) || m_t.NodeNo[node] != 0)
        return;
    m_t.NodeNo[node] = static_cast<std::int16_t>(node);
    CreatedNodes[static_cast<std::size_t>(node)] = true;
}

void TBranchTable::StoreCell(int col, int row)
{
    const int n = RowNumber(row);
    TNetworkTables &t = m_t;
    const QString text = Cell(col, row).trimmed();
    // A cell left as it was filled stores nothing: the shown text may be
    // rounded, and passing over it must not change the value.
    if (col != bcName && text == RowTexts(n).value(col).trimmed())
        return;
    bool changed = false;
    double v = 0;
    int i = 0;
    const auto number = [&](double emptyValue) {
        if (text.isEmpty())
            return emptyValue;
        ReadFloat(text, v);
        return v;
    };
    switch (col) {
    case bcStartNode:
    case bcEndNode: {
        ReadInt(text, i);
        std::int16_t &end = col == bcStartNode ? t.BranchStartNode[n] : t.BranchEndNode[n];
        if (end == i)
            break;
        end = static_cast<std::int16_t>(i);
        TouchEndNode(i);
        // The branch's drawn end follows its new node.
        if (t.BranchTurns[n] && !t.BranchTurns[n]->empty()) {
            TTurn &edge = col == bcStartNode ? t.BranchTurns[n]->front() : t.BranchTurns[n]->back();
            edge.X = t.NodeX[i];
            edge.Y = t.NodeY[i];
        }
        changed = true;
        break;
    }
    case bcName:
        if (t.BranchName[n] != Cell(col, row)) {
            SetBranchName(t, n, Cell(col, row));
            changed = true;
        }
        break;
    case bcR: StoreIfDiffers(t.BranchR[n], number(0), changed); break;
    case bcLength:
    case bcPLAPosition: {
        const std::int16_t value = text.isEmpty() ? 0 : static_cast<std::int16_t>(StrToInt(text));
        std::int16_t &stored = col == bcLength ? t.BranchLength[n] : t.BranchPLAPosition[n];
        if (stored != value) {
            stored = value;
            changed = true;
        }
        break;
    }
    case bcArea: StoreIfDiffers(t.BranchArea[n], number(0), changed); break;
    case bcAuxDepression: StoreIfDiffers(t.BranchAuxDepression[n], number(0), changed); break;
    case bcStartTemp: StoreIfDiffers(t.BranchStartTemp[n], number(TempNotGiven), changed); break;
    case bcEndTemp: StoreIfDiffers(t.BranchEndTemp[n], number(TempNotGiven), changed); break;
    case bcHeight: StoreIfDiffers(t.BranchHeight[n], number(0), changed); break;
    case bcAngle: StoreIfDiffers(t.BranchAngle[n], number(AngleNotGiven), changed); break;
    case bcType: {
        const int code = TypeCodeByName(text);
        if (t.BranchType[n] != code) {
            t.BranchType[n] = static_cast<std::uint8_t>(code);
            changed = true;
        }
        break;
    }
    case bcFixedDepression: StoreIfDiffers(t.BranchFixedDepression[n], number(0), changed); break;
    case bcRequiredFlow: StoreIfDiffers(t.BranchRequiredFlow[n], number(0), changed); break;
    case bcShortCircuitR: StoreIfDiffers(t.BranchShortCircuitR[n], number(0), changed); break;
    case bcNormativeFlow: StoreIfDiffers(t.BranchNormativeFlow[n], number(0), changed); break;
    case bcMeasuredFlow: StoreIfDiffers(t.BranchMeasuredFlow[n], number(0), changed); break;
    case bcMeasuredDepression: StoreIfDiffers(t.BranchMeasuredDepression[n], number(0), changed); break;
    default: break;
    }
    if (changed)
        ChangedBranches[static_cast<std::size_t>(n)] = true;
}

bool TBranchTable::LeaveNewRowCell(int fromCol, int row, int toCol, int toRow)
{
    const bool complete = !Cell(bcNumber, row).trimmed().isEmpty() && !Cell(bcStartNode, row).trimmed().isEmpty()
                          && !Cell(bcEndNode, row).trimmed().isEmpty();
    if (fromCol == bcEndNode && complete) {
        CreateBranchFromRow(row);
        return true;
    }
    if (toRow != row)
        return false;
    return toCol == fromCol || (fromCol == bcNumber && toCol == bcStartNode)
           || (fromCol == bcStartNode && toCol == bcEndNode);
}

void TBranchTable::CreateBranchFromRow(int row)
{
    TNetworkTables &t = m_t;
    const int n = RowNumber(row);
    int s = 0;
    int e = 0;
    ReadInt(Cell(bcStartNode, row), s);
    ReadInt(Cell(bcEndNode, row), e);
    CreatedBranches[static_cast<std::size_t>(n)] = true;
    ShownBranches[static_cast<std::size_t>(n)] = true;
    CreateBranch(t, n);
    t.BranchStartNode[n] = static_cast<std::int16_t>(s);
    t.BranchEndNode[n] = static_cast<std::int16_t>(e);
    t.BranchType[n] = UnknownBranchType;
    t.BranchStartTemp[n] = TempNotGiven;
    t.BranchEndTemp[n] = TempNotGiven;
    t.BranchAngle[n] = AngleNotGiven;
    t.BranchName[n].clear();
    t.BranchFixedDepression[n] = 0;
    t.BranchShortCircuitR[n] = 0;
    TouchEndNode(s);
    TouchEndNode(e);
    // A branch without its end points could not be drawn or picked.
    InsertBranchEdgeTurns(t, n);
    Cells[static_cast<std::size_t>(row)] = RowTexts(n);
    RowItems[static_cast<std::size_t>(row)] = n;
}

void TBranchTable::Confirm(bool leaveCell)
{
    if (BranchCount(m_t) == 0)
        return;
    if (leaveCell)
        LeaveCurrentCell();
    if (!m_host.ObjectChanged)
        return;
    const int last = MaxBranchNo(m_t);
    for (int n = 1; n <= last; ++n) {
        if (!BranchPresent(m_t, n))
            continue;
        if (CreatedBranches[static_cast<std::size_t>(n)])
            m_host.ObjectChanged(std::make_unique<TBranch>(m_t, n), ckCreated);
        if (ChangedBranches[static_cast<std::size_t>(n)])
            m_host.ObjectChanged(std::make_unique<TBranch>(m_t, n), ckChanged);
    }
    const int lastNode = MaxNodeNo(m_t);
    for (int n = 1; n <= lastNode; ++n)
        if (CreatedNodes[static_cast<std::size_t>(n)] && NodeExist(m_t, n))
            m_host.ObjectChanged(std::make_unique<TNode>(m_t, n), ckCreated);
}

// ---- Backup

TTableBackup::TTableBackup(const TNetworkTables &tables, TKind kind, TSchemeDocument *doc)
    : m_kind(kind), m_copy(std::make_unique<TNetworkTables>(tables)), m_doc(doc)
{
    if (doc) {
        m_links = doc->SymbolLinks;
        m_fans = doc->InstalledFans.Items();
    }
}

TTableBackup::~TTableBackup() = default;

namespace {

// Every column of a node's or a branch's entry, for an item that a property
// dialog deleted, made or renumbered while the table was open.
void CopyNodeEntry(TNetworkTables &to, const TNetworkTables &from, int n)
{
    const auto copy = [&](auto member) { (to.*member)[n] = (from.*member)[n]; };
    copy(&TNetworkTables::NodeNo); copy(&TNetworkTables::NodeX); copy(&TNetworkTables::NodeY);
    copy(&TNetworkTables::NodeAltitude); copy(&TNetworkTables::NodeLiftToSurface);
    copy(&TNetworkTables::NodeIsSurface); copy(&TNetworkTables::NodeFlags);
    copy(&TNetworkTables::Node3dX); copy(&TNetworkTables::Node3dY);
}

void CopyBranchEntry(TNetworkTables &to, const TNetworkTables &from, int n)
{
    const auto copy = [&](auto member) { (to.*member)[n] = (from.*member)[n]; };
    using T = TNetworkTables;
    copy(&T::BranchNo); copy(&T::BranchStartNode); copy(&T::BranchEndNode); copy(&T::BranchLength);
    copy(&T::BranchPLAPosition); copy(&T::BranchPeople); copy(&T::BranchR); copy(&T::BranchAuxDepression);
    copy(&T::BranchQ); copy(&T::BranchAlpha); copy(&T::BranchStartTemp); copy(&T::BranchEndTemp);
    copy(&T::BranchArea); copy(&T::BranchHeight); copy(&T::BranchAngle); copy(&T::BranchFlags);
    copy(&T::BranchLabelFlags); copy(&T::BranchType); copy(&T::BranchDGSMark); copy(&T::BranchName);
    copy(&T::BranchIsFresh); copy(&T::BranchPLAColor); copy(&T::BranchGivenDepression);
    copy(&T::BranchRequiredFlow); copy(&T::BranchTurns); copy(&T::BranchLayer); copy(&T::BranchFixedDepression);
    copy(&T::BranchShortCircuitR); copy(&T::BranchMeasuredDepression); copy(&T::BranchMeasuredFlow);
    copy(&T::BranchNormativeFlow); copy(&T::BranchMinSpeed); copy(&T::BranchMaxSpeed);
    copy(&T::BranchCableCells); copy(&T::BranchDegasValve); copy(&T::BranchFirePipeDiameter);
    copy(&T::BranchBeltType); copy(&T::BranchBeltWidth); copy(&T::BranchGasLayerControl);
    copy(&T::BranchExtraRecord); copy(&T::BranchQBaseline); copy(&T::BranchHBaseline); copy(&T::BranchRBaseline);
}

// The entries of the branches flagged come back as they were saved, each at
// its saved place; the entries of the other branches stay as they are now.
template <typename Entry>
std::vector<Entry> PutBackEntries(const std::vector<Entry> &now, const std::vector<Entry> &saved,
                                  const std::vector<bool> &flagged)
{
    const auto isFlagged = [&](const Entry &e) {
        return e.Branch > 0 && e.Branch <= MaxItems && flagged[static_cast<std::size_t>(e.Branch)];
    };
    std::vector<Entry> result;
    std::copy_if(now.begin(), now.end(), std::back_inserter(result), [&](const Entry &e) { return !isFlagged(e); });
    for (std::size_t i = 0; i < saved.size(); ++i)
        if (isFlagged(saved[i]))
            result.insert(result.begin() + static_cast<std::ptrdiff_t>(std::min(i, result.size())), saved[i]);
    return result;
}

} // namespace

void TTableBackup::Restore(TNetworkTables &t) const
{
    const TNetworkTables &b = *m_copy;
    // Items whose existence changed meanwhile come back whole, or go whole.
    // A telephone goes back to a branch renumbered away, whose new number
    // then loses it again, and to a deleted branch while the scheme still
    // holds it.
    std::vector<bool> branchChanged(MaxItems + 1, false);
    for (int n = 1; n <= MaxItems; ++n) {
        if ((b.BranchNo[n] == n) != (t.BranchNo[n] == n)) {
            branchChanged[static_cast<std::size_t>(n)] = true;
            TTelephone *phone = t.BranchPhone[n];
            CopyBranchEntry(t, b, n);
            t.BranchPhone[n] = b.BranchNo[n] == n ? nullptr : phone;
        }
        if ((b.NodeNo[n] == n) != (t.NodeNo[n] == n))
            CopyNodeEntry(t, b, n);
    }
    for (int n = 1; n <= MaxItems; ++n)
        if (b.BranchNo[n] == n && !t.BranchPhone[n] && b.BranchPhone[n])
            for (int m = 1; m <= MaxItems; ++m)
                if (t.BranchPhone[m] == b.BranchPhone[n] && b.BranchNo[m] != m) {
                    t.BranchPhone[n] = b.BranchPhone[n];
                    t.BranchPhone[m] = nullptr;
                    break;
                }
    if (m_doc) {
        for (int n = 1; n <= MaxItems; ++n) {
            TTelephone *phone = b.BranchPhone[n];
            if (branchChanged[static_cast<std::size_t>(n)] && b.BranchNo[n] == n && !t.BranchPhone[n] && phone
                && m_doc->PhoneList.Contains(phone)
                && std::find(t.BranchPhone.begin(), t.BranchPhone.end(), phone) == t.BranchPhone.end())
                t.BranchPhone[n] = phone;
        }
        m_doc->SymbolLinks = PutBackEntries(m_doc->SymbolLinks, m_links, branchChanged);
        m_doc->InstalledFans.SetItems(PutBackEntries(m_doc->InstalledFans.Items(), m_fans, branchChanged));
    }
    t.NodeNo = b.NodeNo;
    t.BranchTurns = b.BranchTurns;
    if (m_kind == tkNodes) {
        t.NodeAltitude = b.NodeAltitude;
        t.NodeIsSurface = b.NodeIsSurface;
        t.NodeLiftToSurface = b.NodeLiftToSurface;
        t.Node3dX = b.Node3dX;
        t.Node3dY = b.Node3dY;
        t.BranchStartNode = b.BranchStartNode;
        t.BranchEndNode = b.BranchEndNode;
        return;
    }
    t.BranchNo = b.BranchNo;
    t.BranchStartNode = b.BranchStartNode;
    t.BranchEndNode = b.BranchEndNode;
    t.BranchLength = b.BranchLength;
    t.BranchType = b.BranchType;
    t.BranchR = b.BranchR;
    t.BranchAuxDepression = b.BranchAuxDepression;
    t.BranchQ = b.BranchQ;
    t.BranchStartTemp = b.BranchStartTemp;
    t.BranchEndTemp = b.BranchEndTemp;
    t.BranchArea = b.BranchArea;
    t.BranchHeight = b.BranchHeight;
    t.BranchAngle = b.BranchAngle;
    t.BranchIsFresh = b.BranchIsFresh;
    t.BranchName = b.BranchName;
    t.BranchFixedDepression = b.BranchFixedDepression;
    t.BranchRequiredFlow = b.BranchRequiredFlow;
    t.BranchNormativeFlow = b.BranchNormativeFlow;
    t.BranchMeasuredFlow = b.BranchMeasuredFlow;
    t.BranchMeasuredDepression = b.BranchMeasuredDepression;
    t.BranchShortCircuitR = b.BranchShortCircuitR;
    t.BranchPLAPosition = b.BranchPLAPosition;
}
