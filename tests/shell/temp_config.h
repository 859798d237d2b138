#pragma once
// Points the settings store at a folder of the test's own for the test's
// lifetime, so that nothing a test writes reaches the user's settings.
#include <QtCore/QTemporaryDir>
#include <QtCore/QtGlobal>

class TTempConfig
{
public:
    TTempConfig() : m_old(qgetenv("TUNVEX_CONFIG_DIR")) { qputenv("TUNVEX_CONFIG_DIR", m_dir.path().toUtf8()); }
    ~TTempConfig() { qputenv("TUNVEX_CONFIG_DIR", m_old); }
    QString Path() const { return m_dir.path(); }
    QString FilePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QByteArray m_old;
};
