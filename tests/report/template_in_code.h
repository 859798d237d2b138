#pragma once
// Bands and texts put on a template page in code, as the designer would
// place them, for the tests that build reports.
#include "report/report_objects.h"
#include "report/report_page.h"

#include <memory>

inline TfrBandView &AddBand(TfrPage &page, int kind, int top, int height, const QString &source = {},
                            std::uint16_t flagWord = 0, const QString &name = {})
{
    auto band = std::make_unique<TfrBandView>();
    band->SetBandType(kind);
    band->Top = top;
    band->Height = height;
    band->Width = 700;
    band->FormatText = source;
    band->Flags = flagWord;
    band->Name = name.isEmpty() ? QStringLiteral("Band%1").arg(page.TemplateObjects.size() + 1) : name;
    TfrBandView &added = *band;
    page.TemplateObjects.push_back(std::move(band));
    return added;
}

inline TfrMemoView &AddMemo(TfrPage &page, int left, int top, int width, int height, const QString &text)
{
    auto memo = std::make_unique<TfrMemoView>();
    memo->Left = left;
    memo->Top = top;
    memo->Width = width;
    memo->Height = height;
    memo->Lines = text.split(u'\n');
    memo->Name = QStringLiteral("Memo%1").arg(page.TemplateObjects.size() + 1);
    TfrMemoView &added = *memo;
    page.TemplateObjects.push_back(std::move(memo));
    return added;
}
