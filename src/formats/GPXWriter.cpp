#include "formats/GPXWriter.h"

#include "formats/detail/Text.h"
#include "model/Polyline.h"

#include <cmath>
#include <string_view>

namespace zuvo::formats {

using model::Coordinate;
using model::Route;
using model::RouteLeg;
using model::TrackSample;

namespace {

constexpr std::string_view gpxNamespace = "http://www.topografix.com/GPX/1/1";
constexpr std::string_view gpxxNamespace = "http://www.garmin.com/xmlschemas/GpxExtensions/v3";
constexpr std::string_view gpxtpxNamespace =
    "http://www.garmin.com/xmlschemas/TrackPointExtension/v1";

// The document is built line by line: each line starts with its indentation
// (two spaces per level) and ends with a line feed, the last one included.
class Lines {
public:
    explicit Lines(qsizetype expectedSize) { m_text.reserve(expectedSize); }

    Lines& open(int indent)
    {
        m_text.append(indent, ' ');
        return *this;
    }
    template <std::size_t N>
    Lines& operator<<(const char (&text)[N])
    {
        m_text.append(text, qsizetype(N - 1));
        return *this;
    }
    Lines& operator<<(std::string_view text)
    {
        m_text.append(text.data(), qsizetype(text.size()));
        return *this;
    }
    Lines& operator<<(const QByteArray& text)
    {
        m_text.append(text);
        return *this;
    }
    void close() { m_text.append('\n'); }

    // A whole line of `text` at `indent`.
    void line(int indent, std::string_view text) { open(indent) << text, close(); }

    Lines& fixed(double value, int decimals)
    {
        detail::appendFixed(m_text, value, decimals);
        return *this;
    }
    Lines& shortest(double value)
    {
        detail::appendShortest(m_text, value);
        return *this;
    }
    Lines& integer(std::int64_t value)
    {
        detail::appendInteger(m_text, value);
        return *this;
    }
    Lines& time(std::int64_t secondsSinceEpoch)
    {
        detail::appendInternetDateTime(m_text, secondsSinceEpoch);
        return *this;
    }

    QByteArray take() { return std::move(m_text); }

private:
    QByteArray m_text;
};

QByteArray escaped(const QString& name)
{
    QByteArray text = name.toUtf8();
    text.replace("&", "&amp;");
    text.replace("<", "&lt;");
    text.replace(">", "&gt;");
    return text;
}

void position(Lines& lines, const Coordinate& c)
{
    lines << "lat=\"";
    lines.fixed(c.latitude, 6) << "\" lon=\"";
    lines.fixed(c.longitude, 6) << "\"";
}

// An elevation that is not a finite number has no text GPX readers accept;
// it is left out like a missing one.
void elevationLine(Lines& lines, int indent, const Coordinate& c)
{
    if (c.elevation && std::isfinite(*c.elevation)) {
        lines.open(indent) << "<ele>";
        lines.shortest(*c.elevation) << "</ele>";
        lines.close();
    }
}

void header(Lines& lines, const QString& creator, bool ride)
{
    lines.line(0, R"(<?xml version="1.0" encoding="UTF-8"?>)");
    lines.open(0) << "<gpx creator=\"" << creator.toUtf8() << "\" version=\"1.1\" xmlns=\""
                  << gpxNamespace << "\" xmlns:gpxx=\"" << gpxxNamespace << "\"";
    if (ride)
        lines << " xmlns:gpxtpx=\"" << gpxtpxNamespace << "\"";
    lines << ">";
    lines.close();
}

void metadata(Lines& lines, const QByteArray& name)
{
    lines.line(2, "<metadata>");
    lines.open(4) << "<name>" << name << "</name>";
    lines.close();
    lines.line(2, "</metadata>");
}

// The legs from anchor `from` to anchor `to` (leg n joins anchors n and
// n + 1), skipping legs not routed yet; a point equal to the one before it,
// where two legs meet, is kept once.
std::vector<Coordinate> geometry(const std::vector<std::optional<RouteLeg>>& legs, std::size_t from,
                                 std::size_t to)
{
    std::vector<Coordinate> points;
    for (std::size_t n = from; n < to && n < legs.size(); ++n) {
        if (legs[n])
            model::appendJoined(points, legs[n]->coordinates());
    }
    return points;
}

void appendShapeExtension(Lines& lines, std::span<const Coordinate> shape)
{
    if (shape.empty())
        return;
    lines.line(6, "<extensions>");
    lines.line(8, "<gpxx:RoutePointExtension>");
    for (const auto& c : shape) {
        lines.open(10) << "<gpxx:rpt ";
        position(lines, c);
        lines << "/>";
        lines.close();
    }
    lines.line(8, "</gpxx:RoutePointExtension>");
    lines.line(6, "</extensions>");
}

void routeElement(Lines& lines, const Route& route, const QByteArray& name)
{
    lines.line(2, "<rte>");
    lines.open(4) << "<name>" << name << "</name>";
    lines.close();

    std::vector<std::size_t> vias;
    for (std::size_t i = 0; i < route.anchors.size(); ++i) {
        if (route.anchors[i].kind == model::Anchor::Kind::via)
            vias.push_back(i);
    }
    for (std::size_t k = 0; k < vias.size(); ++k) {
        const std::size_t i = vias[k];
        const Coordinate& at = route.anchors[i].routingPosition();
        lines.open(4) << "<rtept ";
        position(lines, at);
        lines << ">";
        lines.close();
        elevationLine(lines, 6, at);
        lines.open(6) << "<name>Via ";
        lines.integer(std::int64_t(k + 1)) << "</name>";
        lines.close();

        std::vector<Coordinate> shape;
        if (k + 1 < vias.size()) {
            shape = geometry(route.legs, i, vias[k + 1]);
        } else if (route.roundTrip && route.closingLeg) {
            shape = geometry(route.legs, i, route.anchors.size() - 1);
            model::appendJoined(shape, route.closingLeg->coordinates());
        }
        if (!shape.empty())
            shape.pop_back();
        appendShapeExtension(lines, shape);
        lines.line(4, "</rtept>");
    }
    lines.line(2, "</rte>");
}

void trackElement(Lines& lines, std::span<const Coordinate> points, const QByteArray& name)
{
    lines.line(2, "<trk>");
    lines.open(4) << "<name>" << name << "</name>";
    lines.close();
    lines.line(4, "<trkseg>");
    for (const auto& c : points) {
        lines.open(6) << "<trkpt ";
        position(lines, c);
        lines << ">";
        lines.close();
        elevationLine(lines, 8, c);
        lines.line(6, "</trkpt>");
    }
    lines.line(4, "</trkseg>");
    lines.line(2, "</trk>");
}

void rideTrackElement(Lines& lines, std::span<const TrackSample> samples, const QByteArray& name)
{
    lines.line(2, "<trk>");
    lines.open(4) << "<name>" << name << "</name>";
    lines.close();
    lines.line(4, "<trkseg>");
    for (const auto& sample : samples) {
        lines.open(6) << "<trkpt ";
        position(lines, sample.coordinate);
        lines << ">";
        lines.close();
        elevationLine(lines, 8, sample.coordinate);
        if (sample.timestamp && sample.timestamp->isValid()) {
            // Whole seconds: the fraction is cut, rounding down before 1970 too.
            const qint64 msecs = sample.timestamp->toMSecsSinceEpoch();
            const qint64 seconds = msecs / 1000 - (msecs % 1000 < 0 ? 1 : 0);
            lines.open(8) << "<time>";
            lines.time(seconds) << "</time>";
            lines.close();
        }
        const bool speed = sample.speedMS && std::isfinite(*sample.speedMS);
        if (sample.heartRate || sample.temperature || speed) {
            lines.line(8, "<extensions>");
            lines.line(10, "<gpxtpx:TrackPointExtension>");
            if (sample.heartRate) {
                lines.open(12) << "<gpxtpx:hr>";
                lines.integer(*sample.heartRate) << "</gpxtpx:hr>";
                lines.close();
            }
            if (sample.temperature) {
                lines.open(12) << "<gpxtpx:atemp>";
                lines.integer(*sample.temperature) << "</gpxtpx:atemp>";
                lines.close();
            }
            if (speed) {
                lines.open(12) << "<gpxtpx:speed>";
                lines.fixed(*sample.speedMS, 3) << "</gpxtpx:speed>";
                lines.close();
            }
            lines.line(10, "</gpxtpx:TrackPointExtension>");
            lines.line(8, "</extensions>");
        }
        lines.line(6, "</trkpt>");
    }
    lines.line(4, "</trkseg>");
    lines.line(2, "</trk>");
}

} // namespace

QByteArray GPXWriter::write(const Route& route, const QString& name) const
{
    const auto points = route.coordinates();
    Lines lines(1024 + qsizetype(points.size()) * 140);
    const QByteArray escapedName = escaped(name);
    header(lines, creator, false);
    metadata(lines, escapedName);
    routeElement(lines, route, escapedName);
    trackElement(lines, points, escapedName);
    lines.line(0, "</gpx>");
    return lines.take();
}

QByteArray GPXWriter::write(std::span<const TrackSample> track, const QString& name) const
{
    Lines lines(1024 + qsizetype(track.size()) * 380);
    const QByteArray escapedName = escaped(name);
    header(lines, creator, true);
    metadata(lines, escapedName);
    rideTrackElement(lines, track, escapedName);
    lines.line(0, "</gpx>");
    return lines.take();
}

} // namespace zuvo::formats
