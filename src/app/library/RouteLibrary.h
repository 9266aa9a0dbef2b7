#pragma once

#include "app/library/SidebarModel.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <qcoro/qcorotask.h>

#include <optional>
#include <vector>

namespace zuvo::app {

class PlannerViewModel;

// The sidebar's library: what SidebarModel finds in the routes folder, scanned off the UI thread
// and scanned again when the planner reports a change of the folder or files change on disk.
class RouteLibrary : public QObject {
    Q_OBJECT

public:
    static constexpr std::size_t recentLimit = 5;

    RouteLibrary(QString root, PlannerViewModel& planner, QObject* parent = nullptr);

    const std::vector<SidebarModel::RouteCollection>& collections() const { return m_collections; }
    const std::vector<SidebarModel::RouteFileItem>& allItems() const { return m_allItems; }
    const std::vector<SidebarModel::RouteFileItem>& recent() const { return m_recent; }
    const std::vector<SidebarModel::RouteFileItem>& items() const { return m_items; }
    const std::vector<SidebarModel::RouteMonthGroup>& groupedItems() const { return m_groups; }
    const std::optional<SidebarModel::RouteCollection>& selectedCollection() const
    {
        return m_selected;
    }
    bool isExpanded(const QString& monthID) const { return m_expanded.contains(monthID); }
    void setExpanded(const QString& monthID, bool expanded);

    // Scans the folder again; a scan asked for while one runs follows it.
    QCoro::Task<> refresh();
    // Shows that collection's files, or every file.
    QCoro::Task<> selectCollection(std::optional<SidebarModel::RouteCollection> collection);

signals:
    void changed();

private:
    void watch();

    QString m_root;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    std::vector<SidebarModel::RouteCollection> m_collections;
    std::vector<SidebarModel::RouteFileItem> m_allItems;
    std::vector<SidebarModel::RouteFileItem> m_recent;
    std::vector<SidebarModel::RouteFileItem> m_items;
    std::vector<SidebarModel::RouteMonthGroup> m_groups;
    std::optional<SidebarModel::RouteCollection> m_selected;
    QSet<QString> m_expanded;
    bool m_scanning = false;
    bool m_rescan = false;
};

} // namespace zuvo::app
