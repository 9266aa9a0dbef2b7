#pragma once

#include "model/Route.h"
#include "model/TrackSample.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <span>

namespace zuvo::formats {

// Where a ride file's ride came from, written into the file so that the ride
// is known again: the device in the track's <src>, the ride's start in the
// metadata's <time> (as Garmin Connect writes it). Both optional.
struct RideOrigin {
    QString device = {};
    std::optional<QDateTime> start = {};
};

// Writes GPX 1.1 documents: route files (the via anchors as route points
// carrying the routed geometry in Garmin's route-point extension, then the
// whole route as a track) and ride files (one track with time and Garmin's
// track-point extension). The text is byte for byte the same whatever the
// user's locale.
struct GPXWriter {
    // Written verbatim into the root's creator attribute.
    QString creator;

    // Takes one piece of a document; false stops the writing.
    using Sink = std::function<bool(QByteArrayView piece)>;

    QByteArray write(const model::Route& route, const QString& name) const;
    QByteArray write(std::span<const model::TrackSample> track, const QString& name,
                     const RideOrigin& origin = {}) const;

    // The same ride file handed to `sink` in pieces of about a megabyte, in
    // order, so that a long ride never sits in memory whole. False when the
    // sink refused a piece.
    bool write(std::span<const model::TrackSample> track, const QString& name, const Sink& sink,
               const RideOrigin& origin = {}) const;
};

} // namespace zuvo::formats
