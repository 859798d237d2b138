#pragma once
// Whole-file reads and writes for tests that build or inspect files byte by byte.
#include <QtCore/QByteArray>
#include <QtCore/QFile>
#include <QtCore/QString>

inline QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}
