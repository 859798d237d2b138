#pragma once
// Numbers in binary files are little-endian whatever the machine. A stream
// class with Read(buffer, count) and Write(buffer, count) that raise on short
// transfers derives from this to read and write them by type.
#include <QtCore/QtEndian>

#include <type_traits>

template <typename Stream>
class TLittleEndianValues
{
public:
    template <typename T>
    T ReadValue()
    {
        static_assert(std::is_arithmetic_v<T>);
        T value;
        static_cast<Stream *>(this)->Read(&value, sizeof value);
        return qFromLittleEndian(value);
    }

    template <typename T>
    void WriteValue(T value)
    {
        static_assert(std::is_arithmetic_v<T>);
        const T le = qToLittleEndian(value);
        static_cast<Stream *>(this)->Write(&le, sizeof le);
    }
};
