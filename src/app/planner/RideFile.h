#pragma once

#include "formats/FITImporter.h"
#include "formats/ImportedGPX.h"
#include "model/Result.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

// How a ride file of any format the planner knows (GPX, FIT, Bryton .track) is read, for the
// window, the device import and the command line alike.
namespace zuvo::app {

enum class RideError {
    notGPX,
    notFIT,
    notBrytonTrack,
    // Strict reads only; a recovering read keeps what comes before the damage.
    fitTruncated,
    fitBadCRC,
    // A recovering read found the damage before the first point.
    damagedBeforeFirstPoint,
};

enum class RideFormat { gpx, fit, brytonTrack };

// By the file name's extension (".fit", ".track", in any letter case); GPX otherwise.
RideFormat rideFormat(const QString& fileName);

enum class RideRead {
    strict,
    // A damaged FIT file gives what it holds up to the damage.
    recovering,
};

struct Ride {
    formats::ImportedGPX imported;
    // Set when a damaged FIT file was read as far as it goes.
    std::optional<formats::FITDamage> damage = {};

    bool operator==(const Ride&) const = default;
};

// The file in the format its name gives. A Bryton track becomes one track of coordinate-only
// samples named after the file.
model::Result<Ride, RideError> readRide(const QString& fileName, QByteArrayView bytes,
                                        RideRead mode);

// Why the file shows nothing, for "Could not read ride.fit: not a FIT file".
QString rideErrorText(RideError error);

// What a rider must know about a ride recovered from a damaged file: "Recovered 14,391 points;
// the file is damaged after 2:41:07" (after a distance when the file has no time). Empty for an
// intact file.
QString recoveryNotice(const Ride& ride);

} // namespace zuvo::app
