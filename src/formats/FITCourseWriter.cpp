#include "formats/FITCourseWriter.h"

#include "formats/detail/CoursePlan.h"
#include "formats/detail/FitEncoding.h"
#include "model/Cue.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zuvo::formats {

using namespace detail;
using model::Coordinate;
using PointType = FITCourseWriter::PointType;

namespace {

// Seconds from the Unix epoch to the FIT epoch, 1989-12-31T00:00:00Z.
constexpr std::int64_t fitEpoch = 631'065'600;
// A string field's size is one byte, its terminating zero included.
constexpr qsizetype longestString = 254;

// Global message numbers and the enumeration values written.
constexpr std::uint16_t fileIdMessage = 0;
constexpr std::uint16_t lapMessage = 19;
constexpr std::uint16_t recordMessage = 20;
constexpr std::uint16_t eventMessage = 21;
constexpr std::uint16_t courseMessage = 31;
constexpr std::uint16_t coursePointMessage = 32;
constexpr std::uint8_t courseFile = 6;
constexpr std::uint16_t developmentManufacturer = 255;
constexpr std::uint8_t cycling = 2;
constexpr std::uint8_t motorcycling = 22;
constexpr std::uint8_t timerEvent = 0;
constexpr std::uint8_t startEvent = 0;
constexpr std::uint8_t stopDisableAllEvent = 9;

enum Local : std::uint8_t { fileId, course, lap, event, record, coursePoint };

// UTF-8 without control characters, cut at a character boundary to at most
// `limit` bytes.
QByteArray fitString(const QString& text, qsizetype limit)
{
    QString kept = text;
    kept.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    QByteArray bytes = kept.toUtf8();
    if (bytes.size() > limit) {
        qsizetype cut = limit;
        while (cut > 0 && (std::uint8_t(bytes[cut]) & 0xC0) == 0x80)
            --cut;
        bytes.truncate(cut);
    }
    return bytes;
}

// A string in a field of `size` bytes, padded with zeros.
void writeString(LittleEndian& out, const QByteArray& text, std::uint8_t size)
{
    out.bytes().append(text);
    out.zeros(size - text.size());
}

std::int32_t semicircles(double degrees)
{
    const double value = std::round(degrees / 180.0 * 2147483648.0);
    // 0x7FFFFFFF is the protocol's invalid value.
    return std::int32_t(std::clamp(value, -2147483648.0, 2147483646.0));
}

std::uint16_t altitude(const std::optional<double>& elevation)
{
    // (metres + 500) × 5; 0xFFFF is the invalid value.
    if (!elevation || !std::isfinite(*elevation))
        return 0xFFFF;
    const double value = std::round((*elevation + 500.0) * 5.0);
    return value >= 0.0 && value < 65535.0 ? std::uint16_t(value) : 0xFFFF;
}

std::uint32_t scaled(double value, double scale)
{
    return std::uint32_t(std::clamp(std::round(value * scale), 0.0, 4294967294.0));
}

} // namespace

std::vector<FITCourseWriter::CoursePoint> FITCourseWriter::coursePoints(const model::Route& route)
{
    return coursePlan(route, std::nullopt).coursePoints;
}

std::optional<PointType> FITCourseWriter::turnType(const model::Cue& cue,
                                                   const std::optional<QString>& previousStreet)
{
    using S = model::Cue::Sign;
    switch (cue.sign) {
    case S::left:
        return PointType::left;
    case S::right:
        return PointType::right;
    case S::slightLeft:
        return PointType::slightLeft;
    case S::slightRight:
        return PointType::slightRight;
    case S::sharpLeft:
        return PointType::sharpLeft;
    case S::sharpRight:
        return PointType::sharpRight;
    case S::uTurn:
    case S::uTurnLeft:
    case S::uTurnRight:
        return PointType::uTurn;
    case S::keepLeft:
        return PointType::leftFork;
    case S::keepRight:
        return PointType::rightFork;
    case S::straight:
        if (previousStreet && *previousStreet == cue.place())
            return std::nullopt;
        return PointType::straight;
    // The protocol has no roundabout; a generic point names the exit.
    case S::roundabout:
    case S::unknown:
        return PointType::generic;
    case S::ferry:
        return PointType::transport;
    case S::leaveRoundabout:
    case S::finish:
    case S::viaReached:
        return std::nullopt;
    }
    return std::nullopt;
}

QString FITCourseWriter::shortName(const QString& text, qsizetype length)
{
    const QString simplified = text.simplified();
    if (simplified.size() <= length)
        return simplified;
    const qsizetype space = simplified.lastIndexOf(QLatin1Char(' '), length);
    return simplified.left(space > 0 ? space : length);
}

QByteArray FITCourseWriter::write(const model::Route& route, model::CostingKind kind,
                                  const QString& name) const
{
    const CoursePlan c = coursePlan(route, kind);
    const std::uint32_t start = std::uint32_t(std::clamp<std::int64_t>(
        created.toSecsSinceEpoch() - fitEpoch, 0, std::numeric_limits<std::uint32_t>::max() / 2));
    const auto time = [&](std::size_t i) {
        return start + std::uint32_t(std::lround(c.seconds[i]));
    };
    const std::size_t n = c.points.size();
    const std::uint32_t end = n > 0 ? time(n - 1) : start;
    const double length = n > 0 ? c.distances.back() : 0.0;
    const double duration = n > 0 ? c.seconds.back() : 0.0;

    const QByteArray courseName = fitString(name, longestString);
    qsizetype longestPointName = 0;
    std::vector<QByteArray> pointNames;
    for (const CoursePoint& point : c.coursePoints) {
        pointNames.push_back(fitString(point.name, longestString));
        longestPointName = std::max(longestPointName, pointNames.back().size());
    }

    LittleEndian out;
    // 23 bytes a record, a little more for the other messages.
    out.bytes().reserve(qsizetype(n) * 23 + qsizetype(c.coursePoints.size()) * 300 + 1024);
    defineFitMessage(out, fileId, fileIdMessage,
                     {{0, 1, enumType}, {1, 2, uint16}, {2, 2, uint16}, {4, 4, uint32}});
    out << std::uint8_t(fileId) << courseFile << developmentManufacturer << std::uint16_t(0)
        << start;

    const auto nameSize = std::uint8_t(courseName.size() + 1);
    defineFitMessage(out, course, courseMessage, {{5, nameSize, stringType}, {4, 1, enumType}});
    out << std::uint8_t(course);
    writeString(out, courseName, nameSize);
    out << (kind == model::CostingKind::motorcycle ? motorcycling : cycling);

    const Coordinate first = n > 0 ? c.points.front() : Coordinate{};
    const Coordinate last = n > 0 ? c.points.back() : Coordinate{};
    defineFitMessage(out, lap, lapMessage,
                     {{253, 4, uint32},
                      {2, 4, uint32},
                      {3, 4, sint32},
                      {4, 4, sint32},
                      {5, 4, sint32},
                      {6, 4, sint32},
                      {7, 4, uint32},
                      {8, 4, uint32},
                      {9, 4, uint32},
                      {21, 2, uint16},
                      {22, 2, uint16}});
    out << std::uint8_t(lap) << start << start << semicircles(first.latitude)
        << semicircles(first.longitude) << semicircles(last.latitude) << semicircles(last.longitude)
        << scaled(duration, 1000.0) << scaled(duration, 1000.0) << scaled(length, 100.0)
        << std::uint16_t(std::min(std::round(c.ascent), 65534.0))
        << std::uint16_t(std::min(std::round(c.descent), 65534.0));

    defineFitMessage(out, event, eventMessage,
                     {{253, 4, uint32}, {0, 1, enumType}, {1, 1, enumType}, {4, 1, uint8Type}});
    out << std::uint8_t(event) << start << timerEvent << startEvent << std::uint8_t(0);

    defineFitMessage(
        out, record, recordMessage,
        {{253, 4, uint32}, {0, 4, sint32}, {1, 4, sint32}, {2, 2, uint16}, {5, 4, uint32}});
    const auto pointNameSize = std::uint8_t(longestPointName + 1);
    defineFitMessage(out, coursePoint, coursePointMessage,
                     {{254, 2, uint16},
                      {1, 4, uint32},
                      {2, 4, sint32},
                      {3, 4, sint32},
                      {4, 4, uint32},
                      {5, 1, enumType},
                      {6, pointNameSize, stringType}});
    // Each course point follows its record, so that every timestamp in the
    // file comes in order.
    std::size_t next = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const Coordinate& point = c.points[i];
        out << std::uint8_t(record) << time(i) << semicircles(point.latitude)
            << semicircles(point.longitude) << altitude(point.elevation)
            << scaled(c.distances[i], 100.0);
        for (; next < c.coursePoints.size() && c.coursePoints[next].record == i; ++next) {
            out << std::uint8_t(coursePoint) << std::uint16_t(next) << time(i)
                << semicircles(point.latitude) << semicircles(point.longitude)
                << scaled(c.distances[i], 100.0) << std::uint8_t(c.coursePoints[next].type);
            writeString(out, pointNames[next], pointNameSize);
        }
    }

    out << std::uint8_t(event) << end << timerEvent << stopDisableAllEvent << std::uint8_t(0);
    return fitFile(out.bytes(), 0x20, 21217);
}

} // namespace zuvo::formats
