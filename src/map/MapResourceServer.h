#pragma once

#include "map/MapResource.h"
#include "map/StyleSubstitution.h"
#include "model/Result.h"

#include <QString>

namespace zuvo::map {

// Serves the files of the Map folder to the page's private URL scheme. The URL's host plays no
// part: only the path picks the file.
class MapResourceServer {
public:
    explicit MapResourceServer(QString mapFolder);

    // `urlPath` is the URL's path as it appears in the URL (percent-encoding allowed); an empty
    // path or "/" means "/map.html". A file whose name is exactly "style.json", in any sub-folder,
    // has every "{{TILES}}" replaced by `substitution.tilesBase`. Paths that leave the Map folder
    // after decoding and normalisation ("..", encoded dots, absolute paths, symbolic links
    // pointing outside) are refused as missing files.
    model::Result<MapResource, MapResourceError> serve(const QString& urlPath,
                                                       const StyleSubstitution& substitution) const;

    // "Content-Type" by file extension, compared in lower case.
    static QByteArray contentTypeFor(const QString& fileName);

private:
    QString m_mapFolder;
};

} // namespace zuvo::map
