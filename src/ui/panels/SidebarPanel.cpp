#include "ui/panels/SidebarPanel.h"

#include "app/devices/DeviceWatcher.h"
#include "app/library/RouteLibrary.h"
#include "app/places/FavoritesStore.h"
#include "ui/Heading.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zuvo::ui {

namespace {

enum Role { pathRole = Qt::UserRole + 1, kindRole, deviceRole, latitudeRole, longitudeRole };
enum Kind { fileKind = 1, favoriteKind, deviceKind };

QTreeWidgetItem* section(QTreeWidget* tree, const QString& title)
{
    auto* item = new QTreeWidgetItem(tree, {title});
    QFont bold = item->font(0);
    bold.setBold(true);
    item->setFont(0, bold);
    item->setFlags(Qt::ItemIsEnabled);
    item->setExpanded(true);
    return item;
}

QTreeWidgetItem* placeholder(QTreeWidgetItem* parent, const QString& text)
{
    auto* item = new QTreeWidgetItem(parent, {text});
    item->setToolTip(0, text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setForeground(0, QColor(0x9a, 0x9a, 0x9a));
    // A hint has no second column: it keeps the whole width when a device row needs one.
    item->setFirstColumnSpanned(true);
    return item;
}

// The origin as one letter in a small outlined rounded square.
QIcon badgeIcon(const QString& letter)
{
    QPixmap pixmap(36, 36);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xc8, 0xc8, 0xc8), 2.5));
    painter.drawRoundedRect(QRectF(3, 3, 30, 30), 7, 7);
    QFont font = painter.font();
    font.setPixelSize(20);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 36, 36), Qt::AlignCenter, letter);
    return QIcon(pixmap);
}

void fileRow(QTreeWidgetItem* parent, const app::SidebarModel::RouteFileItem& file)
{
    auto* item = new QTreeWidgetItem(parent, {file.name});
    if (file.source) {
        const QString letter = app::SidebarModel::badge(*file.source);
        item->setIcon(1, badgeIcon(letter));
        item->setData(1, Qt::AccessibleTextRole, letter);
    }
    item->setData(0, pathRole, file.id);
    item->setData(0, kindRole, fileKind);
    item->setToolTip(
        0, QStringLiteral("%1\n%2\n%3")
               .arg(file.name, file.id, QLocale().toString(file.date, QLocale::ShortFormat)));
}

} // namespace

SidebarPanel::SidebarPanel(app::RouteLibrary& library, app::FavoritesStore& favorites,
                           app::DeviceWatcher& devices, QWidget* parent)
    : QWidget(parent)
    , m_library(library)
    , m_favorites(favorites)
    , m_devices(devices)
    , m_collection(new QComboBox(this))
    , m_tree(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("sidebarPanel"));
    setMinimumWidth(220);
    auto* title = heading(tr("Library"), this, 1.15);
    m_collection->setObjectName(QStringLiteral("collectionPicker"));
    m_tree->setColumnCount(2);
    m_tree->setHeaderHidden(true);
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_tree->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(title);
    layout->addWidget(m_collection);
    layout->addWidget(m_tree, 1);

    connect(&library, &app::RouteLibrary::changed, this, &SidebarPanel::rebuild);
    connect(&favorites, &app::FavoritesStore::placesChanged, this, &SidebarPanel::rebuild);
    connect(&devices, &app::DeviceWatcher::entriesChanged, this, &SidebarPanel::rebuild);
    connect(m_collection, &QComboBox::activated, this, [this](int index) {
        const QString folder = m_collection->itemData(index).toString();
        std::optional<app::SidebarModel::RouteCollection> chosen;
        for (const auto& c : m_library.collections()) {
            if (c.folderPath == folder)
                chosen = c;
        }
        m_library.selectCollection(chosen);
    });
    const auto activate = [this](QTreeWidgetItem* item) {
        switch (item->data(0, kindRole).toInt()) {
        case fileKind:
            emit openFile(item->data(0, pathRole).toString());
            break;
        case favoriteKind:
            emit showFavorite(item->data(0, latitudeRole).toDouble(),
                              item->data(0, longitudeRole).toDouble());
            break;
        case deviceKind:
            emit importFromDevice(item->data(0, deviceRole).toString());
            break;
        default:
            break;
        }
    };
    connect(m_tree, &QTreeWidget::itemActivated, this, activate);
    connect(m_tree, &QTreeWidget::itemClicked, this, activate);
    connect(m_tree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (const QString month = item->data(0, pathRole).toString(); month.startsWith("month:"))
            m_library.setExpanded(month.mid(6), true);
    });
    connect(m_tree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (const QString month = item->data(0, pathRole).toString(); month.startsWith("month:"))
            m_library.setExpanded(month.mid(6), false);
    });
    connect(m_tree, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QTreeWidgetItem* item = m_tree->itemAt(at);
        if (!item)
            return;
        QMenu menu(this);
        if (item->data(0, kindRole).toInt() == deviceKind) {
            const QString name = item->data(0, deviceRole).toString();
            connect(menu.addAction(tr("Import ride…")), &QAction::triggered, this,
                    [this, name] { emit importFromDevice(name); });
            connect(menu.addAction(tr("Send route…")), &QAction::triggered, this,
                    [this, name] { emit sendToDevice(name); });
        } else if (item->data(0, kindRole).toInt() == favoriteKind) {
            const QUuid id = QUuid::fromString(item->data(0, pathRole).toString());
            connect(menu.addAction(tr("Remove favorite")), &QAction::triggered, this,
                    [this, id] { m_favorites.remove(id); });
        } else {
            return;
        }
        menu.exec(m_tree->viewport()->mapToGlobal(at));
    });
    rebuild();
}

void SidebarPanel::rebuild()
{
    // Building the tree expands months; that must not echo back into the library mid-build.
    const QSignalBlocker quietTree(m_tree);
    const QSignalBlocker quietPicker(m_collection);
    m_collection->clear();
    m_collection->addItem(tr("All routes"), QString());
    for (const auto& c : m_library.collections())
        m_collection->addItem(QStringLiteral("%1 (%2)").arg(c.name).arg(c.count), c.folderPath);
    const auto& selected = m_library.selectedCollection();
    m_collection->setCurrentIndex(selected ? m_collection->findData(selected->folderPath) : 0);

    m_tree->clear();
    auto* recent = section(m_tree, tr("Recent"));
    for (const auto& file : m_library.recent())
        fileRow(recent, file);
    if (m_library.recent().empty())
        placeholder(recent, tr("Saved routes appear here."));

    auto* routes = section(m_tree, tr("Routes"));
    for (const auto& group : m_library.groupedItems()) {
        auto* month =
            new QTreeWidgetItem(routes, {group.label, QString::number(group.items.size())});
        month->setData(0, pathRole, QStringLiteral("month:") + group.id);
        month->setFlags(Qt::ItemIsEnabled);
        for (const auto& file : group.items)
            fileRow(month, file);
        month->setExpanded(m_library.isExpanded(group.id));
    }
    if (m_library.groupedItems().empty())
        placeholder(routes, tr("Saved routes appear here."));

    auto* favorites = section(m_tree, tr("Favorites"));
    for (const auto& place : m_favorites.places()) {
        auto* item = new QTreeWidgetItem(favorites, {place.name});
        item->setToolTip(0, place.name);
        item->setData(0, kindRole, favoriteKind);
        item->setData(0, pathRole, place.id.toString(QUuid::WithoutBraces));
        item->setData(0, latitudeRole, place.latitude);
        item->setData(0, longitudeRole, place.longitude);
    }
    if (m_favorites.places().empty())
        placeholder(favorites, tr("Starred places appear here."));

    auto* devices = section(m_tree, tr("Devices"));
    for (const auto& entry : m_devices.entries()) {
        const QString state = entry.status == app::DeviceWatcher::Status::mounted ? tr("USB volume")
                                                                                  : tr("USB (MTP)");
        auto* item = new QTreeWidgetItem(devices, {entry.name, state});
        item->setData(0, kindRole, deviceKind);
        item->setData(0, deviceRole, entry.name);
        item->setToolTip(0, entry.name + QLatin1Char('\n') +
                                tr("Click to import rides; right-click to send the route."));
    }
    if (m_devices.entries().empty())
        placeholder(devices, tr("Connect a Garmin or Bryton via USB."));
}

} // namespace zuvo::ui
