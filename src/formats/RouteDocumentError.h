#pragma once

namespace zuvo::formats {

enum class RouteDocumentError {
    notARouteDocument, // no planner block, or one without a known costing kind
};

} // namespace zuvo::formats
