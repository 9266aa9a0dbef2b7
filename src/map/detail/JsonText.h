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
// [[lng,lat],…]
void appendPositions(QByteArray& out, std::span<const model::Coordinate> coordinates);
// [n,…]
void appendNumbers(QByteArray& out, std::span<const double> values);

} // namespace zuvo::map::detail
