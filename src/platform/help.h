#pragma once
// Help and "open with the associated program". Help topics are numbered; the
// program's help pages are HTML files in one folder: "index.html" for the
// contents and "<topic>.html" for a topic. A page that is not there is
// reported to the user instead of opening nothing. The program installs an
// opener that hands files and addresses to the desktop; without one nothing
// opens.
#include <QtCore/QString>

#include <functional>

constexpr int HelpContents = 0;

void SetHelpFolder(const QString &folder);
QString HelpFolder();
// The page of a topic (HelpContents for the contents page).
QString HelpPageFile(int topic);
// Opens the page of the topic, or tells the user that it is not available.
void ShowHelpTopic(int topic);

// The help file in force; windows with help of their own (the report
// designer, the preview) put theirs in while they are shown and restore the
// previous one afterwards.
QString HelpFile();
void SetHelpFile(const QString &file);

// Opens a file or an address (http:, mailto:) with its associated program;
// false when it could not be handed over.
using TDocumentOpener = std::function<bool(const QString &target)>;
void SetDocumentOpener(TDocumentOpener opener);
bool OpenDocument(const QString &target);
