// The record sources of a cross data band.
#include "designer/dialog_rules.h"
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "designer/ui/source_panel.h"
#include "report/report_objects.h"
#include "report/report_page.h"

#include <QtWidgets/QGroupBox>
#include <QtWidgets/QListWidget>

bool EditCrossBandSources(TfrView &crossBand, const TfrPage &page, QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("Источники данных"));
    auto *layout = new QHBoxLayout(&form);
    auto *bandsBox = new QGroupBox(QStringLiteral("Секции"), &form);
    auto *bl = new QVBoxLayout(bandsBox);
    auto *LB1 = Named<QListWidget>(bandsBox, "LB1");
    bl->addWidget(LB1);
    auto *panel = new TSourcePanel(QStringLiteral("Источник"), &form);
    auto *right = new QVBoxLayout;
    right->addWidget(panel);
    layout->addWidget(bandsBox);
    layout->addLayout(right);
    right->addLayout(OkCancelRow(&form));

    std::vector<std::pair<QString, QString>> table;
    for (const TfrView *band : CrossedBands(page)) {
        const auto *bandView = static_cast<const TfrBandView *>(band);
        LB1->addItem(band->Name + QStringLiteral(": ") + BandKindName(bandView->GetBandType()));
        table.emplace_back(band->Name, CrossBandSource(crossBand.FormatText, band->Name));
    }
    int shown = -1;
    // A band keeps its source, "0" for a band the text does not name, until
    // the user changes it: merely looking at it shows "[Нет]" but stores nothing.
    const auto store = [&] {
        if (shown >= 0 && panel->Changed)
            table[shown].second = panel->Source();
    };
    const auto show = [&](int row) {
        store();
        shown = row;
        if (row >= 0)
            panel->Show(table[row].second);
    };
    QObject::connect(LB1, &QListWidget::currentRowChanged, &form, show);
    if (!table.empty())
        LB1->setCurrentRow(0);
    if (form.exec() != QDialog::Accepted)
        return false;
    store();
    RecordUndoModify();
    crossBand.FormatText = CrossBandText(table);
    return true;
}
