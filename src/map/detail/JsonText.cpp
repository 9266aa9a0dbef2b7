#include "map/detail/JsonText.h"

#include <charconv>
#include <cmath>

namespace zuvo::map::detail {

void appendNumber(QByteArray& out, double value)
{
    if (!std::isfinite(value)) {
        out.append("null");
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr - buffer);
}

void appendString(QByteArray& out, QStringView text)
{
    static const char hex[] = "0123456789abcdef";
    const QByteArray utf8 = text.toUtf8();
    out.append('"');
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out.append("\\\"");
            break;
        case '\\':
            out.append("\\\\");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\t':
            out.append("\\t");
            break;
        default:
            if (byte < 0x20) {
                out.append("\\u00");
                out.append(hex[byte >> 4]);
                out.append(hex[byte & 0xF]);
            } else {
                out.append(c);
            }
        }
    }
    out.append('"');
}

void appendDegrees(QByteArray& out, double degrees)
{
    if (!std::isfinite(degrees) || std::abs(degrees) > 1e9) {
        appendNumber(out, degrees);
        return;
    }
    long long scaled = std::llround(degrees * 1e7);
    char buffer[32];
    char* end = buffer + sizeof buffer;
    char* p = end;
    const bool negative = scaled < 0;
    unsigned long long magnitude = negative ? 0ull - static_cast<unsigned long long>(scaled)
                                            : static_cast<unsigned long long>(scaled);
    // The seven decimals, without the zeros that end them.
    int decimals = 7;
    while (decimals > 0 && magnitude % 10 == 0) {
        magnitude /= 10;
        --decimals;
    }
    for (int i = 0; i < decimals; ++i) {
        *--p = char('0' + magnitude % 10);
        magnitude /= 10;
    }
    if (decimals > 0)
        *--p = '.';
    do {
        *--p = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    if (negative && scaled != 0)
        *--p = '-';
    out.append(p, end - p);
}

void appendPositions(QByteArray& out, std::span<const model::Coordinate> coordinates)
{
    out.reserve(out.size() + static_cast<qsizetype>(coordinates.size()) * 26);
    out.append('[');
    bool first = true;
    for (const auto& c : coordinates) {
        if (!first)
            out.append(',');
        first = false;
        out.append('[');
        appendDegrees(out, c.longitude);
        out.append(',');
        appendDegrees(out, c.latitude);
        out.append(']');
    }
    out.append(']');
}

void appendNumbers(QByteArray& out, std::span<const double> values)
{
    out.reserve(out.size() + static_cast<qsizetype>(values.size()) * 20);
    out.append('[');
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            out.append(',');
        appendNumber(out, values[i]);
    }
    out.append(']');
}

} // namespace zuvo::map::detail
