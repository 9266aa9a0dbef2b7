// The waypoint reader on arbitrary bytes: it never fails, so only crashes,
// hangs and sanitizer reports count.
#include "formats/GPXWaypoints.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zuvo::formats::GPXWaypoints::parse(QByteArrayView(data, qsizetype(size)));
    return 0;
}
