#include "app/settings/JsonFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zuvo::app::JsonFile {

std::optional<QJsonDocument> read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        return std::nullopt;
    return document;
}

bool write(const QString& path, const QJsonDocument& document)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(document.toJson(QJsonDocument::Indented));
    return file.commit();
}

} // namespace zuvo::app::JsonFile
