#pragma once

#include "model/Result.h"
#include "model/TrackSample.h"

#include <QString>

#include <vector>

namespace zuvo::cli {

// A recorded ride read from a file the way the device import reads one: the
// format chosen by the extension (.fit, .track, anything else GPX), the
// samples of the first track or else of the first route, and the file's base
// name as the ride's name.
struct RideInput {
    QString name;
    std::vector<model::TrackSample> samples = {};

    // A one-line message naming the file when it cannot be read, is not in
    // its format or holds no points.
    static model::Result<RideInput, QString> read(const QString& path);
};

} // namespace zuvo::cli
