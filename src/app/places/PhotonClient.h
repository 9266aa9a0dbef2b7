#pragma once

#include "app/LonLat.h"
#include "app/places/PhotonPlace.h"

#include <QString>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <optional>
#include <stop_token>
#include <vector>

class QNetworkAccessManager;

namespace zuvo::app {

// Finds places by name on a Photon geocoder.
class PhotonClient {
public:
    PhotonClient(QUrl baseURL, QNetworkAccessManager& session);

    const QUrl& baseURL() const { return m_baseURL; }
    void setBaseURL(QUrl baseURL) { m_baseURL = std::move(baseURL); }

    // The request URL: "<base>/api?q=…&limit=6&lang=de[&lon=…&lat=…]". The
    // query text is sent exactly as typed.
    QUrl requestURL(const QString& query, std::optional<LonLat> near) const;

    // Up to six places. Fails with the transport error, the cancellation
    // error, or the decoding error when the answer (whatever its HTTP
    // status) is not Photon's GeoJSON.
    QCoro::Task<std::vector<PhotonPlace>> search(QString query, std::optional<LonLat> near,
                                                 std::stop_token cancel = {});

private:
    QUrl m_baseURL;
    QNetworkAccessManager* m_session;
};

} // namespace zuvo::app
