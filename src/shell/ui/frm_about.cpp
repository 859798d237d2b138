#include "shell/ui/frm_about.h"

#include "platform/help.h"
#include "platform/paths.h"
#include "shell/about_text.h"
#include "shell/main_commands.h"

#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QVBoxLayout>

namespace {
const QString ContactMail = QStringLiteral("support@tunvex.example.org");
const QString ContactPage = QStringLiteral("https://tunvex.example.org/");
}

TfrmAbout::TfrmAbout(const QString &startFolder, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(LookupText(QStringLiteral("О программе")));
    auto *layout = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    layout->addWidget(m_pages);

    if (const QString text = ReadAboutText(startFolder, ProgramFolder()); !text.isEmpty()) {
        auto *version = new QPlainTextEdit(text, m_pages);
        version->setReadOnly(true);
        version->setObjectName(QStringLiteral("reVersion"));
        m_pages->addTab(version, LookupText(QStringLiteral("Версия")));
    }

    auto *contacts = new QWidget(m_pages);
    auto *contactsLayout = new QVBoxLayout(contacts);
    contactsLayout->addWidget(new QLabel(QStringLiteral("Tunvex"), contacts));
    auto *mail = new QLabel(QStringLiteral("<a href=\"mailto:%1\">%1</a>").arg(ContactMail), contacts);
    auto *page = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(ContactPage), contacts);
    for (QLabel *link : {mail, page}) {
        link->setTextFormat(Qt::RichText);
        connect(link, &QLabel::linkActivated, this, [](const QString &target) { OpenDocument(target); });
        contactsLayout->addWidget(link);
    }
    contactsLayout->addStretch();
    m_pages->addTab(contacts, LookupText(QStringLiteral("Контакты")));
    m_pages->setCurrentIndex(0);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(480, 360);
}
