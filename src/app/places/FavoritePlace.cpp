#include "app/places/FavoritePlace.h"

namespace zuvo::app {

QJsonObject FavoritePlace::toJson() const
{
    return {{QStringLiteral("id"), id.toString(QUuid::WithoutBraces).toUpper()},
            {QStringLiteral("name"), name},
            {QStringLiteral("latitude"), latitude},
            {QStringLiteral("longitude"), longitude}};
}

std::optional<FavoritePlace> FavoritePlace::fromJson(const QJsonObject& object)
{
    const QJsonValue id = object.value(u"id");
    const QJsonValue name = object.value(u"name");
    const QJsonValue latitude = object.value(u"latitude");
    const QJsonValue longitude = object.value(u"longitude");
    if (!id.isString() || !name.isString() || !latitude.isDouble() || !longitude.isDouble())
        return std::nullopt;
    const QUuid uuid = QUuid::fromString(id.toString());
    if (uuid.isNull())
        return std::nullopt;
    return FavoritePlace{uuid, name.toString(), latitude.toDouble(), longitude.toDouble()};
}

} // namespace zuvo::app
