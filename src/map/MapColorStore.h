#pragma once

#include "map/MapBridge.h"

#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

class QSettings;

namespace zuvo::map {

// A part of the map the user can recolour, and the style layers that draw it.
struct MapColorComponent {
    QString id;
    QString displayName; // English; the window shows its translation (context "MapColorComponent")
    QStringList styleLayerIDs;

    bool operator==(const MapColorComponent&) const = default;

    static const std::vector<MapColorComponent>& all();
};

// Colours as "#RRGGBB" texts.
namespace MapColorHex {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

// "#" and exactly six hexadecimal digits, surrounding white space allowed.
std::optional<Rgb> rgb(const QString& text);
// The colour in upper case, "#1A2B3C".
std::optional<QString> normalized(const QString& text);

} // namespace MapColorHex

// The map's colours: each component's default from the page's own style, and the user's
// overrides, kept in the preferences under "mapColors.overrides" and pushed to the page.
class MapColorStore : public QObject {
    Q_OBJECT

public:
    static constexpr char overridesKey[] = "mapColors.overrides";
    // The flat route line's colour; the page draws it without a style layer.
    static constexpr char routeFlatDefault[] = "#FF7A18";
    // Tells the page to restore its own colour for a component.
    static constexpr char resetValue[] = "__reset__";

    MapColorStore(QSettings& settings, const QString& stylePath, QObject* parent = nullptr);

    void setBridge(MapBridge* bridge);

    const std::map<QString, QString>& defaults() const { return m_defaults; }
    const std::map<QString, QString>& overrides() const { return m_overrides; }

    // The override, else the style's default, else "#000000".
    QString hex(const QString& componentID) const;
    void set(const QString& hex, const QString& componentID);
    void reset(const QString& componentID);
    void resetAll();
    // Sends every override; for a page that has just loaded.
    void pushAll();

    // Each component's colour from the style file: the first colour paint property of its first
    // layer (the last stop of a zoom expression), as the style spells it.
    static std::map<QString, QString> parseDefaults(const QString& stylePath);

signals:
    void changed();

private:
    void save();
    void send(const QJsonObject& colors);

    QSettings& m_settings;
    std::map<QString, QString> m_defaults;
    std::map<QString, QString> m_overrides;
    QPointer<MapBridge> m_bridge;
};

} // namespace zuvo::map
