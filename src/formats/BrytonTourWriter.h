#pragma once

#include "formats/BrytonTour.h"

#include <QByteArray>

namespace zuvo::formats {

// The contents of the four files a Bryton device reads a tour from: a FIT
// course with private messages (.fit), an empty .tinfo, a 68-byte summary
// (.smy) and the track as 16-byte records (.track). All integers are
// little-endian; counts stop at 65,535.
struct BrytonTourWriter {
    static QByteArray fitData(const BrytonTour& tour);
    static QByteArray tinfoData(const BrytonTour& tour);
    static QByteArray smyData(const BrytonTour& tour);
    static QByteArray trackData(const BrytonTour& tour);
};

} // namespace zuvo::formats
