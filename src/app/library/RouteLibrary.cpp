#include "app/library/RouteLibrary.h"

#include "app/planner/PlannerViewModel.h"

#include <QtConcurrent/QtConcurrentRun>

#include <qcoro/qcorofuture.h>

namespace zuvo::app {

using namespace SidebarModel;

namespace {

struct Scan {
    std::vector<RouteCollection> collections;
    std::vector<RouteFileItem> allItems;
    std::optional<std::vector<RouteFileItem>> selectedItems;
};

Scan scan(const QString& root, const std::optional<RouteCollection>& selected)
{
    Scan result{collections(root), routeFiles(root, std::nullopt), std::nullopt};
    if (selected) {
        // The selection holds while its folder is still listed as the same collection.
        const auto still = std::find_if(
            result.collections.begin(), result.collections.end(),
            [&](const RouteCollection& c) { return c.folderPath == selected->folderPath; });
        if (still != result.collections.end())
            result.selectedItems = routeFiles(root, *still);
    }
    return result;
}

} // namespace

RouteLibrary::RouteLibrary(QString root, PlannerViewModel& planner, QObject* parent)
    : QObject(parent)
    , m_root(std::move(root))
{
    // Copying or saving many files at once reports many changes; one scan follows the last.
    m_settle.setSingleShot(true);
    m_settle.setInterval(250);
    connect(&m_settle, &QTimer::timeout, this, [this] { refresh(); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle,
            qOverload<>(&QTimer::start));
    connect(&planner, &PlannerViewModel::routesFolderGenerationChanged, this,
            [this] { refresh(); });
}

void RouteLibrary::setExpanded(const QString& monthID, bool expanded)
{
    if (m_expanded.contains(monthID) == expanded)
        return;
    if (expanded)
        m_expanded.insert(monthID);
    else
        m_expanded.remove(monthID);
    emit changed();
}

void RouteLibrary::watch()
{
    QStringList folders{m_root};
    for (const auto& c : m_collections)
        folders.append(c.folderPath);
    const QStringList watched = m_watcher.directories();
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    m_watcher.addPaths(folders);
}

QCoro::Task<> RouteLibrary::refresh()
{
    if (m_scanning) {
        m_rescan = true;
        co_return;
    }
    QPointer self(this);
    m_scanning = true;
    do {
        m_rescan = false;
        const std::optional<RouteCollection> scannedFor = m_selected;
        Scan result = co_await QtConcurrent::run(scan, m_root, scannedFor);
        if (!self)
            co_return;
        // A collection chosen during the scan is not in its result; the next pass shows it.
        if (m_selected != scannedFor)
            continue;
        m_collections = std::move(result.collections);
        m_allItems = std::move(result.allItems);
        m_recent = SidebarModel::recent(m_allItems, recentLimit);
        if (result.selectedItems) {
            m_items = std::move(*result.selectedItems);
        } else {
            m_selected.reset();
            m_items = m_allItems;
        }
        m_groups = monthGroups(m_items);
        if (m_expanded.isEmpty() && !m_groups.empty())
            m_expanded.insert(m_groups.front().id);
        watch();
        emit changed();
    } while (m_rescan);
    m_scanning = false;
}

QCoro::Task<> RouteLibrary::selectCollection(std::optional<RouteCollection> collection)
{
    m_selected = std::move(collection);
    co_await refresh();
}

} // namespace zuvo::app
