#pragma once

#include "model/Coordinate.h"

#include <QString>
#include <QStringView>
#include <QUuid>

#include <cstdint>
#include <optional>

namespace zuvo::model {

// A point the user placed on the map, with the road position the routing
// engine matched to it once located.
struct Anchor {
    enum class Kind {
        via,     // a turn point the route announces
        shaping, // a silent point that only bends the route
    };

    struct Snap {
        Coordinate coordinate;
        std::optional<std::int64_t> edgeID;

        bool operator==(const Snap&) const = default;
    };

    Anchor(Kind kind, Coordinate click, std::optional<Snap> snap = std::nullopt,
           QUuid id = QUuid::createUuid())
        : id(id)
        , kind(kind)
        , click(click)
        , snap(std::move(snap))
    {
    }

    QUuid id;
    Kind kind;
    Coordinate click;
    std::optional<Snap> snap = {};

    // The position every routing request and position comparison uses.
    const Coordinate& routingPosition() const { return snap ? snap->coordinate : click; }

    bool operator==(const Anchor&) const = default;
};

QString kindName(Anchor::Kind kind);
std::optional<Anchor::Kind> anchorKindFromName(QStringView name);

} // namespace zuvo::model
