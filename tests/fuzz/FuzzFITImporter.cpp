// The FIT readers on arbitrary bytes, both as a whole file and as the data
// section of a file with a valid header and CRC (so that mutations reach
// the record decoder instead of stopping at the CRC check). The recovering
// read must agree with the strict one wherever that one reads a file.
#include "formats/FITImporter.h"
#include "formats/detail/FitCrc.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

namespace {

using zuvo::formats::FITImporter;
using zuvo::formats::FITImportError;

void readBoth(QByteArrayView bytes)
{
    const auto strict = FITImporter::read(bytes);
    const auto recovered = FITImporter::readRecovering(bytes);
    // Every sample needs a position; a result is one track or none.
    if ((strict && strict->tracks.size() > 1) || (recovered && recovered->ride.tracks.size() > 1))
        std::abort();
    if (strict && (!recovered || recovered->damage || recovered->ride != *strict))
        std::abort();
    if (!recovered && (recovered.error() != FITImportError::notFIT || strict ||
                       strict.error() != FITImportError::notFIT))
        std::abort();
    if (recovered && recovered->damage && recovered->damage->offset > bytes.size())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    readBoth(bytes);

    QByteArray file;
    file.append(char(12)).append(char(0x20)).append(char(0x08)).append(char(0x08));
    for (int i = 0; i < 4; ++i)
        file.append(char((size >> (8 * i)) & 0xFF));
    file.append(".FIT").append(bytes);
    const std::uint16_t crc = zuvo::formats::detail::fitCrc(file);
    file.append(char(crc & 0xFF)).append(char(crc >> 8));
    readBoth(file);
    // The same data cut short and with its CRC gone, as a device that lost power leaves it.
    readBoth(QByteArrayView(file).first(file.size() - 2 - qsizetype(size / 2)));
    return 0;
}
