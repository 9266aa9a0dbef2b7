#include "formats/detail/Text.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>

namespace zuvo::formats::detail {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The digits of text[at, at + count) as a number, or -1.
int digits(std::string_view text, std::size_t at, std::size_t count)
{
    if (at + count > text.size())
        return -1;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!isDigit(text[i]))
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

struct CivilTime {
    int year = 0;
    unsigned month = 0;
    unsigned day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

CivilTime civil(std::int64_t secondsSinceEpoch)
{
    using namespace std::chrono;
    const sys_seconds instant{seconds{secondsSinceEpoch}};
    const auto day = floor<days>(instant);
    const year_month_day date{day};
    const hh_mm_ss time{instant - day};
    return {static_cast<int>(date.year()),
            static_cast<unsigned>(date.month()),
            static_cast<unsigned>(date.day()),
            static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()),
            static_cast<int>(time.seconds().count())};
}

char* writePadded(char* out, int value, int width)
{
    if (value < 0) {
        *out++ = '-';
        value = -value;
    }
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    for (auto length = end - digits; length < width; ++length)
        *out++ = '0';
    return std::copy(digits, end, out);
}

// Plain decimals of at most 15 digits without an exponent ("48.123456",
// "-3.5"), by far the most common numbers in GPX: the digits as an integer
// and the power of ten are both exact doubles, so one division gives the
// correctly rounded value, the same as the general conversion.
std::optional<double> parsePlainDecimal(std::string_view text)
{
    static constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        ++i;
    std::int64_t digits = 0;
    int count = 0;
    int fraction = -1;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            digits = digits * 10 + (c - '0');
            if (fraction >= 0)
                ++fraction;
            if (++count > 15)
                return std::nullopt;
        } else if (c == '.' && fraction < 0) {
            fraction = 0;
        } else {
            return std::nullopt;
        }
    }
    if (count == 0)
        return std::nullopt;
    const double value = double(digits) / powersOfTen[std::max(fraction, 0)];
    return negative ? -value : value;
}

} // namespace

std::optional<double> parseDecimal(std::string_view text)
{
    if (const auto plain = parsePlainDecimal(text))
        return plain;
    // from_chars takes no "+" and would take "inf" and "nan": check the
    // grammar first.
    std::size_t i = 0;
    const bool plus = !text.empty() && text[0] == '+';
    if (!text.empty() && (text[0] == '+' || text[0] == '-'))
        ++i;
    std::size_t mantissaDigits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++mantissaDigits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (i == text.size() || !isDigit(text[i]))
            return std::nullopt;
        while (i < text.size() && isDigit(text[i]))
            ++i;
    }
    if (i != text.size())
        return std::nullopt;

    const char* first = text.data() + (plus ? 1 : 0);
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> parseInteger(std::string_view text)
{
    const bool plus = !text.empty() && text[0] == '+';
    if (plus && (text.size() < 2 || !isDigit(text[1])))
        return std::nullopt;
    const char* first = text.data() + (plus ? 1 : 0);
    const char* last = text.data() + text.size();
    int value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last)
        return std::nullopt;
    return value;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

char* writeFixed(char* out, double value, int decimals)
{
    return std::to_chars(out, out + numberCapacity, value, std::chars_format::fixed, decimals).ptr;
}

char* writeShortest(char* out, double value)
{
    char* end = std::to_chars(out, out + numberCapacity, value, std::chars_format::fixed).ptr;
    if (std::find(out, end, '.') == end) {
        *end++ = '.';
        *end++ = '0';
    }
    return end;
}

char* writeInteger(char* out, std::int64_t value)
{
    return std::to_chars(out, out + numberCapacity, value).ptr;
}

QByteArray xmlCharacters(const QString& text)
{
    const auto forbidden = [](QChar c) {
        const char16_t u = c.unicode();
        return (u < 0x20 && u != '\t' && u != '\n' && u != '\r') || u == 0xFFFE || u == 0xFFFF;
    };
    if (std::none_of(text.begin(), text.end(), forbidden))
        return text.toUtf8();
    QString kept = text;
    kept.removeIf(forbidden);
    return kept.toUtf8();
}

void appendFixed(QByteArray& out, double value, int decimals)
{
    char text[numberCapacity];
    out.append(text, writeFixed(text, value, decimals) - text);
}

std::optional<std::int64_t> parseInternetDateTime(std::string_view text)
{
    // yyyy-MM-ddTHH:mm:ss is 19 characters; a fraction and the zone follow.
    if (text.size() < 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const int year = digits(text, 0, 4);
    const int month = digits(text, 5, 2);
    const int day = digits(text, 8, 2);
    const int hour = digits(text, 11, 2);
    const int minute = digits(text, 14, 2);
    const int second = digits(text, 17, 2);
    if (year < 0 || month < 1 || month > 12 || day < 1 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 59)
        return std::nullopt;

    using namespace std::chrono;
    const year_month_day date{std::chrono::year{year}, std::chrono::month{unsigned(month)},
                              std::chrono::day{unsigned(day)}};
    if (!date.ok())
        return std::nullopt;

    std::string_view rest = text.substr(19);
    int milliseconds = 0;
    if (!rest.empty() && rest[0] == '.') {
        std::size_t end = 1;
        for (int scale = 100; end < rest.size() && isDigit(rest[end]); ++end, scale /= 10)
            milliseconds += (rest[end] - '0') * scale;
        if (end == 1)
            return std::nullopt;
        rest.remove_prefix(end);
    }

    std::int64_t offset = 0;
    if (!rest.empty() && rest != "Z") {
        const bool colon = rest.size() == 6 && rest[3] == ':';
        if ((rest.size() != 5 && !colon) || (rest[0] != '+' && rest[0] != '-'))
            return std::nullopt;
        const int offsetHours = digits(rest, 1, 2);
        const int offsetMinutes = digits(rest, colon ? 4 : 3, 2);
        if (offsetHours < 0 || offsetHours > 23 || offsetMinutes < 0 || offsetMinutes > 59)
            return std::nullopt;
        offset = (offsetHours * 60 + offsetMinutes) * 60;
        if (rest[0] == '-')
            offset = -offset;
    }
    const std::int64_t daysSinceEpoch = sys_days{date}.time_since_epoch().count();
    const std::int64_t seconds =
        daysSinceEpoch * 86'400 + hour * 3600 + minute * 60 + second - offset;
    return seconds * 1000 + milliseconds;
}

char* writeInternetDateTime(char* out, std::int64_t secondsSinceEpoch)
{
    const CivilTime t = civil(secondsSinceEpoch);
    out = writePadded(out, t.year, 4);
    *out++ = '-';
    out = writePadded(out, int(t.month), 2);
    *out++ = '-';
    out = writePadded(out, int(t.day), 2);
    *out++ = 'T';
    out = writePadded(out, t.hour, 2);
    *out++ = ':';
    out = writePadded(out, t.minute, 2);
    *out++ = ':';
    out = writePadded(out, t.second, 2);
    *out++ = 'Z';
    return out;
}

QByteArray minuteText(std::int64_t secondsSinceEpoch)
{
    // The full text up to the minutes ("THH:mm:ssZ" is its last 10
    // characters), with a space for the "T".
    char text[numberCapacity];
    const auto separator = writeInternetDateTime(text, secondsSinceEpoch) - text - 10;
    text[separator] = ' ';
    return QByteArray(text, separator + 6);
}

} // namespace zuvo::formats::detail
