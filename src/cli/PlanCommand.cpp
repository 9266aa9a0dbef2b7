#include "cli/PlanCommand.h"

#include "cli/CommandLine.h"
#include "formats/RouteDocumentCoder.h"
#include "model/RouteStats.h"
#include "routing/Failure.h"
#include "routing/GraphHopperEngine.h"
#include "routing/RoutePlanner.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>

#include <qcoro/qcorotask.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <variant>
#include <vector>

namespace zuvo::cli {

namespace {

using model::Anchor;

struct PlanRequest {
    QUrl server = QUrl(QStringLiteral("http://127.0.0.1:8989"));
    model::CostingProfile costing = {};
    bool roundTrip = false;
    std::vector<Anchor> anchors = {};
    QString gpxPath = {};
};

std::optional<model::Coordinate> coordinateOf(const QString& text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 2)
        return std::nullopt;
    bool latitudeOK = false;
    bool longitudeOK = false;
    const double latitude = parts[0].trimmed().toDouble(&latitudeOK);
    const double longitude = parts[1].trimmed().toDouble(&longitudeOK);
    if (!latitudeOK || !longitudeOK || std::abs(latitude) > 90.0 || std::abs(longitude) > 180.0)
        return std::nullopt;
    return model::Coordinate{latitude, longitude};
}

// The command line in order: positional points are via anchors, "--shaping"
// points shaping anchors, each at its place in the sequence. A message on
// error.
std::variant<PlanRequest, QString> parse(const QStringList& arguments)
{
    PlanRequest request;
    bool haveProfile = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        if (argument == QLatin1String("--round-trip")) {
            request.roundTrip = true;
        } else if (argument == QLatin1String("--server")) {
            const auto url = value();
            request.server = QUrl(url.value_or(QString()), QUrl::StrictMode);
            if (!request.server.isValid() || request.server.scheme().isEmpty())
                return QStringLiteral("--server needs a URL such as http://127.0.0.1:8989");
        } else if (argument == QLatin1String("--profile")) {
            const auto kind = model::costingKindFromName(value().value_or(QString()));
            if (!kind)
                return QStringLiteral("--profile is one of road, gravel, mtb, motorcycle");
            request.costing.kind = *kind;
            haveProfile = true;
        } else if (argument == QLatin1String("--set")) {
            const QStringList pair = value().value_or(QString()).split(u'=');
            bool ok = false;
            const double number = pair.size() == 2 ? pair[1].toDouble(&ok) : 0.0;
            if (!ok || pair[0].isEmpty() || number < 0.0 || number > 1.0)
                return QStringLiteral("--set needs KEY=VALUE with a value from 0 to 1");
            request.costing.values[pair[0]] = number;
        } else if (argument == QLatin1String("--gpx")) {
            request.gpxPath = value().value_or(QString());
            if (request.gpxPath.isEmpty())
                return QStringLiteral("--gpx needs a file name");
        } else {
            const bool shaping = argument == QLatin1String("--shaping");
            const QString text = shaping ? value().value_or(QString()) : argument;
            const auto point = coordinateOf(text);
            if (!point)
                return QStringLiteral("'%1' is not a LAT,LON position").arg(text);
            request.anchors.emplace_back(shaping ? Anchor::Kind::shaping : Anchor::Kind::via,
                                         *point);
        }
    }
    if (!haveProfile)
        return QStringLiteral("--profile is required");
    if (request.anchors.size() < 2)
        return QStringLiteral("a plan needs at least two positions");
    return request;
}

QCoro::Task<int> plan(PlanRequest request)
{
    QNetworkAccessManager session;
    routing::RoutePlanner planner(
        std::make_unique<routing::GraphHopperEngine>(request.server, session), request.costing);
    try {
        co_await planner.restore(request.anchors, request.costing, request.roundTrip);
    } catch (const routing::Failure& failure) {
        // The error exactly as the planner's error banner would show it.
        co_return fail(failure.displayText());
    }

    const model::Route route = planner.currentRoute();
    const auto profile = model::GradeProfile::compute(route, 7, 6.0, 150.0);
    const QJsonObject summary{
        {QStringLiteral("distance"), route.distance()},
        {QStringLiteral("ascent"), model::RouteStats::ascentMeters(profile)},
        {QStringLiteral("points"), static_cast<qint64>(route.coordinates().size())},
        {QStringLiteral("anchors"), static_cast<qint64>(route.anchors.size())},
    };
    if (!request.gpxPath.isEmpty()) {
        const QString name = QFileInfo(request.gpxPath).completeBaseName();
        if (const auto error = writeFile(
                request.gpxPath, formats::RouteDocumentCoder::encode(route, request.costing, name)))
            co_return fail(*error);
    }
    std::printf("%s\n", QJsonDocument(summary).toJson(QJsonDocument::Compact).constData());
    co_return 0;
}

// Runs the event loop until `task` has its exit code.
int runToExitCode(QCoro::Task<int> task)
{
    QEventLoop loop;
    std::optional<int> exitCode;
    auto finish = [&]() -> QCoro::Task<> {
        exitCode = co_await std::move(task);
        loop.quit();
    };
    auto running = finish();
    if (!exitCode)
        loop.exec();
    return *exitCode;
}

int run(const QStringList& arguments)
{
    auto parsed = parse(arguments);
    if (const auto* message = std::get_if<QString>(&parsed)) {
        fail(*message);
        return usage(planCommand);
    }
    return runToExitCode(plan(std::move(std::get<PlanRequest>(parsed))));
}

} // namespace

const Command planCommand{
    .name = "plan",
    .arguments = "[--server URL] --profile road|gravel|mtb|motorcycle [--round-trip] "
                 "[--set KEY=VALUE]... [--gpx FILE] LAT,LON LAT,LON [--shaping LAT,LON]...",
    .summary = "plan a route on a GraphHopper server and print its distance, ascent, points "
               "and anchors as JSON",
    .run = run,
};

} // namespace zuvo::cli
