#pragma once

#include <QJsonDocument>
#include <QString>

#include <optional>

// The stores' files: JSON read whole, written pretty-printed (object keys come out sorted) and
// replaced atomically, so a crash mid-write never leaves half a file.
namespace zuvo::app::JsonFile {

// Absent when the file cannot be read or is not JSON.
std::optional<QJsonDocument> read(const QString& path);
// False when the file could not be written; the old file is then left as it was.
bool write(const QString& path, const QJsonDocument& document);

} // namespace zuvo::app::JsonFile
