#pragma once

#include <QByteArray>

namespace zuvo::map {

// One file of the map page as the scheme answers it: the body (with the style's placeholders
// already filled in) and its "Content-Type".
struct MapResource {
    QByteArray body = {};
    QByteArray contentType = {};

    bool operator==(const MapResource&) const = default;
};

// Why a request for a map page file has no answer. A path that leads out of the Map folder is
// answered exactly like a missing file, so a page cannot probe the file system.
enum class MapResourceError { fileDoesNotExist };

} // namespace zuvo::map
