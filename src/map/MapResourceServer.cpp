#include "map/MapResourceServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace zuvo::map {

namespace {

const QString styleFileName = QStringLiteral("style.json");
const QString tilesPlaceholder = QStringLiteral("{{TILES}}");

bool isInside(const QString& path, const QString& folder)
{
    return path.startsWith(folder + QLatin1Char('/'));
}

// The decoded path, with the page itself standing in for an empty one.
QString requestedPath(const QString& urlPath)
{
    const QString path = QUrl::fromPercentEncoding(urlPath.toUtf8());
    if (path.isEmpty() || path == QLatin1String("/"))
        return QStringLiteral("/map.html");
    return path;
}

// The file `path` names inside `folder`, or an empty string when it would lie outside.
QString resolve(const QString& folder, const QString& path)
{
    const QString relative = path.mid(1);
    if (relative.isEmpty() || relative.startsWith(QLatin1Char('/')))
        return {};
    const QString root = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString lexical = QDir::cleanPath(root + QLatin1Char('/') + relative);
    if (!isInside(lexical, root))
        return {};
    // Symbolic links are followed only as far as they stay inside the folder.
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
    const QString canonical = QFileInfo(lexical).canonicalFilePath();
    if (canonicalRoot.isEmpty() || !isInside(canonical, canonicalRoot))
        return {};
    return canonical;
}

} // namespace

MapResourceServer::MapResourceServer(QString mapFolder)
    : m_mapFolder(std::move(mapFolder))
{
}

model::Result<MapResource, MapResourceError>
MapResourceServer::serve(const QString& urlPath, const StyleSubstitution& substitution) const
{
    const QString path = requestedPath(urlPath);
    const QString filePath = resolve(m_mapFolder, path);
    if (filePath.isEmpty() || !QFileInfo(filePath).isFile())
        return MapResourceError::fileDoesNotExist;
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return MapResourceError::fileDoesNotExist;
    QByteArray body = file.readAll();
    // The name in the request decides, not the name of a link's target.
    const QString name = QFileInfo(path).fileName();
    if (name == styleFileName)
        body = QString::fromUtf8(body).replace(tilesPlaceholder, substitution.tilesBase).toUtf8();
    return MapResource{.body = body, .contentType = contentTypeFor(name)};
}

QByteArray MapResourceServer::contentTypeFor(const QString& fileName)
{
    const QString extension = QFileInfo(fileName).suffix().toLower();
    if (extension == QLatin1String("html"))
        return "text/html";
    if (extension == QLatin1String("js"))
        return "application/javascript";
    if (extension == QLatin1String("css"))
        return "text/css";
    if (extension == QLatin1String("json"))
        return "application/json";
    return "application/octet-stream";
}

} // namespace zuvo::map
