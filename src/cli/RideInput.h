#pragma once

#include "app/planner/RideFile.h"
#include "model/Result.h"
#include "model/TrackSample.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace zuvo::cli {

// A recorded ride read from a file the way the device import reads one: the
// format chosen by the extension (.fit, .track, anything else GPX), the
// samples of the first track or else of the first route, and the file's base
// name as the ride's name.
struct RideInput {
    QString name;
    std::vector<model::TrackSample> samples = {};
    // For a ride read past damage: "Recovered 237 points; the file is damaged after 0:12:03".
    QString recovered = {};

    // A one-line message naming the file when it cannot be read, is not in
    // its format or holds no points. Read strictly, a damaged FIT file fails
    // with a hint to read it recovering.
    static model::Result<RideInput, QString> read(const QString& path, app::RideRead mode);
};

// The command line of a command that reads rides: its files, and whether "--recover" asks to
// read a damaged FIT file as far as it goes. Absent on any other option.
struct RideArguments {
    QStringList files = {};
    app::RideRead mode = app::RideRead::strict;

    static std::optional<RideArguments> parse(const QStringList& arguments);
};

} // namespace zuvo::cli
