#include "cli/SendCommand.h"

#include "cli/CommandLine.h"
#include "cli/CourseInput.h"
#include "cli/DeviceAccess.h"
#include "cli/InputFile.h"
#include "devices/CourseFileNames.h"
#include "devices/DeviceError.h"
#include "formats/FITCourseWriter.h"
#include "formats/GPXImporter.h"

#include <QDateTime>
#include <QFileInfo>

namespace zuvo::cli {

namespace {

const QString nameOption = QStringLiteral("--name");
const QString fitFlag = QStringLiteral("--fit");
const QString replaceFlag = QStringLiteral("--replace");
const QString profileOption = QStringLiteral("--profile");

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
    const auto parsed =
        DeviceArguments::parse(arguments, {nameOption, profileOption}, {fitFlag, replaceFlag});
    if (!parsed || parsed->positional.size() != 2)
        return usage(sendCommand);
    const bool fit = parsed->flags.contains(fitFlag);
    const auto existing = parsed->flags.contains(replaceFlag) ? devices::OnExisting::replace
                                                              : devices::OnExisting::refuse;
    std::optional<model::CostingKind> kind;
    if (parsed->values.contains(profileOption)) {
        kind = model::costingKindFromName(parsed->values.value(profileOption));
        if (!kind || !fit)
            return usage(sendCommand);
    }
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
    // A FIT course with points ahead, else the GPX file as it is.
    QByteArray course = input->bytes().toByteArray();
    if (fit) {
        const auto source = CourseInput::read(path, input->bytes());
        if (!source)
            return fail(source.error());
        const formats::FITCourseWriter writer{.created = QDateTime::currentDateTimeUtc()};
        course = writer.write(source->route,
                              kind.value_or(source->kind.value_or(model::CostingKind::road)),
                              courseName);
    }

    const auto noValidCharacters = [&] {
        return fail(QStringLiteral("\"%1\" has no valid characters for a device filename.")
                        .arg(courseName));
    };
    const auto write = [&](const devices::GarminDevice& device,
                           const devices::DeviceTransport& transport) {
        if (device.layout == devices::DeviceLayout::garmin) {
            const std::optional<QString> fileName = devices::garminCourseFileName(
                courseName, fit ? QLatin1String(".fit") : QLatin1String(".gpx"));
            if (!fileName)
                return noValidCharacters();
            transport.writeCourse(course, *fileName, device, existing);
            printRecord({*fileName, device.name});
            return 0;
        }
        if (fit)
            return fail(QStringLiteral("%1 takes tours, not FIT courses (leave out --fit)")
                            .arg(device.name));
        const QString tourName = devices::stripFATInvalidCharacters(courseName);
        if (tourName.isEmpty())
            return noValidCharacters();
        transport.writeTour(points, tourName, device, existing);
        printRecord({tourName, device.name});
        return 0;
    };
    return withDevice(*parsed, wanted, [&](const auto& device, const auto& transport) {
        // A course of the same name stays unless the command line says to replace it.
        try {
            return write(device, transport);
        } catch (const devices::DeviceError& error) {
            const auto* taken = std::get_if<devices::DeviceError::AlreadyExists>(&error.value());
            if (!taken)
                throw;
            return fail(QStringLiteral("a course named '%1' is already on %2: %3 (--replace "
                                       "replaces it)")
                            .arg(courseName, device.name, taken->file));
        }
    });
}

} // namespace

const Command sendCommand{
    .name = "send",
    .arguments = "DEVICE FILE.gpx [--name NAME] [--fit [--profile road|gravel|mtb|motorcycle]] "
                 "[--replace] [--volumes DIR]",
    .summary = "send FILE as the course NAME (by default the file's base name) to DEVICE: as it "
               "is to a Garmin, or with --fit as a FIT course with points ahead (see 'course'), "
               "as a tour of its first track or route to a Bryton; a course of that name on the "
               "device is replaced only with --replace; prints the name written and the device",
    .run = send,
};

} // namespace zuvo::cli
