#include "cli/RideInput.h"

#include "cli/InputFile.h"
#include "formats/BrytonTrackReader.h"
#include "formats/FITImporter.h"
#include "formats/GPXImporter.h"

#include <QFileInfo>

namespace zuvo::cli {

using formats::ImportedGPX;

namespace {

QString describe(formats::FITImportError error)
{
    switch (error) {
    case formats::FITImportError::notFIT:
        return QStringLiteral("not a FIT file");
    case formats::FITImportError::truncated:
        return QStringLiteral("FIT file is truncated");
    case formats::FITImportError::badCRC:
        return QStringLiteral("FIT file is damaged (CRC mismatch)");
    }
    return {};
}

model::Result<ImportedGPX, QString> parse(const QString& path, QByteArrayView bytes)
{
    const QString lower = path.toLower();
    if (lower.endsWith(QLatin1String(".fit"))) {
        auto result = formats::FITImporter::read(bytes);
        if (!result)
            return describe(result.error());
        return std::move(result).value();
    }
    if (lower.endsWith(QLatin1String(".track"))) {
        const auto points = formats::BrytonTrackReader::read(bytes);
        if (!points)
            return QStringLiteral("not a Bryton track");
        std::vector<model::TrackSample> track;
        track.reserve(points->size());
        for (const auto& point : *points)
            track.push_back({.coordinate = point});
        return ImportedGPX{.tracks = {std::move(track)}};
    }
    auto result = formats::GPXImporter::read(bytes);
    if (!result)
        return QStringLiteral("not a GPX file");
    return std::move(result).value();
}

} // namespace

model::Result<RideInput, QString> RideInput::read(const QString& path)
{
    auto imported = [&]() -> model::Result<ImportedGPX, QString> {
        const auto input = InputFile::open(path);
        if (!input)
            return input.error();
        auto parsed = parse(path, input->bytes());
        if (!parsed)
            return path + QStringLiteral(": ") + parsed.error();
        return parsed;
    }();
    if (!imported)
        return imported.error();

    RideInput ride{.name = QFileInfo(path).completeBaseName()};
    auto& parsed = imported.value();
    if (!parsed.tracks.empty()) {
        ride.samples = std::move(parsed.tracks.front());
    } else if (!parsed.routes.empty()) {
        for (const auto& point : parsed.routes.front())
            ride.samples.push_back({.coordinate = point});
    } else {
        return path + QStringLiteral(": no track or route");
    }
    return ride;
}

} // namespace zuvo::cli
