#include "devices/CourseFileNames.h"

namespace zuvo::devices {

QString garminCourseFileName(const QString& courseName)
{
    QString name = courseName;
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    name.replace(QLatin1Char(' '), QLatin1Char('-'));
    name = stripFATInvalidCharacters(name);
    if (name.isEmpty())
        return {};
    return name + QLatin1String(".gpx");
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
