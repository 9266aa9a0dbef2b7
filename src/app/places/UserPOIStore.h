#pragma once

#include "formats/GPXWaypoints.h"

#include <QObject>
#include <QString>

#include <vector>

namespace zuvo::app {

// The user's own points of interest, imported from GPX waypoints, with the symbol the map draws
// them with; kept in custom-pois.json in the application's data folder.
class UserPOIStore : public QObject {
    Q_OBJECT

public:
    using Waypoint = formats::GPXWaypoints::Waypoint;

    // U+1F37A, a beer mug.
    static QString defaultGlyph();
    static QString defaultFilePath();

    // Reads {"glyph", "waypoints"} or a bare array of waypoints; anything else leaves the store
    // empty with the default glyph.
    explicit UserPOIStore(QString filePath, QObject* parent = nullptr);

    const QString& filePath() const { return m_filePath; }
    const std::vector<Waypoint>& waypoints() const { return m_waypoints; }
    const QString& glyph() const { return m_glyph; }

    void setWaypoints(std::vector<Waypoint> waypoints);
    void setGlyph(QString glyph);
    // Writes the object form, replacing the file; false when it could not be written.
    bool save() const;

signals:
    void changed();

private:
    QString m_filePath;
    std::vector<Waypoint> m_waypoints;
    QString m_glyph = defaultGlyph();
};

} // namespace zuvo::app
