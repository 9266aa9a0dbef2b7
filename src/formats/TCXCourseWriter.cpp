#include "formats/TCXCourseWriter.h"

#include "formats/detail/CoursePlan.h"

#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>

namespace zuvo::formats {

using model::Coordinate;
using PointType = FITCourseWriter::PointType;

namespace {

constexpr auto tcxNamespace = "http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2";

// `text` as a schema token of at most `length` characters: without characters XML cannot
// hold, white space collapsed, cut at a word boundary and never inside a surrogate pair.
QString token(const QString& text, qsizetype length)
{
    QString kept = text;
    kept.removeIf([](QChar c) {
        return c.category() == QChar::Other_Control || c == QChar(0xFFFE) || c == QChar(0xFFFF);
    });
    QString cut = FITCourseWriter::shortName(kept, length);
    if (!cut.isEmpty() && cut.back().isHighSurrogate())
        cut.chop(1);
    return cut.trimmed();
}

QString number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString dateTime(const QDateTime& at)
{
    return at.toUTC().toString(Qt::ISODate);
}

void writePosition(QXmlStreamWriter& xml, const QString& element, const Coordinate& point)
{
    xml.writeStartElement(element);
    xml.writeTextElement(QStringLiteral("LatitudeDegrees"),
                         number(std::clamp(point.latitude, -90.0, 90.0), 7));
    // Longitude 180 is written as −180, the same meridian: the schema wants it below 180.
    const double longitude = point.longitude >= 180.0 ? point.longitude - 360.0 : point.longitude;
    xml.writeTextElement(QStringLiteral("LongitudeDegrees"),
                         number(std::clamp(longitude, -180.0, 179.9999999), 7));
    xml.writeEndElement();
}

void writeAltitude(QXmlStreamWriter& xml, const Coordinate& point)
{
    if (point.elevation && std::isfinite(*point.elevation))
        xml.writeTextElement(QStringLiteral("AltitudeMeters"), number(*point.elevation, 1));
}

// A name for a course point whose own name leaves nothing.
QString fallbackName(PointType type)
{
    const QLatin1StringView name = TCXCourseWriter::pointType(type);
    return name == QLatin1StringView("Generic")
               ? QStringLiteral("Point")
               : token(QString(name), TCXCourseWriter::pointNameLength);
}

} // namespace

QLatin1StringView TCXCourseWriter::pointType(PointType type)
{
    switch (type) {
    case PointType::left:
    case PointType::slightLeft:
    case PointType::sharpLeft:
    case PointType::leftFork:
        return QLatin1StringView("Left");
    case PointType::right:
    case PointType::slightRight:
    case PointType::sharpRight:
    case PointType::rightFork:
        return QLatin1StringView("Right");
    case PointType::straight:
        return QLatin1StringView("Straight");
    case PointType::summit:
        return QLatin1StringView("Summit");
    case PointType::fourthCategory:
        return QLatin1StringView("4th Category");
    case PointType::thirdCategory:
        return QLatin1StringView("3rd Category");
    case PointType::secondCategory:
        return QLatin1StringView("2nd Category");
    case PointType::firstCategory:
        return QLatin1StringView("1st Category");
    case PointType::horsCategory:
        return QLatin1StringView("Hors Category");
    case PointType::generic:
    case PointType::uTurn:
    case PointType::transport:
        break;
    }
    return QLatin1StringView("Generic");
}

QByteArray TCXCourseWriter::write(const model::Route& route, model::CostingKind kind,
                                  const QString& name) const
{
    const detail::CoursePlan c = detail::coursePlan(route, kind);
    const std::size_t n = c.points.size();
    const QDateTime start =
        created.isValid() ? created.toUTC() : QDateTime::fromSecsSinceEpoch(0, Qt::UTC);
    const auto time = [&](std::size_t i) {
        return dateTime(start.addSecs(std::lround(c.seconds[i])));
    };
    QString courseName = token(name, courseNameLength);
    if (courseName.isEmpty())
        courseName = QStringLiteral("Route");

    QByteArray out;
    out.reserve(qsizetype(n) * 260 + 1024);
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(QString::fromLatin1(tcxNamespace));
    xml.writeStartElement(QString::fromLatin1(tcxNamespace),
                          QStringLiteral("TrainingCenterDatabase"));
    xml.writeStartElement(QStringLiteral("Courses"));
    xml.writeStartElement(QStringLiteral("Course"));
    xml.writeTextElement(QStringLiteral("Name"), courseName);

    xml.writeStartElement(QStringLiteral("Lap"));
    xml.writeTextElement(QStringLiteral("TotalTimeSeconds"), number(n ? c.seconds.back() : 0, 1));
    xml.writeTextElement(QStringLiteral("DistanceMeters"), number(n ? c.distances.back() : 0, 1));
    if (n > 0) {
        writePosition(xml, QStringLiteral("BeginPosition"), c.points.front());
        writePosition(xml, QStringLiteral("EndPosition"), c.points.back());
    }
    xml.writeTextElement(QStringLiteral("Intensity"), QStringLiteral("Active"));
    xml.writeEndElement();

    if (n > 0) {
        xml.writeStartElement(QStringLiteral("Track"));
        for (std::size_t i = 0; i < n; ++i) {
            xml.writeStartElement(QStringLiteral("Trackpoint"));
            xml.writeTextElement(QStringLiteral("Time"), time(i));
            writePosition(xml, QStringLiteral("Position"), c.points[i]);
            writeAltitude(xml, c.points[i]);
            xml.writeTextElement(QStringLiteral("DistanceMeters"), number(c.distances[i], 1));
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }

    for (const auto& point : c.coursePoints) {
        QString pointName = token(point.name, pointNameLength);
        if (pointName.isEmpty())
            pointName = fallbackName(point.type);
        xml.writeStartElement(QStringLiteral("CoursePoint"));
        xml.writeTextElement(QStringLiteral("Name"), pointName);
        xml.writeTextElement(QStringLiteral("Time"), time(point.record));
        writePosition(xml, QStringLiteral("Position"), c.points[point.record]);
        writeAltitude(xml, c.points[point.record]);
        xml.writeTextElement(QStringLiteral("PointType"), QString(pointType(point.type)));
        xml.writeEndElement();
    }

    xml.writeEndDocument();
    return out;
}

} // namespace zuvo::formats
