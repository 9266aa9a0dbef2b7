#pragma once

#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;
class QComboBox;

namespace zuvo::app {
class DeviceWatcher;
class FavoritesStore;
class RouteLibrary;
} // namespace zuvo::app

namespace zuvo::ui {

// The sidebar: the library of the routes folder (recent files, collections, months), the
// favourite places and the connected bike computers.
class SidebarPanel : public QWidget {
    Q_OBJECT

public:
    SidebarPanel(app::RouteLibrary& library, app::FavoritesStore& favorites,
                 app::DeviceWatcher& devices, QWidget* parent = nullptr);

    QTreeWidget* tree() const { return m_tree; }

signals:
    void openFile(const QString& path);
    void showFavorite(double latitude, double longitude);
    void importFromDevice(const QString& deviceName);
    void sendToDevice(const QString& deviceName);

private:
    void rebuild();

    app::RouteLibrary& m_library;
    app::FavoritesStore& m_favorites;
    app::DeviceWatcher& m_devices;
    QComboBox* m_collection;
    QTreeWidget* m_tree;
};

} // namespace zuvo::ui
