#include "app/planner/RideFile.h"

#include "formats/BrytonTrackReader.h"
#include "formats/GPXImporter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>

namespace zuvo::app {

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(RideFile)
};

} // namespace

namespace {

model::Result<Ride, RideError> readFIT(QByteArrayView bytes, RideRead mode)
{
    if (mode == RideRead::strict) {
        auto result = formats::FITImporter::read(bytes);
        if (!result) {
            switch (result.error()) {
            case formats::FITImportError::notFIT:
                return RideError::notFIT;
            case formats::FITImportError::truncated:
                return RideError::fitTruncated;
            case formats::FITImportError::badCRC:
                return RideError::fitBadCRC;
            }
        }
        return Ride{.imported = std::move(result).value()};
    }
    auto result = formats::FITImporter::readRecovering(bytes);
    if (!result)
        return RideError::notFIT;
    auto& recovered = result.value();
    if (recovered.damage && recovered.ride.tracks.empty())
        return RideError::damagedBeforeFirstPoint;
    return Ride{.imported = std::move(recovered.ride), .damage = recovered.damage};
}

model::Result<Ride, RideError> readBrytonTrack(const QString& fileName, QByteArrayView bytes)
{
    const auto points = formats::BrytonTrackReader::read(bytes);
    if (!points)
        return RideError::notBrytonTrack;
    std::vector<model::TrackSample> samples;
    samples.reserve(points->size());
    for (const auto& point : *points)
        samples.push_back({.coordinate = point});
    Ride ride{.imported = {.name = QFileInfo(fileName).completeBaseName()}};
    ride.imported.tracks.push_back(std::move(samples));
    return ride;
}

} // namespace

RideFormat rideFormat(const QString& fileName)
{
    if (fileName.endsWith(QLatin1String(".fit"), Qt::CaseInsensitive))
        return RideFormat::fit;
    if (fileName.endsWith(QLatin1String(".track"), Qt::CaseInsensitive))
        return RideFormat::brytonTrack;
    return RideFormat::gpx;
}

model::Result<Ride, RideError> readRide(const QString& fileName, QByteArrayView bytes,
                                        RideRead mode)
{
    switch (rideFormat(fileName)) {
    case RideFormat::fit:
        return readFIT(bytes, mode);
    case RideFormat::brytonTrack:
        return readBrytonTrack(fileName, bytes);
    case RideFormat::gpx:
        break;
    }
    auto imported = formats::GPXImporter::read(bytes);
    if (!imported)
        return RideError::notGPX;
    return Ride{.imported = std::move(imported).value()};
}

QString rideErrorText(RideError error)
{
    switch (error) {
    case RideError::notGPX:
        return Texts::tr("not a GPX file");
    case RideError::notFIT:
        return Texts::tr("not a FIT file");
    case RideError::notBrytonTrack:
        return Texts::tr("not a Bryton track");
    case RideError::fitTruncated:
        return Texts::tr("FIT file is truncated");
    case RideError::fitBadCRC:
        return Texts::tr("FIT file is damaged (CRC mismatch)");
    case RideError::damagedBeforeFirstPoint:
        return Texts::tr("the file is damaged before its first point");
    }
    return {};
}

QString recoveryNotice(const Ride& ride)
{
    if (!ride.damage)
        return {};
    const auto& tracks = ride.imported.tracks;
    const std::size_t count = tracks.empty() ? 0 : tracks.front().size();
    // Grouped the same way whatever the user's locale: "14,391".
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QString points = english.toString(qulonglong(count));
    if (const auto& elapsed = ride.damage->elapsed) {
        const QString time = QStringLiteral("%1:%2:%3")
                                 .arg(*elapsed / 3600)
                                 .arg(*elapsed / 60 % 60, 2, 10, QLatin1Char('0'))
                                 .arg(*elapsed % 60, 2, 10, QLatin1Char('0'));
        return count == 1 ? Texts::tr("Recovered 1 point; the file is damaged after %1").arg(time)
                          : Texts::tr("Recovered %1 points; the file is damaged after %2")
                                .arg(points, time);
    }
    if (count < 2)
        return Texts::tr("Recovered 1 point; the file is damaged after its first point");
    // Without time, the distance ridden says where the ride breaks off.
    double metres = 0.0;
    for (std::size_t i = 1; i < count; ++i)
        metres += tracks.front()[i - 1].coordinate.distance(tracks.front()[i].coordinate);
    return Texts::tr("Recovered %1 points; the file is damaged after %2 km")
        .arg(points)
        .arg(metres / 1000.0, 0, 'f', 1);
}

} // namespace zuvo::app
