#include "app/places/FavoritesStore.h"

#include "app/settings/JsonFile.h"
#include "app/settings/RoutesFolder.h"

#include <QDir>
#include <QJsonArray>

#include <algorithm>

namespace zuvo::app {

FavoritesStore::FavoritesStore(QString filePath, QObject* parent)
    : QObject(parent)
    , m_filePath(std::move(filePath))
{
    const auto document = JsonFile::read(m_filePath);
    if (!document || !document->isArray())
        return;
    for (const QJsonValue& entry : document->array()) {
        if (auto place = FavoritePlace::fromJson(entry.toObject()))
            m_places.push_back(std::move(*place));
    }
}

QString FavoritesStore::defaultFilePath()
{
    return QDir(RoutesFolder::path()).filePath(QStringLiteral("favorites.json"));
}

void FavoritesStore::add(FavoritePlace place)
{
    m_places.push_back(std::move(place));
    save();
    emit placesChanged();
}

void FavoritesStore::remove(const QUuid& id)
{
    std::erase_if(m_places, [&](const FavoritePlace& p) { return p.id == id; });
    save();
    emit placesChanged();
}

void FavoritesStore::save()
{
    QJsonArray list;
    for (const auto& place : m_places)
        list.append(place.toJson());
    JsonFile::write(m_filePath, QJsonDocument(list));
}

} // namespace zuvo::app
