#pragma once

#include "model/Coordinate.h"
#include "model/Result.h"
#include "routing/RoutingError.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace zuvo::routing {

// The part of the world a routing server has imported, in degrees.
struct ServerArea {
    double west = 0.0;
    double south = 0.0;
    double east = 0.0;
    double north = 0.0;

    bool contains(const model::Coordinate& point) const;
    bool operator==(const ServerArea&) const = default;
};

// What a GraphHopper server says of itself on GET /info: its version, the profiles it serves,
// whether its graph carries elevation, the area it covers and the dates of its data.
struct GraphHopperInfo {
    QString version;
    QStringList profiles;
    bool elevation = false;
    std::optional<ServerArea> area = {};
    std::optional<QDateTime> importDate = {};
    std::optional<QDateTime> dataDate = {};

    // GraphHopper 11.x, as the planner's profiles and requests are written for it.
    bool isVersion11() const;

    // Fails with malformedResponse when the body is not an object with a list of profiles;
    // fields of the wrong type are taken as absent (a profile without a name is skipped).
    static model::Result<GraphHopperInfo, RoutingError> parse(QByteArrayView body);

    bool operator==(const GraphHopperInfo&) const = default;
};

} // namespace zuvo::routing
