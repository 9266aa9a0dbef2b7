#pragma once

#include "model/Route.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace zuvo::test {

inline QByteArray testData(const QString& name)
{
    QFile file(QStringLiteral(TRAMU_TEST_DATA "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline model::RouteLeg leg(std::vector<model::Coordinate> points)
{
    return {{{.coordinates = std::move(points), .distance = 0.0}}};
}

// Via (snapped, 500 m), shaping, via; the legs meet in a repeated point and
// a closing leg leads back to the start. data/route.gpx is its route file.
inline model::Route roundTripRoute()
{
    using model::Anchor;
    const model::Coordinate p0{48.1001, 11.5002, 500.0};
    const model::Coordinate p1{48.15, 11.55, 510.25};
    const model::Coordinate p2{48.2, 11.6, 512.0};
    const model::Coordinate p3{48.3, 11.7, 487.25};
    return {
        .anchors = {Anchor(Anchor::Kind::via, {48.1, 11.5}, Anchor::Snap{p0, 4711}),
                    Anchor(Anchor::Kind::shaping, {48.2, 11.6}),
                    Anchor(Anchor::Kind::via, {48.3, 11.7})},
        .legs = {leg({p0, p1, p2}), leg({p2, p3})},
        .roundTrip = true,
        .closingLeg = leg({p3, p0}),
    };
}

} // namespace zuvo::test
