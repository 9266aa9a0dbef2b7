#include "app/places/PlaceSearchController.h"

#include "app/planner/PlannerViewModel.h"
#include "routing/Failure.h"

namespace zuvo::app {

PlaceSearchController::PlaceSearchController(PhotonClient& client, PlannerViewModel& planner,
                                             std::unique_ptr<OneShotTimer> debounce,
                                             QObject* parent)
    : QObject(parent)
    , m_client(client)
    , m_planner(planner)
    , m_debounce(std::move(debounce))
{
}

void PlaceSearchController::setSearching(bool searching)
{
    if (m_searching == searching)
        return;
    m_searching = searching;
    emit isSearchingChanged();
}

void PlaceSearchController::setMessage(const std::optional<QString>& message)
{
    if (m_message == message)
        return;
    m_message = message;
    emit messageChanged();
}

void PlaceSearchController::setQuery(const QString& query)
{
    m_planner.setSearchQuery(query);
    m_debounce->stop();
    if (m_inFlight)
        m_inFlight->request_stop();
    if (query.isEmpty()) {
        m_planner.setSearchResults({});
        setMessage(std::nullopt);
        m_planner.clearSearchSelection();
        return;
    }
    m_debounce->start(debounceDelay, [this, query] { search(query); });
}

bool PlaceSearchController::selectFirst()
{
    const auto& results = m_planner.searchResults();
    if (results.empty())
        return false;
    const PhotonPlace first = results.front();
    m_planner.selectSearchResult(first);
    return true;
}

void PlaceSearchController::clear()
{
    m_debounce->stop();
    if (m_inFlight)
        m_inFlight->request_stop();
    m_planner.setSearchQuery(QString());
    m_planner.setSearchResults({});
    setMessage(std::nullopt);
    m_planner.clearSearchSelection();
}

QCoro::Task<> PlaceSearchController::search(QString query)
{
    QPointer self(this);
    auto stop = std::make_shared<std::stop_source>();
    m_inFlight = stop;
    setSearching(true);
    if (m_planner.searchResults().empty())
        setMessage(tr("Searching…"));
    const std::optional<LonLat> near = m_planner.lastMapFocus();
    try {
        auto places = co_await m_client.search(query, near, stop->get_token());
        if (self && !stop->stop_requested()) {
            setMessage(places.empty() ? std::optional(tr("No places found for '%1'").arg(query))
                                      : std::nullopt);
            m_planner.setSearchResults(std::move(places));
        }
    } catch (const routing::Failure& failure) {
        // A newer keystroke cancelled this search: what is shown stays.
        if (self && !failure.isCancellation() && !stop->stop_requested()) {
            m_planner.setSearchResults({});
            const QString base = m_client.baseURL().toString();
            setMessage(std::holds_alternative<routing::NetworkError>(failure.reason())
                           ? tr("Could not reach the place search at %1: %2")
                                 .arg(base, failure.description())
                           : tr("The place search at %1 did not answer with places.").arg(base));
        }
    }
    if (self && m_inFlight == stop) {
        m_inFlight.reset();
        setSearching(false);
    }
}

} // namespace zuvo::app
