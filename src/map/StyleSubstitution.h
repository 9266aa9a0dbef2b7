#pragma once

#include <QString>

namespace zuvo::map {

// The values filled into the map style when the page requests it. The caller reads them from the
// settings at request time, so a changed tile server applies the next time the page loads its
// style: `tilesBase` is the server settings' tiles base (the "server.tiles" override when set and
// not empty, else the derived base of "server.base" on port 8080). It is filled in as text,
// without any check.
struct StyleSubstitution {
    QString tilesBase = {};
};

} // namespace zuvo::map
