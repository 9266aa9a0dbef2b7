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
    static model::Result<ImportedGPX, GPXImportError> read(QByteArrayView bytes);
};

} // namespace zuvo::formats
