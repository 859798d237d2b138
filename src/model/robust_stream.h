#pragma once
// A file stream that turns every short read into EUnexpectedEOF and every
// short write into EOutOfDiskSpace, so that readers and writers of the binary
// files never test byte counts themselves. Strings are stored length-prefixed
// (int32 byte count, then the 1251 bytes, no terminator); numbers little-endian.
//
// A stream created for writing writes a temporary file beside the target and
// only Commit() puts it in the target's place: a save that fails half-way, or
// a stream destroyed without Commit(), leaves the previous file untouched.
#include "platform/exceptions.h"
#include "platform/little_endian.h"

#include <QtCore/QByteArray>
#include <QtCore/QFile>
#include <QtCore/QSaveFile>
#include <QtCore/QString>

#include <memory>

class EUnexpectedEOF : public Exception
{
public:
    EUnexpectedEOF();
    // The message followed by the name of the file that ended early, for
    // readers that know which document the user opened.
    explicit EUnexpectedEOF(const QString &fileName);
};

class EOutOfDiskSpace : public Exception
{
public:
    EOutOfDiskSpace();
};

class TRobustFileStream : public TLittleEndianValues<TRobustFileStream>
{
public:
    enum TMode { fmOpenRead, fmCreate };

    // Opening errors are EFOpenError / EFCreateError naming the file.
    TRobustFileStream(const QString &fileName, TMode mode);
    ~TRobustFileStream();
    TRobustFileStream(const TRobustFileStream &) = delete;
    TRobustFileStream &operator=(const TRobustFileStream &) = delete;

    const QString &FileName() const { return m_fileName; }
    qint64 Position() const;
    qint64 Size() const;
    qint64 BytesLeft() const { return Size() - Position(); }
    void Seek(qint64 position);

    // Reads exactly count bytes or raises EUnexpectedEOF.
    qint64 Read(void *buffer, qint64 count);
    // Writes exactly count bytes or raises EOutOfDiskSpace.
    qint64 Write(const void *buffer, qint64 count);

    QByteArray ReadBytes(qint64 count);
    void WriteBytes(const QByteArray &bytes) { Write(bytes.constData(), bytes.size()); }

    // A stored count is checked against the bytes left before anything is
    // allocated, so a damaged count gives EUnexpectedEOF, never a huge buffer.
    void ReadString(QString &text);
    QString ReadString();
    void WriteString(const QString &text);


    // Puts the written file in the target's place. A failure to flush or
    // rename (a full disk often shows only here) raises EOutOfDiskSpace and
    // the previous file stays.
    void Commit();

private:
    QString m_fileName;
    TMode m_mode;
    std::unique_ptr<QFile> m_reader;
    std::unique_ptr<QSaveFile> m_writer;
    QFileDevice *m_device = nullptr;
};
