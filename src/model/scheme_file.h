#pragma once
// The scheme file (*.mine, *.min): one mine network with everything attached
// to it. A 16-byte header is followed by tagged records; tables are stored
// packed (only existing items, in ascending number) and two index records give
// the item number of every packed entry. Unknown records are skipped by their
// length, so files of later versions stay readable.
#include "model/installed_fans.h"
#include "model/network.h"
#include "model/scheme_overlays.h"

#include <QtCore/QByteArray>
#include <QtCore/QString>

#include <cstdint>
#include <map>
#include <vector>

class TRobustFileStream;

constexpr std::int16_t SchemeFileVersion = 519;
// Files below this version carry a per-branch extra record that means nothing now.
constexpr std::int16_t ExtraRecordVersion = 518;
constexpr int SchemeHeaderSize = 16;
constexpr int RecordHeaderSize = 10;

// Record tags that are not packed tables.
enum TSchemeTag : std::int16_t {
    tagNodeIndex = 1,
    tagBranchIndex = 7,
    tagBranchName = 26,
    tagBendPoints = 31,
    tagMineProperties = 32,
    tagLayers = 33,
    tagNodeFlags = 34,
    tagInstalledFans = 35,
    tagPictureSymbols = 42,
    tagBalloons = 43,
    tagTelephones = 44,
    tagTelephoneLink = 47,
    tagSymbolLinks = 48,
    tagCableCells = 49,
    tagDegasValve = 50,
    tagFirePipeDiameter = 51,
    tagMapTexts = 54,
    tagExtraRecord = 999,
    tagNode3dX = 1000,
    tagNode3dY = 1001,
};

struct TRecordHeader
{
    std::int16_t Tag = 0;
    std::int32_t Length = 0; // data bytes after the header
    std::int32_t Count = 0;  // elements in the data; string records keep their item here

    // String records (names and texts) keep the item number in bytes 8 and 9.
    std::int16_t Item() const { return static_cast<std::int16_t>(static_cast<std::uint32_t>(Count) >> 16); }
    static TRecordHeader ForString(std::int16_t tag, std::int32_t length, std::int16_t item)
    {
        return {tag, length, static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(item)) << 16)};
    }
};

void WriteRecordHeader(TRobustFileStream &s, const TRecordHeader &h);
TRecordHeader ReadRecordHeader(TRobustFileStream &s);

// The scheme's properties record (366 bytes in the file).
struct TMineProperties
{
    static constexpr int Size = 366;
    static constexpr int MaxNameLength = 63;
    static constexpr int MaxRemarksLength = 254;

    QString MineName;
    std::int16_t Capacity = MaxItems;
    std::int16_t NodeCount = 0;    // at the time of saving
    std::int16_t BranchCount = 0;  // at the time of saving
    std::int32_t SheetWidth = 1500;  // scheme units
    std::int32_t SheetHeight = 1000;
    double SavedZoom = 1;  // first copy of the zoom, not used on loading
    double Zoom = 1;       // the copy applied on loading
    double ScrollX = 0;    // pixels
    double ScrollY = 0;
    QString Remarks;
    std::uint8_t ZoomStep = 1;

    bool operator==(const TMineProperties &) const = default;
};

// One seam of the layer list; BranchLayer holds the list index.
struct TLayer
{
    static constexpr int Size = 68;
    static constexpr int MaxNameLength = 63;
    QString Name;
    std::int32_t Color = 0;
    bool operator==(const TLayer &) const = default;
};

// A branch-symbol link: a symbol of the given name placed on a branch at a
// distance in whole metres from its start node. Stored as int32 branch,
// int32 distance and the name as a length byte and up to 10 characters
// (code page 1251).
struct TLink
{
    static constexpr int Size = 19;
    static constexpr int MaxNameLength = 10;
    std::int32_t Distance = 0;
    std::int32_t Branch = 0;
    QString Name;

    TLink() = default;
    TLink(std::int32_t branch, std::int32_t distance, const QString &name)
        : Distance(distance), Branch(branch), Name(name.left(MaxNameLength))
    {
    }
    void SetDistance(std::int32_t distance) { Distance = distance; }
    QByteArray ToBytes() const;
    // From the stored bytes; a length byte over 10 keeps 10 characters.
    static TLink FromBytes(const char *bytes);
    bool operator==(const TLink &) const = default;
};
using TLinkList = std::vector<TLink>;

// The view at the time of saving, held by the main window's viewport.
struct TSchemeView
{
    double Zoom = 1;
    double ScrollX = 0;
    double ScrollY = 0;
    int ZoomStep = 1;
};

// What the scheme file holds beside the network tables; the main window keeps
// one per open document.
struct TSchemeDocument
{
    TMineProperties MineProperties;
    std::vector<TLayer> Layers;
    TInstFanList InstalledFans;
    // Picture symbols of an older file, between reading and AfterLoad only.
    TSymbolList PictureSymbolList;
    TPLABalloonPlaces BalloonList;
    // Branches link to these through BranchPhone.
    TPhonePlaces PhoneList;
    TLinkList SymbolLinks;
    TMapTextList MapTexts;

    // Back to the state of a new document. The caller unlinks the
    // telephones from the branches first (UnlinkAllPhones).
    void Clear();
    bool operator==(const TSchemeDocument &) const = default;
};

// What the document attaches to branch `from` (symbol links, installed fan)
// passes to branch `to`, which takes its place; the telephone link moves
// with the branch's tables.
void MoveBranchAttachments(TSchemeDocument &doc, int from, int to);
// The symbol links of a destroyed branch go with it.
void RemoveBranchSymbolLinks(TSchemeDocument &doc, int branch);

// No branch is linked to a telephone any more.
void UnlinkAllPhones(TNetworkTables &t);

// The view stored by the last read, for the main window to apply.
TSchemeView LoadedView(const TMineProperties &p);

// Fills the derived fields of the properties before saving: the mine name
// (the stored one, else the file name without folder), counts and the view.
void UpdatePropertiesBeforeSave(TMineProperties &p, const TNetworkTables &t, const QString &fileName,
                                const TSchemeView &view);

// Saves the document. The file is written beside the target and renamed over
// it only when complete, so a failed save never harms the previous file.
// Returns false when the disk was full (the user has been told, the previous
// file is intact and the document must stay modified); every other failure
// is an exception naming the file.
bool WriteMineFile(const QString &fileName, TNetworkTables &t, TSchemeDocument &doc, const TSchemeView &view);

// Loads a scheme file into tables and a document that the caller has reset.
// The tables are emptied first, every place as after DestroyBranch and
// DestroyNode, so that only the file's values are in them afterwards.
// Reads the current format, the "xqLite" form, later versions (after one
// warning) and the old fixed layout. Any failure is an exception with the
// message to show; the tables and the document then hold what was read up to
// the failure, made consistent (present branches have their end points,
// links name present branches), so that the network can be salvaged.
void ReadMineFile(const QString &fileName, TNetworkTables &t, TSchemeDocument &doc);

// Shows the disk-full warning for a save into fileName: the mount point of
// the file's folder and its free kilobytes.
void ReportDiskFull(const QString &fileName);

// Texts of the reader's failures, with the file name filled in.
QString InvalidSchemeFileMessage(const QString &fileName);
// A file that ends inside a record.
QString TruncatedSchemeFileMessage(const QString &fileName);
QString DamagedSchemeFileMessage(const QString &fileName);
