#pragma once

#include "formats/FITImportError.h"
#include "formats/ImportedGPX.h"
#include "model/Result.h"

#include <QByteArrayView>

#include <optional>

namespace zuvo::formats {

// Where a damaged FIT file stops being readable.
struct FITDamage {
    // What the strict read fails with for the whole file: truncated or badCRC.
    FITImportError error = FITImportError::truncated;
    // Byte offset of the first message that could not be read; the end of the
    // readable data when every message there is whole (a CRC that does not
    // match intact messages, a file cut between two messages).
    qsizetype offset = 0;
    // Seconds of ride time from the first timestamp to the last one read
    // before the damage; absent without a timestamp up to there.
    std::optional<qint64> elapsed = {};

    bool operator==(const FITDamage&) const = default;
};

// What the recovering read makes of a file: every whole message up to the
// damage, and where that begins.
struct RecoveredFIT {
    ImportedGPX ride;
    std::optional<FITDamage> damage = {}; // absent for an intact file

    bool operator==(const RecoveredFIT&) const = default;
};

// Reads a FIT activity as recorded by a bike computer: the record messages
// become one track (position, elevation, time, speed, heart rate,
// temperature) and the session's start time names the ride. A course file
// reads the same way, its course points becoming waypoints. Every other
// message is skipped by its declared size.
struct FITImporter {
    // The file CRC is checked before anything is decoded; on any error
    // nothing of the file is returned.
    static model::Result<ImportedGPX, FITImportError> read(QByteArrayView bytes);

    // For files a device left damaged when it crashed or lost power mid-ride:
    // cut short, with a header whose data size runs past the end or was
    // never written, or with a CRC that does not match. It decodes every
    // whole message up to the damage. Fails only with notFIT; an intact file
    // reads exactly as `read` reads it, without damage.
    static model::Result<RecoveredFIT, FITImportError> readRecovering(QByteArrayView bytes);
};

} // namespace zuvo::formats
