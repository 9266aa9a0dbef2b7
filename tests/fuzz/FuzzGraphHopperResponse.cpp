// GraphHopper's answers on arbitrary bytes, from the body of a 2xx reply
// through the snap and segment parsers. Whatever they accept is a route of
// segments that each hold two points or more and share their boundary
// points; everything else is a Failure, never a crash.
#include "routing/Failure.h"
#include "routing/GraphHopperResponse.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    namespace gh = zuvo::routing::graphhopper;
    using zuvo::routing::Failure;
    const QByteArray body =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QJsonDocument answer;
    try {
        answer = gh::parseBody(body);
    } catch (const Failure&) {
        return 0;
    }
    try {
        gh::parseSnap(answer, {48.1, 11.5});
    } catch (const Failure&) {
    }
    try {
        const auto segments = gh::parseSegments(answer);
        if (segments.empty())
            std::abort();
        for (std::size_t i = 0; i < segments.size(); ++i) {
            if (segments[i].coordinates.size() < 2)
                std::abort();
            if (i > 0 && !(segments[i - 1].coordinates.back() == segments[i].coordinates.front()))
                std::abort();
        }
    } catch (const Failure&) {
    }
    return 0;
}
