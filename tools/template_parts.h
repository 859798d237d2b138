#pragma once
// The pieces that the template programs build their plain tables from.
#include "report/report.h"

#include <vector>

struct TTemplateColumn
{
    const char *Caption;
    const char *Value;
    int Width;
};

// A title, the column captions (repeated on every sheet) and the data row
// over source, the captions headerRows lines high. The stability windows know
// no mine name; the others do.
void MakeTable(TfrReport &report, const QString &title, const QString &source, const std::vector<TTemplateColumn> &columns,
               bool mineName = false, int headerRows = 2);
// "Страница N из M" at the foot of every page.
void AddPageNumbers(TfrPage &page);
// Writes the template, making its folder.
void WriteTemplate(TfrReport &report, const QString &file);
