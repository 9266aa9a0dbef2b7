#include "app/library/SidebarModel.h"

#include "model/ShownTrack.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace zuvo::app::SidebarModel {

namespace {

std::vector<QFileInfo> gpxFiles(const QString& folder)
{
    std::vector<QFileInfo> files;
    const auto entries = QDir(folder).entryInfoList(QDir::Files, QDir::NoSort);
    for (const QFileInfo& entry : entries) {
        if (entry.suffix().toLower() == u"gpx")
            files.push_back(entry);
    }
    return files;
}

bool pathContainsKomoot(const QString& path)
{
    const auto parts = QDir::fromNativeSeparators(path).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return std::any_of(parts.begin(), parts.end(), [](const QString& part) {
        return part.contains(QLatin1String("komoot"), Qt::CaseInsensitive);
    });
}

RouteFileItem itemFor(const QFileInfo& file)
{
    const QDateTime modified = file.lastModified();
    const QString path = file.absoluteFilePath();
    const auto header = pathContainsKomoot(path) ? std::nullopt : readHeader(path);
    const QString name = file.completeBaseName();
    return {
        path, name,
        model::ShownTrack::dateFromName(
            name, modified.isValid() ? modified : QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC)),
        classify(path, header)};
}

void sortNewestFirst(std::vector<RouteFileItem>& items)
{
    std::stable_sort(
        items.begin(), items.end(),
        [](const RouteFileItem& a, const RouteFileItem& b) { return a.date > b.date; });
}

} // namespace

QString badge(RouteSource source)
{
    switch (source) {
    case RouteSource::garmin:
        return QStringLiteral("G");
    case RouteSource::bryton:
        return QStringLiteral("B");
    case RouteSource::komoot:
        return QStringLiteral("K");
    }
    return {};
}

std::vector<RouteCollection> collections(const QString& root)
{
    std::vector<RouteCollection> list;
    const auto folders = QDir(root).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo& folder : folders) {
        list.push_back({folder.fileName(), folder.fileName(),
                        int(gpxFiles(folder.absoluteFilePath()).size()),
                        folder.absoluteFilePath()});
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(list.begin(), list.end(), [&](const RouteCollection& a, const RouteCollection& b) {
        return collator.compare(a.name, b.name) < 0;
    });
    return list;
}

std::vector<RouteFileItem> routeFiles(const QString& root,
                                      const std::optional<RouteCollection>& collection)
{
    std::vector<QFileInfo> files;
    if (collection) {
        files = gpxFiles(collection->folderPath);
    } else {
        files = gpxFiles(root);
        for (const auto& c : collections(root)) {
            const auto inner = gpxFiles(c.folderPath);
            files.insert(files.end(), inner.begin(), inner.end());
        }
    }
    std::vector<RouteFileItem> items;
    items.reserve(files.size());
    for (const auto& file : files)
        items.push_back(itemFor(file));
    sortNewestFirst(items);
    return items;
}

std::vector<RouteFileItem> recent(std::vector<RouteFileItem> items, std::size_t limit)
{
    sortNewestFirst(items);
    if (items.size() > limit)
        items.resize(limit);
    return items;
}

std::vector<RouteMonthGroup> monthGroups(std::vector<RouteFileItem> items)
{
    sortNewestFirst(items);
    std::vector<RouteMonthGroup> groups;
    // Month names in the window's language.
    const QLocale language;
    for (auto& item : items) {
        const QDate day = item.date.toLocalTime().date();
        const QString id = QString::asprintf("%04d-%02d", day.year(), day.month());
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const RouteMonthGroup& g) { return g.id == id; });
        if (group == groups.end()) {
            const QDate first(day.year(), day.month(), 1);
            const QString label = first.isValid()
                                      ? language.standaloneMonthName(day.month()) +
                                            QLatin1Char(' ') + QString::number(day.year())
                                      : id;
            groups.push_back({id, label, {}});
            group = groups.end() - 1;
        }
        group->items.push_back(std::move(item));
    }
    return groups;
}

std::optional<QString> readHeader(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // A character cut at the end becomes a replacement character, as any invalid sequence.
    return QString::fromUtf8(file.read(1024));
}

std::optional<QString> creatorAttribute(const QString& text)
{
    static const QRegularExpression creator(QStringLiteral("creator=\"([^\"]*)\""));
    const auto match = creator.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

std::optional<RouteSource> classify(const QString& path, const std::optional<QString>& header)
{
    if (pathContainsKomoot(path))
        return RouteSource::komoot;
    if (!header)
        return std::nullopt;
    const QString lower = header->toLower();
    if (lower.contains(QLatin1String("komoot")))
        return RouteSource::komoot;
    const auto creator = creatorAttribute(lower);
    if (!creator)
        return std::nullopt;
    if (creator->contains(QLatin1String("garmin")))
        return RouteSource::garmin;
    if (creator->contains(QLatin1String("bryton")))
        return RouteSource::bryton;
    static const QRegularExpression recordedName(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}-\\d{2}-\\d{2}-\\d{2}"));
    if (*creator == u"zuvo" && recordedName.match(QFileInfo(path).completeBaseName()).hasMatch())
        return RouteSource::garmin;
    return std::nullopt;
}

} // namespace zuvo::app::SidebarModel
