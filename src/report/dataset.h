#pragma once
// Record sources of reports. A data band repeats once per record of a
// TfrDataset; the engine walks it through Init, First, Next, Eof and Exit and
// never reads the host's data itself. Hosts put TfrUserDataset objects on their
// report windows and answer its events from their own tables.
#include "report/variant.h"
#include "platform/exceptions.h"

#include <QtCore/QByteArray>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <functional>
#include <memory>
#include <vector>

// What templates find by name: record sources, database data sets, data
// sources. Hosts register them in the engine's component directory.
class TfrComponent
{
public:
    // A component going away leaves the engine's directory.
    virtual ~TfrComponent();
    QString Name;
    // Another component is going away; drop references to it.
    virtual void Notification(TfrComponent *removed) {}
};

using TNotifyEvent = std::function<void(TfrComponent *sender)>;
using TCheckEOFEvent = std::function<void(TfrComponent *sender, bool &eof)>;

enum TRangeBegin { rbFirst, rbCurrent };
enum TRangeEnd { reLast, reCurrent, reCount };

class TfrDataset : public TfrComponent
{
public:
    TRangeBegin RangeBegin = rbFirst;
    TRangeEnd RangeEnd = reLast;
    int RangeEndCount = 0;
    TCheckEOFEvent OnCheckEOF;
    TNotifyEvent OnFirst;
    TNotifyEvent OnNext;
    int RecordNo = 0; // Next calls since First

    virtual void Init() {}
    virtual void Exit() {}
    virtual void First();
    virtual void Next();
    virtual bool Eof();
};

// The host's record source; everything it does comes from its events.
class TfrUserDataset : public TfrDataset
{
};

// ---- database layer: the little of it that reports read ----

// A data set without a data source or a data set behind it.
class EDSError : public Exception
{
public:
    using Exception::Exception;
};

// A field name that the data set does not have.
class EDatabaseError : public Exception
{
public:
    using Exception::Exception;
};

// Field data types; 15 to 21 are the large-object kinds whose content an
// object takes whole (blob, memo, graphic, formatted memo, two OLE kinds,
// typed binary).
enum TFieldType {
    ftUnknown = 0,
    ftString = 1,
    ftSmallint = 2,
    ftInteger = 3,
    ftBoolean = 5,
    ftFloat = 6,
    ftDate = 9,
    ftTime = 10,
    ftDateTime = 11,
    ftBlob = 15,
    ftMemo = 16,
    ftGraphic = 17,
    ftFmtMemo = 18,
    ftParadoxOle = 19,
    ftDBaseOle = 20,
    ftTypedBinary = 21,
};

inline bool IsLargeObjectField(int dataType)
{
    return dataType >= ftBlob && dataType <= ftTypedBinary;
}

class TField
{
public:
    virtual ~TField() = default;
    virtual QString FieldName() const = 0;
    virtual int DataType() const = 0;
    virtual Variant Value() const = 0;
    // What the designer's field wizard sizes and captions a field by; 0
    // means no width is known.
    virtual int DisplayWidth() const { return 0; }
    virtual QString DisplayLabel() const { return FieldName(); }
};

class TDataSet : public TfrComponent
{
public:
    virtual bool Active() const = 0;
    virtual void Open() = 0;
    virtual void Close() = 0;
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual bool Eof() const = 0;
    // An opaque mark of the current record and the way back to it.
    virtual QByteArray GetBookmark() const = 0;
    virtual void GotoBookmark(const QByteArray &bookmark) = 0;
    // Case-insensitive; nullptr when the field does not exist.
    virtual TField *FindField(const QString &name) const = 0;
    // The field names in field order, for the designer's field lists.
    virtual QStringList FieldNames() const { return {}; }
    // As FindField, but a missing field raises EDatabaseError.
    TField *FieldByName(const QString &name) const;
};

class TDataSource : public TfrComponent
{
public:
    TDataSet *DataSet = nullptr;
    void Notification(TfrComponent *removed) override;
};

// Walks a database data set through a data source.
class TfrDBDataSet : public TfrDataset
{
public:
    TDataSource *DataSource = nullptr;
    bool OpenDataSource = true;
    bool CloseDataSource = false;
    TNotifyEvent OnOpen;
    TNotifyEvent OnClose;

    void Init() override;
    void Exit() override;
    void First() override;
    void Next() override;
    bool Eof() override;
    void Notification(TfrComponent *removed) override;

    // The data set behind DataSource; EDSError "Unable to open Dataset" without one.
    TDataSet *GetDataSet() const;

private:
    void OpenSource();
    void CloseSource();

    QByteArray m_startBookmark;
    bool m_hasStart = false;
    bool m_endReached = false;
};
