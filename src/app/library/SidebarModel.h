#pragma once

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

// The route library over the routes folder: its sub-folders as collections, the GPX files in
// them with their ride dates and origin badges, and month groups. Plain functions over the file
// system; RouteLibrary runs them off the UI thread.
namespace zuvo::app::SidebarModel {

struct RouteCollection {
    QString id;
    QString name;
    int count = 0; // GPX files directly in the folder
    QString folderPath;

    bool operator==(const RouteCollection&) const = default;
};

enum class RouteSource { garmin, bryton, komoot };

// "G", "B" or "K".
QString badge(RouteSource source);

struct RouteFileItem {
    QString id; // the file's path
    QString name;
    QDateTime date;
    std::optional<RouteSource> source;

    bool operator==(const RouteFileItem&) const = default;
};

struct RouteMonthGroup {
    QString id;    // "2024-05"
    QString label; // "May 2024"
    std::vector<RouteFileItem> items;

    bool operator==(const RouteMonthGroup&) const = default;
};

// The folder's direct sub-folders, hidden ones skipped, by name in the user's collation,
// ignoring case.
std::vector<RouteCollection> collections(const QString& root);
// The GPX files of a collection, or of the root and every collection, newest first.
std::vector<RouteFileItem> routeFiles(const QString& root,
                                      const std::optional<RouteCollection>& collection);
std::vector<RouteFileItem> recent(std::vector<RouteFileItem> items, std::size_t limit);
std::vector<RouteMonthGroup> monthGroups(std::vector<RouteFileItem> items);

// At most the first 1,024 bytes of the file as text; absent when it cannot be read.
std::optional<QString> readHeader(const QString& path);
std::optional<QString> creatorAttribute(const QString& text);
// Where a file comes from: a path through a komoot folder, komoot in the header, a Garmin or
// Bryton creator, or a ride converted by this program under its recording time's name.
std::optional<RouteSource> classify(const QString& path, const std::optional<QString>& header);

} // namespace zuvo::app::SidebarModel
