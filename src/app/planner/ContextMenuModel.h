#pragma once

#include "map/MapEvent.h"

#include <QString>

#include <optional>
#include <vector>

namespace zuvo::app {

class PlannerViewModel;

// The map's context menu: which items a right click on the route, the map, a POI or an anchor
// offers, which of them can be used, and what they do.
struct ContextMenuItem {
    enum class Action {
        routeDetails,
        addViaHere,
        addShapingHere,
        toggleRoundTrip,
        reverseRoute,
        loopFromHere,
        poiDetails,
        saveFavorite,
        anchorDetails,
        convertAnchor,
        setStart,
        setEnd,
        deleteAnchor,
    };

    QString title;
    Action action;
    bool enabled = true;
    bool checked = false;

    bool operator==(const ContextMenuItem&) const = default;
};

// What the window opens after an item ran; the planner has done its part already.
enum class ContextMenuFollowUp {
    none,
    routeDetails,
    anchorDetails,
    poiPopover,
    favoritePrompt,
    loopSuggestions, // from the clicked spot
};

std::vector<ContextMenuItem> contextMenuItems(const map::ContextTarget& target,
                                              const PlannerViewModel& planner);

ContextMenuFollowUp perform(ContextMenuItem::Action action, const map::MapEvent::ContextMenu& at,
                            PlannerViewModel& planner);

} // namespace zuvo::app
