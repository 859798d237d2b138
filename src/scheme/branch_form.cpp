#include "scheme/branch_form.h"

#include "model/speed_limits.h"
#include "platform/float_format.h"
#include "platform/numbers.h"
#include "platform/prompt.h"

#include <QtCore/QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <type_traits>

const std::array<TLabelBox, 16> LabelBoxes = {{
    {lfArea, "Площадь сечения, м2"},
    {lfNumber, "Номер ветви"},
    {lfName, "Название ветви"},
    {lfLength, "Длина, м"},
    {lfR, "Сопротивление, кмюрг"},
    {lfDepression, "Депрессия, мм. в. ст."},
    {lfAuxDepression, "Доп. депрессия, мм. в. ст."},
    {lfQ, "Расход воздуха, м3/с"},
    {lfEndTemp, "Температура в конце, гр. C"},
    {lfStartTemp, "Температура в начале, гр. C"},
    {lfPeople, "Число людей"},
    {lfAlpha, "Альфа"},
    {lfAngle, "Угол наклона, гр."},
    {lfHeight, "Высота прохода, м"},
    {lfArrow, "Стрелка"},
    {lfPLAPosition, "Позиция ПЛА"},
}};

const std::array<TAccessoryBox, 5> AccessoryBoxes = {{
    {bfFireWaterPipe, "Пожарно-оросительный трубопровод"},
    {bfConveyor, "Конвейер"},
    {bfElectricCables, "Электрические кабели"},
    {bfCompressedAirPipe, "Трубопровод со сжатым воздухом"},
    {bfDegassingPipe, "Дегазационный трубопровод"},
}};

const std::array<const char *, 3> BeltTypes = {"РТР", "РТК", "Прочие"};

int BeltWidthMillimetres(int index)
{
    if (index < 0 || index >= static_cast<int>(BeltWidths.size()))
        return 0;
    return BeltWidths[static_cast<std::size_t>(index)];
}

void ShowConversionError(const QString &message)
{
    ShowMessageBox(message, QCoreApplication::applicationName(), mb::Ok | mb::IconError);
}

std::optional<double> SlopeAngle(double startAltitude, double endAltitude, int length)
{
    if (length == 0)
        return 0.0;
    const double rise = std::fabs(startAltitude - endAltitude);
    if (rise > length)
        return std::nullopt;
    return std::asin(rise / length) * 180 / std::numbers::pi;
}

namespace {

constexpr int Int16Min = std::numeric_limits<std::int16_t>::min();
constexpr int Int16Max = std::numeric_limits<std::int16_t>::max();

// How a field is read: an integer within bounds, or a real number; the
// temperatures may stay empty.
struct TFieldRule
{
    bool Integer;
    int Min = 0;
    int Max = 0;
    bool MayBeEmpty = false;
};

constexpr std::array<TFieldRule, BranchFieldCount> FieldRules = {{
    {true, 1, MaxItems},          // No
    {true, 0, 10000},             // Length
    {true, 0, 1000},              // PLAPosition
    {false},                      // R
    {false},                      // AuxDepression
    {false},                      // Q
    {false, 0, 0, true},          // StartTemp
    {false, 0, 0, true},          // EndTemp
    {false},                      // Area
    {false},                      // Height
    {false},                      // Angle
    {true, Int16Min, Int16Max},   // People
    {false},                      // Alpha
    {false},                      // RequiredFlow
    {true, Int16Min, Int16Max},   // DGSMark
}};

// The speed combos' numbers after their first item, m/s.
constexpr double MinSpeedValues[] = {0.15, 0.25, 0.5};
constexpr double MaxSpeedValues[] = {15, 12, 10, 8, 6, 4};

// Written as the numeric edit boxes write a real value.
QString EditFloatText(double value) { return FloatToStrF(value, ffGeneral, 8, 2); }

int ItemOfValue(const QStringList &items, double value)
{
    return static_cast<int>(items.indexOf(FloatToStr(value)));
}

// The number of a speed item; none for the first item and for no item.
std::optional<double> SpeedOfItem(const QStringList &items, int index)
{
    double value = 0;
    if (index < 0 || index >= items.size() || !TryStrToFloat(items[index], value))
        return std::nullopt;
    return value;
}

} // namespace

struct TBranchForm::TValues
{
    std::array<double, BranchFieldCount> Value{};
    std::array<bool, BranchFieldCount> Given{};
    double operator[](TBranchField f) const { return Value[static_cast<int>(f)]; }
    bool IsGiven(TBranchField f) const { return Given[static_cast<int>(f)]; }
};

TBranchForm::TBranchForm(TNetworkTables &tables, TSchemeDocument &doc, TBranchFormHost host)
    : m_t(tables), m_doc(doc), m_host(std::move(host))
{
}

QStringList TBranchForm::MinSpeedItems()
{
    QStringList items{QStringLiteral("не регламентируется")};
    for (double v : MinSpeedValues)
        items << FloatToStr(v);
    return items;
}

QStringList TBranchForm::MaxSpeedItems()
{
    QStringList items{QStringLiteral("не ограничена")};
    for (double v : MaxSpeedValues)
        items << FloatToStr(v);
    return items;
}

QStringList TBranchForm::LayerItems() const
{
    QStringList items;
    for (const TLayer &layer : m_doc.Layers)
        items << layer.Name;
    return items;
}

void TBranchForm::Load(int branch)
{
    Branch = OpenedBranch = branch;
    const int n = branch;
    Name = GetBranchName(m_t, n);
    StartNode = m_t.BranchStartNode[n];
    EndNode = m_t.BranchEndNode[n];
    Reversed = false;
    Text(TBranchField::No) = QString::number(n);
    Text(TBranchField::Length) = QString::number(m_t.BranchLength[n]);
    Text(TBranchField::PLAPosition) = QString::number(m_t.BranchPLAPosition[n]);
    PLAColor = m_t.BranchPLAColor[n];
    Text(TBranchField::R) = FormatBranchR(m_t, n);
    Text(TBranchField::AuxDepression) = FormatBranchAuxDepression(m_t, n);
    Text(TBranchField::Q) = FormatBranchQ(m_t, n);
    Text(TBranchField::StartTemp) = FormatBranchStartTemp(m_t, n);
    Text(TBranchField::EndTemp) = FormatBranchEndTemp(m_t, n);
    Text(TBranchField::Area) = FormatBranchArea(m_t, n);
    Text(TBranchField::Height) = FormatBranchHeight(m_t, n);
    Text(TBranchField::Angle) = FormatBranchAngle(m_t, n);
    Type = m_t.BranchType[n];
    Fresh = m_t.BranchIsFresh[n] != 0;
    Text(TBranchField::People) = QString::number(m_t.BranchPeople[n]);
    Text(TBranchField::RequiredFlow) = EditFloatText(m_t.BranchRequiredFlow[n]);
    Text(TBranchField::DGSMark) = QString::number(m_t.BranchDGSMark[n]);
    CableCells = m_t.BranchCableCells[n];
    DegasValve = m_t.BranchDegasValve[n];
    FirePipeDiameter = m_t.BranchFirePipeDiameter[n];
    // The stored byte 255 is the unchosen belt type.
    BeltType = m_t.BranchBeltType[n] == 255 ? -1 : m_t.BranchBeltType[n];
    BeltWidth = m_t.BranchBeltWidth[n];
    LabelWord = static_cast<std::uint16_t>(m_t.BranchLabelFlags[n]);
    AccessoryBits = static_cast<std::int16_t>(m_t.BranchFlags[n] & AccessoryMask);
    ReversalZone = IsReversalZone(m_t, n);
    Depression = FormatBranchDepression(m_t, n);
    Text(TBranchField::Alpha) = EditFloatText(m_t.BranchAlpha[n]);
    Layer = m_t.BranchLayer[n] < m_doc.Layers.size() ? m_t.BranchLayer[n] : -1;
    ShowSpeedLimits(Type);
    GasLayerControl = m_t.BranchGasLayerControl[n] != 0;
    std::fill(SameLabels.begin(), SameLabels.end(), false);
    FocusField.reset();
    Modified = false;
    PLAColorChanged = false;
    m_flowNegated = false;
    KeepShown();
    LoadSymbolLinks();
    CheckSymbolDistances();
}

void TBranchForm::KeepShown()
{
    m_shown = static_cast<const TBranchFields &>(*this);
    KeepShownSpeedItems();
}

void TBranchForm::KeepShownSpeedItems()
{
    // The program chose these items, not the user: OK leaves a limit of the
    // branch's own as it is until the user picks another. A branch without
    // one stores those of its kind with its first change, as it always has.
    constexpr int NoItemShown = -2;
    m_shown.MinSpeedItem = m_t.BranchMinSpeed[Branch] == SpeedTypeDefault ? NoItemShown : MinSpeedItem;
    m_shown.MaxSpeedItem = m_t.BranchMaxSpeed[Branch] == SpeedTypeDefault ? NoItemShown : MaxSpeedItem;
}

QString TBranchForm::DirectionText() const
{
    return QStringLiteral("Из узла %1 к узлу %2").arg(StartNode).arg(EndNode);
}

QString TBranchForm::SpeedText() const
{
    // The speed control gives kinds it does not check a marker speed; the
    // engineer is shown the real one, and nothing where there is no section.
    const int n = Branch;
    if (m_t.BranchArea[n] == 0)
        return {};
    return QStringLiteral("Скорость воздуха: %1 м/с").arg(FormatFixed(std::fabs(m_t.BranchQ[n] / m_t.BranchArea[n]), 2));
}

std::pair<double, double> TBranchForm::EndAltitudes() const
{
    const auto altitude = [&](int node) { return ValidItemIndex(node) ? m_t.NodeAltitude[node] : 0.0; };
    return {altitude(m_t.BranchStartNode[Branch]), altitude(m_t.BranchEndNode[Branch])};
}

QString TBranchForm::SlopeCaption() const
{
    const auto [start, end] = EndAltitudes();
    const auto angle = SlopeAngle(start, end, m_t.BranchLength[Branch]);
    if (!angle)
        return QStringLiteral("Уг. наклона, гр. >>>");
    return QStringLiteral("Уг. наклона, гр. (%1) ?>>>").arg(FormatFixed(*angle, 1));
}

TSpeedLimitTexts TBranchForm::ShowSpeedLimits(int type)
{
    TSpeedLimitTexts texts;
    if (IsUncontrolledType(type)) {
        texts.Controlled = false;
        texts.NoSpeedText = QStringLiteral("В выработке типа ") + BranchTypeName(type) + u'\n'
            + QStringLiteral(" скорость воздуха не контролируется");
        return texts;
    }
    const double minRule = DefaultMinSpeed(type);
    const double maxRule = DefaultMaxSpeed(type);
    texts.MinRule = minRule == MinSpeedNotRegulated
        ? QStringLiteral("(по ПБ: не регламентируется)")
        : QStringLiteral("(по ПБ: %1 м/с)").arg(FormatFixed(minRule, 2));
    texts.MaxRule = maxRule == MaxSpeedUnlimited
        ? QStringLiteral("(по ПБ: не ограничена)")
        : QStringLiteral("(по ПБ: %1 м/с)").arg(FormatFixed(maxRule, 2));

    // A branch without limits of its own yet (a new one) has those of its
    // kind, as a loaded document gives them; OK would else store "not
    // regulated" and "not limited" for what was meant as the rule.
    const auto own = [](double stored, double rule) { return stored == SpeedTypeDefault ? rule : stored; };
    const double minSpeed = own(m_t.BranchMinSpeed[Branch], minRule);
    if (minSpeed == MinSpeedNotRegulated)
        MinSpeedItem = 0;
    else if (minSpeed > -1)
        MinSpeedItem = ItemOfValue(MinSpeedItems(), minSpeed);
    else
        MinSpeedItem = -1;
    const double maxSpeed = own(m_t.BranchMaxSpeed[Branch], maxRule);
    if (maxSpeed == MaxSpeedUnlimited)
        MaxSpeedItem = 0;
    else if (maxSpeed > -1)
        MaxSpeedItem = ItemOfValue(MaxSpeedItems(), maxSpeed);
    else
        MaxSpeedItem = -1;
    KeepShownSpeedItems();
    return texts;
}

bool TBranchForm::Reverse()
{
    std::swap(StartNode, EndNode);
    Reversed = !Reversed;
    Modified = true;
    QString &q = Text(TBranchField::Q);
    double value = 0;
    if (!TryStrToFloat(q, value) || !std::isfinite(value)) {
        FocusField = TBranchField::Q;
        ShowConversionError(InvalidNumberMessage(q, false));
        return false;
    }
    const bool leftAlone = !Changed(TBranchField::Q);
    q = EditFloatText(-value);
    // The shown text is rounded: a flow the user did not type is negated
    // as stored, not read back from its text.
    if (leftAlone) {
        m_shown.Texts[static_cast<int>(TBranchField::Q)] = q;
        m_flowNegated = !m_flowNegated;
    }
    return true;
}

void TBranchForm::ToggleAllLabels()
{
    LabelWord = (LabelWord & lfNumber) ? 0 : 0xFFFF;
    Modified = true;
}

bool TBranchForm::CalcSlopeAngle()
{
    FocusField.reset();
    const QString &text = Text(TBranchField::Length);
    const TFieldRule &rule = FieldRules[static_cast<int>(TBranchField::Length)];
    int length = 0;
    QString fault;
    if (!TryStrToInt(text, length))
        fault = InvalidNumberMessage(text, true);
    else if (length < rule.Min || length > rule.Max)
        fault = IntRangeMessage(rule.Min, rule.Max);
    if (!fault.isEmpty()) {
        FocusField = TBranchField::Length;
        ShowConversionError(fault);
        return false;
    }
    const auto [start, end] = EndAltitudes();
    const auto angle = SlopeAngle(start, end, length);
    if (!angle) {
        FocusField = TBranchField::Length;
        ShowMessageBox(QStringLiteral("Разность высотных отметок (%1м) превышает длину выработки (%2м).")
                           .arg(FormatFixed(std::fabs(start - end), 1))
                           .arg(length),
                       QStringLiteral("Невозможно рассчитать угол наклона"), mb::Ok | mb::IconError);
        return false;
    }
    const double stored = m_t.BranchAngle[Branch];
    if (stored >= AngleNotGiven || std::fabs(*angle - stored) >= 3) {
        const QString question =
            QStringLiteral(" Рассчитанная по высотным отметкам и длине ветви\r  величина угла наклона (%1) отличается от значения, \r"
                           " введенного в базу данных (%2). \rЗаменить указанный в базе данных угол наклона?")
                .arg(FormatFixed(*angle, 1), FormatFixed(stored, 1));
        if (ShowMessageBox(question, QStringLiteral("ВНИМАНИЕ"), mb::YesNo) != idYes)
            return true;
    }
    Text(TBranchField::Angle) = FormatFixedPD(*angle, 7, 1);
    Modified = true;
    return true;
}

bool TBranchForm::ChoosePLAColor()
{
    TColor color = PLAColor;
    if (!m_host.ChooseColor || !m_host.ChooseColor(color))
        return false;
    PLAColor = color;
    Modified = true;
    PLAColorChanged = true;
    return true;
}

std::vector<TSymbolType> TBranchForm::SymbolTypes() const
{
    return m_host.BranchSymbols ? m_host.BranchSymbols() : std::vector<TSymbolType>{};
}

bool TBranchForm::SymbolsPageVisible() const { return m_t.BranchLength[OpenedBranch] >= SymbolMinBranchLength; }

QStringList TBranchForm::SymbolTypeItems() const
{
    QStringList items;
    for (const TSymbolType &type : SymbolTypes())
        items << type.Description;
    return items;
}

QString TBranchForm::SymbolCaption(const TLink &link) const
{
    for (const TSymbolType &type : SymbolTypes())
        if (type.Name == link.Name)
            return type.Description;
    // The system's own spelling.
    return QStringLiteral("СИМВОЛ %1 ОТСУТСВУЕТ").arg(link.Name);
}

void TBranchForm::LoadSymbolLinks()
{
    Links.clear();
    for (const TLink &link : m_doc.SymbolLinks)
        if (link.Branch == Branch)
            Links.push_back(link);
}

int TBranchForm::SymbolLength() const
{
    int length = 0;
    return TryStrToInt(Text(TBranchField::Length), length) ? length : m_t.BranchLength[OpenedBranch];
}

void TBranchForm::CheckSymbolDistances()
{
    const int last = SymbolLength() - SymbolEndMargin;
    const auto outside = [&](const TLink &link) { return link.Distance < SymbolEndMargin || link.Distance > last; };
    for (auto it = Links.begin(); it != Links.end();) {
        if (!outside(*it)) {
            ++it;
            continue;
        }
        ShowMessageBox(QStringLiteral("Расстояние от начала выработки выходит за диапазон значений (%1-%2 м).")
                           .arg(SymbolEndMargin)
                           .arg(last),
                       QStringLiteral("Предупреждение"), mb::Ok | mb::IconWarning);
        it = Links.erase(it);
    }
}

namespace {
const QString SymbolQueryCaption = QStringLiteral("Добавление символа");
const QString SymbolQueryPrompt = QStringLiteral("Расстояние (метров) от начала выработки");
} // namespace

bool TBranchForm::AddSymbol(int type)
{
    const std::vector<TSymbolType> types = SymbolTypes();
    if (type < 0 || type >= static_cast<int>(types.size()))
        return false;
    int distance = 0;
    for (;;) {
        QString text;
        if (!InputQuery(SymbolQueryCaption, SymbolQueryPrompt, text))
            return false;
        if (TryStrToInt(text, distance))
            break;
    }
    Links.push_back(TLink(Branch, distance, types[static_cast<std::size_t>(type)].Name));
    CheckSymbolDistances();
    if (m_host.SetModified)
        m_host.SetModified(true);
    return true;
}

bool TBranchForm::DeleteSymbol(int row)
{
    if (row < 0 || row >= static_cast<int>(Links.size()))
        return false;
    Links.erase(Links.begin() + row);
    if (m_host.SetModified)
        m_host.SetModified(true);
    return true;
}

bool TBranchForm::EditSymbolDistance(int row)
{
    if (row < 0 || row >= static_cast<int>(Links.size()))
        return false;
    const int last = SymbolLength() - SymbolEndMargin;
    QString text = QString::number(Links[static_cast<std::size_t>(row)].Distance);
    int distance = 0;
    for (;;) {
        if (!InputQuery(SymbolQueryCaption, SymbolQueryPrompt, text))
            return false;
        if (TryStrToInt(text, distance) && distance >= SymbolEndMargin && distance <= last)
            break;
    }
    Links[static_cast<std::size_t>(row)].SetDistance(distance);
    return true;
}

bool TBranchForm::ReenterSymbolDistance(int row, const QString &text)
{
    if (row < 0 || row >= static_cast<int>(Links.size()))
        return false;
    int distance = 0;
    if (!TryStrToInt(text, distance)) {
        ShowMessageBox(QStringLiteral("Задайте целое число!"), QStringLiteral("Ошибка"), mb::Ok | mb::IconError);
        return false;
    }
    Links[static_cast<std::size_t>(row)].SetDistance(distance);
    CheckSymbolDistances();
    return true;
}

void TBranchForm::StoreSymbolLinks()
{
    std::erase_if(m_doc.SymbolLinks,
                  [&](const TLink &link) { return link.Branch == OpenedBranch || link.Branch == Branch; });
    for (TLink link : Links) {
        link.Branch = Branch;
        m_doc.SymbolLinks.push_back(link);
    }
}

bool TBranchForm::ReadFields(TValues &v)
{
    for (int i = 0; i < BranchFieldCount; ++i) {
        const TFieldRule &rule = FieldRules[static_cast<std::size_t>(i)];
        const QString &text = Texts[static_cast<std::size_t>(i)];
        // A field left alone is neither read nor stored, whatever it holds.
        if (!Changed(static_cast<TBranchField>(i)) || (rule.MayBeEmpty && text.isEmpty()))
            continue;
        QString message;
        if (rule.Integer) {
            int value = 0;
            if (!TryStrToInt(text, value))
                message = InvalidNumberMessage(text, true);
            else if (value < rule.Min || value > rule.Max)
                message = IntRangeMessage(rule.Min, rule.Max);
            v.Value[static_cast<std::size_t>(i)] = value;
        } else {
            double value = 0;
            if (!TryStrToFloat(text, value) || !std::isfinite(value))
                message = InvalidNumberMessage(text, false);
            v.Value[static_cast<std::size_t>(i)] = value;
        }
        if (!message.isEmpty()) {
            FocusField = static_cast<TBranchField>(i);
            ShowConversionError(message);
            return false;
        }
        v.Given[static_cast<std::size_t>(i)] = true;
        // The number is checked for a duplicate before any other field.
        if (i == static_cast<int>(TBranchField::No)) {
            const int k = static_cast<int>(v.Value[0]);
            if (k != Branch && BranchPresent(m_t, k)) {
                FocusField = TBranchField::No;
                ShowMessageBox(QStringLiteral("Эта ветвь не может иметь номер %1. Ветвь №%1 уже была определена.").arg(k),
                               QStringLiteral("Ошибка: Дублирование номера ветви"), mb::Ok | mb::IconError);
                return false;
            }
        }
    }
    return true;
}

void TBranchForm::StoreLabels()
{
    const int n = Branch;
    m_t.BranchLabelFlags[n] = static_cast<std::int16_t>(LabelWord);
    m_t.BranchFlags[n] = static_cast<std::int16_t>((m_t.BranchFlags[n] & ~AccessoryMask) | (AccessoryBits & AccessoryMask));
    bool othersChanged = false;
    for (int i = 1; i <= MaxItems; ++i) {
        if (!SameLabels[static_cast<std::size_t>(i)] || m_t.BranchLabelFlags[i] == static_cast<std::int16_t>(LabelWord))
            continue;
        m_t.BranchLabelFlags[i] = static_cast<std::int16_t>(LabelWord);
        othersChanged = true;
    }
    if (othersChanged && m_host.SetModified)
        m_host.SetModified(true);
}

void TBranchForm::Hand(int n, TChangeKind kind)
{
    if (m_host.ObjectChanged)
        m_host.ObjectChanged(std::make_unique<TBranch>(m_t, n), kind);
}

void TBranchForm::Renumber(int k)
{
    Hand(Branch, ckDeleted);
    // The whole entry moves, with what the document attaches to the branch,
    // so that nothing the dialog does not show is lost on the way.
    MoveBranchEntry(m_t, Branch, k);
    MoveBranchAttachments(m_doc, Branch, k);
    Branch = k;
    Hand(k, ckCreated);
}

void TBranchForm::StoreValues(const TValues &v)
{
    const int n = Branch;
    // Only what the user changed: a field left alone keeps its stored value
    // bit for bit, and a value held for a model (a fire's depression and
    // flows) is never taken for the user's.
    const auto store = [&](TBranchField f, auto &column) {
        if (v.IsGiven(f))
            column[n] = static_cast<std::remove_reference_t<decltype(column[n])>>(v[f]);
    };
    const TBranchFields &was = m_shown;
    if (Layer >= 0 && Layer != was.Layer)
        m_t.BranchLayer[n] = static_cast<std::uint8_t>(Layer);
    if (Name != was.Name)
        SetBranchName(m_t, n, Name);
    m_t.BranchStartNode[n] = static_cast<std::int16_t>(StartNode);
    m_t.BranchEndNode[n] = static_cast<std::int16_t>(EndNode);
    if (Reversed && m_t.BranchTurns[n])
        std::reverse(m_t.BranchTurns[n]->begin(), m_t.BranchTurns[n]->end());
    store(TBranchField::Length, m_t.BranchLength);
    store(TBranchField::PLAPosition, m_t.BranchPLAPosition);
    if (PLAColor != was.PLAColor)
        m_t.BranchPLAColor[n] = PLAColor;
    store(TBranchField::R, m_t.BranchR);
    store(TBranchField::AuxDepression, m_t.BranchAuxDepression);
    if (v.IsGiven(TBranchField::Q))
        m_t.BranchQ[n] = v[TBranchField::Q];
    else if (m_flowNegated)
        m_t.BranchQ[n] = -m_t.BranchQ[n];
    store(TBranchField::StartTemp, m_t.BranchStartTemp);
    store(TBranchField::EndTemp, m_t.BranchEndTemp);
    store(TBranchField::Area, m_t.BranchArea);
    store(TBranchField::Height, m_t.BranchHeight);
    store(TBranchField::Angle, m_t.BranchAngle);
    if (Fresh != was.Fresh)
        m_t.BranchIsFresh[n] = Fresh ? 1 : 0;
    store(TBranchField::People, m_t.BranchPeople);
    // An unknown stored kind shows no item and stays as it was.
    if (Type >= 0 && Type != was.Type)
        m_t.BranchType[n] = static_cast<std::uint8_t>(Type);
    store(TBranchField::Alpha, m_t.BranchAlpha);
    store(TBranchField::RequiredFlow, m_t.BranchRequiredFlow);
    store(TBranchField::DGSMark, m_t.BranchDGSMark);
    if (ReversalZone != was.ReversalZone)
        m_t.BranchFlags[n] = static_cast<std::int16_t>(ReversalZone ? (m_t.BranchFlags[n] | bfReversalZone)
                                                                    : (m_t.BranchFlags[n] & ~bfReversalZone));
    if (GasLayerControl != was.GasLayerControl)
        m_t.BranchGasLayerControl[n] = GasLayerControl ? 1 : 0;
    if (CableCells != was.CableCells)
        m_t.BranchCableCells[n] = CableCells;
    if (DegasValve != was.DegasValve)
        m_t.BranchDegasValve[n] = DegasValve;
    if (FirePipeDiameter != was.FirePipeDiameter)
        m_t.BranchFirePipeDiameter[n] = FirePipeDiameter;
    if (BeltType != was.BeltType)
        m_t.BranchBeltType[n] = static_cast<std::uint8_t>(BeltType);
    if (BeltWidth != was.BeltWidth)
        m_t.BranchBeltWidth[n] = static_cast<std::int16_t>(BeltWidth);
    if (MinSpeedItem != was.MinSpeedItem)
        m_t.BranchMinSpeed[n] = SpeedOfItem(MinSpeedItems(), MinSpeedItem).value_or(MinSpeedNotRegulated);
    if (MaxSpeedItem != was.MaxSpeedItem)
        m_t.BranchMaxSpeed[n] = SpeedOfItem(MaxSpeedItems(), MaxSpeedItem).value_or(MaxSpeedUnlimited);
}

bool TBranchForm::Apply()
{
    FocusField.reset();
    TValues values;
    // Every field is read before anything is stored, so that a refused OK
    // followed by "Отмена" leaves the tables as they were.
    if (Modified && !ReadFields(values))
        return false;

    StoreLabels();
    if (Modified) {
        const int k = values.IsGiven(TBranchField::No) ? static_cast<int>(values[TBranchField::No]) : Branch;
        if (k != Branch)
            Renumber(k);
        StoreValues(values);
        if (!PLAColorChanged)
            Hand(Branch, ckChanged);
        if (m_host.PLAColorsShown && m_host.PLAColorsShown() && m_host.Colors) {
            for (int i = 1; i <= MaxItems; ++i)
                (*m_host.Colors)[static_cast<std::size_t>(i)] = m_t.BranchPLAColor[i];
            if (m_host.Redraw)
                m_host.Redraw();
        }
        if (m_host.SetModified)
            m_host.SetModified(true);
    }
    if (PLAColorChanged) {
        TBranchColors unused{};
        const bool shown = m_host.PLAColorsShown && m_host.PLAColorsShown() && m_host.Colors;
        SetPLAPositionColor(m_t, m_t.BranchPLAPosition[Branch], m_t.BranchPLAColor[Branch], shown,
                            shown ? *m_host.Colors : unused);
    }
    CheckSymbolDistances();
    StoreSymbolLinks();
    return true;
}

bool TBranchForm::Delete()
{
    if (m_host.CanDeleteObject && !m_host.CanDeleteObject(Branch))
        return false;
    RemoveBranchSymbolLinks(m_doc, Branch);
    auto snapshot = std::make_unique<TBranch>(m_t, Branch);
    DestroyBranch(m_t, Branch);
    if (m_host.ObjectChanged)
        m_host.ObjectChanged(std::move(snapshot), ckDeleted);
    if (m_host.Redraw)
        m_host.Redraw();
    return true;
}
