// The FIT reader on arbitrary bytes, both as a whole file and as the data
// section of a file with a valid header and CRC (so that mutations reach
// the record decoder instead of stopping at the CRC check).
#include "formats/FITImporter.h"
#include "formats/detail/FitCrc.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using zuvo::formats::FITImporter;
    const QByteArrayView bytes(data, qsizetype(size));
    FITImporter::read(bytes);

    QByteArray file;
    file.append(char(12)).append(char(0x20)).append(char(0x08)).append(char(0x08));
    for (int i = 0; i < 4; ++i)
        file.append(char((size >> (8 * i)) & 0xFF));
    file.append(".FIT").append(bytes);
    const std::uint16_t crc = zuvo::formats::detail::fitCrc(file);
    file.append(char(crc & 0xFF)).append(char(crc >> 8));
    const auto result = FITImporter::read(file);
    // Every sample needs a position; a result is one track or none.
    if (result && result->tracks.size() > 1)
        std::abort();
    return 0;
}
