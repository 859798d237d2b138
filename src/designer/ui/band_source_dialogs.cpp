// The record sources of data bands and of a cross data band.
#include "designer/dialog_rules.h"
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "report/engine.h"
#include "report/library.h"
#include "report/report.h"
#include "report/report_page.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QListWidget>

namespace {
// The source list, the record count and the rule between them.
class TSourcePanel : public QGroupBox
{
public:
    TSourcePanel(const QString &title, QWidget *parent) : QGroupBox(title, parent)
    {
        auto *layout = new QVBoxLayout(this);
        CB1 = Named<QComboBox>(this, "CB1");
        QStringList names;
        const QString owner = Engine().CurrentReport ? Engine().CurrentReport->OwnerName : QString();
        ListComponentsOfClass<TfrDataset>(owner, names);
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
    void Show(const QString &source)
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
    QString Source() const { return CB1->currentIndex() == 1 ? Edit1->text() : CB1->currentText(); }

    QComboBox *CB1;
    QLineEdit *Edit1;
    // The user chose or typed since the source was shown.
    bool Changed = false;

private:
    void Enable()
    {
        const bool on = CB1->currentIndex() == 1;
        Edit1->setEnabled(on);
        m_label->setEnabled(on);
    }
    QLabel *m_label;
};

void FinishDialog(QDialog &form, QBoxLayout *layout)
{
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    AddOkCancel(&form, buttons);
    layout->addLayout(buttons);
}
} // namespace

bool EditBandSource(TfrView &band, QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("Источник данных"));
    auto *layout = new QVBoxLayout(&form);
    auto *panel = new TSourcePanel(QStringLiteral("&Источник"), &form);
    layout->addWidget(panel);
    FinishDialog(form, layout);
    panel->Show(band.FormatText);
    // The build would stop on a count that is no whole number from 1: the
    // dialog stays open on it.
    while (form.exec() == QDialog::Accepted) {
        if (panel->CB1->currentIndex() == 1 && !IsValidRecordCount(panel->Edit1->text())) {
            panel->Edit1->setFocus();
            panel->Edit1->selectAll();
            continue;
        }
        if (TfrReportDesigner *designer = ReportDesigner())
            designer->RecordUndoModify();
        band.FormatText = panel->Source();
        return true;
    }
    return false;
}

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
    FinishDialog(form, right);

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
    if (TfrReportDesigner *designer = ReportDesigner())
        designer->RecordUndoModify();
    crossBand.FormatText = CrossBandText(table);
    return true;
}
