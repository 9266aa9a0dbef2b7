#pragma once

#include "formats/BrytonTrackError.h"
#include "model/Coordinate.h"
#include "model/Result.h"

#include <QByteArrayView>

#include <vector>

namespace zuvo::formats {

// Reads a Bryton .track file (16-byte records, no header) back into
// coordinates; every point has an elevation, in half-metre steps.
struct BrytonTrackReader {
    static model::Result<std::vector<model::Coordinate>, BrytonTrackError>
    read(QByteArrayView bytes);
};

} // namespace zuvo::formats
