#include "app/places/PhotonPlace.h"

#include "routing/Failure.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cmath>

namespace zuvo::app {

namespace {

[[noreturn]] void fail(const QString& what)
{
    throw routing::Failure(routing::JsonError{what});
}

QJsonObject requiredObject(const QJsonObject& parent, const char* key)
{
    const QJsonValue value = parent.value(QLatin1String(key));
    if (!value.isObject())
        fail(QStringLiteral("\"%1\" is missing or not an object").arg(QLatin1String(key)));
    return value.toObject();
}

// An optional member: absent or null gives nothing, any other type than a
// string is a decoding error.
std::optional<QString> optionalString(const QJsonObject& properties, const char* key)
{
    const QJsonValue value = properties.value(QLatin1String(key));
    if (value.isUndefined() || value.isNull())
        return std::nullopt;
    if (!value.isString())
        fail(QStringLiteral("\"%1\" is not a string").arg(QLatin1String(key)));
    return value.toString();
}

std::optional<qint64> optionalInteger(const QJsonObject& properties, const char* key)
{
    const QJsonValue value = properties.value(QLatin1String(key));
    if (value.isUndefined() || value.isNull())
        return std::nullopt;
    const double number = value.toDouble(std::nan(""));
    if (!value.isDouble() || number != std::floor(number) || std::abs(number) > 9.0e15)
        fail(QStringLiteral("\"%1\" is not an integer").arg(QLatin1String(key)));
    return static_cast<qint64>(number);
}

std::optional<PhotonPlace> placeOf(const QJsonObject& feature)
{
    const QJsonObject geometry = requiredObject(feature, "geometry");
    const QJsonValue coordinates = geometry.value(QLatin1String("coordinates"));
    if (!coordinates.isArray())
        fail(QStringLiteral("\"coordinates\" is missing or not a list"));
    const QJsonArray position = coordinates.toArray();
    for (const auto& number : position) {
        if (!number.isDouble())
            fail(QStringLiteral("\"coordinates\" holds something other than numbers"));
    }
    const QJsonObject properties = requiredObject(feature, "properties");
    const auto osmType = optionalString(properties, "osm_type");
    const auto osmID = optionalInteger(properties, "osm_id");
    const auto osmKey = optionalString(properties, "osm_key");
    const auto name = optionalString(properties, "name");
    const auto street = optionalString(properties, "street");
    const auto houseNumber = optionalString(properties, "housenumber");
    const auto city = optionalString(properties, "city");
    optionalString(properties, "country");

    if (position.size() < 2)
        return std::nullopt;

    QStringList parts;
    if (name)
        parts << *name;
    QStringList address;
    if (street)
        address << *street;
    if (houseNumber)
        address << *houseNumber;
    if (const QString line = address.join(u' '); !line.isEmpty())
        parts << line;
    if (city && (!name || *name != *city))
        parts << *city;
    const QString label = parts.join(QStringLiteral(", "));
    if (label.isEmpty())
        return std::nullopt;

    PhotonPlace place;
    place.label = label;
    place.id = osmType && osmID ? *osmType + u'/' + QString::number(*osmID) : label;
    if (street)
        place.street = street;
    else if (osmKey == QStringLiteral("highway"))
        place.street = name;
    place.longitude = position.at(0).toDouble();
    place.latitude = position.at(1).toDouble();
    return place;
}

} // namespace

std::vector<PhotonPlace> placesFromPhotonAnswer(const QByteArray& answer)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(answer, &error);
    if (error.error != QJsonParseError::NoError)
        fail(error.errorString());
    if (!document.isObject())
        fail(QStringLiteral("the answer is not an object"));
    const QJsonValue features = document.object().value(QLatin1String("features"));
    if (!features.isArray())
        fail(QStringLiteral("\"features\" is missing or not a list"));

    std::vector<PhotonPlace> places;
    for (const auto& feature : features.toArray()) {
        if (!feature.isObject())
            fail(QStringLiteral("a feature is not an object"));
        if (auto place = placeOf(feature.toObject()))
            places.push_back(std::move(*place));
    }
    return places;
}

} // namespace zuvo::app
