#pragma once

#include "formats/FITImportError.h"
#include "formats/ImportedGPX.h"
#include "model/Result.h"

#include <QByteArrayView>

namespace zuvo::formats {

// Reads a FIT activity as recorded by a bike computer: the record messages
// become one track (position, elevation, time, speed, heart rate,
// temperature) and the session's start time names the ride. A course file
// reads the same way, its course points becoming waypoints. Every other
// message is skipped by its declared size. The file CRC is checked before
// anything is decoded; on any error nothing of the file is returned.
struct FITImporter {
    static model::Result<ImportedGPX, FITImportError> read(QByteArrayView bytes);
};

} // namespace zuvo::formats
