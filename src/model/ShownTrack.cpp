#include "model/ShownTrack.h"

#include <QRegularExpression>

namespace zuvo::model {

std::int64_t ShownTrack::stableHash(const QString& text)
{
    std::uint64_t hash = 0;
    for (const char32_t scalar : text.toUcs4())
        hash = hash * 31u + scalar;
    return static_cast<std::int64_t>(hash);
}

int ShownTrack::colorIndexFor(const QString& id)
{
    const std::int64_t hash = stableHash(id);
    // abs() of the most negative value overflows; its remainder is taken without it.
    const std::uint64_t magnitude =
        hash < 0 ? ~static_cast<std::uint64_t>(hash) + 1u : static_cast<std::uint64_t>(hash);
    return static_cast<int>(magnitude % colorCount);
}

QDateTime ShownTrack::dateFromName(const QString& name, const QDateTime& fallback)
{
    static const QRegularExpression withTime(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})-(\\d{2})-(\\d{2})-(\\d{2})"));
    static const QRegularExpression dayOnly(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})(?:[_-]|$)"));
    auto part = [](const QRegularExpressionMatch& m, int i) { return m.captured(i).toInt(); };

    if (const auto m = withTime.match(name); m.hasMatch()) {
        const QDate day(part(m, 1), part(m, 2), part(m, 3));
        const QTime time(part(m, 4), part(m, 5), part(m, 6));
        if (day.isValid() && time.isValid())
            return QDateTime(day, time);
    }
    if (const auto m = dayOnly.match(name); m.hasMatch()) {
        const QDate day(part(m, 1), part(m, 2), part(m, 3));
        if (day.isValid())
            return QDateTime(day, QTime(0, 0));
    }
    return fallback;
}

} // namespace zuvo::model
