#include "formats/BrytonTrackReader.h"

#include <QtEndian>

namespace zuvo::formats {

model::Result<std::vector<model::Coordinate>, BrytonTrackError>
BrytonTrackReader::read(QByteArrayView bytes)
{
    constexpr qsizetype recordSize = 16;
    if (bytes.size() % recordSize != 0 || bytes.size() < 2 * recordSize)
        return BrytonTrackError::malformed;

    // Record: latitude and longitude as int32 millionths of a degree, the
    // elevation code as int16 (half metres − 500), then six unused bytes.
    std::vector<model::Coordinate> points;
    points.reserve(std::size_t(bytes.size() / recordSize));
    for (qsizetype at = 0; at < bytes.size(); at += recordSize) {
        const char* record = bytes.data() + at;
        const auto latitude = qFromLittleEndian<qint32>(record);
        const auto longitude = qFromLittleEndian<qint32>(record + 4);
        const auto code = qFromLittleEndian<qint16>(record + 8);
        points.push_back(
            {latitude / 1'000'000.0, longitude / 1'000'000.0, (code + 500) * 5 / 10.0});
    }
    return points;
}

} // namespace zuvo::formats
