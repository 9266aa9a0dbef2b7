#pragma once

#include "model/CostingKind.h"
#include "model/Route.h"
#include "routing/GraphHopperInfo.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <functional>
#include <memory>
#include <optional>
#include <stop_token>

namespace zuvo::app {

// What the planner knows of its routing server: asked for /info on start and whenever the
// routing address changes, and what that means for the rider (profiles the server lacks, no
// elevation, another GraphHopper version, heights that are all flat). Until an answer comes,
// nothing is assumed missing.
class RoutingServerStatus : public QObject {
    Q_OBJECT

public:
    using Fetch = std::function<QCoro::Task<routing::GraphHopperInfo>(std::stop_token)>;

    RoutingServerStatus(Fetch fetch, QObject* parent = nullptr);

    // Asks the server at `address` (its /info through `fetch`); a check asked for while one runs
    // replaces it.
    QCoro::Task<> check(QUrl address);

    const QUrl& address() const { return m_address; }
    const std::optional<routing::GraphHopperInfo>& info() const { return m_info; }
    // Why the last check got no answer.
    const std::optional<QString>& failure() const { return m_failure; }

    bool hasProfile(model::CostingKind kind) const;
    bool hasElevation() const;
    std::optional<routing::ServerArea> area() const;

    // The lines the window's server banner shows, most important first; empty when all is well.
    QStringList notices() const;
    // For the settings window: the area, the data's date and the profiles, once known; else
    // whether the server was reached.
    QString coverage() const;

    // Looks at a route the server computed: a server that claims elevation but answers a leg of
    // more than 2 km with every height equal lost its elevation data at import. Warned once per
    // server.
    void noticeRoute(const model::Route& route);
    bool heightsFlat() const { return m_heightsFlat; }

signals:
    void changed();

private:
    Fetch m_fetch;
    QUrl m_address;
    std::optional<routing::GraphHopperInfo> m_info;
    std::optional<QString> m_failure;
    bool m_heightsFlat = false;
    std::shared_ptr<std::stop_source> m_inFlight;
};

} // namespace zuvo::app
