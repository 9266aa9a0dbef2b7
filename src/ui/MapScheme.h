#pragma once

#include <QByteArray>

namespace zuvo::ui {

// The private URL scheme the map page is served under, as in "zuvomap://map/map.html".
inline constexpr char mapSchemeName[] = "zuvomap";

// Makes the scheme known to the web engine. Must run before the application object exists.
// The scheme has a host, so the page gets the origin "zuvomap://map" (its module worker needs a
// non-opaque origin), and allows CORS so that module scripts and XMLHttpRequest work on it. It is
// deliberately not a secure scheme: the page loads its tiles over plain http from the user's tile
// server, which a secure context would block as mixed content.
void registerMapScheme();

} // namespace zuvo::ui
