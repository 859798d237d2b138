#pragma once
// The text of the About box's version page: the rich-text file "zyr.rtf"
// read as plain text.
#include <QtCore/QByteArray>
#include <QtCore/QString>

// The readable text of a rich-text file: control words and the groups of
// fonts, colours, styles, pictures and document information dropped,
// "\'xx" read as code page 1251; a file that is not rich text is taken as
// UTF-8 text.
QString RtfToPlainText(const QByteArray &rtf);

// The version page's text: "zyr.rtf" in the start folder, else the one the
// build lays out beside the program; empty when neither can be read.
QString ReadAboutText(const QString &startFolder, const QString &programFolder);
