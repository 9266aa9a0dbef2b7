#include "formats/GPXImporter.h"

#include "formats/detail/Text.h"
#include "formats/detail/XmlParser.h"

#include <QDateTime>

#include <array>
#include <cmath>
#include <iterator>
#include <limits>
#include <string>
#include <thread>

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

    // For reading a large file in two halves at once (see readSplit): the
    // qualified names of the three outermost open elements, where the last
    // end tag began, and what would keep the second half from being read on
    // its own (a non-UTF-8 encoding, a document type declaration that may
    // define entities).
    std::array<std::string, 3> outerNames;
    XML_Index lastEndOffset = -1;
    bool standsAlone = true;
    // Set for the second half until its first track ends: that track
    // continues the points the first half had collected, unless a track
    // started before it ended and dropped them (as it would in one reading).
    bool continuesTrack = false;
    bool droppedFirstHalfPoints = false;
    std::vector<TrackSample> continuedTrack;

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
        if (depth < int(outerNames.size()))
            outerNames[std::size_t(depth)] = name;
        if (depth++ == 0)
            sawGPXRoot = element == Element::gpx;

        switch (element) {
        case Element::metadata:
            inMetadata = true;
            break;
        case Element::trk:
            inTrack = true;
            currentTrack.clear();
            // Deeper than the track the second half opens itself.
            if (continuesTrack && depth > 2)
                droppedFirstHalfPoints = true;
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

    void xmlDeclaration(const char* encoding)
    {
        if (encoding && qstricmp(encoding, "UTF-8") != 0 && qstricmp(encoding, "US-ASCII") != 0)
            standsAlone = false;
    }

    void doctype() { standsAlone = false; }

    void endElement(const char* name, XML_Index offset)
    {
        lastEndOffset = offset;
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
            if (continuesTrack) {
                continuesTrack = false;
                continuedTrack = std::move(currentTrack);
            } else if (!currentTrack.empty()) {
                result.tracks.push_back(std::move(currentTrack));
            }
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
                sample.timestamp = QDateTime::fromMSecsSinceEpoch(*pendingTime, Qt::UTC);
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

// Where a large file is cut: right after the first "</trkpt>" from the
// middle on. The second half is read as the rest of a document that opened
// exactly these elements.
constexpr std::string_view trackPointEnd = "</trkpt>";
constexpr std::string_view openTrackSegment = "<gpx><trk><trkseg>";
constexpr qsizetype splitThreshold = 4 << 20;

// True when the first half, read up to the end tag at `endTag`, stopped
// between two track points of a plain gpx/trk/trkseg nesting, so that the
// second half read after openTrackSegment is exactly the rest of the file.
bool splicesAt(const ParseState& first, qsizetype endTag)
{
    // The flags are set by start and cleared by end tags of any depth, so
    // they are compared too: a nested track's end leaves inTrack false.
    return first.standsAlone && first.sawGPXRoot && first.depth == 3 &&
           first.lastEndOffset == endTag && first.outerNames[0] == "gpx" &&
           first.outerNames[1] == "trk" && first.outerNames[2] == "trkseg" && first.inTrack &&
           !first.inRoute && !first.inExtensions && !first.inMetadata &&
           first.pendingKind == Element::other && first.openTextElements == 0;
}

ImportedGPX joined(ParseState& first, ParseState& second)
{
    ImportedGPX result = std::move(first.result);
    auto track =
        second.droppedFirstHalfPoints ? std::vector<TrackSample>() : std::move(first.currentTrack);
    track.insert(track.end(), std::make_move_iterator(second.continuedTrack.begin()),
                 std::make_move_iterator(second.continuedTrack.end()));
    if (!track.empty())
        result.tracks.push_back(std::move(track));
    auto& rest = second.result;
    result.tracks.insert(result.tracks.end(), std::make_move_iterator(rest.tracks.begin()),
                         std::make_move_iterator(rest.tracks.end()));
    result.routes.insert(result.routes.end(), std::make_move_iterator(rest.routes.begin()),
                         std::make_move_iterator(rest.routes.end()));
    result.waypoints.insert(result.waypoints.end(), rest.waypoints.begin(), rest.waypoints.end());
    if (!result.name)
        result.name = std::move(rest.name);
    return result;
}

} // namespace

model::Result<ImportedGPX, GPXImportError> GPXImporter::read(QByteArrayView bytes)
{
    if (bytes.size() >= splitThreshold)
        return readSplit(bytes, bytes.size() / 2);
    ParseState state;
    if (!detail::XmlParser::parse(bytes, state) || !state.sawGPXRoot)
        return GPXImportError::notGPX;
    return std::move(state.result);
}

model::Result<ImportedGPX, GPXImportError> GPXImporter::readSplit(QByteArrayView bytes,
                                                                  qsizetype splitNear)
{
    const qsizetype endTag =
        splitNear < bytes.size()
            ? bytes.indexOf(QByteArrayView(trackPointEnd.data(), trackPointEnd.size()), splitNear)
            : -1;
    const qsizetype cut = endTag < 0 ? bytes.size() : endTag + qsizetype(trackPointEnd.size());

    ParseState second;
    second.continuesTrack = true;
    bool secondWellFormed = false;
    std::thread reader;
    if (cut < bytes.size()) {
        reader = std::thread([&] {
            // Nothing may leave the thread: an exception there would end the
            // process. A second half that failed (no memory for its parser or
            // its points) is read again below, like one that cannot stand alone.
            try {
                detail::XmlParser parser(second);
                secondWellFormed =
                    parser.feed(QByteArrayView(openTrackSegment.data(), openTrackSegment.size()),
                                false) &&
                    parser.feed(bytes.sliced(cut), true);
            } catch (...) {
                secondWellFormed = false;
            }
        });
    }

    ParseState first;
    detail::XmlParser parser(first);
    const bool firstWellFormed = parser.feed(bytes.first(cut), cut == bytes.size());
    if (reader.joinable())
        reader.join();
    if (!firstWellFormed)
        return GPXImportError::notGPX;
    if (cut < bytes.size()) {
        if (secondWellFormed && splicesAt(first, endTag))
            return joined(first, second);
        // The cut fell somewhere the halves cannot be read apart (or the
        // rest is broken): read on where the first half stopped.
        if (!parser.feed(bytes.sliced(cut), true))
            return GPXImportError::notGPX;
    }
    if (!first.sawGPXRoot)
        return GPXImportError::notGPX;
    return std::move(first.result);
}

} // namespace zuvo::formats
