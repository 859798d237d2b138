#include "journal/ui/frm_property.h"

#include "report/formats.h"
#include "journal/ui/dialog_buttons.h"
#include "shell/ui/xq_edit.h"

#include <QtCore/QDir>
#include <QtWidgets/QDateEdit>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QVBoxLayout>

#include <cmath>
#include <cstdint>
#include <limits>

QDate DaysToDate(double days)
{
    int y = 0, m = 0, d = 0;
    DecodeDate(days, y, m, d);
    return QDate(y, m, d);
}

double WithDate(double days, const QDate &date)
{
    const double time = days - std::floor(days);
    return EncodeDate(date.year(), date.month(), date.day()) + time;
}

TfrmProperty::TfrmProperty(TKerstal &journal, const QString &folder, QWidget *parent)
    : QDialog(parent), m_journal(journal)
{
    setObjectName(QStringLiteral("frmProperty"));
    setWindowTitle(QStringLiteral("Свойства"));

    auto *pages = new QTabWidget(this);
    auto *page = new QWidget(pages);
    pages->addTab(page, QStringLiteral("Общие"));
    auto *form = new QFormLayout(page);
    form->addRow(QStringLiteral("Файл:"), new QLabel(journal.FileName, page));
    form->addRow(QStringLiteral("Папка:"), new QLabel(QDir::toNativeSeparators(folder), page));
    form->addRow(QStringLiteral("Всего рубрик:"), new QLabel(QString::number(journal.Count()), page));
    form->addRow(QStringLiteral("Всего записей:"), new QLabel(QString::number(journal.TotalRecords()), page));

    edVGPCount = new TxqEdit(page);
    edVGPCount->setObjectName(QStringLiteral("edVGPCount"));
    // Stored in 16 bits: a larger count is refused, not wrapped.
    edVGPCount->SetIntRange(0, std::numeric_limits<std::uint16_t>::max());
    edVGPCount->SetIntValue(journal.VGPCount);
    form->addRow(QStringLiteral("Количество ВГП:"), edVGPCount);
    edMineName = new QLineEdit(journal.MineName, page);
    edMineName->setObjectName(QStringLiteral("edMineName"));
    form->addRow(QStringLiteral("Название шахты:"), edMineName);
    memRemarks = new QPlainTextEdit(journal.MineRemarks, page);
    memRemarks->setObjectName(QStringLiteral("memRemarks"));
    form->addRow(QStringLiteral("Примечания:"), memRemarks);
    const auto picker = [&](const QString &name, double days) {
        auto *edit = new QDateEdit(DaysToDate(days), page);
        edit->setObjectName(name);
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QLocale(QLocale::Russian).dateFormat(QLocale::LongFormat));
        edit->setToolTip(QStringLiteral("Используйте стрелки или выпадающий календарь для установки дат"));
        return edit;
    };
    dtpBegins = picker(QStringLiteral("dtpBegins"), journal.VJBegins);
    dtpEnds = picker(QStringLiteral("dtpEnds"), journal.VJEnds);
    form->addRow(QStringLiteral("Дата начала:"), dtpBegins);
    form->addRow(QStringLiteral("Дата окончания:"), dtpEnds);

    QDialogButtonBox *buttons = OkCancelButtons(this, [this] { OkClick(); });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addWidget(buttons);

    const auto changed = [this] { Changed = true; };
    connect(edVGPCount, &QLineEdit::textChanged, this, changed);
    connect(edMineName, &QLineEdit::textChanged, this, changed);
    connect(memRemarks, &QPlainTextEdit::textChanged, this, changed);
    connect(dtpBegins, &QDateEdit::dateChanged, this, changed);
    connect(dtpEnds, &QDateEdit::dateChanged, this, changed);
}

void TfrmProperty::OkClick()
{
    if (Changed) {
        int vgp = 0;
        if (!ReadEdits([&] { vgp = edVGPCount->GetIntValue(); }))
            return;
        m_journal.Modified = true;
        m_journal.VGPCount = static_cast<std::uint16_t>(vgp);
        m_journal.MineName = edMineName->text();
        m_journal.MineRemarks = memRemarks->toPlainText();
        m_journal.VJBegins = WithDate(m_journal.VJBegins, dtpBegins->date());
        m_journal.VJEnds = WithDate(m_journal.VJEnds, dtpEnds->date());
    }
    accept();
}

bool EditJournalProperties(TKerstal &journal, const QString &folder, QWidget *parent)
{
    TfrmProperty dialog(journal, folder, parent);
    return dialog.exec() == QDialog::Accepted && dialog.Changed;
}
