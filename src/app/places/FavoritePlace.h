#pragma once

#include <QJsonObject>
#include <QString>
#include <QUuid>

#include <optional>

namespace zuvo::app {

// A place the user keeps, drawn on the map as a favourite.
struct FavoritePlace {
    QUuid id = QUuid::createUuid();
    QString name;
    double latitude = 0.0;  // degrees
    double longitude = 0.0; // degrees

    // {"id", "name", "latitude", "longitude"}; every key is required when reading.
    QJsonObject toJson() const;
    static std::optional<FavoritePlace> fromJson(const QJsonObject& object);

    bool operator==(const FavoritePlace&) const = default;
};

} // namespace zuvo::app
