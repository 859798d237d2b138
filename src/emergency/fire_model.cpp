#include "emergency/fire_model.h"

#include "platform/exceptions.h"
#include "platform/float_format.h"
#include "platform/prompt.h"
#include "model/branch_order.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The help topic of the warning that the flow may reverse.
constexpr int ReversalHelpTopic = 90;

const QString NoBranchPrefix = QStringLiteral(" Ветвь ");
const QString NoBranchSuffix = QStringLiteral(" отсутсвует в сети выработок");

// Depressions in the window's texts.
QString DepressionText(double h) { return FloatToStrF(h, ffFixed, 9, 2); }

// Values of the first page: two decimals, at least four characters wide.
QString BranchValueText(double v) { return FloatToStrF(v, ffFixed, 15, 2).rightJustified(4); }

bool Contains(const TGasZoneList &zone, int b) { return std::find(zone.begin(), zone.end(), b) != zone.end(); }

// Bit for bit, so that a value that is no number still counts as unchanged.
bool SameValue(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

QString FirePageCaption(int page)
{
    static const char *const captions[FirePageCount] = {
        "Пожарная ветвь",       "Аварийное воздухораспределение", "Зона загазирования 1",
        "Зона загазирования 2", "Места опрокидывания",            "Зона высоких температур",
        "Параметры очага пожара",
    };
    return page >= 0 && page < FirePageCount ? QString::fromUtf8(captions[page]) : QString();
}

QString FilterBranchNumberText(const QString &text)
{
    QString s = text;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c.isDigit() && c.unicode() < 128)
            continue;
        if (i == 0 && (c == u'-' || c == u'+') && s.size() > 1)
            continue;
        s.remove(i, 1);
        break;
    }
    bool ok = false;
    const qlonglong n = s.toLongLong(&ok);
    if (ok && n > MaxFireBranchNo && s.size() >= 2)
        s.remove(s.size() - 2, 1);
    return s;
}

std::vector<TFireLoadRow> FireLoadTableRows(const TFireSeries &a, const TFireSeries &b)
{
    std::vector<TFireLoadRow> rows;
    for (int r = 1; r <= b.Count(); ++r) {
        TFireLoadRow row;
        row.Minute = QString::number(r).rightJustified(3);
        // A minute that the first series lacks, or where it is 0, has no difference.
        if (r <= a.Count() && a[r] != 0)
            row.Difference = FloatToStrF((a[r] - b[r]) / a[r] * 100, ffFixed, 15, 1).rightJustified(4);
        rows.push_back(row);
    }
    return rows;
}

TFireModel::TFireModel(TNetworkTables &t)
    : NormalH(t.HeldNormalH), NormalQ(t.HeldNormalQ), EmergencyH(t.HeldEmergencyH), EmergencyQ(t.HeldEmergencyQ),
      m_t(t), m_leftH(t.HeldLeftH)
{
    NormalH = t.BranchAuxDepression;
    NormalQ = t.BranchQ;
    EmergencyH = NormalH;
    EmergencyQ = NormalQ;
    m_leftH = NormalH;
}

TFireModel::~TFireModel()
{
    PutNormal();
    // Nothing of the model stays in the tables after it.
    for (TTable<double> *held : {&NormalH, &NormalQ, &EmergencyH, &EmergencyQ, &m_leftH})
        held->fill(0);
}

void TFireModel::TakeUserDepressions()
{
    for (int b = 1; b < TableSize; ++b) {
        const double h = m_t.BranchAuxDepression[b];
        if (!SameValue(h, m_leftH[b]))
            NormalH[b] = EmergencyH[b] = m_leftH[b] = h;
    }
}

void TFireModel::Put(const TTable<double> &h, const TTable<double> &q)
{
    TakeUserDepressions();
    m_t.BranchAuxDepression = h;
    m_t.BranchQ = q;
    m_leftH = h;
}

void TFireModel::PutNormal()
{
    Put(NormalH, NormalQ);
}

void TFireModel::PutEmergency()
{
    Put(EmergencyH, EmergencyQ);
}

void TFireModel::SwapNormal()
{
    // Only the outward exchange sees the user's values; the return brings
    // back exactly what the model had left.
    if (!m_swapped)
        TakeUserDepressions();
    m_swapped = !m_swapped;
    std::swap(m_t.BranchAuxDepression, NormalH);
    std::swap(m_t.BranchQ, NormalQ);
}

TFireBranchInfo TFireModel::ShowFireBranch(int b)
{
    PutNormal();
    return DescribeFireBranch(b);
}

TFireBranchInfo TFireModel::DescribeFireBranch(int b)
{
    TFireBranchInfo info;
    VentKind = 0;
    if (!BranchExist(m_t, b))
        return info;
    info.Exists = true;
    info.Name = GetBranchName(m_t, b);
    info.PLAPosition = QString::number(m_t.BranchPLAPosition[b]);
    info.Length = QString::number(m_t.BranchLength[b]);
    info.Area = BranchValueText(m_t.BranchArea[b]);
    info.Angle = BranchValueText(m_t.BranchAngle[b]);
    info.Flow = BranchValueText(NormalQ[b]);
    info.Temperature = BranchValueText(m_t.BranchStartTemp[b]);
    if (m_t.BranchLength[b] > 0) {
        VentKind = VentType(m_t.BranchLength[b], m_t.NodeAltitude[m_t.BranchStartNode[b]],
                            m_t.NodeAltitude[m_t.BranchEndNode[b]], NormalQ[b]);
        if (VentKind == vtDescending)
            info.VentTypeText = QStringLiteral("Нисходящее проветривание");
        else if (VentKind == vtAscending)
            info.VentTypeText = QStringLiteral("Восходящее проветривание");
        info.ThermalChoice = VentKind != 0;
    }
    return info;
}

TFireInputCheck TFireModel::CheckInput(const QString &text) const
{
    bool ok = false;
    const int b = text.trimmed().toInt(&ok);
    if (!ok)
        return fiNotNumber;
    if (!BranchExist(m_t, b)) {
        ShowMessageBox(NoBranchPrefix + text + NoBranchSuffix, QString(), mb::Ok | mb::IconError);
        return fiNoBranch;
    }
    QStringList missing;
    if (m_t.BranchLength[b] <= 0)
        missing << QStringLiteral("длину");
    if (m_t.BranchArea[b] < 0.1)
        missing << QStringLiteral(" площадь сечения");
    if (m_t.BranchAngle[b] < 0 || m_t.BranchAngle[b] > 90)
        missing << QStringLiteral(" угол наклона");
    if (m_t.BranchStartTemp[b] < -50)
        missing << QStringLiteral(" температуру начала");
    if (std::fabs(NormalQ[b]) < 0.001)
        missing << QStringLiteral(" расход воздуха");
    if (missing.isEmpty())
        return fiOk;
    ShowMessageBox(QStringLiteral("Недостаточно информации для решения задачи. Задайте ") + missing.join(u',')
                       + QStringLiteral(" в пожарной ветви."),
                   QString(), mb::Ok | mb::IconError);
    return fiIncomplete;
}

bool TFireModel::Compute(const QString &text, TFireInputCheck *check)
{
    TFireInputCheck unused = fiOk;
    TFireInputCheck &result = check ? *check : unused;
    bool isNumber = false;
    const int b = text.trimmed().toInt(&isNumber);
    if (!isNumber || !BranchExist(m_t, b)) {
        result = CheckInput(text);
        return false;
    }
    // The normal distribution is solved first, with the additional
    // depressions as they stand now (the user may have changed some since
    // the model was made): the checks, the ventilation type, the pages and
    // the warnings compare against this one, as they would had the change
    // been made before the fire.
    TakeUserDepressions();
    m_t.BranchAuxDepression = NormalH;
    m_leftH = NormalH;
    if (!CalcAir(Owner, m_t)) {
        // The branch table that a failure opens may have changed depressions.
        PutNormal();
        result = fiOk;
        return false;
    }
    NormalQ = m_t.BranchQ;
    DescribeFireBranch(b);
    result = CheckInput(text);
    if (result != fiOk)
        return false;
    if (UseFireLoad) {
        // Only what was saved in the file counts.
        try {
            LoadFireLoad(FireLoadFolder, FireLoadRec);
        } catch (const Exception &e) {
            ShowMessageBox(e.Message(), QString(), mb::Ok | mb::IconError);
            return false;
        }
    }
    FireBranch = b;
    Zone1 = BuildZone(0);
    Zone2 = BuildZone(VentKind);
    EmergencyH = m_t.BranchAuxDepression;
    EmergencyQ = m_t.BranchQ;
    m_leftH = EmergencyH;
    m_computed = true;
    WarnAfterCompute();
    return true;
}

TGasZoneList TFireModel::BuildZone(int mode)
{
    const TFireOptions options{UseFireLoad ? &FireLoadRec : nullptr, FireTime};
    TZoneEntryList zone;
    ZoneAfterUpset(m_t, FireBranch, UseThermal ? mode : 0, TableArrays(m_t), options, SeriesCount, UpsetMinute,
                   UpsetDepression, zone);
    return ZoneBranches(zone);
}

void TFireModel::WarnAfterCompute()
{
    if (VentKind == vtDescending && UpsetDepression != 0 && UpsetMinute != 0) {
        ShowHelpMessageBox(QStringLiteral("Внимание! При возникновении пожара в этой выработке, возможно через")
                               + QString::number(UpsetMinute) + QStringLiteral(" мин., после начала пламенного горения,")
                               + QStringLiteral("произойдет опрокидывание вентиляционной струи ")
                               + QStringLiteral("при тепловой депрессии пожара ") + DepressionText(UpsetDepression)
                               + QStringLiteral(" даПа. Необходимо предусмотреть мероприятия по обеспечению устойчивости"),
                           QString(), mb::Ok | mb::IconWarning, ReversalHelpTopic);
    } else if (VentKind == vtAscending) {
        const int n = MaxBranchNo(m_t);
        for (int b = 1; b <= n; ++b) {
            if (BranchExist(m_t, b) && FlowSign(NormalQ[b]) != FlowSign(m_t.BranchQ[b])) {
                ShowMessageBox(QStringLiteral("Внимание! При возникновении пожара в этой выработке, возможно нарушение "
                                              "устойчивости вентиляционных струй в других выработках."),
                               QString(), mb::Ok | mb::IconWarning);
                break;
            }
        }
    } else if (VentKind == vtHorizontal && ValidItemIndex(FireBranch) && m_t.BranchAngle[FireBranch] > 2.99) {
        ShowMessageBox(QStringLiteral("Внимание! Невозможно определить тип проветривания выработки. Расчеты выполнены "
                                      "без учета тепловой депрессии пожара."),
                       QString(), mb::Ok | mb::IconWarning);
    }
}

void TFireModel::SortItems()
{
    TRectPrnList list;
    for (const int b : Items)
        AddRectPrn(m_t, b, list);
    std::sort(list.begin(), list.end(), [](const TRectPrn &a, const TRectPrn &b) { return a.Branch < b.Branch; });
    SortRectPrnForReport(list, ReportStyle == 1 ? 1 : 0);
    Items.clear();
    for (const auto &item : list)
        Items.push_back(item.Branch);
}

void TFireModel::FillEmergencyAir()
{
    PutEmergency();
    Items.clear();
    const int n = MaxBranchNo(m_t);
    for (int b = 1; b <= n; ++b)
        if (BranchExist(m_t, b))
            Items.push_back(b);
    SortItems();
}

void TFireModel::FillZone1()
{
    PutNormal();
    Items = Zone1;
    SortItems();
}

void TFireModel::FillZone2()
{
    PutEmergency();
    Items = Zone2;
    SortItems();
}

bool TFireModel::FillReversals()
{
    PutEmergency();
    Items.clear();
    const int n = MaxBranchNo(m_t);
    for (int b = 1; b <= n; ++b)
        if (BranchExist(m_t, b) && FlowSign(NormalQ[b]) != FlowSign(EmergencyQ[b]))
            Items.push_back(b);
    SortItems();
    return !Items.empty();
}

double TFireModel::FireH() const
{
    return ValidItemIndex(FireBranch) ? EmergencyH[FireBranch] : 0.0;
}

QString TFireModel::EmergencyAirLabel() const
{
    QString text = QStringLiteral("Возможное аварийное воздухораспределение");
    if (FireH() != 0)
        text += QStringLiteral(" при максимальной тепловой депрессии пожара ") + DepressionText(std::fabs(FireH()))
                + QStringLiteral(" даПа");
    return text;
}

QString TFireModel::Zone1Message() const
{
    return VentKind != 0 ? QStringLiteral("Возможная зона загазирования на начальной стадии пожара") : QString();
}

QString TFireModel::Zone2Message() const
{
    if (UpsetDepression != 0 && UpsetMinute != 0)
        return QStringLiteral("  Данная зона загазирования возможна после опрокидывания вент. струи аварийной выработки "
                              "при максимальной тепловой депрессии пожара ")
               + DepressionText(std::fabs(FireH())) + QStringLiteral(" даПа.  ") + u'\n'
               + QStringLiteral("  Опрокидывание возможно через ") + QString::number(UpsetMinute)
               + QStringLiteral(" мин., после начала пламенного горения,") + QStringLiteral(" при тепловой депрессии пожара ")
               + DepressionText(UpsetDepression) + QStringLiteral(" даПа.");
    if (VentKind != 0)
        return QStringLiteral("Возможная зона загазирования при максимальной тепловой депрессии пожара ")
               + DepressionText(std::fabs(FireH())) + QStringLiteral(" даПа");
    return {};
}

QString TFireModel::ReversalsLabel() const
{
    if (UpsetDepression != 0 && UpsetMinute != 0)
        return QStringLiteral("Возможно  через ") + QString::number(UpsetMinute)
               + QStringLiteral(" мин., после начала пламенного горения,")
               + QStringLiteral(" произойдет опрокидывание вент. струи аварийной выработки при ")
               + QStringLiteral("тепловой депрессии пожара ") + DepressionText(UpsetDepression) + QStringLiteral(" даПа");
    return QStringLiteral("Сохраняется устойчивое проветривание");
}

QString TFireModel::UpsetLabel() const
{
    if (VentKind == vtDescending && UpsetDepression != 0 && UpsetMinute != 0)
        return QStringLiteral("Возможно через ") + QString::number(UpsetMinute)
               + QStringLiteral(" мин., после начала пламенного горения,")
               + QStringLiteral(" произойдет опрокидывание вент. струи аварийной выработки при ")
               + QStringLiteral("тепловой депрессии пожара ") + DepressionText(UpsetDepression) + QStringLiteral(" даПа");
    return {};
}

QStringList TFireModel::GridHeader(int row)
{
    if (row == 0)
        return {QStringLiteral("ВЕТВЬ"),   QStringLiteral("НАЧ."),   QStringLiteral("КОН."),
                QStringLiteral("РАСХОД,"), QStringLiteral("РАСХОД,"), QStringLiteral("СОПРО-"),
                QStringLiteral("ДЕПРЕС-"), QStringLiteral("ДОП.ДЕ-")};
    return {QString(),                 QStringLiteral("УЗЕЛ"),    QStringLiteral("УЗЕЛ"),
            QStringLiteral("М3/СЕК."), QStringLiteral("М3/МИН."), QStringLiteral("ТИВЛЕН."),
            QStringLiteral("СИЯ"),     QStringLiteral("ПРЕСИЯ")};
}

QStringList TFireModel::GridRow(int b) const
{
    const double q = m_t.BranchQ[b];
    const double r = m_t.BranchR[b];
    const double h = m_t.BranchAuxDepression[b];
    return {QString::number(b) + QStringLiteral(". ") + GetBranchName(m_t, b),
            QString::number(m_t.BranchStartNode[b]),
            QString::number(m_t.BranchEndNode[b]),
            FloatToStrF(q, ffFixed, 10, 2),
            FloatToStrF(q * 60, ffFixed, 9, 1),
            FloatToStrF(r, ffFixed, 11, 5),
            FloatToStrF(std::fabs(std::fabs(h) - q * q * r), ffFixed, 9, 1),
            FloatToStrF(h, ffFixed, 9, 2)};
}

bool TFireModel::InZone1(int b) const { return Contains(Zone1, b); }
bool TFireModel::InZone2(int b) const { return Contains(Zone2, b); }

std::optional<TColor> TFireModel::RowColor(int b) const
{
    const bool in1 = InZone1(b);
    if (!in1 && !InZone2(b))
        return std::nullopt;
    if (b == FireBranch)
        return TColor(0x0000FF);
    return in1 ? TColor(0x00FFFF) : TColor(0xFFFF00);
}

int TFireModel::ShowZones(TBranchColors &colors, const TSchemeColors &palette, int activePage) const
{
    if (activePage != fpZone1 && VentKind != 0) {
        ShowZonesOnScheme(colors, palette, Zone1, Zone2, FireBranch);
        return fpZone2;
    }
    ShowZoneOnScheme(colors, palette, Zone1, FireBranch);
    return fpZone1;
}

TRect TFireModel::ZoneBounds() const
{
    std::optional<TRect> rect;
    const auto widen = [&rect](int x, int y) {
        if (!rect) {
            rect = TRect{x, y, x, y};
            return;
        }
        rect->Left = std::min(rect->Left, x);
        rect->Top = std::min(rect->Top, y);
        rect->Right = std::max(rect->Right, x);
        rect->Bottom = std::max(rect->Bottom, y);
    };
    const int n = MaxBranchNo(m_t);
    // Zone 1 first, so that the rectangle starts at its first branch.
    std::vector<int> order = Zone1;
    for (int b = 1; b <= n; ++b)
        if (!InZone1(b) && InZone2(b))
            order.push_back(b);
    for (const int b : order) {
        if (!BranchExist(m_t, b))
            continue;
        const auto &turns = m_t.BranchTurns[b];
        if (turns && !turns->empty()) {
            for (const TTurn &p : *turns)
                widen(p.X, p.Y);
        } else {
            widen(m_t.NodeX[m_t.BranchStartNode[b]], m_t.NodeY[m_t.BranchStartNode[b]]);
            widen(m_t.NodeX[m_t.BranchEndNode[b]], m_t.NodeY[m_t.BranchEndNode[b]]);
        }
    }
    // Without a zone (or a network) there is nothing to fit: a small square.
    return rect.value_or(TRect{0, 0, 400, 400});
}

TGasZoneList TFireModel::SmokeZone(int activePage) const
{
    TGasZoneList list = Zone1;
    if (activePage != fpZone1 && VentKind != 0)
        for (const int b : Zone2)
            if (!InZone1(b))
                list.push_back(b);
    return list;
}
