#include "app/planner/PlannerTexts.h"

#include "model/RouteStats.h"

#include <QCoreApplication>

namespace zuvo::app::PlannerTexts {

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(PlannerTexts)
};

} // namespace

QString statusText(const model::Route& route, const std::optional<model::GradeProfile>& profile,
                   bool viaOrShapingChosen)
{
    if (route.anchors.empty())
        return viaOrShapingChosen
                   ? Texts::tr("Click the map to start a route.")
                   : Texts::tr("Choose the Via tool and click the map to start a route.");
    const int anchors = int(route.anchors.size());
    return QString::asprintf("%.1f km · %.0f m · ", route.distance() / 1000.0,
                             model::RouteStats::ascentMeters(profile)) +
           (anchors == 1 ? Texts::tr("1 anchor") : Texts::tr("%1 anchors").arg(anchors));
}

QString windowTitle(const QString& documentName, bool dirty)
{
    return documentName + (dirty ? QStringLiteral("*") : QString()) + QStringLiteral(" — Tramu");
}

EmptyState emptyState(bool viaOrShapingChosen, bool shaping)
{
    if (!viaOrShapingChosen)
        return {Texts::tr("Choose Via, then click the map"),
                Texts::tr("Press V or pick Via in the toolbar. Via points announce turns; "
                          "shaping points guide silently.")};
    if (shaping)
        return {Texts::tr("Click the map to start a route"),
                Texts::tr("Shaping points guide the route silently; Via points (V) "
                          "announce turns.")};
    return {Texts::tr("Click the map to start a route"),
            Texts::tr("Via points announce turns; shaping points guide silently.")};
}

QString poiImportToast(std::size_t count)
{
    if (count == 1)
        return Texts::tr("Imported 1 POI");
    return Texts::tr("Imported %1 POIs").arg(count);
}

QString savedLegsNote(std::size_t count)
{
    if (count == 1)
        return Texts::tr("Showing the route as saved; 1 leg is not re-routed.");
    return Texts::tr("Showing the route as saved; %1 legs are not re-routed.").arg(count);
}

QString restoreQuestion(const QString& name, const QDateTime& savedAt, const QDateTime& now)
{
    const QDateTime local = savedAt.toLocalTime();
    const QString when = local.date() == now.toLocalTime().date()
                             ? local.toString(QStringLiteral("HH:mm"))
                             : local.toString(QStringLiteral("d MMM yyyy, HH:mm"));
    return Texts::tr("Restore unsaved route '%1' from %2?").arg(name, when);
}

QString unsavedChangesQuestion(const QString& documentName)
{
    return Texts::tr("Save changes to '%1'?").arg(documentName);
}

} // namespace zuvo::app::PlannerTexts
