#pragma once

#include "app/OneShotTimer.h"
#include "app/places/PhotonClient.h"

#include <QObject>

#include <qcoro/qcorotask.h>

#include <memory>
#include <stop_token>

namespace zuvo::app {

class PlannerViewModel;

// The search field's behaviour: a search runs 0.3 s after the last keystroke, for the whole text;
// a new keystroke cancels the request in flight, which then keeps the results shown. Results and
// the query live in the view model; what the search says instead of results (searching, nothing
// found, the server out of reach) lives here.
class PlaceSearchController : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds debounceDelay{300};

    PlaceSearchController(PhotonClient& client, PlannerViewModel& planner,
                          std::unique_ptr<OneShotTimer> debounce = makeQtOneShotTimer(),
                          QObject* parent = nullptr);

    bool isSearching() const { return m_searching; }
    // "Searching…", "No places found for 'Ulm'", "Could not reach the place search at …: …";
    // absent while results show or nothing was asked.
    const std::optional<QString>& message() const { return m_message; }

    // The user changed the text.
    void setQuery(const QString& query);
    // Return or the down arrow: picks the first result. False when there is none.
    bool selectFirst();
    // Escape: empties the field and the results and takes the search's marks off the map.
    void clear();

signals:
    void isSearchingChanged();
    void messageChanged();

private:
    void setSearching(bool searching);
    void setMessage(const std::optional<QString>& message);
    QCoro::Task<> search(QString query);

    PhotonClient& m_client;
    PlannerViewModel& m_planner;
    std::unique_ptr<OneShotTimer> m_debounce;
    std::shared_ptr<std::stop_source> m_inFlight;
    bool m_searching = false;
    std::optional<QString> m_message;
};

} // namespace zuvo::app
