#include "cli/RideInput.h"

#include "cli/InputFile.h"

#include <QFileInfo>

namespace zuvo::cli {

model::Result<RideInput, QString> RideInput::read(const QString& path, app::RideRead mode)
{
    const auto input = InputFile::open(path);
    if (!input)
        return input.error();
    auto parsed = app::readRide(path, input->bytes(), mode);
    if (!parsed) {
        QString message = path + QStringLiteral(": ") + app::rideErrorText(parsed.error());
        if (parsed.error() == app::RideError::fitTruncated ||
            parsed.error() == app::RideError::fitBadCRC)
            message += QStringLiteral(" (--recover reads the ride up to the damage)");
        return message;
    }

    RideInput ride{.name = QFileInfo(path).completeBaseName(),
                   .recovered = app::recoveryNotice(*parsed)};
    auto& imported = parsed.value().imported;
    if (!imported.tracks.empty()) {
        ride.samples = std::move(imported.tracks.front());
    } else if (!imported.routes.empty()) {
        for (const auto& point : imported.routes.front())
            ride.samples.push_back({.coordinate = point});
    } else {
        return path + QStringLiteral(": no track or route");
    }
    return ride;
}

std::optional<RideArguments> RideArguments::parse(const QStringList& arguments)
{
    RideArguments parsed;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--recover"))
            parsed.mode = app::RideRead::recovering;
        else if (argument.startsWith(QLatin1String("--")))
            return std::nullopt;
        else
            parsed.files << argument;
    }
    return parsed;
}

} // namespace zuvo::cli
