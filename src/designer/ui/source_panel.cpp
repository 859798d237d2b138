#include "designer/ui/source_panel.h"

#include "designer/dialog_rules.h"
#include "designer/ui/dialog_helpers.h"
#include "report/library.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>

TSourcePanel::TSourcePanel(const QString &title, QWidget *parent) : QGroupBox(title, parent)
{
    auto *layout = new QVBoxLayout(this);
    CB1 = Named<QComboBox>(this, "CB1");
    QStringList names;
    ListComponentsOfClass<TfrDataset>(CurrentOwnerName(), names);
    names.sort();
    CB1->addItem(NoneItemName);
    CB1->addItem(VirtualSourceName);
    CB1->addItems(names);
    m_label = new QLabel(QStringLiteral("&Количество записей"), this);
    Edit1 = Named<QLineEdit>(this, "Edit1");
    Edit1->setText(QStringLiteral("1"));
    m_label->setBuddy(Edit1);
    layout->addWidget(CB1);
    layout->addWidget(m_label);
    layout->addWidget(Edit1);
    connect(CB1, &QComboBox::currentIndexChanged, this, [this] { Enable(); });
    connect(CB1, &QComboBox::activated, this, [this] { Changed = true; });
    connect(Edit1, &QLineEdit::textEdited, this, [this] { Changed = true; });
}

void TSourcePanel::Show(const QString &source)
{
    Changed = false;
    if (IsRecordCountText(source)) {
        Edit1->setText(source);
        CB1->setCurrentIndex(1);
    } else {
        const int i = CB1->findText(source);
        CB1->setCurrentIndex(i > 1 ? i : 0);
    }
    Enable();
}

QString TSourcePanel::Source() const { return CB1->currentIndex() == 1 ? Edit1->text() : CB1->currentText(); }

void TSourcePanel::Enable()
{
    const bool on = CB1->currentIndex() == 1;
    Edit1->setEnabled(on);
    m_label->setEnabled(on);
}
