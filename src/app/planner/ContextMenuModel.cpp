#include "app/planner/ContextMenuModel.h"

#include "app/planner/PlannerViewModel.h"

#include <QCoreApplication>

namespace zuvo::app {

using Action = ContextMenuItem::Action;
using map::ContextTarget;

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(ContextMenu)
};

} // namespace

std::vector<ContextMenuItem> contextMenuItems(const ContextTarget& target,
                                              const PlannerViewModel& planner)
{
    if (const auto* poi = std::get_if<ContextTarget::POI>(&target.value)) {
        const auto& pois = planner.pois();
        const bool known = std::any_of(pois.begin(), pois.end(),
                                       [&](const map::POIItem& p) { return p.id == poi->id; });
        return {{Texts::tr("Details"), Action::poiDetails, known},
                {Texts::tr("Save as favorite"), Action::saveFavorite, known},
                {Texts::tr("Add via here"), Action::addViaHere}};
    }
    if (std::holds_alternative<ContextTarget::Anchor>(target.value)) {
        return {{Texts::tr("Details"), Action::anchorDetails},
                {Texts::tr("Convert to Via/Shaping point"), Action::convertAnchor},
                {Texts::tr("Set as Start"), Action::setStart},
                {Texts::tr("Set as End"), Action::setEnd},
                {Texts::tr("Delete"), Action::deleteAnchor}};
    }
    const bool routed = planner.route().anchors.size() > 1;
    return {{Texts::tr("Details…"), Action::routeDetails},
            {Texts::tr("Add via here"), Action::addViaHere},
            {Texts::tr("Add shaping point here"), Action::addShapingHere},
            {Texts::tr("Round Trip"), Action::toggleRoundTrip, routed, planner.route().roundTrip},
            {Texts::tr("Reverse route"), Action::reverseRoute, routed},
            {Texts::tr("Loop from here…"), Action::loopFromHere}};
}

ContextMenuFollowUp perform(Action action, const map::MapEvent::ContextMenu& at,
                            PlannerViewModel& planner)
{
    const auto anchor = std::get_if<ContextTarget::Anchor>(&at.target.value);
    const auto poi = std::get_if<ContextTarget::POI>(&at.target.value);
    auto selectPOI = [&] {
        const auto& pois = planner.pois();
        const auto it = std::find_if(pois.begin(), pois.end(),
                                     [&](const map::POIItem& p) { return poi && p.id == poi->id; });
        if (it != pois.end())
            planner.setSelectedPOI(*it);
    };
    switch (action) {
    case Action::routeDetails:
        return ContextMenuFollowUp::routeDetails;
    case Action::addViaHere:
        planner.addViaAt(at.lng, at.lat);
        return ContextMenuFollowUp::none;
    case Action::addShapingHere:
        planner.addShapingAt(at.lng, at.lat);
        return ContextMenuFollowUp::none;
    case Action::toggleRoundTrip:
        planner.setRoundTrip(!planner.route().roundTrip);
        return ContextMenuFollowUp::none;
    case Action::reverseRoute:
        planner.reverseRoute();
        return ContextMenuFollowUp::none;
    case Action::loopFromHere:
        return ContextMenuFollowUp::loopSuggestions;
    case Action::poiDetails:
        selectPOI();
        return ContextMenuFollowUp::poiPopover;
    case Action::saveFavorite:
        selectPOI();
        return ContextMenuFollowUp::favoritePrompt;
    case Action::anchorDetails:
        if (!anchor)
            return ContextMenuFollowUp::none;
        planner.setSelectedAnchorID(anchor->id);
        planner.pushAnchors();
        return ContextMenuFollowUp::anchorDetails;
    case Action::convertAnchor:
        if (anchor)
            planner.convertAnchor(anchor->id);
        return ContextMenuFollowUp::none;
    case Action::setStart:
        if (anchor)
            planner.makeStart(anchor->id);
        return ContextMenuFollowUp::none;
    case Action::setEnd:
        if (anchor)
            planner.makeEnd(anchor->id);
        return ContextMenuFollowUp::none;
    case Action::deleteAnchor:
        if (anchor) {
            planner.setSelectedAnchorID(anchor->id);
            planner.removeSelectedAnchor();
        }
        return ContextMenuFollowUp::none;
    }
    return ContextMenuFollowUp::none;
}

} // namespace zuvo::app
