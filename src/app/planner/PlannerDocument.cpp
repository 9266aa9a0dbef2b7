#include "app/planner/PlannerViewModel.h"
#include "app/planner/ToastCenter.h"
#include "formats/GPXImporter.h"
#include "formats/GPXWriter.h"
#include "formats/RouteDocumentCoder.h"

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

int PlannerViewModel::pushUndoSnapshot(std::vector<Anchor> anchors)
{
    const int token = m_history.push(std::move(anchors));
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

void PlannerViewModel::restoreSnapshot(std::vector<Anchor> entry,
                                       void (UndoHistory::*keepCurrent)(UndoHistory::Snapshot))
{
    emit historyChanged();
    QPointer self(this);
    // The anchors it replaces go on the other stack when the restore actually starts.
    mutate([self, entry = std::move(entry), keepCurrent](RoutePlanner& planner,
                                                         std::stop_token stop) -> QCoro::Task<> {
        if (self) {
            (self->m_history.*keepCurrent)(planner.currentRoute().anchors);
            emit self->historyChanged();
        }
        co_await planner.restore(entry, planner.costing(), std::nullopt, stop);
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
    setDocumentName(QStringLiteral("Untitled"));
    setDocumentURL(std::nullopt);
    setShownTracks({});
    setSelectedAnchorID(std::nullopt);
    setErrorMessage(std::nullopt);
    costingKindStorageOnly(model::CostingKind::road);
    setSliderValues(model::defaultPreferenceValues(model::CostingKind::road));
    mutate([](RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
        std::vector<Anchor> none;
        model::CostingProfile road{model::CostingKind::road, {}};
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
                                              std::shared_ptr<bool> adopted)
{
    setDocumentName(document.name);
    costingKindStorageOnly(document.costing.kind);
    setSliderValues(document.costing.values);
    auto mutation = mutate([anchors = document.anchors, costing = document.costing,
                            roundTrip = document.roundTrip,
                            adopted](RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
        std::exception_ptr error;
        try {
            co_await planner.restore(anchors, costing, roundTrip, stop);
        } catch (...) {
            error = std::current_exception();
        }
        if (adopted)
            *adopted = sameAnchors(planner.currentRoute().anchors, anchors);
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
        setErrorMessage(QStringLiteral("Could not read ") + fileName);
        co_return;
    }
    auto decoded = formats::RouteDocumentCoder::decode(file.readAll());
    if (!decoded) {
        setErrorMessage(fileName +
                        QStringLiteral(" is not a zuvo route — use File ▸ Import GPX for "
                                       "third-party files."));
        co_return;
    }
    co_await adoptDocument(std::move(decoded).value(), path);
}

QCoro::Task<> PlannerViewModel::openFile(QString path, std::function<bool()> mayReplace)
{
    const QString fileName = QFileInfo(path).fileName();
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (auto document = formats::RouteDocumentCoder::decode(bytes)) {
        if (!mayReplace || mayReplace())
            co_await adoptDocument(std::move(document).value(), path);
    } else if (const auto imported = formats::GPXImporter::read(bytes)) {
        applyImported(*imported, fileName);
    } else {
        setErrorMessage(QStringLiteral("Could not read ") + fileName);
    }
}

QCoro::Task<> PlannerViewModel::adoptDocument(formats::RouteDocument document, QString path)
{
    QPointer self(this);
    // What the open puts back when the planner cannot take the file's anchors: the file must not
    // become the document while the planner still holds the previous route, or the next save
    // would write that route into it.
    const QString previousName = m_documentName;
    const auto previousURL = m_documentURL;
    const auto previousKind = m_costingKind;
    const auto previousSliders = m_sliderValues;
    const bool previousDirty = m_isDirty;
    const UndoHistory previousHistory = m_history;

    setErrorMessage(std::nullopt);
    auto adopted = std::make_shared<bool>(false);
    const MutationHandle mutation = loadDocument(document, adopted);
    const MutationOutcome outcome = co_await mutation->finished();
    if (!self)
        co_return;
    const QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (outcome == MutationOutcome::completed) {
        markSaved(url);
    } else if (*adopted) {
        // The file's route is not fully computed yet: it is the document, with changes to save.
        setDocumentURL(url);
        setDirty(true);
    } else {
        setDocumentName(previousName);
        setDocumentURL(previousURL);
        costingKindStorageOnly(previousKind);
        setSliderValues(previousSliders);
        setDirty(previousDirty);
        m_history = previousHistory;
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
        setErrorMessage(QStringLiteral("Save failed: ") + file.errorString());
        return false;
    }
    markSaved(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    if (m_toasts)
        m_toasts->show(QStringLiteral("Saved '") + m_documentName + QStringLiteral("'"));
    return true;
}

} // namespace zuvo::app
