#include "journal/journal_print.h"

#include "journal/form2_text.h"
#include "platform/numbers.h"


namespace {

QString Blanks(int count) { return QString(count, u' '); }

const QString Total = QStringLiteral("ИТОГО");

} // namespace

TJournalPrint::TJournalPrint()
{
    frStringsDataset.Name = QStringLiteral("frStringsDataset");
    frStringsDataset.OnFirst = [this](TfrComponent *) {
        RubricPos = 0;
        FirstOfRubric = true;
        MineInTotal = 0;
        VGPSupply = 0;
        PrintRubric = RubricCount() > 0 ? PrintJournal->Items(0) : nullptr;
        PrintRecord = nullptr;
        if (PrintRubric && PrintRubric->RubricType == rtMineIntake)
            MineInTotal = static_cast<double>(PrintRubric->InTotal());
    };
    frStringsDataset.OnNext = [this](TfrComponent *) {
        ++RubricPos;
        if (RubricPos < RubricCount()) {
            PrintRubric = PrintJournal->Items(RubricPos);
            PrintRecord = nullptr;
            if (PrintRubric->RubricType == rtMineIntake)
                MineInTotal = static_cast<double>(PrintRubric->InTotal());
        }
    };
    frStringsDataset.OnCheckEOF = [this](TfrComponent *, bool &eof) { eof = eof || RubricPos >= RubricCount(); };

    frUserDatasetRec.Name = QStringLiteral("frUserDatasetRec");
    frUserDatasetRec.OnFirst = [this](TfrComponent *) {
        FirstOfRubric = true;
        RecordPos = 0;
        // A rubric without records leaves none current, not the last
        // record of the rubric before it.
        PrintRecord = RecordCount() > 0 ? PrintRubric->Items(0) : nullptr;
    };
    frUserDatasetRec.OnNext = [this](TfrComponent *) {
        if (PrintRubric && PrintRubric->RubricType == rtOuterLeakage && FirstOfRubric) {
            if (PrintRecord)
                VGPSupply = PrintRecord->InBranch.Out;
            FirstOfRubric = false;
        }
        ++RecordPos;
        PrintRecord = RecordPos < RecordCount() ? PrintRubric->Items(RecordPos) : nullptr;
    };
    frUserDatasetRec.OnCheckEOF = [this](TfrComponent *, bool &eof) { eof = eof || RecordPos >= RecordCount(); };
}

void TJournalPrint::Reset()
{
    PrintRubric = nullptr;
    PrintRecord = nullptr;
    RubricPos = 0;
    RecordPos = 0;
    MineInTotal = 0;
    VGPSupply = 0;
    FirstOfRubric = false;
}

void TJournalPrint::StartPrint(const TKerstal &journal, int linesPerPage)
{
    Reset();
    PrintJournal = &journal;
    Form2Lines = BuildForm2Lines(journal, linesPerPage);
}

void TJournalPrint::Forget(const TKerstal *journal)
{
    if (journal && journal == PrintJournal) {
        Reset();
        PrintJournal = nullptr;
    }
}

double TJournalPrint::Totperc() const
{
    return PrintRubric && MineInTotal != 0 ? 100.0 * static_cast<double>(PrintRubric->InTotal()) / MineInTotal : 0;
}

double TJournalPrint::VPGperc() const
{
    return PrintRubric && VGPSupply != 0 ? 100.0 * static_cast<double>(PrintRubric->InTotal()) / VGPSupply : 0;
}

QString TJournalPrint::TotalString() const
{
    if (!PrintRubric)
        return {};
    const double in = static_cast<double>(PrintRubric->InTotal());
    const double out = static_cast<double>(PrintRubric->OutTotal());
    switch (PrintRubric->RubricType) {
    case rtOrdinary:
    case rtMineIntake:
        return Total + Blanks(40) + FormatWD(in, 8, 0) + Blanks(83) + FormatWD(out, 8, 0);
    case rtOuterLeakage:
        return Total + Blanks(40) + FormatWD(in, 8, 0) + QStringLiteral(" или ") + FormatWD(VPGperc(), 7, 2)
               + QStringLiteral("% от поступающей ВГП");
    case rtInnerLeakage:
        return Total + Blanks(38) + FormatWD(in, 8, 0) + QStringLiteral(" или ") + FormatWD(Totperc(), 7, 2)
               + QStringLiteral("% от общей поступающей в шахту");
    default:
        return {};
    }
}

void TJournalPrint::GetValue(const QString &requested, Variant &value) const
{
    qsizetype start = 0;
    while (start < requested.size() && requested.at(start) == u' ')
        ++start;
    const QString name = requested.mid(start);

    // The measurement values: intake ("l…") and exhaust ("r…").
    struct TBranchText
    {
        const char16_t *Field;
        QString (*Text)(const TBranchRecord &);
    };
    static const TBranchText branchTexts[] = {
        {u"Name", [](const TBranchRecord &r) { return r.Name; }},
        {u"Number", FormatNumber},
        {u"Sec", FormatSec},
        {u"Speed", FormatSpeed},
        {u"Out", FormatOut},
        {u"Temperature", FormatTemperature},
        {u"Waternity", FormatWaternity}};
    if (name.size() > 1 && (name.at(0) == u'l' || name.at(0) == u'r')) {
        const QStringView field = QStringView(name).mid(1);
        for (const TBranchText &known : branchTexts) {
            if (field != QStringView(known.Field))
                continue;
            if (!PrintRecord)
                value = QString();
            else
                value = known.Text(name.at(0) == u'l' ? PrintRecord->InBranch : PrintRecord->OutBranch);
            return;
        }
    }

    const auto gas = [this, &value](QString TExtendedBranchRecord::*field) {
        value = PrintRecord ? PrintRecord->OutBranch.*field : QString();
    };
    const auto rubricInt = [this, &value](int of) { value = PrintRubric ? of : 0; };
    const auto inAll = [this](bool in) -> int {
        if (!PrintRubric || PrintRubric->RubricType == rtNoTotals)
            return 0;
        return static_cast<int>(in ? PrintRubric->InTotal() : PrintRubric->OutTotal());
    };

    if (name == QStringLiteral("VJStr"))
        value = RubricPos >= 0 && RubricPos < Form2Lines.size() ? Form2Lines.at(RubricPos) : QString();
    else if (name == QStringLiteral("bDate"))
        value = PrintJournal ? FormatShortDate(PrintJournal->VJBegins) : QString();
    else if (name == QStringLiteral("eDate"))
        value = PrintJournal ? FormatShortDate(PrintJournal->VJEnds) : QString();
    else if (name == QStringLiteral("MineName"))
        value = PrintJournal ? PrintJournal->MineName : QString();
    else if (name == QStringLiteral("RubricName"))
        value = PrintRubric ? PrintRubric->Name : QString();
    else if (name == QStringLiteral("RubricType") || name == QStringLiteral("TypeRubr"))
        rubricInt(PrintRubric ? PrintRubric->RubricType : 0);
    else if (name == QStringLiteral("RubricNumber"))
        value = RubricPos + 1;
    else if (name == QStringLiteral("RecordNote"))
        value = QString();
    else if (name == QStringLiteral("RecordCH4"))
        gas(&TExtendedBranchRecord::CH4);
    else if (name == QStringLiteral("RecordCO2"))
        gas(&TExtendedBranchRecord::CO2);
    else if (name == QStringLiteral("RecordO2"))
        gas(&TExtendedBranchRecord::O2);
    else if (name == QStringLiteral("RecordCO"))
        gas(&TExtendedBranchRecord::CO);
    else if (name == QStringLiteral("InAll"))
        value = inAll(true);
    else if (name == QStringLiteral("OutAll"))
        value = inAll(false);
    else if (name == QStringLiteral("Totperc"))
        value = MineInTotal == 0 ? Variant(0) : Variant(Totperc());
    else if (name == QStringLiteral("VPGperc"))
        value = VGPSupply == 0 ? Variant(0) : Variant(VPGperc());
    else if (name == QStringLiteral("TotalString"))
        value = TotalString();
}
