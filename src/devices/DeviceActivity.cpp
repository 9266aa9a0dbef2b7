#include "devices/DeviceActivity.h"

#include <algorithm>

namespace zuvo::devices {

void sortNewestFirst(std::vector<DeviceActivity>& activities)
{
    std::stable_sort(activities.begin(), activities.end(),
                     [](const DeviceActivity& a, const DeviceActivity& b) {
                         if (!b.date)
                             return a.date.has_value();
                         return a.date && *a.date > *b.date;
                     });
}

} // namespace zuvo::devices
