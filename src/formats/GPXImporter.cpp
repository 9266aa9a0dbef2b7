#include "formats/GPXImporter.h"

#include "formats/detail/Text.h"
#include "formats/detail/XmlParser.h"

#include <QDateTime>

#include <cmath>
#include <limits>
#include <string>

namespace zuvo::formats {

using model::Coordinate;
using model::TrackSample;

namespace {

enum class PointKind { none, trkpt, rtept, wpt };

PointKind pointKind(std::string_view local)
{
    if (local == "trkpt")
        return PointKind::trkpt;
    if (local == "rtept")
        return PointKind::rtept;
    if (local == "wpt")
        return PointKind::wpt;
    return PointKind::none;
}

// The elements whose text is a value.
bool carriesText(std::string_view local)
{
    return local == "name" || local == "ele" || local == "time" || local == "hr" ||
           local == "atemp" || local == "speed";
}

// Round half away from zero; absent beyond the range of int.
std::optional<int> roundedTemperature(double value)
{
    const double rounded = std::round(value);
    if (rounded < double(std::numeric_limits<int>::min()) ||
        rounded > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return int(rounded);
}

struct ParseState {
    ImportedGPX result;
    int depth = 0;
    bool sawGPXRoot = false;
    std::vector<TrackSample> currentTrack;
    std::vector<Coordinate> currentRoute;
    bool inTrack = false;
    bool inRoute = false;
    bool inExtensions = false;
    bool inMetadata = false;

    // The point element that is open, and what its children said so far.
    PointKind pendingKind = PointKind::none;
    double pendingLatitude = 0.0;
    double pendingLongitude = 0.0;
    std::optional<double> elevation;
    std::optional<std::int64_t> pendingTime;
    std::optional<int> pendingHeartRate;
    std::optional<int> pendingTemperature;
    std::optional<double> pendingSpeed;

    std::string elementText;
    int openTextElements = 0;

    void clearPending()
    {
        pendingKind = PointKind::none;
        elevation.reset();
        pendingTime.reset();
        pendingHeartRate.reset();
        pendingTemperature.reset();
        pendingSpeed.reset();
    }

    void startElement(const char* name, const char** attributes)
    {
        elementText.clear();
        const std::string_view local = detail::localName(name);
        if (carriesText(local))
            ++openTextElements;
        if (depth++ == 0)
            sawGPXRoot = local == "gpx";

        if (local == "metadata") {
            inMetadata = true;
        } else if (local == "trk") {
            inTrack = true;
            currentTrack.clear();
        } else if (local == "rte") {
            inRoute = true;
            currentRoute.clear();
        } else if (local == "extensions") {
            inExtensions = true;
        } else if (const PointKind kind = pointKind(local);
                   kind != PointKind::none && !inExtensions) {
            // Each point starts clean: what an earlier, skipped point said
            // (its elevation, say) must not end up on this one.
            clearPending();
            const char* lat = detail::attribute(attributes, "lat");
            const char* lon = detail::attribute(attributes, "lon");
            const auto latitude = lat ? detail::parseDecimal(lat) : std::nullopt;
            const auto longitude = lon ? detail::parseDecimal(lon) : std::nullopt;
            if (latitude && longitude) {
                pendingKind = kind;
                pendingLatitude = *latitude;
                pendingLongitude = *longitude;
            }
        }
    }

    // Text is read only at the end of an element that carries a value, and
    // then only the text since the last start tag, which lies inside that
    // element: text elsewhere (the indentation between elements, mostly)
    // need not be kept.
    bool wantsText() const { return openTextElements > 0; }
    void characters(std::string_view text) { elementText.append(text); }

    void endElement(const char* name)
    {
        --depth;
        const std::string_view local = detail::localName(name);
        if (!carriesText(local)) {
            endStructure(local);
            return;
        }
        --openTextElements;
        const std::string_view text = detail::trimmed(elementText);
        const bool inTrackPoint = pendingKind == PointKind::trkpt;

        if (local == "name") {
            if (inMetadata && !result.name)
                result.name = QString::fromUtf8(text.data(), qsizetype(text.size()));
        } else if (local == "ele") {
            if (pendingKind != PointKind::none)
                elevation = detail::parseDecimal(text);
        } else if (local == "time") {
            if (inTrackPoint)
                pendingTime = detail::parseInternetDateTime(text);
        } else if (local == "hr") {
            if (inTrackPoint)
                pendingHeartRate = detail::parseInteger(text);
        } else if (local == "atemp") {
            if (inTrackPoint) {
                const auto value = detail::parseDecimal(text);
                pendingTemperature = value ? roundedTemperature(*value) : std::nullopt;
            }
        } else if (local == "speed") {
            if (inTrackPoint)
                pendingSpeed = detail::parseDecimal(text);
        }
    }

    void endStructure(std::string_view local)
    {
        if (local == "metadata") {
            inMetadata = false;
        } else if (local == "extensions") {
            inExtensions = false;
        } else if (local == "trk") {
            inTrack = false;
            if (!currentTrack.empty())
                result.tracks.push_back(std::move(currentTrack));
            currentTrack.clear();
        } else if (local == "rte") {
            inRoute = false;
            if (!currentRoute.empty())
                result.routes.push_back(std::move(currentRoute));
            currentRoute.clear();
        } else if (const PointKind kind = pointKind(local);
                   kind != PointKind::none && !inExtensions && pendingKind == kind) {
            completePoint(kind);
        }
    }

    void completePoint(PointKind kind)
    {
        const Coordinate coordinate{pendingLatitude, pendingLongitude, elevation};
        if (kind == PointKind::trkpt && inTrack) {
            TrackSample sample{.coordinate = coordinate};
            if (pendingTime)
                sample.timestamp = QDateTime::fromSecsSinceEpoch(*pendingTime, Qt::UTC);
            sample.speedMS = pendingSpeed;
            sample.heartRate = pendingHeartRate;
            sample.temperature = pendingTemperature;
            currentTrack.push_back(std::move(sample));
        } else if (kind == PointKind::rtept && inRoute) {
            currentRoute.push_back(coordinate);
        } else if (kind == PointKind::wpt) {
            result.waypoints.push_back(coordinate);
        }
        clearPending();
    }
};

} // namespace

model::Result<ImportedGPX, GPXImportError> GPXImporter::read(QByteArrayView bytes)
{
    ParseState state;
    if (!detail::XmlParser::parse(bytes, state) || !state.sawGPXRoot)
        return GPXImportError::notGPX;
    return std::move(state.result);
}

} // namespace zuvo::formats
