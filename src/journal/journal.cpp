#include "journal/journal.h"

#include "model/helpers.h"
#include "platform/numbers.h"
#include "report/formats.h"

#include <algorithm>
#include <cmath>

namespace {

template <typename T>
int IndexIn(const std::vector<std::unique_ptr<T>> &items, const T *item)
{
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == item)
            return static_cast<int>(i);
    return -1;
}

template <typename T>
std::size_t Place(const std::vector<std::unique_ptr<T>> &items, int index)
{
    return static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(items.size())));
}

} // namespace

TRubric::TRubric(TKerstal *owner, bool withEmptyRecord)
    : Name(QStringLiteral("Задайте название рубрики")),
      Remarks(QStringLiteral("Вставьте здесь произвольные комментарии")),
      OwnerJournal(owner)
{
    m_records.reserve(32);
    if (withEmptyRecord)
        Add(std::make_unique<TRubricRecord>(this));
}

int TRubric::IndexOf(const TRubricRecord *record) const { return IndexIn(m_records, record); }

TRubricRecord *TRubric::Add(std::unique_ptr<TRubricRecord> record)
{
    return Insert(Count(), std::move(record));
}

TRubricRecord *TRubric::Insert(int index, std::unique_ptr<TRubricRecord> record)
{
    record->Rubric = this;
    return m_records.insert(m_records.begin() + static_cast<std::ptrdiff_t>(Place(m_records, index)),
                            std::move(record))->get();
}

void TRubric::Delete(int index)
{
    m_records.erase(m_records.begin() + index);
}

std::int64_t TRubric::InTotal() const
{
    std::int64_t sum = 0;
    for (const auto &r : m_records)
        sum += r->InBranch.Out;
    return sum;
}

std::int64_t TRubric::OutTotal() const
{
    std::int64_t sum = 0;
    for (const auto &r : m_records)
        sum += r->OutBranch.Out;
    return sum;
}

std::int64_t TRubric::MainFanSupply() const
{
    return m_records.empty() ? 0 : m_records.front()->InBranch.Out;
}

TKerstal::TKerstal(const QString &fileName)
    : FileName(fileName)
{
    VJBegins = VJEnds = NowAsDays();
    m_rubrics.reserve(32);
}

int TKerstal::IndexOf(const TRubric *rubric) const { return IndexIn(m_rubrics, rubric); }

TRubric *TKerstal::Add(std::unique_ptr<TRubric> rubric)
{
    return Insert(Count(), std::move(rubric));
}

TRubric *TKerstal::Insert(int index, std::unique_ptr<TRubric> rubric)
{
    rubric->OwnerJournal = this;
    return m_rubrics.insert(m_rubrics.begin() + static_cast<std::ptrdiff_t>(Place(m_rubrics, index)),
                            std::move(rubric))->get();
}

void TKerstal::Delete(int index)
{
    m_rubrics.erase(m_rubrics.begin() + index);
}

int TKerstal::TotalRecords() const
{
    int sum = 0;
    for (const auto &r : m_rubrics)
        sum += r->Count();
    return sum;
}

std::int64_t TKerstal::MineIntakeTotal(int index) const
{
    for (int i = std::min(index, Count()) - 1; i >= 0; --i)
        if (Items(i)->RubricType == rtMineIntake)
            return Items(i)->InTotal();
    return 0;
}

double TKerstal::LeakagePercent(int index) const
{
    const TRubric *r = Items(index);
    switch (r->RubricType) {
    case rtOuterLeakage:
        return Percent(r->InTotal(), r->MainFanSupply());
    case rtInnerLeakage:
        return Percent(r->InTotal(), MineIntakeTotal(index));
    default:
        return 0;
    }
}

void TKerstal::TakeContents(TKerstal &other)
{
    VGPCount = other.VGPCount;
    VJBegins = other.VJBegins;
    VJEnds = other.VJEnds;
    MineName = other.MineName;
    MineRemarks = other.MineRemarks;
    m_rubrics = std::move(other.m_rubrics);
    other.m_rubrics.clear();
    for (const auto &r : m_rubrics)
        r->OwnerJournal = this;
}

double Percent(std::int64_t part, std::int64_t base)
{
    return base == 0 ? 0 : 100.0 * static_cast<double>(part) / static_cast<double>(base);
}

namespace {

QString FormatReal(double value, int decimals)
{
    return std::fabs(value) < 1e-7 ? QString() : FormatFixed(value, decimals);
}

} // namespace

QString FormatNumber(const TBranchRecord &r) { return r.Number == 0 ? QString() : QString::number(r.Number); }
QString FormatOut(const TBranchRecord &r) { return r.Out == 0 ? QString() : QString::number(r.Out); }
QString FormatSec(const TBranchRecord &r) { return FormatReal(r.Sec, 1); }
QString FormatSpeed(const TBranchRecord &r) { return FormatReal(r.Speed, 2); }
QString FormatTemperature(const TBranchRecord &r) { return FormatReal(r.Temperature, 1); }
QString FormatWaternity(const TBranchRecord &r) { return FormatReal(r.Waternity, 1); }

QString FormatShortDate(double days)
{
    return FormatDateTime(QStringLiteral("ddddd"), days).left(10);
}

QString AddFileExt(const QString &name, const QString &ext)
{
    return name.endsWith(ext, Qt::CaseInsensitive) ? name : name + ext;
}

QString RemoveFileExt(const QString &name, const QString &ext)
{
    return name.endsWith(ext, Qt::CaseInsensitive) ? name.chopped(ext.size()) : name;
}

QString CleanFileName(const QString &text)
{
    return ReplaceFileNameChars(text, u'_');
}
