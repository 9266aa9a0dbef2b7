#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace zuvo::app {

// One geocoder result with its one-line label.
struct PhotonPlace {
    QString id;    // "<osm_type>/<osm_id>" when both are known, else the label
    QString label; // e.g. "Marienplatz, München"
    double longitude = 0.0;
    double latitude = 0.0;
    // The street to highlight when the result lies on, or is, a street.
    std::optional<QString> street = {};

    bool operator==(const PhotonPlace&) const = default;
};

// The places of a Photon GeoJSON answer in the server's order. Features
// without coordinates or without anything to label are skipped; an answer of
// the wrong shape throws the decoding error (routing::Failure with a
// JsonError).
std::vector<PhotonPlace> placesFromPhotonAnswer(const QByteArray& answer);

} // namespace zuvo::app
