#pragma once
// A tiny file system for disk-full tests: a 16 KiB tmpfs mounted for the
// test's lifetime. Mounting needs root; where it is refused the test skips.
#include <QtCore/QDir>
#include <QtCore/QTemporaryDir>

#include <cstdlib>
#include <string>

class TinyDisk
{
public:
    TinyDisk()
    {
        if (!m_dir.isValid())
            return;
        const std::string cmd = "mount -t tmpfs -o size=16k tmpfs '" + m_dir.path().toStdString() + "' 2>/dev/null";
        m_mounted = std::system(cmd.c_str()) == 0;
    }
    ~TinyDisk()
    {
        if (m_mounted)
            std::system(("umount '" + m_dir.path().toStdString() + "' 2>/dev/null").c_str());
    }
    bool Mounted() const { return m_mounted; }
    QString Path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};
