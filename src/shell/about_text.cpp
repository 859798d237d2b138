#include "shell/about_text.h"

#include "platform/codepage.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QList>

#include <cctype>

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

QString ReadAboutText(const QString &startFolder, const QString &programFolder)
{
    for (const QString &folder : {startFolder, programFolder}) {
        QFile rtf(QDir(folder).filePath(QStringLiteral("zyr.rtf")));
        if (!folder.isEmpty() && rtf.open(QIODevice::ReadOnly))
            return RtfToPlainText(rtf.readAll());
    }
    return {};
}
