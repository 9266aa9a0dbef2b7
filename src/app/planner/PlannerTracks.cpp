#include "app/planner/PlannerViewModel.h"
#include "app/planner/RideFile.h"
#include "model/Polyline.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

#include <qcoro/qcorofuture.h>

#include <algorithm>

// The recorded rides and foreign tracks drawn beside the plan.
namespace zuvo::app {

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(PlannerTracks)
};

} // namespace

using model::Anchor;
using model::Coordinate;
using model::ShownTrack;
using routing::RoutePlanner;

namespace {

// A ride file's content, or the sentence that says why there is none.
struct LoadedRide {
    std::optional<Ride> ride;
    QString error;
};

// Any file shows what it holds up to damage: a ride is never refused whole for a cut end.
LoadedRide parseRide(const QString& fileName, QByteArrayView bytes)
{
    auto ride = readRide(fileName, bytes, RideRead::recovering);
    if (!ride)
        return {std::nullopt,
                Texts::tr("Could not read %1: %2").arg(fileName, rideErrorText(ride.error()))};
    return {std::move(ride).value(), {}};
}

// Reads and parses a ride file; runs on a worker thread.
LoadedRide loadRide(const QString& path)
{
    const QString fileName = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, Texts::tr("Could not read %1: %2").arg(fileName, file.errorString())};
    // In one read of the known size: a long ride is tens of megabytes.
    return parseRide(fileName, file.read(file.size()));
}

struct LoadedTrack {
    std::optional<ShownTrack> track;
    QString error;
};

// A file toggled in the library, all its tracks joined into one; runs on a worker thread.
LoadedTrack loadTrack(const QString& path)
{
    LoadedRide loaded = loadRide(path);
    if (!loaded.ride)
        return {std::nullopt, loaded.error};
    const QFileInfo info(path);
    const QString notice = recoveryNotice(*loaded.ride);
    std::vector<model::TrackSample> samples;
    for (auto& track : loaded.ride->imported.tracks) {
        if (samples.empty())
            samples = std::move(track);
        else
            samples.insert(samples.end(), track.begin(), track.end());
    }
    if (samples.empty())
        return {std::nullopt, Texts::tr("No track in %1").arg(info.fileName())};

    ShownTrack track;
    track.id = path;
    track.name = info.completeBaseName();
    const QDateTime modified = info.lastModified();
    track.date = ShownTrack::dateFromName(
        track.name, modified.isValid() ? modified : QDateTime::currentDateTime());
    track.coordinates.reserve(samples.size());
    for (const auto& sample : samples)
        track.coordinates.push_back(sample.coordinate);
    track.samples = std::move(samples);
    track.colorIndex = ShownTrack::colorIndexFor(track.id);
    track.notice = notice;
    return {std::move(track), {}};
}

void show(PlannerViewModel& planner, const LoadedRide& loaded, const QString& fileName)
{
    if (loaded.ride)
        planner.applyImported(loaded.ride->imported, fileName, recoveryNotice(*loaded.ride));
    else
        planner.setErrorMessage(loaded.error);
}

} // namespace

bool PlannerViewModel::isTrackShown(const QString& id) const
{
    return std::any_of(m_shownTracks.begin(), m_shownTracks.end(),
                       [&](const ShownTrack& t) { return t.id == id; });
}

void PlannerViewModel::setShownTracks(std::vector<ShownTrack> tracks)
{
    m_shownTracks = std::move(tracks);
    ++m_tracksVersion;
    emit shownTracksChanged();
    sendTracks();
}

void PlannerViewModel::appendShownTracks(std::vector<ShownTrack> tracks)
{
    auto all = std::move(m_shownTracks);
    std::move(tracks.begin(), tracks.end(), std::back_inserter(all));
    setShownTracks(std::move(all));
}

void PlannerViewModel::removeShownTrack(const QString& id)
{
    auto remaining = std::move(m_shownTracks);
    std::erase_if(remaining, [&](const ShownTrack& t) { return t.id == id; });
    setShownTracks(std::move(remaining));
}

void PlannerViewModel::sendTracks()
{
    if (!m_bridge || !m_bridge->hasPage())
        return;
    if (m_tracksSentVersion == m_tracksVersion)
        return;
    m_bridge->setImportedTracks(m_shownTracks);
    m_tracksSentVersion = m_tracksVersion;
}

QCoro::Task<> PlannerViewModel::toggleTrack(QString path)
{
    if (isTrackShown(path)) {
        removeShownTrack(path);
        co_return;
    }
    QPointer self(this);
    LoadedTrack loaded = co_await QtConcurrent::run(loadTrack, path);
    if (!self)
        co_return;
    if (!loaded.track) {
        setErrorMessage(loaded.error);
        co_return;
    }
    // Toggled twice while reading: the first read shows it, the second finds it shown.
    if (isTrackShown(path))
        co_return;
    std::vector<ShownTrack> added;
    added.push_back(std::move(*loaded.track));
    const auto box = map::Bounds::enclosing(added.front().coordinates);
    appendShownTracks(std::move(added));
    if (box)
        frame(*box);
}

QCoro::Task<> PlannerViewModel::showRideFile(QString path)
{
    QPointer self(this);
    const LoadedRide loaded = co_await QtConcurrent::run(loadRide, path);
    if (self)
        show(*this, loaded, QFileInfo(path).fileName());
}

QCoro::Task<> PlannerViewModel::showRide(QString fileName, QByteArray bytes)
{
    QPointer self(this);
    // Named outside the co_await: GCC 12 destroys a closure built inside one twice.
    auto parse = [fileName, bytes] { return parseRide(fileName, bytes); };
    const LoadedRide loaded = co_await QtConcurrent::run(std::move(parse));
    if (self)
        show(*this, loaded, fileName);
}

void PlannerViewModel::applyImported(const formats::ImportedGPX& imported,
                                     const QString& sourceName, const QString& notice)
{
    std::vector<std::vector<model::TrackSample>> tracks = imported.tracks;
    if (tracks.empty()) {
        for (const auto& route : imported.routes) {
            std::vector<model::TrackSample> samples;
            samples.reserve(route.size());
            for (const auto& c : route)
                samples.push_back({.coordinate = c});
            tracks.push_back(std::move(samples));
        }
    }
    if (tracks.empty()) {
        setErrorMessage(tr("No track in %1").arg(sourceName));
        return;
    }
    const QDateTime date = ShownTrack::dateFromName(sourceName, QDateTime::currentDateTime());
    std::vector<ShownTrack> shown;
    const auto taken = [&](const QString& id) {
        return isTrackShown(id) || std::any_of(shown.begin(), shown.end(),
                                               [&](const ShownTrack& t) { return t.id == id; });
    };
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        ShownTrack track;
        // The same file imported twice shows twice; each copy is hidden or converted alone.
        const QString base = sourceName + QLatin1Char('#') + QString::number(i);
        track.id = base;
        for (int copy = 2; taken(track.id); ++copy)
            track.id = base + QLatin1Char('.') + QString::number(copy);
        track.name = sourceName;
        track.date = date;
        for (const auto& sample : tracks[i])
            track.coordinates.push_back(sample.coordinate);
        track.samples = std::move(tracks[i]);
        track.colorIndex = ShownTrack::colorIndexFor(track.id);
        track.notice = notice;
        shown.push_back(std::move(track));
    }
    // The map frames what was imported, not every track shown.
    std::optional<map::Bounds> box;
    for (const auto& track : shown) {
        if (const auto one = map::Bounds::enclosing(track.coordinates))
            box = box ? box->united(*one) : *one;
    }
    appendShownTracks(std::move(shown));
    if (box)
        frame(*box);
}

MutationHandle PlannerViewModel::convertImportToRoute()
{
    if (m_shownTracks.empty() || m_shownTracks.back().coordinates.size() < 2)
        return nullptr;
    const ShownTrack& track = m_shownTracks.back();
    const model::CostingProfile costing{m_costingKind, m_sliderValues};
    ++m_documentGeneration;
    m_documentBeforeOpen.reset();
    setSelectedAnchorID(std::nullopt);
    auto mutation = mutate([coordinates = track.coordinates,
                            costing](RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
        auto matched = co_await planner.matchedTrack(coordinates, costing, stop);
        if (matched.size() < 2)
            matched = coordinates;
        auto anchors = conversionAnchors(matched);
        co_await planner.restore(std::move(anchors), costing, false, stop);
    });
    finishConversion(mutation, track.id, track.name);
    return mutation;
}

QCoro::Task<> PlannerViewModel::finishConversion(MutationHandle mutation, QString trackID,
                                                 QString name)
{
    QPointer self(this);
    const MutationOutcome outcome = co_await mutation->finished();
    if (outcome != MutationOutcome::completed || !self)
        co_return;
    // The route is a new plan named after the track, not saved anywhere yet; a conversion that
    // failed leaves the plan before it as it was.
    removeShownTrack(trackID);
    for (const auto* extension : {".gpx", ".fit", ".track"}) {
        if (name.endsWith(QLatin1String(extension), Qt::CaseInsensitive))
            name.chop(qsizetype(qstrlen(extension)));
    }
    setDocumentName(name);
    setDocumentURL(std::nullopt);
    clearUndoHistory();
}

std::vector<Anchor> PlannerViewModel::conversionAnchors(const std::vector<Coordinate>& coordinates)
{
    if (coordinates.empty())
        return {};
    const auto thinned = model::simplified(coordinates, 30.0);
    std::vector<Coordinate> inner;
    if (thinned.size() > 2)
        inner.assign(thinned.begin() + 1, thinned.end() - 1);
    constexpr std::size_t maxShaping = 25;
    const std::size_t step =
        inner.size() > maxShaping ? (inner.size() + maxShaping - 1) / maxShaping : 1;
    std::vector<Anchor> anchors;
    anchors.emplace_back(Anchor::Kind::via, coordinates.front());
    for (std::size_t i = 0; i < inner.size(); i += step)
        anchors.emplace_back(Anchor::Kind::shaping, inner[i]);
    anchors.emplace_back(Anchor::Kind::via, coordinates.back());
    return anchors;
}

} // namespace zuvo::app
