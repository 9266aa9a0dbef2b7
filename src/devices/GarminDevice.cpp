#include "devices/GarminDevice.h"

#include <QHashFunctions>

namespace zuvo::devices {

std::size_t qHash(const GarminDevice& device, std::size_t seed) noexcept
{
    return qHashMulti(seed, device.name, device.volumeURL, device.importFolderURL,
                      int(device.layout));
}

} // namespace zuvo::devices
