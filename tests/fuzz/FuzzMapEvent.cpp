// The map page's events on arbitrary JSON: an event either decodes with every field it needs
// or is dropped, never a crash; what decodes survives a second decoding of itself.
#include "map/MapBridge.h"
#include "map/MapEvent.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QVariantMap>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using zuvo::map::MapEvent;
    const QJsonDocument json = QJsonDocument::fromJson(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QJsonValue body = json.isObject() ? QJsonValue(json.object()) : QJsonValue(json.array());
    const auto event = MapEvent::parse(body);
    // The page's events arrive through the web channel as variant maps.
    const auto viaChannel =
        json.isObject() ? MapEvent::parse(QJsonObject::fromVariantMap(json.object().toVariantMap()))
                        : std::nullopt;
    if (event.has_value() != viaChannel.has_value())
        std::abort();
    return 0;
}
