#include "devices/CourseFileNames.h"

#include <algorithm>

namespace zuvo::devices {

std::optional<QString> garminCourseFileName(const QString& courseName, QLatin1String extension)
{
    if (std::all_of(courseName.begin(), courseName.end(),
                    [](QChar c) { return c == QLatin1Char('.') || c == QLatin1Char(' '); }))
        return std::nullopt;
    QString name = courseName;
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    name.replace(QLatin1Char(' '), QLatin1Char('-'));
    name = stripFATInvalidCharacters(name);
    if (name.isEmpty())
        return std::nullopt;
    return name + extension;
}

QString stripFATInvalidCharacters(const QString& name)
{
    static const QString invalid = QStringLiteral("/\\:*?\"<>|");
    QString kept;
    kept.reserve(name.size());
    for (const QChar c : name) {
        if (!invalid.contains(c))
            kept.append(c);
    }
    while (kept.endsWith(QLatin1Char('.')) || kept.endsWith(QLatin1Char(' ')))
        kept.chop(1);
    return kept;
}

} // namespace zuvo::devices
