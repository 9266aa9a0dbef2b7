// The Bryton track reader on arbitrary bytes.
#include "formats/BrytonTrackReader.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto points =
        zuvo::formats::BrytonTrackReader::read(QByteArrayView(data, qsizetype(size)));
    if (points && points->size() != size / 16)
        std::abort();
    return 0;
}
