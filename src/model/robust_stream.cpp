#include "model/robust_stream.h"

#include "platform/codepage.h"

#include <QtCore/QFileInfo>

EUnexpectedEOF::EUnexpectedEOF()
    : Exception(QStringLiteral("Неожиданный конец файла. Возможно файл поврежден"))
{
}

EUnexpectedEOF::EUnexpectedEOF(const QString &fileName)
    : Exception(QStringLiteral("%1\r\"%2\"").arg(EUnexpectedEOF().Message(), fileName))
{
}

EOutOfDiskSpace::EOutOfDiskSpace()
    : Exception(QStringLiteral("Похоже, что на диске нет свободного места"))
{
}

namespace {

QString OpenFailureReason(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        return QStringLiteral("Не удается найти указанный файл");
    if (info.isDir())
        return QStringLiteral("Это папка, а не файл");
    return QStringLiteral("Отказано в доступе");
}

} // namespace

TRobustFileStream::TRobustFileStream(const QString &fileName, TMode mode)
    : m_fileName(fileName), m_mode(mode)
{
    if (mode == fmOpenRead) {
        m_reader = std::make_unique<QFile>(fileName);
        if (!m_reader->open(QIODevice::ReadOnly))
            throw EFOpenError(QStringLiteral("Не удается открыть файл \"%1\". %2")
                                  .arg(fileName, OpenFailureReason(fileName)));
        m_device = m_reader.get();
    } else {
        m_writer = std::make_unique<QSaveFile>(fileName);
        if (!m_writer->open(QIODevice::WriteOnly))
            throw EFCreateError(QStringLiteral("Не удается создать файл \"%1\". %2")
                                    .arg(fileName, QStringLiteral("Отказано в доступе")));
        m_device = m_writer.get();
    }
}

TRobustFileStream::~TRobustFileStream()
{
    if (m_writer && m_writer->isOpen())
        m_writer->cancelWriting();
}

qint64 TRobustFileStream::Position() const { return m_device->pos(); }
qint64 TRobustFileStream::Size() const { return m_device->size(); }

void TRobustFileStream::Seek(qint64 position)
{
    m_device->seek(position);
}

qint64 TRobustFileStream::Read(void *buffer, qint64 count)
{
    if (count <= 0)
        return 0;
    if (m_device->read(static_cast<char *>(buffer), count) != count)
        throw EUnexpectedEOF();
    return count;
}

qint64 TRobustFileStream::Write(const void *buffer, qint64 count)
{
    if (count <= 0)
        return 0;
    if (m_device->write(static_cast<const char *>(buffer), count) != count)
        throw EOutOfDiskSpace();
    return count;
}

QByteArray TRobustFileStream::ReadBytes(qint64 count)
{
    if (count < 0 || count > BytesLeft())
        throw EUnexpectedEOF();
    QByteArray bytes(count, Qt::Uninitialized);
    Read(bytes.data(), count);
    return bytes;
}

void TRobustFileStream::ReadString(QString &text)
{
    const auto count = ReadValue<std::int32_t>();
    text = DecodeCp1251(ReadBytes(count));
}

QString TRobustFileStream::ReadString()
{
    QString text;
    ReadString(text);
    return text;
}

void TRobustFileStream::WriteString(const QString &text)
{
    const QByteArray bytes = EncodeCp1251(text);
    WriteValue<std::int32_t>(static_cast<std::int32_t>(bytes.size()));
    WriteBytes(bytes);
}

void TRobustFileStream::Commit()
{
    if (!m_writer)
        return;
    if (!m_writer->flush() || !m_writer->commit())
        throw EOutOfDiskSpace();
}
