#include "model/CostingProfile.h"

namespace zuvo::model {

double CostingProfile::operator[](const QString& key) const
{
    if (const auto it = values.find(key); it != values.end())
        return it->second;
    for (const auto& preference : preferences(kind)) {
        if (preference.key == key)
            return preference.defaultValue;
    }
    return 0.0;
}

} // namespace zuvo::model
