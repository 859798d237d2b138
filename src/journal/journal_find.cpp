#include "journal/journal_find.h"

#include "platform/numbers.h"

#include <algorithm>

std::optional<TJournalHit> FindRecord(const TKerstal &journal, const QString &text, int startRubric,
                                      int startRecord)
{
    int number = 0;
    const bool byNumber = TryStrToInt(text, number);
    const auto matches = [&](const TRubricRecord &r) {
        if (byNumber)
            return r.InBranch.Number == number || r.OutBranch.Number == number;
        return r.InBranch.Name.contains(text, Qt::CaseSensitive) || r.OutBranch.Name.contains(text, Qt::CaseSensitive);
    };
    for (int i = std::max(startRubric, 0); i < journal.Count(); ++i) {
        const TRubric &rubric = *journal.Items(i);
        for (int j = i == startRubric ? std::max(startRecord, 0) : 0; j < rubric.Count(); ++j)
            if (matches(*rubric.Items(j)))
                return TJournalHit{i, j};
    }
    return std::nullopt;
}
