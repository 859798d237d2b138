#include "scheme/cell_table.h"

#include "model/number_parser.h"
#include "platform/exceptions.h"
#include "platform/numbers.h"
#include "platform/prompt.h"

QString InvalidValueText()
{
    return LookupText(QStringLiteral("Недопустимое значение"));
}

void TCellTable::SetCell(int col, int row, const QString &text)
{
    if (row < 1 || row >= RowCount() || col < 0 || col >= ColumnCount() || !Editable(col, row))
        return;
    Cells[static_cast<std::size_t>(row)][col] = text;
    Edited = true;
}

bool TCellTable::Editable(int col, int row) const
{
    return col != 0 || !RowExists(row);
}

int TCellTable::RowNumber(int row) const
{
    if (row < 1 || row >= RowCount())
        return 0;
    int n = 0;
    return TryStrToInt(Cell(0, row), n) ? n : 0;
}

void TCellTable::Filter(const QString &filterText, int filterIndex)
{
    ApplyFilter(filterText, filterIndex);
    Fill();
}

void TCellTable::Fill()
{
    const QStringList headers = Headers();
    Cells.clear();
    RowItems.clear();
    Cells.push_back(headers);
    RowItems.push_back(0);
    for (int n = 1; n <= MaxItems; ++n) {
        if (Shown(n)) {
            Cells.push_back(RowTexts(n));
            RowItems.push_back(n);
        }
    }
    // The grid keeps one data row, empty, when nothing is shown.
    if (Cells.size() < 2) {
        QStringList empty;
        for (int c = 0; c < headers.size(); ++c)
            empty << QString();
        Cells.push_back(empty);
        RowItems.push_back(0);
    }
    CurCol = 0;
    CurRow = 1;
    Edited = false;
}

bool TCellTable::AppendRow()
{
    if (Cell(0, RowCount() - 1).trimmed().isEmpty())
        return false;
    QStringList empty;
    for (int c = 0; c < ColumnCount(); ++c)
        empty << QString();
    Cells.push_back(empty);
    RowItems.push_back(0);
    return true;
}

void TCellTable::RemoveLastRow()
{
    if (RowCount() > 2) {
        Cells.pop_back();
        RowItems.pop_back();
    }
}

TLeave TCellTable::LeaveCell(int col, int row)
{
    Edited = false;
    if (CurRow < 1 || CurRow >= RowCount()) {
        CurCol = col;
        CurRow = row;
        return TLeave::Allowed;
    }
    // Going up from an empty new row drops it.
    if (Cell(0, CurRow).trimmed().isEmpty() && LastKey == TGridKey::Up) {
        Fill();
        return TLeave::Refilled;
    }
    if (!CheckCell(CurCol, CurRow))
        return TLeave::Refused;
    if (RowExists(CurRow))
        StoreCell(CurCol, CurRow);
    else if (!LeaveNewRowCell(CurCol, CurRow, col, row))
        return TLeave::Refused;
    CurCol = col;
    CurRow = row;
    return TLeave::Allowed;
}

void TCellTable::ParseShown(const QString &text, const std::function<void(int)> &show)
{
    SetParseText(text);
    int first = 0;
    int last = 0;
    try {
        while (ParseNextRange(first, last)) {
            if (last < first)
                continue;
            for (int n = std::max(first, 1); n <= std::min(last, MaxItems); ++n)
                show(n);
        }
    } catch (const EConvertError &e) {
        ShowConversionError(e.Message());
    }
}

void TCellTable::ShowTableError(const QString &text)
{
    ShowMessageBox(text, LookupText(QStringLiteral("ОШИБКА")), mb::Ok);
}
