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
// the query live in the view model.
class PlaceSearchController : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds debounceDelay{300};

    PlaceSearchController(PhotonClient& client, PlannerViewModel& planner,
                          std::unique_ptr<OneShotTimer> debounce = makeQtOneShotTimer(),
                          QObject* parent = nullptr);

    bool isSearching() const { return m_searching; }

    // The user changed the text.
    void setQuery(const QString& query);
    // Return or the down arrow: picks the first result. False when there is none.
    bool selectFirst();
    // Escape: empties the field and the results and takes the search's marks off the map.
    void clear();

signals:
    void isSearchingChanged();

private:
    void setSearching(bool searching);
    void hideMarks();
    QCoro::Task<> search(QString query);

    PhotonClient& m_client;
    PlannerViewModel& m_planner;
    std::unique_ptr<OneShotTimer> m_debounce;
    std::shared_ptr<std::stop_source> m_inFlight;
    bool m_searching = false;
};

} // namespace zuvo::app
