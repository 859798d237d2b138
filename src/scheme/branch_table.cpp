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

TTableBackup::TTableBackup(const TNetworkTables &tables, TSchemeDocument *doc)
    : m_copy(std::make_unique<TNetworkTables>(tables)), m_doc(doc)
{
    if (!doc)
        return;
    m_docCopy = std::make_unique<TSchemeDocument>(*doc);
    for (int i = 0; i < doc->PhoneList.Count(); ++i)
        m_phones.push_back(&doc->PhoneList[i]);
}

TTableBackup::~TTableBackup() = default;

namespace {

// An owning list goes back to its copy only when it differs, so that the
// objects of an untouched list keep their places.
template <typename List>
void PutBackList(List &now, const List &saved)
{
    if (!(now == saved))
        now = saved;
}

} // namespace

void TTableBackup::Restore(TNetworkTables &t) const
{
    // Whatever happened meanwhile (renumbers in a chain or a swap, deletions,
    // numbers used again, new items), every entry of every item comes back
    // as it was, and with it all that the document attached to the items.
    t = *m_copy;
    if (!m_doc)
        return;
    TSchemeDocument &doc = *m_doc;
    const TSchemeDocument &saved = *m_docCopy;
    // The branches point at the telephones they had. While those objects are
    // all still there, untouched and in their order, the pointers hold;
    // otherwise the list is put back and each branch finds its telephone by
    // its place in the list.
    bool samePhones = doc.PhoneList == saved.PhoneList && doc.PhoneList.Count() == int(m_phones.size());
    for (int i = 0; samePhones && i < doc.PhoneList.Count(); ++i)
        samePhones = &doc.PhoneList[i] == m_phones[static_cast<std::size_t>(i)];
    if (!samePhones) {
        doc.PhoneList = saved.PhoneList;
        for (int n = 1; n <= MaxItems; ++n) {
            if (!t.BranchPhone[n])
                continue;
            const auto at = std::find(m_phones.begin(), m_phones.end(), t.BranchPhone[n]);
            t.BranchPhone[n] = at == m_phones.end() ? nullptr : &doc.PhoneList[int(at - m_phones.begin())];
        }
    }
    doc.MineProperties = saved.MineProperties;
    doc.Layers = saved.Layers;
    doc.InstalledFans = saved.InstalledFans;
    doc.SymbolLinks = saved.SymbolLinks;
    PutBackList(doc.PictureSymbolList, saved.PictureSymbolList);
    PutBackList(doc.BalloonList, saved.BalloonList);
    PutBackList(doc.MapTexts, saved.MapTexts);
}
