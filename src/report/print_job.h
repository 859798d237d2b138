#pragma once
// Printing prepared pages: the page list and copies, one print job per run
// of pages on the same paper, each page drawn into the printer's page.
#include "report/template_file.h"

#include <functional>

struct TPrintRequest
{
    // The report's title ("Untitled" when empty) names the job.
    QString Title;
    // Page numbers and ranges ("1,3,5-12"); empty prints all.
    QString PageList;
    // Below 1 counts as 1; each page is printed that many times in a row.
    int Copies = 1;
    // Tested after every page; the job is aborted when it is set.
    const bool *Cancelled = nullptr;
    // Called with the page number after each printed page.
    std::function<void(int)> Progress;
};

// Prints on the printer of the printer model (which takes over the device's
// current printer first). A malformed page list raises EConvertError before
// any job begins.
void PrintPreparedPages(TfrEMFPages &pages, TPrinterDevice &printer, const TPrintRequest &request);
