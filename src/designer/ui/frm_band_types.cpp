// The type of a new band.
#include "designer/dialog_rules.h"
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "report/engine.h"
#include "report/report_page.h"

#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QRadioButton>

namespace {
class TfrBandTypesForm : public QDialog
{
public:
    TfrBandTypesForm(const TfrPage &page, QWidget *parent) : QDialog(parent)
    {
        setWindowTitle(QStringLiteral("Новая секция"));
        auto *layout = new QVBoxLayout(this);
        auto *box = new QGroupBox(QStringLiteral("Тип секции"), this);
        box->setMinimumSize(260, 250);
        layout->addWidget(box);
        auto *group = new QButtonGroup(this);
        for (int t = 0; t < btNone; ++t) {
            auto *b = new QRadioButton(Engine().BandTypeNames.value(t), box);
            b->setObjectName(QStringLiteral("BandType%1").arg(t));
            b->move(t <= 10 ? 8 : 130, t <= 10 ? 20 + 20 * t : 20 * t - 200);
            b->setEnabled(BandTypeEnabled(page, t));
            group->addButton(b, t);
        }
        SelectedType = DefaultBandType(page);
        if (QAbstractButton *b = group->button(SelectedType))
            b->setChecked(true);
        connect(group, &QButtonGroup::idClicked, this, [this](int t) { SelectedType = t; });
        layout->addLayout(OkCancelRow(this));
    }
    int SelectedType;
};
} // namespace

int ChooseBandType(const TfrPage &page, QWidget *parent)
{
    TfrBandTypesForm form(page, parent);
    return form.exec() == QDialog::Accepted ? form.SelectedType : -1;
}
