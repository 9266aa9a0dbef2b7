#pragma once

#include <QString>

// Where route documents, imported rides and the favourites live: "zuvo Routes" in the user's
// documents folder.
namespace zuvo::app::RoutesFolder {

// The folder, created with its parents when missing; the path is returned even when it cannot
// be created.
QString path();

} // namespace zuvo::app::RoutesFolder
