#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>
#include <string_view>

// Locale-independent number and time text shared by the readers and writers.
// Everything here works on UTF-8 bytes: the C locale's syntax whatever the
// user's locale is.
namespace zuvo::formats::detail {

// A finite decimal number in C-locale syntax filling the whole text: an
// optional sign, digits with an optional fraction, an optional exponent.
// Surrounding white space, hexadecimal, "inf" and "nan" are rejected.
std::optional<double> parseDecimal(std::string_view text);

// A decimal integer filling the whole text, with an optional sign; absent on
// overflow of int.
std::optional<int> parseInteger(std::string_view text);

// `text` without white space and line breaks at either end.
std::string_view trimmed(std::string_view text);

// The writers below put their text at `out`, which must have room for
// `numberCapacity` bytes, and return the end of the text.
inline constexpr std::size_t numberCapacity = 400;

// "%.{decimals}f" in the C locale.
char* writeFixed(char* out, double value, int decimals);

// The shortest text that reads back as the same double, with ".0" after whole
// numbers (512.0, 487.25).
char* writeShortest(char* out, double value);

char* writeInteger(char* out, std::int64_t value);

// "yyyy-MM-ddTHH:mm:ssZ" for `secondsSinceEpoch`, in UTC.
char* writeInternetDateTime(char* out, std::int64_t secondsSinceEpoch);

// `text` as UTF-8 without the characters an XML 1.0 document cannot hold at
// all (control characters other than tab and line breaks, U+FFFE, U+FFFF):
// written as they are, they would make the whole file unreadable.
QByteArray xmlCharacters(const QString& text);

// "%.{decimals}f" in the C locale, appended to `out`.
void appendFixed(QByteArray& out, double value, int decimals);

// Milliseconds since the Unix epoch of an internet date-time:
// "yyyy-MM-ddTHH:mm:ss", optionally a fraction of a second (kept to the
// millisecond, further digits cut), then "Z", a "+hh:mm"/"-hh:mm" offset
// (also without the colon) or nothing, which is UTC: GPX times are UTC, and
// Garmin Connect and several devices write "…T08:15:00.000Z" or no zone at all.
// Any other form is rejected.
std::optional<std::int64_t> parseInternetDateTime(std::string_view text);

// "yyyy-MM-dd HH:mm" for `secondsSinceEpoch`, in UTC.
QByteArray minuteText(std::int64_t secondsSinceEpoch);

} // namespace zuvo::formats::detail
