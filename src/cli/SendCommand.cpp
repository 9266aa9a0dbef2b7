#include "cli/SendCommand.h"

#include "cli/CommandLine.h"
#include "cli/DeviceAccess.h"
#include "cli/InputFile.h"
#include "devices/CourseFileNames.h"
#include "formats/GPXImporter.h"

#include <QFileInfo>

namespace zuvo::cli {

namespace {

const QString nameOption = QStringLiteral("--name");

// The coordinates of the first track, else of the first route.
std::vector<model::Coordinate> courseGeometry(const formats::ImportedGPX& gpx)
{
    std::vector<model::Coordinate> points;
    if (!gpx.tracks.empty()) {
        for (const model::TrackSample& sample : gpx.tracks.front())
            points.push_back(sample.coordinate);
    } else if (!gpx.routes.empty()) {
        points = gpx.routes.front();
    }
    return points;
}

int send(const QStringList& arguments)
{
    const auto parsed = DeviceArguments::parse(arguments, {nameOption});
    if (!parsed || parsed->positional.size() != 2)
        return usage(sendCommand);
    const QString& wanted = parsed->positional[0];
    const QString& path = parsed->positional[1];
    const QString courseName = parsed->values.value(nameOption, QFileInfo(path).completeBaseName());

    const auto input = InputFile::open(path);
    if (!input)
        return fail(input.error());
    const auto gpx = formats::GPXImporter::read(input->bytes());
    if (!gpx)
        return fail(path + QStringLiteral(": not a GPX file"));
    const std::vector<model::Coordinate> points = courseGeometry(*gpx);
    if (points.empty())
        return fail(path + QStringLiteral(": no track or route"));

    const auto noValidCharacters = [&] {
        return fail(QStringLiteral("\"%1\" has no valid characters for a device filename.")
                        .arg(courseName));
    };
    return withDevice(*parsed, wanted, [&](const auto& device, const auto& transport) {
        if (device.layout == devices::DeviceLayout::garmin) {
            const std::optional<QString> fileName = devices::garminCourseFileName(courseName);
            if (!fileName)
                return noValidCharacters();
            transport.writeCourse(input->bytes().toByteArray(), *fileName, device);
            printRecord({*fileName, device.name});
            return 0;
        }
        const QString tourName = devices::stripFATInvalidCharacters(courseName);
        if (tourName.isEmpty())
            return noValidCharacters();
        transport.writeTour(points, tourName, device);
        printRecord({tourName, device.name});
        return 0;
    });
}

} // namespace

const Command sendCommand{
    .name = "send",
    .arguments = "DEVICE FILE.gpx [--name NAME] [--volumes DIR]",
    .summary = "send FILE as the course NAME (by default the file's base name) to DEVICE: as it "
               "is to a Garmin, as a tour of its first track or route to a Bryton; prints the "
               "name written and the device",
    .run = send,
};

} // namespace zuvo::cli
