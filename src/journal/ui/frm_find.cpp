#include "journal/ui/frm_find.h"

#include "platform/prompt.h"

#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

TfrmFind::TfrmFind(std::function<void(const QString &)> find, QWidget *parent)
    : QDialog(parent), m_find(std::move(find))
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Найти ветвь"));
    edText = new QLineEdit(this);
    edText->setObjectName(QStringLiteral("edText"));
    btnFind = new QPushButton(QStringLiteral("Найти далее"), this);
    btnFind->setObjectName(QStringLiteral("btnFind"));
    btnFind->setDefault(true);
    auto *btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    btnHelp = new QPushButton(QStringLiteral("Справка"), this);
    btnHelp->setObjectName(QStringLiteral("btnHelp"));
    btnHelp->setAutoDefault(false);

    // Without a text there is nothing to find: the button waits for one.
    btnFind->setEnabled(false);
    connect(edText, &QLineEdit::textChanged, this, [this](const QString &text) { btnFind->setEnabled(!text.isEmpty()); });
    connect(btnFind, &QPushButton::clicked, this, [this] {
        if (!edText->text().isEmpty())
            m_find(edText->text());
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::close);
    connect(btnHelp, &QPushButton::clicked, this, [] {
        ShowMessageBox(QStringLiteral("Введите номер ветви или часть названия выработки и нажмите "
                                      "\"Найти далее\".\r\rНомер ищется среди номеров поступающих и исходящих "
                                      "ветвей записей, название - в названиях выработок (с учетом регистра). "
                                      "Поиск идет вниз от выделенной записи."),
                       QStringLiteral("Найти ветвь"), mb::Ok | mb::IconInformation);
    });

    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Номер или название ветви:"), this));
    row->addWidget(edText, 1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(btnFind);
    buttons->addWidget(btnCancel);
    buttons->addWidget(btnHelp);
    buttons->addStretch(1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(row, 1);
    layout->addLayout(buttons);
}
