#pragma once

#include "model/Anchor.h"
#include "model/CostingProfile.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QUrl>

#include <optional>
#include <span>

// Pure builders of the requests the GraphHopper engine sends.
namespace zuvo::routing::graphhopper {

// Snaps one point: the same point twice, longitude first.
QJsonObject locateBody(const model::Coordinate& point, const model::CostingProfile& costing);

// One leg between two routing positions, with surface and road-class details,
// the per-request custom model and turn instructions in the language of
// `locale` ("en", "de").
QJsonObject routeBody(const model::Coordinate& from, const model::Coordinate& to,
                      const model::CostingProfile& costing,
                      const QString& locale = QStringLiteral("en"));

// A loop from `start` back to it of about `distance` metres, the `seed`-th of the server's
// loops, leaving towards `heading` (degrees from north) when given; otherwise as a leg.
QJsonObject roundTripBody(const model::Coordinate& start, double distance,
                          std::optional<double> heading, int seed,
                          const model::CostingProfile& costing,
                          const QString& locale = QStringLiteral("en"));

// The preference sliders as a GraphHopper custom model: priority rules for
// climbs, unpaved surfaces, busy roads and motorways, a slower speed uphill
// for bicycles, and a distance influence that favours short routes less as
// climbs are avoided more.
QJsonObject customModel(const model::CostingProfile& costing);

// The map-matching URL with its query items; absent when it cannot be formed.
std::optional<QUrl> matchURL(const QUrl& base, model::CostingKind kind);

// The track as a minimal GPX 1.1 document, positions only.
QByteArray matchGPX(std::span<const model::Coordinate> track);

} // namespace zuvo::routing::graphhopper
