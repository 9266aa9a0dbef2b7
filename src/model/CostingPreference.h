#pragma once

#include <QString>

namespace zuvo::model {

// One routing preference slider: the key stored in a profile's values, its
// caption and its default fraction (0…1).
struct CostingPreference {
    QString key;
    QString label; // English; the window shows its translation (context "CostingPreference")
    double defaultValue = 0.0;

    bool operator==(const CostingPreference&) const = default;
};

} // namespace zuvo::model
