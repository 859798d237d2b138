#include "shell/ui/frm_about.h"

#include "platform/codepage.h"
#include "platform/help.h"
#include "shell/main_commands.h"

#include <QtCore/QDir>

#include <cctype>
#include <QtCore/QFile>
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

QString RtfToPlainText(const QByteArray &rtf)
{
    if (!rtf.startsWith("{\\rtf"))
        return QString::fromUtf8(rtf);
    QByteArray text;
    // Groups whose text is not shown: font and colour tables, pictures, info.
    static const QList<QByteArray> hidden = {"fonttbl", "colortbl", "stylesheet", "info", "pict", "*"};
    int depth = 0;
    int skipDepth = -1;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{') {
            ++depth;
            continue;
        }
        if (c == '}') {
            if (depth == skipDepth)
                skipDepth = -1;
            --depth;
            continue;
        }
        if (c == '\\') {
            if (i + 1 >= rtf.size())
                break;
            const char next = rtf[i + 1];
            if (next == '\\' || next == '{' || next == '}') {
                if (skipDepth < 0)
                    text += next;
                ++i;
                continue;
            }
            if (next == '\'' && i + 3 < rtf.size()) {
                bool ok = false;
                const char byte = static_cast<char>(rtf.mid(i + 2, 2).toInt(&ok, 16));
                if (ok && skipDepth < 0)
                    text += byte;
                i += 3;
                continue;
            }
            qsizetype j = i + 1;
            while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j])))
                ++j;
            QByteArray word = rtf.mid(i + 1, j - i - 1);
            if (word.isEmpty() && next == '*')
                word = "*", j = i + 2;
            while (j < rtf.size() && (rtf[j] == '-' || std::isdigit(static_cast<unsigned char>(rtf[j]))))
                ++j;
            if (j < rtf.size() && rtf[j] == ' ')
                ++j;
            if (skipDepth < 0 && hidden.contains(word))
                skipDepth = depth;
            else if (skipDepth < 0 && (word == "par" || word == "line"))
                text += '\n';
            else if (skipDepth < 0 && word == "tab")
                text += '\t';
            i = j - 1;
            continue;
        }
        if (skipDepth < 0 && c != '\r' && c != '\n')
            text += c;
    }
    return DecodeCp1251(text).trimmed();
}

TfrmAbout::TfrmAbout(const QString &startFolder, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(LookupText(QStringLiteral("О программе")));
    auto *layout = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    layout->addWidget(m_pages);

    QFile rtf(QDir(startFolder).filePath(QStringLiteral("zyr.rtf")));
    if (rtf.open(QIODevice::ReadOnly)) {
        auto *version = new QPlainTextEdit(RtfToPlainText(rtf.readAll()), m_pages);
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
