#include "shell/branch_list.h"

#include "model/branch_values.h"
#include "platform/prompt.h"

namespace {

struct TColumn
{
    const char16_t *Caption;
    TColumnAlignment Alignment;
};

const TColumn Columns[BranchColumnCount] = {
    {u"Ветвь №, название", caLeft}, {u"Тип", caCentre},      {u"Нач. уз.", caRight},
    {u"Кон. уз.", caRight},          {u"Сопр.", caRight},     {u"Депр.", caRight},
    {u"Доп. депр.", caRight},        {u"Длина", caRight},     {u"Расход", caRight},
    {u"Тепм. нач.", caRight},        {u"Тепм. кон.", caRight}, {u"Пл. сеч.", caRight},
    {u"Уг. накл.", caRight},         {u"Людей", caRight},     {u"Свежая", caCentre},
    {u"Поз. ПЛА", caCentre},
};

} // namespace

QString BranchColumnCaption(int k)
{
    return k >= 0 && k < BranchColumnCount ? LookupText(QString::fromUtf16(Columns[k].Caption)) : QString();
}

TColumnAlignment BranchColumnAlignment(int k)
{
    return k >= 0 && k < BranchColumnCount ? Columns[k].Alignment : caLeft;
}

QString BranchColumnText(const TNetworkTables &t, int k, int n)
{
    switch (k) {
    case 0:
        if (t.BranchName[n].isEmpty())
            return QStringLiteral(" >>> Эта ветвь без названия? <<<");
        return QStringLiteral("(%1). %2").arg(n).arg(t.BranchName[n]);
    case 1: return BranchTypeName(t.BranchType[n]);
    case 2: return QString::number(t.BranchStartNode[n]);
    case 3: return QString::number(t.BranchEndNode[n]);
    case 4: return FormatBranchR(t, n);
    case 5: return FormatBranchDepression(t, n);
    case 6: return FormatBranchAuxDepression(t, n);
    case 7: return FormatBranchLength(t, n);
    case 8: return FormatBranchQ(t, n);
    case 9: return FormatBranchStartTemp(t, n);
    case 10: return FormatBranchEndTemp(t, n);
    case 11: return FormatBranchArea(t, n);
    case 12: return FormatBranchAngle(t, n);
    case 13: return QString::number(t.BranchPeople[n]);
    case 14: return t.BranchIsFresh[n] ? QStringLiteral("+") : QStringLiteral("-");
    case 15: return QString::number(t.BranchPLAPosition[n]);
    default: return {};
    }
}
