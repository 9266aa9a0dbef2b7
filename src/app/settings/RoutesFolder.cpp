#include "app/settings/RoutesFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace zuvo::app::RoutesFolder {

QString path()
{
    const QString folder = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                               .filePath(QStringLiteral("zuvo Routes"));
    QDir().mkpath(folder);
    return folder;
}

} // namespace zuvo::app::RoutesFolder
