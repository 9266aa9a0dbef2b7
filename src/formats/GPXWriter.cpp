#include "formats/GPXWriter.h"

#include "formats/detail/Text.h"
#include "model/Polyline.h"

#include <algorithm>
#include <cmath>
#include <cstring>
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
// The text goes into one buffer written through a plain pointer (a ride
// file is millions of short pieces). With a sink, the buffer is handed over
// whenever a line ends past `sinkPiece` bytes.
class Lines {
public:
    Lines(qsizetype expectedSize, const GPXWriter::Sink* sink)
        : m_text(sink ? sinkPiece + pieceSlack : expectedSize, Qt::Uninitialized)
        , m_sink(sink)
    {
    }

    Lines& open(int indent)
    {
        std::memset(room(std::size_t(indent)), ' ', std::size_t(indent));
        m_used += indent;
        return *this;
    }
    template <std::size_t N>
    Lines& operator<<(const char (&text)[N])
    {
        return *this << std::string_view(text, N - 1);
    }
    Lines& operator<<(std::string_view text)
    {
        std::memcpy(room(text.size()), text.data(), text.size());
        m_used += qsizetype(text.size());
        return *this;
    }
    Lines& operator<<(const QByteArray& text)
    {
        return *this << std::string_view(text.constData(), std::size_t(text.size()));
    }
    void close()
    {
        *room(1) = '\n';
        ++m_used;
        if (m_sink && m_used >= sinkPiece)
            flush();
    }

    // A whole line of `text` at `indent`.
    void line(int indent, std::string_view text) { open(indent) << text, close(); }

    Lines& fixed(double value, int decimals)
    {
        return written(detail::writeFixed(room(detail::numberCapacity), value, decimals));
    }
    Lines& shortest(double value)
    {
        return written(detail::writeShortest(room(detail::numberCapacity), value));
    }
    Lines& integer(std::int64_t value)
    {
        return written(detail::writeInteger(room(detail::numberCapacity), value));
    }
    Lines& time(std::int64_t secondsSinceEpoch)
    {
        return written(
            detail::writeInternetDateTime(room(detail::numberCapacity), secondsSinceEpoch));
    }

    // The whole document (without a sink).
    QByteArray take()
    {
        m_text.truncate(m_used);
        return std::move(m_text);
    }

    // Hands what is left to the sink; false once the sink has refused.
    bool finish()
    {
        if (m_used > 0)
            flush();
        return m_sinkOK;
    }

private:
    static constexpr qsizetype sinkPiece = 1 << 20;
    static constexpr qsizetype pieceSlack = 64 * 1024;

    // Where the next `size` bytes go.
    char* room(std::size_t size)
    {
        const qsizetype needed = m_used + qsizetype(size);
        if (needed > m_text.size())
            m_text.resize(std::max(needed, 2 * m_text.size()));
        return m_text.data() + m_used;
    }

    Lines& written(const char* end)
    {
        m_used = end - m_text.constData();
        return *this;
    }

    void flush()
    {
        if (m_sinkOK)
            m_sinkOK = (*m_sink)(QByteArrayView(m_text.constData(), m_used));
        m_used = 0;
    }

    QByteArray m_text;
    qsizetype m_used = 0;
    const GPXWriter::Sink* m_sink = nullptr;
    bool m_sinkOK = true;
};

QByteArray escaped(const QString& name)
{
    QByteArray text = detail::xmlCharacters(name);
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

void metadata(Lines& lines, const QByteArray& name,
              const std::optional<QDateTime>& start = std::nullopt)
{
    lines.line(2, "<metadata>");
    lines.open(4) << "<name>" << name << "</name>";
    lines.close();
    if (start && start->isValid()) {
        lines.open(4) << "<time>";
        lines.time(start->toSecsSinceEpoch()) << "</time>";
        lines.close();
    }
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

void rideTrackElement(Lines& lines, std::span<const TrackSample> samples, const QByteArray& name,
                      const QString& device)
{
    lines.line(2, "<trk>");
    lines.open(4) << "<name>" << name << "</name>";
    lines.close();
    if (!device.isEmpty()) {
        lines.open(4) << "<src>" << escaped(device) << "</src>";
        lines.close();
    }
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
    Lines lines(1024 + qsizetype(points.size()) * 140, nullptr);
    const QByteArray escapedName = escaped(name);
    header(lines, creator, false);
    metadata(lines, escapedName);
    routeElement(lines, route, escapedName);
    trackElement(lines, points, escapedName);
    lines.line(0, "</gpx>");
    return lines.take();
}

namespace {

void rideDocument(Lines& lines, const QString& creator, std::span<const TrackSample> track,
                  const QString& name, const RideOrigin& origin)
{
    const QByteArray escapedName = escaped(name);
    header(lines, creator, true);
    metadata(lines, escapedName, origin.start);
    rideTrackElement(lines, track, escapedName, origin.device);
    lines.line(0, "</gpx>");
}

} // namespace

QByteArray GPXWriter::write(std::span<const TrackSample> track, const QString& name,
                            const RideOrigin& origin) const
{
    Lines lines(1024 + qsizetype(track.size()) * 380, nullptr);
    rideDocument(lines, creator, track, name, origin);
    return lines.take();
}

bool GPXWriter::write(std::span<const TrackSample> track, const QString& name, const Sink& sink,
                      const RideOrigin& origin) const
{
    Lines lines(0, &sink);
    rideDocument(lines, creator, track, name, origin);
    return lines.finish();
}

} // namespace zuvo::formats
