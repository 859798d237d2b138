#pragma once
// The About window: the version page, the text of "zyr.rtf" in the start
// folder shown as plain text (left out when the file is missing), and the
// maker's contacts, whose address labels open through the desktop.
#include <QtWidgets/QDialog>

class QTabWidget;

class TfrmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmAbout(const QString &startFolder, QWidget *parent = nullptr);

    QTabWidget *Pages() const { return m_pages; }

private:
    QTabWidget *m_pages = nullptr;
};

// The readable text of a rich-text file: control words, groups of fonts,
// colours and pictures dropped; empty when the file cannot be read.
QString RtfToPlainText(const QByteArray &rtf);
