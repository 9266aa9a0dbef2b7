// The GPX reader on arbitrary bytes. Read in two halves, cut anywhere, it
// gives what one reading gives. Whatever it accepts must survive a round
// trip: its first track written as a ride file reads back with the same
// number of points.
#include "formats/GPXImporter.h"
#include "formats/GPXWriter.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zuvo::formats;
    const QByteArrayView bytes(data, qsizetype(size));
    const auto result = GPXImporter::read(bytes);
    const auto halves =
        GPXImporter::readSplit(bytes, size ? qsizetype(data[0]) * qsizetype(size) / 256 : 0);
    if (halves.hasValue() != result.hasValue() || (result && !(*halves == *result)))
        std::abort();
    if (!result || result->tracks.empty())
        return 0;
    const GPXWriter writer{.creator = QStringLiteral("zuvo")};
    const auto& track = result->tracks.front();
    const auto again = GPXImporter::read(writer.write(track, result->name.value_or("")));
    if (!again || again->tracks.size() != 1 || again->tracks.front().size() != track.size())
        std::abort();
    return 0;
}
