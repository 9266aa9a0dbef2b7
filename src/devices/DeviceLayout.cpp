#include "devices/DeviceLayout.h"

namespace zuvo::devices {

QStringList rideFolders(DeviceLayout layout)
{
    if (layout == DeviceLayout::bryton)
        return {QStringLiteral("Tracks")};
    return {QStringLiteral("Garmin/Activities"), QStringLiteral("Garmin/Activity")};
}

} // namespace zuvo::devices
