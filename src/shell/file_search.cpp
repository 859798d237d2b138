#include "shell/file_search.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QStorageInfo>

#include <algorithm>

QString DriveTypeName(int code)
{
    static const QString names[] = {
        QStringLiteral("Тип неизвестен"), QStringLiteral("Отсутствует корневой каталог"),
        QStringLiteral("Съёмный диск"),   QStringLiteral("Жесткий диск"),
        QStringLiteral("Сетевой диск"),   QStringLiteral("CD ROM диск"),
        QStringLiteral("RAM Disk")};
    return code >= 0 && code <= dtRamDisk ? names[code] : names[dtUnknown];
}

int DriveTypeOfFileSystem(const QString &fileSystemType)
{
    const QString type = fileSystemType.toLower();
    static const QStringList remote = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "sshfs", "9p",
                                       "ceph", "glusterfs", "afs", "davfs", "fuse.davfs2"};
    static const QStringList fixed = {"ext2", "ext3", "ext4", "xfs", "btrfs", "zfs", "f2fs", "jfs", "reiserfs",
                                      "ntfs", "ntfs3", "fuseblk", "overlay", "hfsplus", "apfs", "bcachefs"};
    if (remote.contains(type))
        return dtRemote;
    if (type == QLatin1String("iso9660") || type == QLatin1String("udf"))
        return dtCdRom;
    if (type == QLatin1String("tmpfs") || type == QLatin1String("ramfs"))
        return dtRamDisk;
    if (type == QLatin1String("vfat") || type == QLatin1String("exfat") || type == QLatin1String("msdos"))
        return dtRemovable;
    if (fixed.contains(type))
        return dtFixed;
    return dtUnknown;
}

std::vector<TDrive> ListDrives()
{
    std::vector<TDrive> drives;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const int type = volume.isValid() && volume.isReady()
                             ? DriveTypeOfFileSystem(QString::fromLatin1(volume.fileSystemType()))
                             : dtNoRoot;
        drives.push_back({volume.rootPath(), type});
    }
    std::sort(drives.begin(), drives.end(), [](const TDrive &a, const TDrive &b) { return a.Root < b.Root; });
    return drives;
}

TFileMask::TFileMask(const QString &mask)
{
    const QString m = mask.trimmed();
    m_pattern = QRegularExpression(
        m.isEmpty() || m == QLatin1String("*.*")
            ? QStringLiteral("^.*$")
            : QRegularExpression::wildcardToRegularExpression(m),
        QRegularExpression::CaseInsensitiveOption);
}

bool TFileMask::Matches(const QString &name) const
{
    return m_pattern.match(name).hasMatch();
}

void TFileSearch::Reset()
{
    Folders = 0;
    Entries = 0;
    FoundCount = 0;
}

void TFileSearch::SearchDrive(const QString &root, const QString &mask)
{
    m_mask = TFileMask(mask);
    const QString start = QDir(root).absolutePath();
    m_otherMounts.clear();
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        if (QDir(volume.rootPath()).absolutePath() != start)
            m_otherMounts.push_back(QDir(volume.rootPath()).absolutePath());
    SearchFolder(start);
}

void TFileSearch::SearchFolder(const QString &folder)
{
    if (FolderEntered)
        FolderEntered(folder);
    // An unreadable folder lists nothing and the search goes on.
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                   QDir::Name | QDir::DirsLast);
    for (const QFileInfo &entry : entries) {
        if (!Running || LimitExceeded())
            return;
        ++Entries;
        const QString name = entry.fileName();
        if (entry.isDir() && !entry.isSymLink()) {
            const QString path = entry.absoluteFilePath();
            if (!name.startsWith(u'.')
                && std::find(m_otherMounts.begin(), m_otherMounts.end(), path) == m_otherMounts.end()) {
                ++Folders;
                SearchFolder(path);
            }
        } else if (!entry.isDir() && m_mask.Matches(name)) {
            ++FoundCount;
            if (Found)
                Found(name, folder);
        }
        if (Pump)
            Pump();
    }
}
