#pragma once

#include "formats/detail/FitCrc.h"

#include <QByteArray>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

namespace zuvo::test {

// Builds FIT files byte by byte: definitions (either byte order, with
// developer fields), data messages with normal or compressed-timestamp
// headers, and the header and CRCs around them.
class FitFileBuilder {
public:
    struct Field {
        std::uint8_t number = 0;
        std::uint8_t size = 0;
    };

    // A latitude or longitude as FIT stores it.
    static std::uint32_t semicircles(double degrees)
    {
        return std::uint32_t(std::int32_t(std::lround(degrees / 180.0 * 2147483648.0)));
    }

    FitFileBuilder& define(std::uint8_t local, std::uint16_t global, std::vector<Field> fields,
                           bool bigEndian = false, std::vector<std::uint8_t> developerSizes = {})
    {
        const bool developer = !developerSizes.empty();
        m_data.append(char(0x40 | (developer ? 0x20 : 0) | local));
        m_data.append('\0');
        m_data.append(char(bigEndian ? 1 : 0));
        appendValue(global, 2, bigEndian);
        m_data.append(char(fields.size()));
        for (const auto& field : fields) {
            m_data.append(char(field.number));
            m_data.append(char(field.size));
            m_data.append(char(0x86)); // base type: ignored by readers of known fields
        }
        int developerBytes = 0;
        if (developer) {
            m_data.append(char(developerSizes.size()));
            for (std::size_t i = 0; i < developerSizes.size(); ++i) {
                m_data.append(char(i));
                m_data.append(char(developerSizes[i]));
                m_data.append('\0');
                developerBytes += developerSizes[i];
            }
        }
        m_definitions[local] = {std::move(fields), bigEndian, developerBytes};
        return *this;
    }

    // A data message; `values` in field order, developer bytes filled with 0xAA.
    FitFileBuilder& data(std::uint8_t local, std::initializer_list<std::uint64_t> values)
    {
        m_data.append(char(local));
        return appendValues(local, values);
    }

    // A data message whose header carries the low five bits of its time.
    FitFileBuilder& compressed(std::uint8_t local, std::uint8_t offset,
                               std::initializer_list<std::uint64_t> values)
    {
        m_data.append(char(0x80 | (local << 5) | (offset & 0x1F)));
        return appendValues(local, values);
    }

    FitFileBuilder& raw(const QByteArray& bytes)
    {
        m_data.append(bytes);
        return *this;
    }

    QByteArray build(int headerSize = 14, std::uint8_t protocol = 0x20) const
    {
        QByteArray file;
        file.append(char(headerSize));
        file.append(char(protocol));
        file.append(char(0x08)); // profile version 2056, little-endian
        file.append(char(0x08));
        const auto size = std::uint32_t(m_data.size());
        for (int i = 0; i < 4; ++i)
            file.append(char((size >> (8 * i)) & 0xFF));
        file.append(".FIT");
        if (headerSize == 14)
            appendCrc(file, formats::detail::fitCrc(file));
        file.append(m_data);
        appendCrc(file, formats::detail::fitCrc(file));
        return file;
    }

private:
    struct Definition {
        std::vector<Field> fields;
        bool bigEndian = false;
        int developerBytes = 0;
    };

    static void appendCrc(QByteArray& file, std::uint16_t crc)
    {
        file.append(char(crc & 0xFF));
        file.append(char(crc >> 8));
    }

    void appendValue(std::uint64_t value, int size, bool bigEndian)
    {
        for (int i = 0; i < size; ++i) {
            const int shift = 8 * (bigEndian ? size - 1 - i : i);
            m_data.append(char(shift < 64 ? (value >> shift) & 0xFF : 0));
        }
    }

    FitFileBuilder& appendValues(std::uint8_t local, std::initializer_list<std::uint64_t> values)
    {
        const Definition& definition = m_definitions.at(local);
        auto value = values.begin();
        for (const auto& field : definition.fields)
            appendValue(value != values.end() ? *value++ : 0, field.size, definition.bigEndian);
        m_data.append(definition.developerBytes, char(0xAA));
        return *this;
    }

    QByteArray m_data;
    std::map<std::uint8_t, Definition> m_definitions;
};

} // namespace zuvo::test
