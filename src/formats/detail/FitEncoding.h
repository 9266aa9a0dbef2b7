#pragma once

#include <QByteArray>
#include <QtEndian>

#include <cstdint>
#include <initializer_list>

// Writing FIT data: little-endian values, definition messages and the file
// frame around the data records.
namespace zuvo::formats::detail {

class LittleEndian {
public:
    template <typename T>
    LittleEndian& operator<<(T value)
    {
        char bytes[sizeof(T)];
        qToLittleEndian(value, bytes);
        m_bytes.append(bytes, sizeof(T));
        return *this;
    }
    LittleEndian& zeros(qsizetype count)
    {
        m_bytes.append(count, '\0');
        return *this;
    }
    QByteArray& bytes() { return m_bytes; }

private:
    QByteArray m_bytes;
};

// FIT base types of the fields written.
enum FitBaseType : std::uint8_t {
    enumType = 0x00,
    sint8Type = 0x01,
    uint8Type = 0x02,
    stringType = 0x07,
    sint16 = 0x83,
    uint16 = 0x84,
    sint32 = 0x85,
    uint32 = 0x86,
};

struct FitField {
    std::uint8_t number = 0;
    std::uint8_t size = 0;
    FitBaseType type = enumType;
};

// Definition message: header (local type | 0x40), reserved 0, architecture 0
// (little-endian), global number, field count, 3 bytes per field.
void defineFitMessage(LittleEndian& out, std::uint8_t local, std::uint16_t global,
                      std::initializer_list<FitField> fields);

// The whole file: a 14-byte header (size, protocol and profile version, data
// size, ".FIT", CRC of the twelve bytes before it), the data records, and
// the CRC over header and data.
QByteArray fitFile(const QByteArray& records, std::uint8_t protocolVersion,
                   std::uint16_t profileVersion);

} // namespace zuvo::formats::detail
