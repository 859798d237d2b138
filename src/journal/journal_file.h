#pragma once
// The journal file "*.WVJ": the 9-byte header "xqWVJ", version, header length,
// then the journal, its rubrics and their records (little-endian numbers,
// length-prefixed 1251 strings, dates as doubles). Journals live in one
// folder that the window holds; their bare file names resolve in it.
#include "journal/journal.h"

#include <QtCore/QString>

#include <memory>
#include <vector>

constexpr std::uint16_t JournalFileVersion = 1;

// The path of a journal's file name in the journals folder (an absolute name stays as it is).
QString JournalPath(const QString &folder, const QString &fileName);

// Reads the file FileName of the journal from the folder. Failures are
// exceptions naming the file (wrong magic, newer version, a file that ends
// early, one that cannot be opened); the journal is then as it was.
// Success clears Modified.
void LoadJournal(TKerstal &journal, const QString &folder);

// Writes the journal to the path through a temporary file, so a failed save
// keeps the previous file. Success clears Modified; FileName stays.
void SaveJournal(TKerstal &journal, const QString &path);

// A modified journal is saved to AddFileExt(FileName, ".WVJ") in the folder.
void SaveIfModified(TKerstal &journal, const QString &folder);

struct TOpenedJournals
{
    std::vector<std::unique_ptr<TKerstal>> Journals;
    QString Error; // the message of the file that stopped the opening; empty when all opened
};

// Opens every "*.WVJ" of the folder (any letter case, hidden files too), in
// file-name order. A failing file stops the opening: the journals read
// before it are kept and its message is returned.
TOpenedJournals OpenAllJournals(const QString &folder);
