#pragma once
// Which catalogue fan the user installed in which branch. The fan's effect on
// the network lives in the branch's resistance and additional depression; this
// list only remembers the choice so that the fan editor opens with it again.
// It is saved with the scheme as one record of 38-byte entries.
#include "platform/exceptions.h"

#include <QtCore/QString>

#include <cstdint>
#include <vector>

class TRobustFileStream;
struct TRecordHeader;

// Raised when a field of the current entry is used while no entry is current.
class EListError : public Exception
{
public:
    using Exception::Exception;
};

struct InstalledFan
{
    static constexpr int Size = 38;        // bytes of one stored entry
    static constexpr int MaxNameLength = 32;

    QString FanName;
    std::uint8_t Spare = 0;     // byte 33 of the entry; carried as read
    std::int16_t Branch = 0;
    std::uint8_t Efficiency = 0; // per cent
    std::uint8_t CurveIndex = 0; // characteristic of the fan model

    bool operator==(const InstalledFan &) const = default;
};

class TInstFanList
{
public:
    static constexpr std::int16_t RecordTag = 35;
    static constexpr std::uint8_t DefaultEfficiency = 75;

    // Appends an entry (name cut to 32 characters); the current entry stays.
    void Add(int branch, const QString &fanName, int curveIndex, int efficiency);
    // The entries of a renumbered branch follow it to its new number.
    void MoveBranch(int from, int to);
    // Makes the first entry of the branch current; false and no current entry
    // when the branch has none.
    bool FindBranch(int branch);
    bool HasCurrent() const { return m_current >= 0; }

    // Fields of the current entry; EListError when there is none.
    QString GetFanName() const;
    std::uint8_t GetEfficiency() const;
    std::uint8_t GetCurveIndex() const;
    void SetFanName(const QString &name);
    void SetEfficiency(std::uint8_t efficiency);
    void SetCurveIndex(std::uint8_t index);

    // The whole record: header, then every entry's 38 bytes.
    void WriteToStream(TRobustFileStream &s) const;
    // Appends the entries of one record whose header was read.
    void ReadFromStream(TRobustFileStream &s, const TRecordHeader &header);

    void Clear();
    int Count() const { return static_cast<int>(m_items.size()); }
    const InstalledFan &Item(int i) const { return m_items[static_cast<std::size_t>(i)]; }
    const std::vector<InstalledFan> &Items() const { return m_items; }
    // Replaces every entry; no entry is current afterwards.
    void SetItems(std::vector<InstalledFan> items);
    bool operator==(const TInstFanList &) const = default;

private:
    InstalledFan &Current();
    const InstalledFan &Current() const;

    std::vector<InstalledFan> m_items;
    int m_current = -1;
};
