#pragma once
// Ventilation journals of form 2: a journal holds rubrics, a rubric holds
// records, a record pairs an intake and an exhaust measurement. Each owner
// owns what it holds and everything keeps a plain pointer to its owner, so
// tree nodes and list items of the window can refer to any of them.
#include <QtCore/QString>

#include <cstdint>
#include <memory>
#include <vector>

class TKerstal;
class TRubric;

// One measurement at one branch of the network.
struct TBranchRecord
{
    std::int16_t Number = 0; // branch number; 0 = none
    QString Name;
    double Sec = 0;          // cross-section, m²
    std::int32_t Out = 0;    // air flow, m³/min
    double Speed = 0;        // m/s
    double Temperature = 0;  // °C
    double Waternity = 0;    // humidity, %
};

// The exhaust measurement also keeps the gas contents, as typed.
struct TExtendedBranchRecord : TBranchRecord
{
    QString CH4, CO2, O2, CO;
};

class TRubricRecord
{
public:
    explicit TRubricRecord(TRubric *rubric) : Rubric(rubric) {}

    TRubric *Rubric;
    TBranchRecord InBranch;
    TExtendedBranchRecord OutBranch;
};

// Rubric types and the totals each one prints.
enum TRubricType : std::uint8_t {
    rtOrdinary = 0,      // intake and exhaust totals
    rtMineIntake = 1,    // its intake total is the mine intake total
    rtNoTotals = 2,
    rtOuterLeakage = 3,  // intake total and its share of the main-fan supply
    rtInnerLeakage = 4,  // intake total and its share of the mine intake total
};

class TRubric
{
public:
    // A new rubric holds one empty record; the journal reader asks for none.
    explicit TRubric(TKerstal *owner, bool withEmptyRecord = true);
    // Records point at their rubric: it stays where it was made.
    TRubric(const TRubric &) = delete;
    TRubric &operator=(const TRubric &) = delete;

    QString Name;
    std::uint8_t RubricType = rtOrdinary;
    QString Remarks;
    TKerstal *OwnerJournal;

    int Count() const { return static_cast<int>(m_records.size()); }
    TRubricRecord *Items(int index) const { return m_records[static_cast<std::size_t>(index)].get(); }
    int IndexOf(const TRubricRecord *record) const;
    // Takes the record and makes this rubric its owner.
    TRubricRecord *Add(std::unique_ptr<TRubricRecord> record);
    TRubricRecord *Insert(int index, std::unique_ptr<TRubricRecord> record);
    void Delete(int index);

    // Sums of the intake and of the exhaust flows of the records.
    std::int64_t InTotal() const;
    std::int64_t OutTotal() const;
    // Intake flow of the first record, the main-fan supply of an outer-leakage rubric.
    std::int64_t MainFanSupply() const;

private:
    std::vector<std::unique_ptr<TRubricRecord>> m_records;
};

class TKerstal
{
public:
    // A new journal: no rubrics, not modified, both dates now.
    explicit TKerstal(const QString &fileName);
    // Rubrics point at their journal: it stays where it was made.
    TKerstal(const TKerstal &) = delete;
    TKerstal &operator=(const TKerstal &) = delete;

    QString FileName;      // relative to the journals folder
    bool Modified = false;
    std::uint16_t VGPCount = 0;
    double VJBegins = 0;   // days since 1899-12-30, the fraction the time
    double VJEnds = 0;
    QString MineName;
    QString MineRemarks;

    int Count() const { return static_cast<int>(m_rubrics.size()); }
    TRubric *Items(int index) const { return m_rubrics[static_cast<std::size_t>(index)].get(); }
    int IndexOf(const TRubric *rubric) const;
    // Takes the rubric and makes this journal its owner.
    TRubric *Add(std::unique_ptr<TRubric> rubric);
    TRubric *Insert(int index, std::unique_ptr<TRubric> rubric);
    void Delete(int index);

    int TotalRecords() const;
    // The intake total of the last mine-intake rubric before rubric `index`; 0 when none.
    std::int64_t MineIntakeTotal(int index) const;
    // 100 × the intake total of rubric `index` over its base (the main-fan
    // supply for outer leakage, the mine intake total for inner leakage); 0
    // for other types and for a zero base.
    double LeakagePercent(int index) const;

    // Everything but the file name and the modified flag, as a file holds it.
    void TakeContents(TKerstal &other);

private:
    std::vector<std::unique_ptr<TRubric>> m_rubrics;
};

// 100 × part ÷ base, 0 for a zero base.
double Percent(std::int64_t part, std::int64_t base);

// Texts of a measurement's values: a value at its empty condition (0, or
// below 1e-7 in size) shows empty, so a zero never prints. Decimal comma.
QString FormatNumber(const TBranchRecord &r);
QString FormatOut(const TBranchRecord &r);
QString FormatSec(const TBranchRecord &r);
QString FormatSpeed(const TBranchRecord &r);
QString FormatTemperature(const TBranchRecord &r);
QString FormatWaternity(const TBranchRecord &r);

// A journal date as a short date, dd.mm.yyyy.
QString FormatShortDate(double days);

// File names. Extensions compare without regard to case.
QString AddFileExt(const QString &name, const QString &ext);
QString RemoveFileExt(const QString &name, const QString &ext);
// Each of : \ ? * / | < > " becomes "_".
QString CleanFileName(const QString &text);

inline const QString JournalExt = QStringLiteral(".WVJ");
