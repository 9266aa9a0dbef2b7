#include "app/planner/PlannerTexts.h"
#include "app/planner/PlannerViewModel.h"
#include "app/planner/RideFile.h"
#include "app/planner/ToastCenter.h"
#include "formats/GPXWriter.h"
#include "formats/RouteDocumentCoder.h"
#include "formats/SavedRoute.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

// Undo, redo and the route document of the planner.
namespace zuvo::app {

using model::Anchor;
using routing::RoutePlanner;

namespace {

bool sameAnchors(const std::vector<Anchor>& a, const std::vector<Anchor>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Anchor& x, const Anchor& y) { return x.id == y.id; });
}

} // namespace

UndoHistory::Snapshot PlannerViewModel::planState(const RoutePlanner& planner)
{
    return {.anchors = planner.anchors(),
            .roundTrip = planner.roundTrip(),
            .costing = planner.costing()};
}

int PlannerViewModel::pushUndoSnapshot(UndoHistory::Snapshot before)
{
    const int token = m_history.push(std::move(before));
    emit historyChanged();
    return token;
}

void PlannerViewModel::discardUndoSnapshotIfNoop(int token, bool changed)
{
    m_history.discardIfNoop(token, changed);
    emit historyChanged();
}

void PlannerViewModel::undo()
{
    if (auto entry = m_history.takeUndo())
        restoreSnapshot(std::move(*entry), &UndoHistory::pushRedo);
}

void PlannerViewModel::redo()
{
    if (auto entry = m_history.takeRedo())
        restoreSnapshot(std::move(*entry), &UndoHistory::pushUndoKeepingRedo);
}

void PlannerViewModel::restoreSnapshot(UndoHistory::Snapshot entry,
                                       void (UndoHistory::*keepCurrent)(UndoHistory::Snapshot))
{
    emit historyChanged();
    QPointer self(this);
    // The plan it replaces goes on the other stack when the restore actually starts; the
    // profile shown follows the plan restored.
    mutate([self, entry = std::move(entry), keepCurrent](RoutePlanner& planner,
                                                         std::stop_token stop) -> QCoro::Task<> {
        if (self) {
            UndoHistory::Snapshot current = planState(planner);
            if (entry.document) {
                current.document = UndoHistory::Document{self->m_documentName, self->m_documentURL};
                self->setDocumentName(entry.document->name);
                self->setDocumentURL(entry.document->url);
            }
            (self->m_history.*keepCurrent)(std::move(current));
            emit self->historyChanged();
            self->costingKindStorageOnly(entry.costing.kind);
            self->setSliderValues(entry.costing.values);
        }
        co_await planner.restore(entry.anchors, entry.costing, entry.roundTrip, stop);
    });
}

void PlannerViewModel::clearUndoHistory()
{
    m_history.clear();
    emit historyChanged();
}

void PlannerViewModel::setDocumentName(const QString& name)
{
    if (m_documentName == name)
        return;
    m_documentName = name;
    emit documentChanged();
}

void PlannerViewModel::rename(const QString& name)
{
    if (name == m_documentName)
        return;
    setDocumentName(name);
    setDirty(true);
}

void PlannerViewModel::setDocumentURL(const std::optional<QUrl>& url)
{
    if (m_documentURL == url)
        return;
    m_documentURL = url;
    emit documentChanged();
}

void PlannerViewModel::setDirty(bool dirty)
{
    if (m_isDirty == dirty)
        return;
    m_isDirty = dirty;
    emit documentChanged();
}

void PlannerViewModel::bumpRoutesFolderGeneration()
{
    ++m_routesFolderGeneration;
    emit routesFolderGenerationChanged();
}

void PlannerViewModel::newDocument()
{
    ++m_documentGeneration;
    m_documentBeforeOpen.reset();
    setDocumentName(tr("Untitled"));
    setDocumentURL(std::nullopt);
    setShownTracks({});
    setSelectedAnchorID(std::nullopt);
    setErrorMessage(std::nullopt);
    costingKindStorageOnly(model::CostingKind::road);
    setSliderValues(model::defaultPreferenceValues(model::CostingKind::road));
    mutate([](RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
        std::vector<Anchor> none;
        // The planner's profile is always the one the sliders show, so that undo restores both.
        model::CostingProfile road{model::CostingKind::road,
                                   model::defaultPreferenceValues(model::CostingKind::road)};
        co_await planner.restore(std::move(none), std::move(road), false, stop);
    });
    setDirty(false);
    clearUndoHistory();
}

MutationHandle PlannerViewModel::loadDocument(const formats::RouteDocument& document)
{
    return loadDocument(document, nullptr);
}

MutationHandle PlannerViewModel::loadDocument(const formats::RouteDocument& document,
                                              std::shared_ptr<LoadResult> result)
{
    ++m_documentGeneration;
    setDocumentName(document.name);
    costingKindStorageOnly(document.costing.kind);
    setSliderValues(document.costing.values);
    // Legs the server cannot route now keep the geometry the file holds for them: the plan is
    // shown, saved and sent as it was saved, never emptied.
    auto mutation = mutate([anchors = document.anchors, costing = document.costing,
                            roundTrip = document.roundTrip, saved = formats::savedRoute(document),
                            result](RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
        std::exception_ptr error;
        try {
            co_await planner.restore(anchors, costing, roundTrip, stop);
        } catch (...) {
            error = std::current_exception();
        }
        const bool adopted = sameAnchors(planner.anchors(), anchors);
        const std::size_t kept = adopted ? planner.keepSavedLegs(saved) : 0;
        if (result)
            *result = {.adopted = adopted, .savedLegsKept = kept};
        if (error)
            std::rethrow_exception(error);
    });
    setDirty(false);
    clearUndoHistory();
    return mutation;
}

void PlannerViewModel::markSaved(const QUrl& url)
{
    setDocumentURL(url);
    setDocumentName(QFileInfo(url.toLocalFile()).completeBaseName());
    setDirty(false);
}

std::optional<QByteArray> PlannerViewModel::makeDocumentData() const
{
    if (m_route.anchors.size() < 2)
        return std::nullopt;
    return formats::RouteDocumentCoder::encode(m_route, {m_costingKind, m_sliderValues},
                                               m_documentName);
}

std::optional<QByteArray> PlannerViewModel::currentGPX(const QString& name) const
{
    if (m_route.anchors.size() < 2)
        return std::nullopt;
    return formats::GPXWriter{QStringLiteral("zuvo")}.write(m_route, name);
}

QCoro::Task<> PlannerViewModel::openDocument(QString path)
{
    const QString fileName = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setErrorMessage(tr("Could not read %1").arg(fileName));
        co_return;
    }
    auto decoded = formats::RouteDocumentCoder::decode(file.readAll());
    if (!decoded) {
        setErrorMessage(tr("%1 is not a zuvo route — use File ▸ Import GPX for third-party files.")
                            .arg(fileName));
        co_return;
    }
    co_await adoptDocument(std::move(decoded).value(), path);
}

QCoro::Task<> PlannerViewModel::openFile(QString path, std::function<bool()> mayReplace)
{
    const QString fileName = QFileInfo(path).fileName();
    // A FIT ride or a Bryton track is never a route document.
    if (rideFormat(fileName) != RideFormat::gpx) {
        co_await showRideFile(path);
        co_return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setErrorMessage(QStringLiteral("Could not read %1: %2").arg(fileName, file.errorString()));
        co_return;
    }
    QByteArray bytes = file.readAll();
    if (auto document = formats::RouteDocumentCoder::decode(bytes)) {
        if (!mayReplace || mayReplace())
            co_await adoptDocument(std::move(document).value(), path);
    } else {
        co_await showRide(fileName, std::move(bytes));
    }
}

QCoro::Task<> PlannerViewModel::recoverDocument(formats::RouteDocument document,
                                                std::optional<QString> path)
{
    co_await adoptDocument(std::move(document), path.value_or(QString()), true);
}

QCoro::Task<> PlannerViewModel::adoptDocument(formats::RouteDocument document, QString path,
                                              bool recovered)
{
    QPointer self(this);
    // What the open puts back when the planner cannot take the file's anchors: the file must not
    // become the document while the planner still holds the previous route, or the next save
    // would write that route into it. Opens that overlap put back what stood before the first.
    if (!m_documentBeforeOpen)
        m_documentBeforeOpen = DocumentState{.name = m_documentName,
                                             .url = m_documentURL,
                                             .kind = m_costingKind,
                                             .sliders = m_sliderValues,
                                             .dirty = m_isDirty,
                                             .history = m_history};

    setErrorMessage(std::nullopt);
    auto result = std::make_shared<LoadResult>();
    const MutationHandle mutation = loadDocument(document, result);
    const quint64 generation = m_documentGeneration;
    const MutationOutcome outcome = co_await mutation->finished();
    if (!self)
        co_return;
    const std::optional<QUrl> url =
        path.isEmpty() ? std::nullopt
                       : std::optional(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    if (m_documentGeneration != generation) {
        // A later document superseded this one. When the planner took this file's anchors
        // before it was stopped, that later open must put back this file, not the one before.
        if (result->adopted && m_documentBeforeOpen)
            m_documentBeforeOpen = DocumentState{.name = document.name,
                                                 .url = url,
                                                 .kind = document.costing.kind,
                                                 .sliders = document.costing.values,
                                                 .dirty = true,
                                                 .history = {}};
        co_return;
    }
    DocumentState before = std::move(*m_documentBeforeOpen);
    m_documentBeforeOpen.reset();
    if (result->adopted)
        frameRoute();
    if (recovered && result->adopted) {
        setDocumentURL(url);
        setDirty(true);
    } else if (outcome == MutationOutcome::completed) {
        markSaved(*url);
    } else if (result->adopted) {
        // The file is the document, unchanged: what could not be routed shows as saved.
        setDocumentURL(url);
        if (result->savedLegsKept > 0 && m_errorMessage)
            setErrorMessage(*m_errorMessage + QStringLiteral(" ") +
                            PlannerTexts::savedLegsNote(result->savedLegsKept));
    } else {
        setDocumentName(before.name);
        setDocumentURL(before.url);
        costingKindStorageOnly(before.kind);
        setSliderValues(before.sliders);
        setDirty(before.dirty);
        m_history = std::move(before.history);
        emit historyChanged();
    }
}

bool PlannerViewModel::saveDocument(const QString& path)
{
    const auto data = makeDocumentData();
    if (!data)
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*data) != data->size() || !file.commit()) {
        setErrorMessage(tr("Save failed: %1").arg(file.errorString()));
        return false;
    }
    markSaved(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    // The file holds the route as shown; an edit still routing is not in it yet.
    if (m_isRouting)
        setDirty(true);
    if (m_toasts)
        m_toasts->show(tr("Saved '%1'").arg(m_documentName));
    return true;
}

} // namespace zuvo::app
