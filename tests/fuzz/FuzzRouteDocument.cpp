// The route document reader on arbitrary bytes. A document it accepts must
// encode and decode again to the same anchors, costing and round trip.
#include "formats/RouteDocumentCoder.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zuvo::formats;
    const auto decoded = RouteDocumentCoder::decode(QByteArrayView(data, qsizetype(size)));
    if (!decoded)
        return 0;
    zuvo::model::Route route{.anchors = decoded->anchors, .roundTrip = decoded->roundTrip};
    const auto again = RouteDocumentCoder::decode(
        RouteDocumentCoder::encode(route, decoded->costing, decoded->name));
    if (!again || again->anchors.size() != decoded->anchors.size() ||
        again->costing.kind != decoded->costing.kind ||
        again->costing.values.size() != decoded->costing.values.size() ||
        again->roundTrip != decoded->roundTrip || again->name != decoded->name)
        std::abort();
    return 0;
}
