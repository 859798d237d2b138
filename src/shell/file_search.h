#pragma once
// Searching whole drives for files by a name mask. Mounted file systems stand
// for drives. The walk never changes the process's current folder, passes
// over folders it cannot read, follows no symbolic link and stays on its
// drive: another mounted file system below it is a drive of its own.
#include <QtCore/QRegularExpression>
#include <QtCore/QString>

#include <functional>
#include <vector>

// Drive type codes and their names.
enum TDriveType { dtUnknown = 0, dtNoRoot = 1, dtRemovable = 2, dtFixed = 3, dtRemote = 4, dtCdRom = 5, dtRamDisk = 6 };
QString DriveTypeName(int code);
// The drive type of a file system kind ("ext4", "nfs", "iso9660", …).
int DriveTypeOfFileSystem(const QString &fileSystemType);

struct TDrive
{
    QString Root;
    int Type = dtUnknown;
};
// The mounted file systems that hold files, in order of their roots.
std::vector<TDrive> ListDrives();

// A file name mask with '*' and '?', matched without regard to case; "*.*"
// matches every name.
class TFileMask
{
public:
    explicit TFileMask(const QString &mask);
    bool Matches(const QString &name) const;

private:
    QRegularExpression m_pattern;
};

class TFileSearch
{
public:
    // More matches than this stop the search.
    static constexpr int FileLimit = 1000;

    // Called with each folder entered, before its entries are walked.
    std::function<void(const QString &folder)> FolderEntered;
    // Each match: the file name and its folder.
    std::function<void(const QString &name, const QString &folder)> Found;
    // After every entry: lets the window answer (and stop the search).
    std::function<void()> Pump;

    int Folders = 0;
    int Entries = 0;
    int FoundCount = 0;
    bool Running = false;

    // Resets the counters.
    void Reset();
    // Searches the drive's whole tree; stops early when Running is cleared
    // or more than FileLimit files were found.
    void SearchDrive(const QString &root, const QString &mask);
    bool LimitExceeded() const { return FoundCount > FileLimit; }

private:
    void SearchFolder(const QString &folder);

    std::vector<QString> m_otherMounts;
    TFileMask m_mask{QStringLiteral("*.*")};
};
