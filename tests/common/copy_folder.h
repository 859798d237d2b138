#pragma once
// Copies a folder with its subfolders, for tests that let the program write
// into a copy of the shipped data.
#include <QtCore/QDir>
#include <QtCore/QDirIterator>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QString>

inline void CopyFolder(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + QDir(from).relativeFilePath(file).prepend(u'/');
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
}
