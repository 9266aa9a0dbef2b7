#pragma once

#include "model/CostingKind.h"

#include <QString>

#include <map>

namespace zuvo::model {

// How a route is to be chosen: the vehicle and the preference values the
// user set. `values` holds only what was set; the lookup supplies defaults.
struct CostingProfile {
    CostingKind kind = CostingKind::road;
    std::map<QString, double> values = {};

    // values[key] when set, else the kind's default for that key, else 0.
    double operator[](const QString& key) const;

    bool operator==(const CostingProfile&) const = default;
};

} // namespace zuvo::model
