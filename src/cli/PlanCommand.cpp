#include "cli/PlanCommand.h"

#include "app/planner/LoopSuggestions.h"
#include "cli/CommandLine.h"
#include "formats/RouteDocumentCoder.h"
#include "model/RouteLeg.h"
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

// Prints the plan's figures as JSON, after writing it as a route document to `gpxPath` (if
// given) named after the file; `extra` joins the figures.
int report(const model::Route& route, const model::CostingProfile& costing, const QString& gpxPath,
           const QJsonObject& extra = {})
{
    const auto profile = model::GradeProfile::compute(route, 7, 6.0, 150.0);
    QJsonObject summary{
        {QStringLiteral("distance"), route.distance()},
        {QStringLiteral("ascent"), model::RouteStats::ascentMeters(profile)},
        {QStringLiteral("points"), static_cast<qint64>(route.coordinates().size())},
        {QStringLiteral("anchors"), static_cast<qint64>(route.anchors.size())},
    };
    for (auto it = extra.begin(); it != extra.end(); ++it)
        summary.insert(it.key(), it.value());
    if (!gpxPath.isEmpty()) {
        const QString name = QFileInfo(gpxPath).completeBaseName();
        if (const auto error =
                writeFile(gpxPath, formats::RouteDocumentCoder::encode(route, costing, name)))
            return fail(*error);
    }
    std::printf("%s\n", QJsonDocument(summary).toJson(QJsonDocument::Compact).constData());
    return 0;
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

    co_return report(planner.currentRoute(), request.costing, request.gpxPath);
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

struct LoopRequest {
    QUrl server = QUrl(QStringLiteral("http://127.0.0.1:8989"));
    model::CostingProfile costing = {};
    model::Coordinate start = {};
    double km = 0.0;
    std::optional<double> heading = {};
    int seed = 0;
    QString gpxPath = {};
};

std::variant<LoopRequest, QString> parseLoop(const QStringList& arguments)
{
    LoopRequest request;
    std::optional<model::Coordinate> start;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const QString value = i + 1 < arguments.size() ? arguments[i + 1] : QString();
        bool ok = false;
        if (argument == QLatin1String("--km")) {
            request.km = value.toDouble(&ok);
            ++i;
            if (!ok)
                return QStringLiteral("--km needs a length in kilometres");
        } else if (argument == QLatin1String("--heading")) {
            request.heading = value.toDouble(&ok);
            ++i;
            if (!ok || *request.heading < 0.0 || *request.heading >= 360.0)
                return QStringLiteral("--heading needs degrees from 0 (north) to 359");
        } else if (argument == QLatin1String("--seed")) {
            request.seed = value.toInt(&ok);
            ++i;
            if (!ok || request.seed < 0)
                return QStringLiteral("--seed needs a whole number from 0");
        } else if (argument == QLatin1String("--profile")) {
            const auto kind = model::costingKindFromName(value);
            ++i;
            if (!kind)
                return QStringLiteral("--profile is one of road, gravel, mtb, motorcycle");
            request.costing.kind = *kind;
        } else if (argument == QLatin1String("--server")) {
            request.server = QUrl(value, QUrl::StrictMode);
            ++i;
            if (!request.server.isValid() || request.server.scheme().isEmpty())
                return QStringLiteral("--server needs a URL such as http://127.0.0.1:8989");
        } else if (argument == QLatin1String("--gpx")) {
            request.gpxPath = value;
            ++i;
            if (request.gpxPath.isEmpty())
                return QStringLiteral("--gpx needs a file name");
        } else if (!start) {
            start = coordinateOf(argument);
            if (!start)
                return QStringLiteral("'%1' is not a LAT,LON position").arg(argument);
        } else {
            return QStringLiteral("one start position only");
        }
    }
    if (!start)
        return QStringLiteral("a loop needs its start as LAT,LON");
    const double most = app::LoopSuggestions::maxKm(request.costing.kind);
    if (request.km < app::LoopSuggestions::minKm || request.km > most)
        return QStringLiteral("--km is from %1 to %2 for this profile")
            .arg(app::LoopSuggestions::minKm)
            .arg(most);
    request.start = *start;
    return request;
}

QCoro::Task<int> loop(LoopRequest request)
{
    QNetworkAccessManager session;
    routing::RoutePlanner planner(
        std::make_unique<routing::GraphHopperEngine>(request.server, session), request.costing);
    double suggested = 0.0;
    try {
        auto segments = co_await planner.suggestedLoop(
            request.start, request.km * 1000.0, request.heading, request.seed, request.costing);
        suggested = model::RouteLeg{segments}.distance();
        co_await app::followLoop(planner, std::move(segments), request.costing);
    } catch (const routing::Failure& failure) {
        co_return fail(failure.displayText());
    }
    co_return report(planner.currentRoute(), request.costing, request.gpxPath,
                     {{QStringLiteral("suggested"), suggested}});
}

int runLoop(const QStringList& arguments)
{
    auto parsed = parseLoop(arguments);
    if (const auto* message = std::get_if<QString>(&parsed)) {
        fail(*message);
        return usage(loopCommand);
    }
    return runToExitCode(loop(std::move(std::get<LoopRequest>(parsed))));
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

const Command loopCommand{
    .name = "loop",
    .arguments = "LAT,LON --km N [--heading DEG] [--seed S] [--profile road|gravel|mtb|motorcycle] "
                 "[--server URL] [--gpx FILE]",
    .summary = "ask a GraphHopper server for a round trip of about N km from LAT,LON, plan it as "
               "the window would (the start and anchors along the loop), print its distance, "
               "ascent, points, anchors and the suggested length as JSON, and write it as a "
               "route document the window opens for editing",
    .run = runLoop,
};

} // namespace zuvo::cli
