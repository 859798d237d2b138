#include "journal/ui/frm_vj_record_input.h"

#include "platform/exceptions.h"
#include "platform/numbers.h"
#include "journal/ui/dialog_buttons.h"
#include "shell/ui/xq_edit.h"

#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include <cstdint>
#include <limits>

namespace {

// Values that come from the network are shown on the button face.
void NetworkField(QLineEdit *edit)
{
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    edit->setPalette(palette);
}

TxqEdit *NumberEdit(QWidget *parent, const QString &name)
{
    auto *edit = new TxqEdit(parent);
    edit->setObjectName(name);
    return edit;
}

// A branch number is stored in 16 bits; a larger one is refused, not wrapped.
void LimitToBranchNumbers(TxqEdit *edit)
{
    edit->IntMin = std::numeric_limits<std::int16_t>::min();
    edit->IntMax = std::numeric_limits<std::int16_t>::max();
    edit->CheckDiap = true;
}

// The measurement as typed; every field must convert before any is taken.
struct TTyped
{
    std::int16_t Number;
    QString Name;
    double Sec;
    std::int32_t Out;
    double Speed, Temperature, Waternity;
};

TTyped ReadGroup(const TfrmVJRecordInput::TGroup &g)
{
    TTyped t;
    t.Number = static_cast<std::int16_t>(g.Number->GetIntValue());
    t.Name = g.Name->text();
    t.Sec = g.Sec->GetFloatValue();
    t.Out = g.Out->GetIntValue();
    t.Speed = g.Speed->GetFloatValue();
    t.Temperature = g.Temperature->GetFloatValue();
    t.Waternity = g.Waternity->GetFloatValue();
    return t;
}

void Take(const TTyped &t, TBranchRecord &m)
{
    m.Number = t.Number;
    m.Name = t.Name;
    m.Sec = t.Sec;
    m.Out = t.Out;
    m.Speed = t.Speed;
    m.Temperature = t.Temperature;
    m.Waternity = t.Waternity;
}

} // namespace

TfrmVJRecordInput::TfrmVJRecordInput(TRubricRecord &record, const TJournalNetwork &net, QWidget *parent)
    : QDialog(parent), m_record(record), m_net(net), m_branchInfo(net.GetBranchInfoBlock())
{
    setObjectName(QStringLiteral("frmVJRecordInput"));
    setWindowTitle(record.Rubric ? record.Rubric->Name : QString());

    const auto makeGroup = [this](const QString &title, TGroup &g, const QString &prefix, bool exhaust) {
        auto *box = new QGroupBox(title, this);
        auto *grid = new QGridLayout(box);
        g.Number = NumberEdit(box, prefix + QStringLiteral("Number"));
        LimitToBranchNumbers(g.Number);
        g.Sec = NumberEdit(box, prefix + QStringLiteral("Sec"));
        g.Speed = NumberEdit(box, prefix + QStringLiteral("Speed"));
        g.Out = NumberEdit(box, prefix + QStringLiteral("Out"));
        g.Temperature = NumberEdit(box, prefix + QStringLiteral("Temperature"));
        g.Waternity = NumberEdit(box, prefix + QStringLiteral("Waternity"));
        g.Name = new QLineEdit(box);
        g.Name->setObjectName(prefix + QStringLiteral("Name"));
        for (QLineEdit *e : {static_cast<QLineEdit *>(g.Sec), static_cast<QLineEdit *>(g.Speed),
                             static_cast<QLineEdit *>(g.Out), static_cast<QLineEdit *>(g.Temperature), g.Name})
            NetworkField(e);
        int row = 0;
        const auto add = [&](const QString &label, QWidget *w) {
            grid->addWidget(new QLabel(label, box), row, 0);
            grid->addWidget(w, row++, 1);
        };
        add(QStringLiteral("№ Ветви"), g.Number);
        add(QStringLiteral("S, кв. м"), g.Sec);
        add(QStringLiteral("V, м/с"), g.Speed);
        add(QStringLiteral("Q, м3/мин"), g.Out);
        add(QStringLiteral("T, гр. C"), g.Temperature);
        add(QStringLiteral("Влажность, %"), g.Waternity);
        if (exhaust) {
            const auto gas = [&](const QString &label, const QString &name) {
                auto *e = new QLineEdit(box);
                e->setObjectName(name);
                add(label, e);
                return e;
            };
            edCH4 = gas(QStringLiteral("CH4/H2, %"), QStringLiteral("edCH4"));
            edCO2 = gas(QStringLiteral("CO2, %"), QStringLiteral("edCO2"));
            edO2 = gas(QStringLiteral("O2, %"), QStringLiteral("edO2"));
            edCO = gas(QStringLiteral("CO, %"), QStringLiteral("edCO"));
        }
        grid->addWidget(new QLabel(QStringLiteral("Название выработки"), box), row++, 0, 1, 2);
        grid->addWidget(g.Name, row++, 0, 1, 2);
        grid->setRowStretch(row, 1);
        return box;
    };
    auto *groups = new QHBoxLayout;
    groups->addWidget(makeGroup(QStringLiteral("Поступающая струя"), In, QStringLiteral("edIn"), false));
    groups->addWidget(makeGroup(QStringLiteral("Исходящая струя"), Ex, QStringLiteral("edEx"), true));

    QDialogButtonBox *buttons = OkCancelButtons(this, [this] { OkClick(); }, QStringLiteral("&OK"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(buttons);

    Fill();
    connect(In.Number, &QLineEdit::textChanged, this, [this] { BranchLookup(In); });
    connect(Ex.Number, &QLineEdit::textChanged, this, [this] { BranchLookup(Ex); });
    for (QLineEdit *e : findChildren<QLineEdit *>())
        connect(e, &QLineEdit::textChanged, this, [this] { Changed = true; });
}

void TfrmVJRecordInput::FillGroup(TGroup &g, const TBranchRecord &m)
{
    g.Number->SetIntValue(m.Number);
    BranchLookup(g);
    g.Sec->SetFloatValue(m.Sec);
    g.Out->SetIntValue(m.Out);
    g.Speed->SetFloatValue(m.Speed);
    g.Temperature->SetFloatValue(m.Temperature);
    g.Waternity->SetFloatValue(m.Waternity);
}

void TfrmVJRecordInput::Fill()
{
    FillGroup(In, m_record.InBranch);
    FillGroup(Ex, m_record.OutBranch);
    edCH4->setText(m_record.OutBranch.CH4);
    edCO2->setText(m_record.OutBranch.CO2);
    edO2->setText(m_record.OutBranch.O2);
    edCO->setText(m_record.OutBranch.CO);
    Changed = false;
}

void TfrmVJRecordInput::BranchLookup(TGroup &g)
{
    int n = 0;
    if (!ReadEdits([&] { n = EditToInt(g.Number); }))
        return;
    TBranchRecord m;
    m.Number = static_cast<std::int16_t>(n);
    // A number beyond 16 bits names no branch; it is refused at OK.
    const bool found = n == m.Number && RefreshMeasurement(m_net, m_branchInfo, m) != TRefreshResult::NotInNetwork;
    if (!found) {
        for (QLineEdit *e : {static_cast<QLineEdit *>(g.Sec), static_cast<QLineEdit *>(g.Out),
                             static_cast<QLineEdit *>(g.Speed), static_cast<QLineEdit *>(g.Temperature), g.Name})
            e->clear();
        return;
    }
    g.Sec->SetFloatValue(m.Sec);
    g.Out->SetIntValue(m.Out);
    g.Speed->SetFloatValue(m.Speed);
    g.Temperature->SetFloatValue(m.Temperature);
    g.Name->setText(m.Name);
}

void TfrmVJRecordInput::OkClick()
{
    if (!Changed) {
        accept();
        return;
    }
    TTyped in{}, ex{};
    if (!ReadEdits([&] {
            in = ReadGroup(In);
            ex = ReadGroup(Ex);
        }))
        return;
    Take(in, m_record.InBranch);
    Take(ex, m_record.OutBranch);
    m_record.OutBranch.CH4 = edCH4->text();
    m_record.OutBranch.CO2 = edCO2->text();
    m_record.OutBranch.O2 = edO2->text();
    m_record.OutBranch.CO = edCO->text();
    if (m_record.Rubric && m_record.Rubric->OwnerJournal)
        m_record.Rubric->OwnerJournal->Modified = true;
    accept();
}

bool EditRecord(TRubricRecord &record, const TJournalNetwork &net, QWidget *parent)
{
    TfrmVJRecordInput dialog(record, net, parent);
    return dialog.exec() == QDialog::Accepted && dialog.Changed;
}
