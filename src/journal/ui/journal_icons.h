#pragma once
// The pictures of the journal window's tree and record list, drawn here.
// Numbers are those the window's lists use; a window draws each once and
// keeps it (no picture outlives the application object).
#include <QtGui/QIcon>

enum TJournalImage {
    imgBlankSheet = 6,     // a record that cannot be refreshed in full
    imgJournal = 19,
    imgJournalOpen = 20,
    imgRubric = 21,
    imgRecord = 22,
};

QIcon JournalIcon(TJournalImage image);
