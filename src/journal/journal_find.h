#pragma once
// Finding a record of a journal by branch number or by branch name.
#include "journal/journal.h"

#include <optional>

struct TJournalHit
{
    int Rubric; // 0-based positions
    int Record;
};

// A text that converts to an integer is a branch number, matched against the
// intake and exhaust numbers; any other text is searched, case-sensitive, in
// the intake and exhaust names. The walk starts at record startRecord of
// rubric startRubric and goes on from the first record of every later
// rubric; start positions past the end simply find nothing there.
std::optional<TJournalHit> FindRecord(const TKerstal &journal, const QString &text, int startRubric,
                                      int startRecord);
