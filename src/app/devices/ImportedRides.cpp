#include "app/devices/ImportedRides.h"

#include "app/library/SidebarModel.h"
#include "model/ShownTrack.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace zuvo::app::ImportedRides {

namespace {

QDateTime wholeSeconds(const QDateTime& time)
{
    return QDateTime::fromSecsSinceEpoch(time.toSecsSinceEpoch(), Qt::UTC);
}

QString unescaped(QString text)
{
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text;
}

} // namespace

std::optional<QDateTime> rideStart(const devices::DeviceActivity& ride)
{
    static const QRegularExpression recorded(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}-\\d{2}-\\d{2}-\\d{2}"));
    const QString name = QFileInfo(ride.name).completeBaseName();
    if (recorded.match(name).hasMatch())
        return wholeSeconds(model::ShownTrack::dateFromName(name, {}));
    if (ride.date && ride.date->isValid())
        return wholeSeconds(*ride.date);
    return std::nullopt;
}

std::optional<Key> keyOf(QByteArrayView head)
{
    // The ride file as the device import writes it: the start in the metadata, the device as
    // the track's source right after its name.
    static const QRegularExpression start(
        QStringLiteral("<metadata>\\s*<name>[^<]*</name>\\s*<time>([^<]+)</time>"));
    static const QRegularExpression device(
        QStringLiteral("<trk>\\s*<name>[^<]*</name>\\s*<src>([^<]+)</src>"));
    const QString text = QString::fromUtf8(head);
    const auto startMatch = start.match(text);
    const auto deviceMatch = device.match(text);
    if (!startMatch.hasMatch() || !deviceMatch.hasMatch())
        return std::nullopt;
    const QDateTime time = QDateTime::fromString(startMatch.captured(1), Qt::ISODate);
    if (!time.isValid())
        return std::nullopt;
    return Key{unescaped(deviceMatch.captured(1)), wholeSeconds(time)};
}

std::vector<Key> inLibrary(const QString& routesFolder)
{
    std::vector<Key> keys;
    for (const auto& item : SidebarModel::routeFiles(routesFolder, std::nullopt)) {
        QFile file(item.id);
        // The key lies within the first lines, before the first point.
        if (file.open(QIODevice::ReadOnly)) {
            if (auto key = keyOf(file.read(4096)))
                keys.push_back(std::move(*key));
        }
    }
    return keys;
}

} // namespace zuvo::app::ImportedRides
