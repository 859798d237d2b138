#include "journal/refresh.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString TildeLine(33, u'~');

std::int32_t FlowPerMinute(double q)
{
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(Round(60 * q), lo, hi));
}

} // namespace

bool BranchInNetwork(const TJournalNetwork &net, const TJournalBranchTables &tables, int n)
{
    return net.ValidItemIndex(n) && tables.BranchNo[n - 1] == n;
}

TRefreshResult RefreshMeasurement(const TJournalNetwork &net, const TJournalBranchTables &tables,
                                  TBranchRecord &m)
{
    const int n = m.Number;
    if (!BranchInNetwork(net, tables, n))
        return TRefreshResult::NotInNetwork;
    const double q = tables.BranchQ[n - 1];
    const double area = tables.BranchArea[n - 1];
    const double speed = q / area;
    m.Sec = area;
    m.Out = FlowPerMinute(q);
    m.Speed = std::isfinite(speed) ? speed : 0;
    m.Temperature = tables.BranchStartTemp[n - 1];
    m.Name = net.GetBranchName(n);
    return std::isfinite(speed) ? TRefreshResult::Refreshed : TRefreshResult::ZeroSection;
}

QStringList RefreshFromNetwork(TKerstal &journal, const TJournalNetwork &net)
{
    QStringList log{QStringLiteral("Обновление вентжурнала \"%1\"").arg(journal.FileName), TildeLine};
    const TJournalBranchTables tables = net.GetBranchInfoBlock();

    // The message of one measurement, empty when it refreshed or names no branch.
    auto refresh = [&](TBranchRecord &m, const QString &zeroSection, const QString &missing) {
        if (m.Number == 0)
            return QString();
        switch (RefreshMeasurement(net, tables, m)) {
        case TRefreshResult::NotInNetwork:
            return missing.arg(m.Number);
        case TRefreshResult::ZeroSection:
            journal.Modified = true;
            return zeroSection.arg(m.Number);
        case TRefreshResult::Refreshed:
            journal.Modified = true;
            break;
        }
        return QString();
    };

    for (int i = 0; i < journal.Count(); ++i) {
        TRubric &rubric = *journal.Items(i);
        QStringList errors;
        for (int j = 0; j < rubric.Count(); ++j) {
            TRubricRecord &record = *rubric.Items(j);
            QString line = refresh(record.InBranch, QStringLiteral("Поступающая: Ветвь № %1: сечение = 0"),
                                   QStringLiteral("Пост.: Ветвь № %1: нет в БД"));
            const QString out = refresh(record.OutBranch, QStringLiteral("Исх.: Ветвь № %1: сечение = 0"),
                                        QStringLiteral("Исх.: Ветвь № %1: нет в БД"));
            if (!out.isEmpty())
                line += QStringLiteral("   ") + out;
            if (!line.isEmpty())
                errors.append(line);
        }
        if (errors.isEmpty()) {
            log.append(QStringLiteral("Рубрика: \"%1\" - OK!").arg(rubric.Name));
        } else {
            log.append(QStringLiteral("Рубрика: \"%1\" - Ошибки:").arg(rubric.Name));
            log.append(errors);
        }
    }
    log.append(TildeLine);
    log.append(QStringLiteral("Обновление закончено"));
    return log;
}
