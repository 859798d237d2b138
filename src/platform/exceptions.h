#pragma once
// The general exception of the system: carries a user-facing message.
#include <QtCore/QString>
#include <exception>

class Exception : public std::exception
{
public:
    explicit Exception(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &Message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A file could not be opened for reading.
class EFOpenError : public Exception
{
public:
    using Exception::Exception;
};

// A file could not be created for writing.
class EFCreateError : public Exception
{
public:
    using Exception::Exception;
};

// A text is not the number it should be.
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};
