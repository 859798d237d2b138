#pragma once
// The texts a view cuts: every header and cell text that, in the font it is
// drawn with, is wider than its column (the item delegate's and the header's
// own margins included), as "column: text" joined by "; ", empty when none
// is cut.
#include <QtCore/QAbstractItemModel>
#include <QtCore/QStringList>
#include <QtGui/QFontMetrics>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QStyle>
#include <QtWidgets/QTableView>
#include <QtWidgets/QTreeView>

#include <string>

inline std::string CutTexts(const QAbstractItemView &view, const QHeaderView &header)
{
    QStringList cut;
    const QAbstractItemModel *model = view.model();
    const int cellMargin = 2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1);
    const int headerMargin = 2 * header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
    // A header over a selected cell is drawn bold.
    QFont headerFont = header.font();
    headerFont.setBold(header.highlightSections());
    for (int c = 0; c < model->columnCount(); ++c) {
        if (header.isSectionHidden(c))
            continue;
        const auto check = [&](const QString &text, const QFont &font, int margin) {
            const QFontMetrics metrics(font);
            for (const QString &line : text.split(u'\n'))
                if (metrics.horizontalAdvance(line) + margin > header.sectionSize(c))
                    cut << QStringLiteral("%1: %2").arg(c).arg(line);
        };
        if (!header.isHidden())
            check(model->headerData(c, Qt::Horizontal).toString(), headerFont, headerMargin);
        for (int r = 0; r < model->rowCount(); ++r) {
            const QModelIndex index = model->index(r, c);
            const QVariant font = index.data(Qt::FontRole);
            check(index.data().toString(), font.isValid() ? font.value<QFont>() : view.font(), cellMargin);
        }
    }
    return cut.join(QStringLiteral("; ")).toStdString();
}

inline std::string CutTexts(const QTableView &view) { return CutTexts(view, *view.horizontalHeader()); }
inline std::string CutTexts(const QTreeView &view) { return CutTexts(view, *view.header()); }
