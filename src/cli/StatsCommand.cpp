#include "cli/StatsCommand.h"

#include "cli/CommandLine.h"
#include "cli/RideInput.h"
#include "model/TrackSampleStats.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace zuvo::cli {

namespace {

// Height changes below a metre are GPS noise, as in the track details.
constexpr double ascentThreshold = 1.0;

template <typename T>
void insert(QJsonObject& object, const char* key, const std::optional<T>& value)
{
    if (value)
        object.insert(QLatin1String(key), *value);
}

int stats(const QStringList& arguments)
{
    const auto parsed = RideArguments::parse(arguments);
    if (!parsed || parsed->files.size() != 1)
        return usage(statsCommand);
    const QString& in = parsed->files[0];
    const auto ride = RideInput::read(in, parsed->mode);
    if (!ride)
        return fail(ride.error());
    if (!ride->recovered.isEmpty())
        warn(in + QStringLiteral(": ") + ride->recovered);
    // RideInput never yields an empty track, so there always is a summary.
    const auto stats = *model::TrackSampleStats::compute(ride->samples, ascentThreshold);

    QJsonObject object{{QStringLiteral("distance"), stats.distance}};
    insert(object, "duration", stats.duration);
    insert(object, "averageSpeed", stats.averageSpeed);
    insert(object, "maxSpeed", stats.maxSpeed);
    insert(object, "averageHeartRate", stats.averageHeartRate);
    insert(object, "maxHeartRate", stats.maxHeartRate);
    insert(object, "minTemperature", stats.minTemperature);
    insert(object, "maxTemperature", stats.maxTemperature);
    insert(object, "ascent", stats.ascent);
    insert(object, "descent", stats.descent);
    const QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Compact);
    std::printf("%s\n", json.constData());
    return 0;
}

} // namespace

const Command statsCommand{
    .name = "stats",
    .arguments = "IN [--recover]",
    .summary = "print the summary of the first track in IN (.fit, .track or .gpx) as JSON; with "
               "--recover a damaged FIT file is read up to the damage, with a warning",
    .run = stats,
};

} // namespace zuvo::cli
