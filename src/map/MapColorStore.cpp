#include "map/MapColorStore.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>

namespace zuvo::map {

const std::vector<MapColorComponent>& MapColorComponent::all()
{
    static const std::vector<MapColorComponent> components{
        {"background",
         QT_TRANSLATE_NOOP("MapColorComponent", "Background"),
         {"background", "earth"}},
        {"landuse-park", QT_TRANSLATE_NOOP("MapColorComponent", "Parks"), {"landuse-park"}},
        {"natural-wood", QT_TRANSLATE_NOOP("MapColorComponent", "Forest"), {"natural-wood"}},
        {"water", QT_TRANSLATE_NOOP("MapColorComponent", "Water"), {"water"}},
        {"roads-minor", QT_TRANSLATE_NOOP("MapColorComponent", "Minor roads"), {"roads-minor"}},
        {"roads-medium", QT_TRANSLATE_NOOP("MapColorComponent", "Medium roads"), {"roads-medium"}},
        {"roads-major", QT_TRANSLATE_NOOP("MapColorComponent", "Major roads"), {"roads-major"}},
        {"roads-path", QT_TRANSLATE_NOOP("MapColorComponent", "Paths"), {"roads-path"}},
        {"boundaries", QT_TRANSLATE_NOOP("MapColorComponent", "Boundaries"), {"boundaries"}},
        {"places-labels",
         QT_TRANSLATE_NOOP("MapColorComponent", "Place labels"),
         {"places-labels"}},
        {"roads-labels",
         QT_TRANSLATE_NOOP("MapColorComponent", "Road labels"),
         {"roads-labels", "roads-labels-minor"}},
        {"zuvo-cycle-line",
         QT_TRANSLATE_NOOP("MapColorComponent", "Cycle network"),
         {"zuvo-cycle-line"}},
        {"route-flat", QT_TRANSLATE_NOOP("MapColorComponent", "Route (flat)"), {}},
    };
    return components;
}

namespace MapColorHex {

std::optional<Rgb> rgb(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.size() != 7 || !trimmed.startsWith(QLatin1Char('#')))
        return std::nullopt;
    bool ok = false;
    const uint value = trimmed.mid(1).toUInt(&ok, 16);
    // toUInt accepts a sign and a "0x" prefix; only the six digits themselves count.
    const bool digitsOnly = std::all_of(trimmed.begin() + 1, trimmed.end(), [](QChar c) {
        return c.isDigit() || (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'));
    });
    if (!ok || !digitsOnly)
        return std::nullopt;
    return Rgb{int((value >> 16) & 0xFF), int((value >> 8) & 0xFF), int(value & 0xFF)};
}

std::optional<QString> normalized(const QString& text)
{
    const auto color = rgb(text);
    if (!color)
        return std::nullopt;
    return QString::asprintf("#%02X%02X%02X", color->red, color->green, color->blue);
}

} // namespace MapColorHex

MapColorStore::MapColorStore(QSettings& settings, const QString& stylePath, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_defaults(parseDefaults(stylePath))
{
    const QJsonDocument saved =
        QJsonDocument::fromJson(m_settings.value(QLatin1String(overridesKey)).toByteArray());
    const QJsonObject object = saved.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.value().isString())
            m_overrides[it.key()] = it.value().toString();
    }
}

void MapColorStore::setBridge(MapBridge* bridge)
{
    m_bridge = bridge;
}

std::map<QString, QString> MapColorStore::parseDefaults(const QString& stylePath)
{
    std::map<QString, QString> defaults{{QStringLiteral("route-flat"), routeFlatDefault}};
    QFile file(stylePath);
    if (!file.open(QIODevice::ReadOnly))
        return defaults;
    const QJsonValue layers = QJsonDocument::fromJson(file.readAll()).object().value(u"layers");
    if (!layers.isArray())
        return defaults;

    std::map<QString, QJsonObject> paints;
    for (const QJsonValue& layer : layers.toArray()) {
        const QJsonValue id = layer.toObject().value(u"id");
        const QJsonValue paint = layer.toObject().value(u"paint");
        if (id.isString() && paint.isObject())
            paints.emplace(id.toString(), paint.toObject());
    }
    for (const auto& component : MapColorComponent::all()) {
        if (component.styleLayerIDs.isEmpty())
            continue;
        const auto paint = paints.find(component.styleLayerIDs.first());
        if (paint == paints.end())
            continue;
        for (const char* key : {"background-color", "fill-color", "line-color", "text-color"}) {
            const QJsonValue value = paint->second.value(QLatin1String(key));
            // A zoom expression ends in the colour of its last stop.
            const QJsonValue color = value.isArray() ? value.toArray().last() : value;
            if (color.isString()) {
                defaults[component.id] = color.toString();
                break;
            }
        }
    }
    return defaults;
}

QString MapColorStore::hex(const QString& componentID) const
{
    if (const auto it = m_overrides.find(componentID); it != m_overrides.end())
        return it->second;
    if (const auto it = m_defaults.find(componentID); it != m_defaults.end())
        return it->second;
    return QStringLiteral("#000000");
}

void MapColorStore::set(const QString& hex, const QString& componentID)
{
    m_overrides[componentID] = hex;
    save();
    emit changed();
    send({{componentID, hex}});
}

void MapColorStore::reset(const QString& componentID)
{
    if (m_overrides.erase(componentID) == 0)
        return;
    save();
    emit changed();
    // The page restores each of the component's layers to its own style colour; a default sent
    // from here would paint the first layer's colour on all of them.
    send({{componentID, QLatin1String(resetValue)}});
}

void MapColorStore::resetAll()
{
    if (m_overrides.empty())
        return;
    QJsonObject colors;
    for (const auto& [id, hex] : m_overrides)
        colors[id] = QLatin1String(resetValue);
    m_overrides.clear();
    save();
    emit changed();
    send(colors);
}

void MapColorStore::pushAll()
{
    if (m_overrides.empty())
        return;
    QJsonObject colors;
    for (const auto& [id, hex] : m_overrides)
        colors[id] = hex;
    send(colors);
}

void MapColorStore::save()
{
    QJsonObject object;
    for (const auto& [id, hex] : m_overrides)
        object[id] = hex;
    m_settings.setValue(QLatin1String(overridesKey),
                        QJsonDocument(object).toJson(QJsonDocument::Compact));
}

void MapColorStore::send(const QJsonObject& colors)
{
    if (m_bridge)
        m_bridge->send(QStringLiteral("setMapColors"), colors);
}

} // namespace zuvo::map
