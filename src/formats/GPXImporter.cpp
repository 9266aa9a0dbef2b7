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

// The elements the reader acts on, by local name.
enum class Element {
    other,
    gpx,
    metadata,
    trk,
    rte,
    extensions,
    // points
    trkpt,
    rtept,
    wpt,
    // elements whose text is a value
    name,
    ele,
    time,
    hr,
    atemp,
    speed,
};

Element classify(std::string_view local)
{
    const auto is = [&](std::string_view name, Element element) {
        return local == name ? element : Element::other;
    };
    // Sorted by length first: one comparison for most names.
    switch (local.size()) {
    case 2:
        return is("hr", Element::hr);
    case 3:
        switch (local[0]) {
        case 'e':
            return is("ele", Element::ele);
        case 'g':
            return is("gpx", Element::gpx);
        case 'r':
            return is("rte", Element::rte);
        case 't':
            return is("trk", Element::trk);
        case 'w':
            return is("wpt", Element::wpt);
        }
        return Element::other;
    case 4:
        return local[0] == 'n' ? is("name", Element::name) : is("time", Element::time);
    case 5:
        switch (local[0]) {
        case 'a':
            return is("atemp", Element::atemp);
        case 'r':
            return is("rtept", Element::rtept);
        case 's':
            return is("speed", Element::speed);
        case 't':
            return is("trkpt", Element::trkpt);
        }
        return Element::other;
    case 8:
        return is("metadata", Element::metadata);
    case 10:
        return is("extensions", Element::extensions);
    }
    return Element::other;
}

bool isPoint(Element element)
{
    return element == Element::trkpt || element == Element::rtept || element == Element::wpt;
}

bool carriesText(Element element)
{
    return element >= Element::name;
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

    // The point element that is open (other: none), and what its children
    // said so far.
    Element pendingKind = Element::other;
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
        pendingKind = Element::other;
        elevation.reset();
        pendingTime.reset();
        pendingHeartRate.reset();
        pendingTemperature.reset();
        pendingSpeed.reset();
    }

    void startElement(const char* name, const char** attributes)
    {
        elementText.clear();
        const Element element = classify(detail::localName(name));
        if (depth++ == 0)
            sawGPXRoot = element == Element::gpx;

        switch (element) {
        case Element::metadata:
            inMetadata = true;
            break;
        case Element::trk:
            inTrack = true;
            currentTrack.clear();
            break;
        case Element::rte:
            inRoute = true;
            currentRoute.clear();
            break;
        case Element::extensions:
            inExtensions = true;
            break;
        case Element::trkpt:
        case Element::rtept:
        case Element::wpt:
            if (!inExtensions)
                startPoint(element, attributes);
            break;
        default:
            if (carriesText(element))
                ++openTextElements;
            break;
        }
    }

    void startPoint(Element kind, const char** attributes)
    {
        // Each point starts clean: what an earlier, skipped point said (its
        // elevation, say) must not end up on this one.
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

    // Text is read only at the end of an element that carries a value, and
    // then only the text since the last start tag, which lies inside that
    // element: text elsewhere (the indentation between elements, mostly)
    // need not be kept.
    bool wantsText() const { return openTextElements > 0; }
    void characters(std::string_view text) { elementText.append(text); }

    void endElement(const char* name)
    {
        --depth;
        const Element element = classify(detail::localName(name));
        if (carriesText(element)) {
            --openTextElements;
            endValue(element, detail::trimmed(elementText));
            return;
        }
        switch (element) {
        case Element::metadata:
            inMetadata = false;
            break;
        case Element::extensions:
            inExtensions = false;
            break;
        case Element::trk:
            inTrack = false;
            if (!currentTrack.empty())
                result.tracks.push_back(std::move(currentTrack));
            currentTrack.clear();
            break;
        case Element::rte:
            inRoute = false;
            if (!currentRoute.empty())
                result.routes.push_back(std::move(currentRoute));
            currentRoute.clear();
            break;
        default:
            if (isPoint(element) && !inExtensions && pendingKind == element)
                completePoint(element);
            break;
        }
    }

    void endValue(Element element, std::string_view text)
    {
        if (element == Element::name) {
            if (inMetadata && !result.name)
                result.name = QString::fromUtf8(text.data(), qsizetype(text.size()));
        } else if (element == Element::ele) {
            if (pendingKind != Element::other)
                elevation = detail::parseDecimal(text);
        } else if (pendingKind == Element::trkpt) {
            // Time and the track point extension's values belong to track
            // points only.
            trackPointValue(element, text);
        }
    }

    void trackPointValue(Element element, std::string_view text)
    {
        if (element == Element::time) {
            pendingTime = detail::parseInternetDateTime(text);
        } else if (element == Element::hr) {
            pendingHeartRate = detail::parseInteger(text);
        } else if (element == Element::atemp) {
            const auto value = detail::parseDecimal(text);
            pendingTemperature = value ? roundedTemperature(*value) : std::nullopt;
        } else if (element == Element::speed) {
            pendingSpeed = detail::parseDecimal(text);
        }
    }

    void completePoint(Element kind)
    {
        const Coordinate coordinate{pendingLatitude, pendingLongitude, elevation};
        if (kind == Element::trkpt && inTrack) {
            TrackSample sample{.coordinate = coordinate};
            if (pendingTime)
                sample.timestamp = QDateTime::fromSecsSinceEpoch(*pendingTime, Qt::UTC);
            sample.speedMS = pendingSpeed;
            sample.heartRate = pendingHeartRate;
            sample.temperature = pendingTemperature;
            currentTrack.push_back(std::move(sample));
        } else if (kind == Element::rtept && inRoute) {
            currentRoute.push_back(coordinate);
        } else if (kind == Element::wpt) {
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
