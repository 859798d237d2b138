#pragma once
// A filter of the open and save dialogs: the text the user reads, exactly as
// the program words it, and the name patterns that it lets through.
#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QStringList>

struct TFileFilter
{
    QString Text;
    QStringList Patterns;
};

using TFileFilters = QList<TFileFilter>;
