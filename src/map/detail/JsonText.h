#pragma once

#include "model/Coordinate.h"

#include <QByteArray>
#include <QStringView>

#include <span>

// Appends JSON text piece by piece. The page receives long coordinate lists after every edit;
// writing them straight into one buffer is several times faster than building a QJsonDocument.
namespace zuvo::map::detail {

// The shortest text that reads back as the same double; null for NaN and infinities, which
// JSON cannot hold.
void appendNumber(QByteArray& out, double value);
// A quoted, escaped JSON string in UTF-8.
void appendString(QByteArray& out, QStringView text);
// Degrees to seven decimals (about a centimetre), trailing zeros dropped: a ride of hundreds of
// thousands of points is written several times faster than in shortest form, and the page draws
// it the same.
void appendDegrees(QByteArray& out, double degrees);
// [[lng,lat],…] in degrees as above.
void appendPositions(QByteArray& out, std::span<const model::Coordinate> coordinates);
// [n,…]
void appendNumbers(QByteArray& out, std::span<const double> values);

} // namespace zuvo::map::detail
