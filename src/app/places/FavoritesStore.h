#pragma once

#include "app/places/FavoritePlace.h"

#include <QObject>
#include <QString>

#include <vector>

namespace zuvo::app {

// The user's favourite places, kept in favorites.json in the routes folder. A file that cannot
// be read holds no favourites; a damaged entry is skipped on its own. Every change writes the
// whole file again.
class FavoritesStore : public QObject {
    Q_OBJECT

public:
    explicit FavoritesStore(QString filePath, QObject* parent = nullptr);

    static QString defaultFilePath();

    const QString& filePath() const { return m_filePath; }
    const std::vector<FavoritePlace>& places() const { return m_places; }

    void add(FavoritePlace place);
    void remove(const QUuid& id);

signals:
    void placesChanged();

private:
    void save();

    QString m_filePath;
    std::vector<FavoritePlace> m_places;
};

} // namespace zuvo::app
