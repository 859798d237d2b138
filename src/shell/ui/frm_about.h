#pragma once
// The About window: the version page, the text of "zyr.rtf" (in the start
// folder, else beside the program) shown as plain text and left out when no
// such file can be read, and the maker's contacts, whose address labels open
// through the desktop. It opens on the version page.
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
