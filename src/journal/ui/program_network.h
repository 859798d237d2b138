#pragma once
// The program's network as the journal reads it: through the three
// functions that the program exports to plug-ins, bound when the plug-in is
// loaded.
#include "journal/refresh.h"

TJournalNetwork ProgramNetwork();
