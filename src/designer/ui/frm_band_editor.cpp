// The record source of a data band.
#include "designer/dialog_rules.h"
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "designer/ui/source_panel.h"
#include "report/report_objects.h"

#include <QtWidgets/QComboBox>

bool EditBandSource(TfrView &band, QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("Источник данных"));
    auto *layout = new QVBoxLayout(&form);
    auto *panel = new TSourcePanel(QStringLiteral("&Источник"), &form);
    layout->addWidget(panel);
    layout->addLayout(OkCancelRow(&form));
    panel->Show(band.FormatText);
    // The build would stop on a count that is no whole number from 1: the
    // dialog stays open on it.
    while (form.exec() == QDialog::Accepted) {
        if (panel->CB1->currentIndex() == 1 && !IsValidRecordCount(panel->Edit1->text())) {
            panel->Edit1->setFocus();
            panel->Edit1->selectAll();
            continue;
        }
        RecordUndoModify();
        band.FormatText = panel->Source();
        return true;
    }
    return false;
}
