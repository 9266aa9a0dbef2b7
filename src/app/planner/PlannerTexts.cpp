#include "app/planner/PlannerTexts.h"

#include "model/RouteStats.h"

namespace zuvo::app::PlannerTexts {

QString statusText(const model::Route& route, const std::optional<model::GradeProfile>& profile)
{
    if (route.anchors.empty())
        return QStringLiteral("Choose the Via tool and click the map to start a route.");
    const int anchors = int(route.anchors.size());
    return QString::asprintf("%.1f km · %.0f m · %d %s", route.distance() / 1000.0,
                             model::RouteStats::ascentMeters(profile), anchors,
                             anchors == 1 ? "anchor" : "anchors");
}

QString windowTitle(const QString& documentName, bool dirty)
{
    return documentName + (dirty ? QStringLiteral("*") : QString()) + QStringLiteral(" — Tramu");
}

EmptyState emptyState(bool viaOrShapingChosen, bool shaping)
{
    if (!viaOrShapingChosen)
        return {QStringLiteral("Choose Via, then click the map"),
                QStringLiteral("Press V or pick Via in the toolbar. Via points announce turns; "
                               "shaping points guide silently.")};
    if (shaping)
        return {QStringLiteral("Click the map to start a route"),
                QStringLiteral("Shaping points guide the route silently; Via points (V) "
                               "announce turns.")};
    return {QStringLiteral("Click the map to start a route"),
            QStringLiteral("Via points announce turns; shaping points guide silently.")};
}

QString poiImportToast(std::size_t count)
{
    if (count == 1)
        return QStringLiteral("Imported 1 POI");
    return QStringLiteral("Imported %1 POIs").arg(count);
}

QString savedLegsNote(std::size_t count)
{
    if (count == 1)
        return QStringLiteral("Showing the route as saved; 1 leg is not re-routed.");
    return QStringLiteral("Showing the route as saved; %1 legs are not re-routed.").arg(count);
}

QString restoreQuestion(const QString& name, const QDateTime& savedAt, const QDateTime& now)
{
    const QDateTime local = savedAt.toLocalTime();
    const QString when = local.date() == now.toLocalTime().date()
                             ? local.toString(QStringLiteral("HH:mm"))
                             : local.toString(QStringLiteral("d MMM yyyy, HH:mm"));
    return QStringLiteral("Restore unsaved route '%1' from %2?").arg(name, when);
}

QString unsavedChangesQuestion(const QString& documentName)
{
    return QStringLiteral("Save changes to '%1'?").arg(documentName);
}

} // namespace zuvo::app::PlannerTexts
