#pragma once

#include "formats/GPXImportError.h"
#include "formats/ImportedGPX.h"
#include "model/Result.h"

#include <QByteArrayView>

namespace zuvo::formats {

// Reads any GPX file, from this program or another, into its name, tracks,
// routes and waypoints. Elements are matched by local name whatever their
// prefix; namespaces are never looked at.
struct GPXImporter {
    // Files of several megabytes are read in two halves at once.
    static model::Result<ImportedGPX, GPXImportError> read(QByteArrayView bytes);

    // Reads the part after the first track point that ends at or after byte
    // `splitNear` on a second thread, when that part can be read on its own;
    // otherwise, or when it turns out that it could not, as one piece. The
    // result is always exactly what reading the whole file as one piece gives.
    static model::Result<ImportedGPX, GPXImportError> readSplit(QByteArrayView bytes,
                                                                qsizetype splitNear);
};

} // namespace zuvo::formats
