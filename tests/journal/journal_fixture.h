#pragma once
// Small journals that the journal tests share.
#include "journal/journal.h"
#include "report/formats.h"

#include <initializer_list>
#include <memory>

struct TFlows
{
    std::int32_t In;
    std::int32_t Out;
};

// Appends a rubric of the type whose records carry the given flows.
inline TRubric &AddRubric(TKerstal &j, const QString &name, std::uint8_t type, std::initializer_list<TFlows> flows = {})
{
    TRubric *r = j.Add(std::make_unique<TRubric>(&j, false));
    r->Name = name;
    r->RubricType = type;
    for (const TFlows &f : flows) {
        TRubricRecord *rec = r->Add(std::make_unique<TRubricRecord>(r));
        rec->InBranch.Out = f.In;
        rec->OutBranch.Out = f.Out;
    }
    return *r;
}

// A journal with Cyrillic texts, a rubric without records, empty gas texts
// and dates with times.
inline std::unique_ptr<TKerstal> CyrillicJournal()
{
    auto j = std::make_unique<TKerstal>(QStringLiteral("Журнал"));
    j->MineName = QStringLiteral("Шахта «Северная»");
    j->MineRemarks = QStringLiteral("Примечания");
    j->VGPCount = 2;
    j->VJBegins = EncodeDate(2024, 2, 29) + EncodeTime(7, 45, 30);
    j->VJEnds = EncodeDate(2024, 3, 31) + EncodeTime(23, 59, 59);
    TRubric &r = AddRubric(*j, QStringLiteral("Участок №1: лава"), rtMineIntake, {{1200, 1150}});
    TRubricRecord &rec = *r.Items(0);
    rec.InBranch = {12, QStringLiteral("Штрек"), 12.5, 1200, 1.6, 18.5, 85};
    rec.OutBranch.Number = -7;
    rec.OutBranch.Name = QStringLiteral("Бремсберг");
    rec.OutBranch.Sec = 9.25;
    rec.OutBranch.Out = 1150;
    rec.OutBranch.CH4 = QStringLiteral("0,5");
    rec.OutBranch.O2 = QStringLiteral("20,1");
    AddRubric(*j, QStringLiteral("Пустая"), rtNoTotals);
    return j;
}
