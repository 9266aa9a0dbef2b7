#include "formats/FITImporter.h"

#include "formats/detail/FitCrc.h"
#include "formats/detail/Text.h"

#include <QDateTime>

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace zuvo::formats {

using model::TrackSample;

namespace {

// Seconds from the Unix epoch to the FIT epoch, 1989-12-31T00:00:00Z.
constexpr std::int64_t fitEpoch = 631'065'600;
// Degrees per semicircle: 180 / 2^31.
constexpr double degreesPerSemicircle = 180.0 / 2147483648.0;

constexpr std::uint16_t sessionMessage = 18;
constexpr std::uint16_t recordMessage = 20;
constexpr std::uint16_t coursePointMessage = 32;

struct Field {
    std::uint8_t num = 0;
    std::uint8_t size = 0;
};

struct Definition {
    std::uint16_t global = 0;
    bool bigEndian = false;
    std::vector<Field> fields = {};
    std::size_t developerBytes = 0;
    // Sum of the field sizes plus developerBytes.
    std::size_t length = 0;
};

struct ReadState {
    const std::uint8_t* bytes = nullptr;
    std::size_t end = 0;
    std::array<std::optional<Definition>, 16> definitions = {};
    std::vector<TrackSample> track = {};
    std::vector<model::Coordinate> coursePoints = {};
    std::uint32_t lastTimestamp = 0;
    bool haveTimestamp = false;
    // The first timestamp of the ride, for how far a damaged file reaches.
    std::optional<std::uint32_t> firstTimestamp = {};
    std::optional<QString> name = {};

    void setTimestamp(std::uint32_t timestamp)
    {
        lastTimestamp = timestamp;
        haveTimestamp = true;
        if (!firstTimestamp)
            firstTimestamp = timestamp;
    }

    std::uint32_t unsignedAt(std::size_t at, std::size_t size, bool bigEndian) const
    {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            const std::uint32_t byte = bytes[at + i];
            value |= byte << (8 * (bigEndian ? size - 1 - i : i));
        }
        return value;
    }

    // Reads the record at `pos` and moves `pos` past it; the error when the
    // record cannot be read.
    std::optional<FITImportError> readRecord(std::size_t& pos)
    {
        const std::uint8_t header = bytes[pos];
        if (header & 0x80) {
            // Compressed timestamp: the low five bits give the seconds
            // within a 32-second window relative to the last timestamp.
            const std::uint32_t offset = header & 0x1F;
            std::uint32_t timestamp = (lastTimestamp & ~0x1Fu) | offset;
            if (offset < (lastTimestamp & 0x1F))
                timestamp += 0x20;
            setTimestamp(timestamp);
            const auto& definition = definitions[(header >> 5) & 3];
            if (!definition)
                return FITImportError::truncated;
            return readData(*definition, pos + 1, pos);
        }
        if (header & 0x40)
            return readDefinition(header, pos);
        const auto& definition = definitions[header & 0x0F];
        if (!definition)
            return FITImportError::truncated;
        return readData(*definition, pos + 1, pos);
    }

    // Definition message: header, reserved, architecture, global number
    // (2 bytes), field count n, n × (number, size, base type), then with
    // developer data a count m and m × (number, size, developer index).
    std::optional<FITImportError> readDefinition(std::uint8_t header, std::size_t& pos)
    {
        if (pos + 6 > end)
            return FITImportError::truncated;
        Definition definition;
        definition.bigEndian = bytes[pos + 2] == 1;
        definition.global = std::uint16_t(unsignedAt(pos + 3, 2, definition.bigEndian));
        const std::size_t fieldCount = bytes[pos + 5];
        std::size_t at = pos + 6;
        if (at + 3 * fieldCount > end)
            return FITImportError::truncated;
        definition.fields.reserve(fieldCount);
        for (std::size_t i = 0; i < fieldCount; ++i, at += 3) {
            definition.fields.push_back({bytes[at], bytes[at + 1]});
            definition.length += bytes[at + 1];
        }
        if (header & 0x20) {
            if (at >= end)
                return FITImportError::truncated;
            const std::size_t developerCount = bytes[at++];
            if (at + 3 * developerCount > end)
                return FITImportError::truncated;
            for (std::size_t i = 0; i < developerCount; ++i, at += 3)
                definition.developerBytes += bytes[at + 1];
            definition.length += definition.developerBytes;
        }
        definitions[header & 0x0F] = std::move(definition);
        pos = at;
        return std::nullopt;
    }

    std::optional<FITImportError> readData(const Definition& d, std::size_t at, std::size_t& next)
    {
        if (at + d.length > end)
            return FITImportError::truncated;
        next = at + d.length;
        if (d.global == recordMessage && !d.fields.empty())
            readRecordMessage(d, at);
        else if (d.global == sessionMessage)
            readSessionMessage(d, at);
        else if (d.global == coursePointMessage)
            readCoursePoint(d, at);
        return std::nullopt;
    }

    void readSessionMessage(const Definition& d, std::size_t at)
    {
        for (const Field& field : d.fields) {
            if (field.num == 2 && field.size == 4) {
                const std::uint32_t start = unsignedAt(at, 4, d.bigEndian);
                if (start != 0xFFFFFFFF)
                    name = QStringLiteral("Ride ") +
                           QString::fromLatin1(detail::minuteText(fitEpoch + start));
            }
            at += field.size;
        }
    }

    // A course's points ahead (fields 2 and 3: latitude and longitude in
    // semicircles), listed as waypoints.
    void readCoursePoint(const Definition& d, std::size_t at)
    {
        std::optional<std::int32_t> latitude;
        std::optional<std::int32_t> longitude;
        for (const Field& field : d.fields) {
            if ((field.num == 2 || field.num == 3) && field.size == 4) {
                const auto raw = std::int32_t(unsignedAt(at, 4, d.bigEndian));
                if (raw != 0x7FFFFFFF)
                    (field.num == 2 ? latitude : longitude) = raw;
            }
            at += field.size;
        }
        if (latitude && longitude)
            coursePoints.push_back(
                {*latitude * degreesPerSemicircle, *longitude * degreesPerSemicircle});
    }

    void readRecordMessage(const Definition& d, std::size_t at)
    {
        std::optional<std::int32_t> latitude; // semicircles
        std::optional<std::int32_t> longitude;
        std::optional<double> altitude;
        std::optional<double> enhancedAltitude;
        TrackSample sample;
        for (const Field& field : d.fields) {
            const auto value = [&] { return unsignedAt(at, field.size, d.bigEndian); };
            switch (field.num) {
            case 0: // latitude, signed semicircles
            case 1: // longitude
                if (field.size == 4) {
                    const auto raw = std::int32_t(value());
                    if (raw != 0x7FFFFFFF)
                        (field.num == 0 ? latitude : longitude) = raw;
                }
                break;
            case 2: // altitude, (value / 5) − 500 m
                if (field.size == 2 && value() != 0xFFFF)
                    altitude = value() / 5.0 - 500.0;
                break;
            case 3: // heart rate, beats per minute
                if (field.size == 1 && value() != 0xFF)
                    sample.heartRate = int(value());
                break;
            case 13: // temperature, signed °C
                if (field.size == 1 && value() != 0x7F)
                    sample.temperature = int(std::int8_t(value()));
                break;
            case 73: // enhanced speed, mm/s
                if (field.size == 4 && value() != 0xFFFFFFFF)
                    sample.speedMS = value() / 1000.0;
                break;
            case 78: // enhanced altitude, (value / 5) − 500 m
                if (field.size == 4 && value() != 0xFFFFFFFF)
                    enhancedAltitude = value() / 5.0 - 500.0;
                break;
            case 253: // timestamp, seconds since the FIT epoch
                if (field.size == 4 && value() != 0xFFFFFFFF)
                    setTimestamp(value());
                break;
            default:
                break;
            }
            at += field.size;
        }
        // Exactly 0°, 0° is what devices record before their first fix, not
        // a place in the Gulf of Guinea.
        if (!latitude || !longitude || (*latitude == 0 && *longitude == 0))
            return;
        sample.coordinate = {*latitude * degreesPerSemicircle, *longitude * degreesPerSemicircle,
                             enhancedAltitude ? enhancedAltitude : altitude};
        if (haveTimestamp)
            sample.timestamp = QDateTime::fromSecsSinceEpoch(fitEpoch + lastTimestamp, Qt::UTC);
        track.push_back(std::move(sample));
    }
};

// The header's size (12 or 14), or absent when the bytes are no FIT file.
// Header: size, protocol and profile version, data size (uint32
// little-endian at 4), ".FIT" at 8, and in a 14-byte header a header CRC
// that is not checked. The file CRC follows the data.
std::optional<std::size_t> headerSize(QByteArrayView bytes)
{
    if (bytes.size() < 12 || QByteArrayView(bytes.data() + 8, 4) != QByteArrayView(".FIT"))
        return std::nullopt;
    const auto size = std::size_t(std::uint8_t(bytes[0]));
    if (size != 12 && size != 14)
        return std::nullopt;
    return size;
}

// Decodes the records from `pos` to the state's end; the error and the
// offset of the record that could not be read.
std::optional<std::pair<FITImportError, std::size_t>> decode(ReadState& state, std::size_t pos)
{
    while (pos < state.end) {
        const std::size_t at = pos;
        if (const auto error = state.readRecord(pos))
            return std::pair(*error, at);
    }
    return std::nullopt;
}

ImportedGPX imported(ReadState& state)
{
    ImportedGPX result{.name = std::move(state.name), .waypoints = std::move(state.coursePoints)};
    if (!state.track.empty())
        result.tracks.push_back(std::move(state.track));
    return result;
}

} // namespace

model::Result<ImportedGPX, FITImportError> FITImporter::read(QByteArrayView bytes)
{
    const auto header = headerSize(bytes);
    if (!header)
        return FITImportError::notFIT;
    ReadState state{.bytes = reinterpret_cast<const std::uint8_t*>(bytes.data())};
    state.end = *header + state.unsignedAt(4, 4, false);
    if (std::size_t(bytes.size()) < state.end + 2)
        return FITImportError::truncated;
    const std::uint16_t storedCrc = std::uint16_t(state.unsignedAt(state.end, 2, false));
    if (detail::fitCrc(bytes.first(qsizetype(state.end))) != storedCrc)
        return FITImportError::badCRC;
    if (const auto failure = decode(state, *header))
        return failure->first;
    return imported(state);
}

model::Result<RecoveredFIT, FITImportError> FITImporter::readRecovering(QByteArrayView bytes)
{
    const auto header = headerSize(bytes);
    if (!header)
        return FITImportError::notFIT;
    const auto size = std::size_t(bytes.size());
    ReadState state{.bytes = reinterpret_cast<const std::uint8_t*>(bytes.data())};
    const std::size_t dataSize = state.unsignedAt(4, 4, false);
    const std::size_t declaredEnd = *header + dataSize;

    std::optional<FITImportError> fileError;
    if (size < declaredEnd + 2)
        fileError = FITImportError::truncated;
    else if (detail::fitCrc(bytes.first(qsizetype(declaredEnd))) !=
             std::uint16_t(state.unsignedAt(declaredEnd, 2, false)))
        fileError = FITImportError::badCRC;

    // Messages the header does not reach are read only when the header's data
    // size was never written: a device that stopped before it closed the file.
    state.end = std::min(declaredEnd, size);
    if (fileError && dataSize == 0)
        state.end = size;

    const auto failure = decode(state, *header);
    if (!fileError && !failure)
        return RecoveredFIT{.ride = imported(state)};
    FITDamage damage{.error =
                         fileError.value_or(failure ? failure->first : FITImportError::truncated),
                     .offset = qsizetype(std::min(failure ? failure->second : state.end, size))};
    if (state.haveTimestamp && state.firstTimestamp && state.lastTimestamp >= *state.firstTimestamp)
        damage.elapsed = qint64(state.lastTimestamp - *state.firstTimestamp);
    return RecoveredFIT{.ride = imported(state), .damage = damage};
}

} // namespace zuvo::formats
