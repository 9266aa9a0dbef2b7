#pragma once

#include "model/GradeProfile.h"
#include "model/Route.h"

#include <QDateTime>
#include <QString>

#include <optional>

// Texts the window shows that follow from the planner's state.
namespace zuvo::app::PlannerTexts {

// "Choose the Via tool and click the map to start a route." without a route, else
// "12.3 km · 250 m · 3 anchors".
QString statusText(const model::Route& route, const std::optional<model::GradeProfile>& profile,
                   bool viaOrShapingChosen);

// The main window's title: "Kandel Runde* — Tramu", the star while changes are unsaved.
QString windowTitle(const QString& documentName, bool dirty);

// The card over an empty map: what a click does with the tool chosen (with Select, nothing: it
// says how to choose Via).
struct EmptyState {
    QString title;
    QString hint;
};
EmptyState emptyState(bool viaOrShapingChosen, bool shaping);

// "Imported 1 POI", "Imported 12 POIs".
QString poiImportToast(std::size_t count);

// Follows the routing error when a plan opened while its legs could not be routed:
// "Showing the route as saved; 2 legs are not re-routed."
QString savedLegsNote(std::size_t count);

// "Restore unsaved route 'Kandel' from 16:42?", with the date when it was not today.
QString restoreQuestion(const QString& name, const QDateTime& savedAt, const QDateTime& now);

// The question before unsaved changes are thrown away.
QString unsavedChangesQuestion(const QString& documentName);

} // namespace zuvo::app::PlannerTexts
