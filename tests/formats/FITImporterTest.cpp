#include "formats/FITImporter.h"

#include "FitFileBuilder.h"
#include "formats/detail/FitCrc.h"

#include <QDateTime>

#include <cmath>
#include <gtest/gtest.h>

using namespace zuvo::formats;
using namespace zuvo::model;
using zuvo::test::FitFileBuilder;

namespace {

constexpr auto semicircles = &FitFileBuilder::semicircles;

constexpr std::uint16_t record = 20;
constexpr std::uint16_t session = 18;
constexpr std::int64_t fitEpoch = 631065600;

std::optional<QDateTime> fitTime(std::uint32_t seconds)
{
    return QDateTime::fromSecsSinceEpoch(fitEpoch + seconds, Qt::UTC);
}

ImportedGPX imported(const QByteArray& file)
{
    auto result = FITImporter::read(file);
    EXPECT_TRUE(result.hasValue());
    return result ? *result : ImportedGPX{};
}

FITImportError failure(const QByteArray& file)
{
    const auto result = FITImporter::read(file);
    EXPECT_FALSE(result.hasValue());
    return result ? FITImportError{} : result.error();
}

// A short valid activity: one full record and a session.
FitFileBuilder activity()
{
    FitFileBuilder fit;
    fit.define(0, record, {{253, 4}, {0, 4}, {1, 4}, {3, 1}});
    fit.data(0, {1000, semicircles(48.0), semicircles(11.0), 120});
    fit.define(1, session, {{2, 4}});
    fit.data(1, {1000});
    return fit;
}

} // namespace

TEST(FITImporter, crcIsTheProtocolsCrc16)
{
    EXPECT_EQ(zuvo::formats::detail::fitCrc(QByteArrayView("123456789")), 0xBB3D);
    EXPECT_EQ(zuvo::formats::detail::fitCrc(QByteArrayView("")), 0);
}

TEST(FITImporter, readsRecordFieldsAndTimestamps)
{
    FitFileBuilder fit;
    // Field 6 (speed) and a heart rate of the wrong size are skipped.
    fit.define(0, record,
               {{253, 4}, {0, 4}, {1, 4}, {2, 2}, {3, 1}, {13, 1}, {6, 2}, {73, 4}, {78, 4}});
    fit.data(0, {1022, semicircles(48.1), semicircles(-11.5), 2500, 142, 0xF6, 9999, 4500,
                 (520 + 500) * 5});
    // No position: no sample, but its time counts.
    fit.data(0,
             {1050, 0x7FFFFFFF, semicircles(1.0), 0xFFFF, 0xFF, 0x7F, 0, 0xFFFFFFFF, 0xFFFFFFFF});
    // 0°, 0° is a device's placeholder before its first fix: no position.
    fit.data(0, {1051, 0, 0, 0xFFFF, 0xFF, 0x7F, 0, 0xFFFFFFFF, 0xFFFFFFFF});
    fit.define(1, record, {{0, 4}, {1, 4}, {2, 2}, {3, 2}});
    fit.data(1, {semicircles(1.0), semicircles(2.0), 2500, 77});
    // A lap's timestamp does not count; a compressed header on any message does.
    fit.define(2, 19, {{253, 4}});
    fit.data(2, {5000});
    fit.compressed(2, 30, {5000});
    // Low five bits 30, offset 3: rolls over to 5 seconds later.
    fit.compressed(1, 3, {semicircles(3.0), semicircles(4.0), 0xFFFF, 0});
    fit.define(3, session, {{253, 4}, {2, 4}});
    fit.data(3, {0, 0xFFFFFFFF});
    fit.data(3, {0, 1'083'000'000});
    fit.data(3, {0, 0xFFFFFFFF});

    const auto result = imported(fit.build());
    EXPECT_EQ(result.name, QStringLiteral("Ride 2024-04-25 17:20"));
    ASSERT_EQ(result.tracks.size(), 1u);
    const auto& track = result.tracks[0];
    ASSERT_EQ(track.size(), 3u);

    EXPECT_NEAR(track[0].coordinate.latitude, 48.1, 1e-7);
    EXPECT_NEAR(track[0].coordinate.longitude, -11.5, 1e-7);
    EXPECT_EQ(track[0].coordinate.elevation, 520.0) << "enhanced altitude wins";
    EXPECT_EQ(track[0].timestamp, fitTime(1022));
    EXPECT_EQ(track[0].heartRate, 142);
    EXPECT_EQ(track[0].temperature, -10);
    EXPECT_EQ(track[0].speedMS, 4.5);

    EXPECT_EQ(track[1].coordinate.elevation, 0.0);
    EXPECT_EQ(track[1].timestamp, fitTime(1051));
    EXPECT_EQ(track[1].heartRate, std::nullopt);
    EXPECT_EQ(track[1].speedMS, std::nullopt);

    // 1051 → 1054 (compressed, offset 30) → 1059 (offset 3 rolls over).
    EXPECT_EQ(track[2].timestamp, fitTime(1059));
    EXPECT_EQ(track[2].coordinate.elevation, std::nullopt);
}

TEST(FITImporter, compressedTimestampRollsOverAndUntimedRecordsHaveNone)
{
    FitFileBuilder fit;
    fit.define(0, record, {{0, 4}, {1, 4}});
    fit.data(0, {semicircles(1.0), semicircles(1.0)});
    fit.define(1, record, {{253, 4}});
    fit.data(1, {1022}); // low five bits: 30
    fit.compressed(0, 3, {semicircles(2.0), semicircles(2.0)});
    fit.compressed(0, 31, {semicircles(3.0), semicircles(3.0)});

    const auto track = imported(fit.build(12, 0x10)).tracks.at(0);
    ASSERT_EQ(track.size(), 3u);
    EXPECT_EQ(track[0].timestamp, std::nullopt);
    EXPECT_EQ(track[1].timestamp, fitTime(1027));
    EXPECT_EQ(track[2].timestamp, fitTime(1055));
}

TEST(FITImporter, bigEndianAndDeveloperFields)
{
    FitFileBuilder fit;
    fit.define(0, record, {{0, 4}, {1, 4}, {2, 2}, {73, 4}, {253, 4}}, true);
    fit.data(0, {semicircles(-45.5), semicircles(170.25), 2600, 5250, 123456});
    fit.define(1, record, {{0, 4}, {1, 4}, {3, 1}}, false, {3, 2});
    fit.data(1, {semicircles(1.0), semicircles(2.0), 90});
    fit.data(1, {semicircles(3.0), semicircles(4.0), 91});

    // Written by an SDK that sets protocol version 2 in the header.
    const auto track = imported(fit.build(14, 0x02)).tracks.at(0);
    ASSERT_EQ(track.size(), 3u);
    EXPECT_NEAR(track[0].coordinate.latitude, -45.5, 1e-7);
    EXPECT_NEAR(track[0].coordinate.longitude, 170.25, 1e-7);
    EXPECT_EQ(track[0].coordinate.elevation, 20.0);
    EXPECT_EQ(track[0].speedMS, 5.25);
    EXPECT_EQ(track[0].timestamp, fitTime(123456));
    EXPECT_EQ(track[1].heartRate, 90);
    EXPECT_NEAR(track[2].coordinate.longitude, 4.0, 1e-7);
    EXPECT_EQ(track[2].heartRate, 91);
}

TEST(FITImporter, validatesHeaderSizeAndCrcInOrder)
{
    EXPECT_EQ(imported(FitFileBuilder().build()), ImportedGPX{});

    QByteArray file = activity().build();
    EXPECT_EQ(failure(file.left(11)), FITImportError::notFIT);
    QByteArray wrongMagic = file;
    wrongMagic[9] = 'X';
    EXPECT_EQ(failure(wrongMagic), FITImportError::notFIT);
    QByteArray wrongHeader = file;
    wrongHeader[0] = 13;
    EXPECT_EQ(failure(wrongHeader), FITImportError::notFIT);
    QByteArray badCrc = file;
    badCrc[20] = char(badCrc[20] ^ 1);
    EXPECT_EQ(failure(badCrc), FITImportError::badCRC);
    QByteArray badHeaderCrc = file;
    badHeaderCrc[12] = char(badHeaderCrc[12] ^ 1);
    EXPECT_EQ(failure(badHeaderCrc), FITImportError::badCRC) << "the file CRC covers the header";

    // Cut anywhere, the file is never read as valid.
    for (qsizetype size = 0; size < file.size(); ++size) {
        EXPECT_EQ(failure(file.left(size)),
                  size < 12 ? FITImportError::notFIT : FITImportError::truncated)
            << size;
    }
}

TEST(FITImporter, recordsThatEndBeforeTheirLengthAreTruncated)
{
    const auto withData = [](const QByteArray& tail) {
        return failure(
            FitFileBuilder().define(0, record, {{0, 4}, {1, 4}}).data(0, {1, 2}).raw(tail).build());
    };
    // Cut inside a definition's fixed part, its field list, its developer
    // count and developer list, and inside a data message.
    EXPECT_EQ(withData(QByteArray::fromHex("4100000f")), FITImportError::truncated);
    EXPECT_EQ(withData(QByteArray::fromHex("410000140002000401")), FITImportError::truncated);
    EXPECT_EQ(withData(QByteArray::fromHex("61000014000100040f")), FITImportError::truncated);
    EXPECT_EQ(withData(QByteArray::fromHex("61000014000100040f020001")), FITImportError::truncated);
    EXPECT_EQ(withData(QByteArray::fromHex("0001020304050607")), FITImportError::truncated);
    // Local types 5 and (compressed) 1 were never defined.
    EXPECT_EQ(withData(QByteArray::fromHex("05")), FITImportError::truncated);
    EXPECT_EQ(withData(QByteArray::fromHex("a3")), FITImportError::truncated);
}

namespace {

// A ride of `records` records one second apart from FIT time 1000, with a
// definition for laps (local 1) before its last record.
struct Ride {
    QByteArray file;
    std::vector<qsizetype> recordEnds; // the byte offset after each record
    qsizetype lapDefinition = 0;       // where the lap definition starts
    qsizetype dataEnd = 0;
};

Ride ride(int records)
{
    FitFileBuilder fit;
    fit.define(0, record, {{253, 4}, {0, 4}, {1, 4}});
    Ride built;
    for (int i = 0; i < records; ++i) {
        if (i == records - 1) {
            built.lapDefinition = fit.build().size() - 2;
            fit.define(1, 19, {{253, 4}, {2, 4}});
        }
        fit.data(0, {std::uint32_t(1000 + i), semicircles(48.0 + 0.001 * i), semicircles(11.0)});
        built.recordEnds.push_back(fit.build().size() - 2);
    }
    built.file = fit.build();
    built.dataEnd = built.file.size() - 2;
    return built;
}

RecoveredFIT recovered(const QByteArray& file)
{
    auto result = FITImporter::readRecovering(file);
    EXPECT_TRUE(result.hasValue());
    return result ? *result : RecoveredFIT{};
}

std::size_t points(const RecoveredFIT& result)
{
    return result.ride.tracks.empty() ? 0 : result.ride.tracks[0].size();
}

void setDataSize(QByteArray& file, std::uint32_t size)
{
    for (int i = 0; i < 4; ++i)
        file[4 + i] = char((size >> (8 * i)) & 0xFF);
}

} // namespace

TEST(FITImporter, recoveringReadKeepsEveryRecordBeforeTheDamage)
{
    const Ride intact = ride(10);
    const auto whole = recovered(intact.file);
    EXPECT_EQ(whole.ride, *FITImporter::read(intact.file));
    EXPECT_EQ(whole.damage, std::nullopt);

    // Cut right after the seventh record: the header still declares it all.
    const QByteArray cut = intact.file.left(intact.recordEnds[6]);
    EXPECT_EQ(failure(cut), FITImportError::truncated);
    auto result = recovered(cut);
    ASSERT_EQ(points(result), 7u);
    EXPECT_EQ(result.ride.tracks[0][6].timestamp, fitTime(1006));
    EXPECT_EQ(result.damage, (FITDamage{FITImportError::truncated, cut.size(), 6}));

    // Cut inside the lap definition before the last record.
    const QByteArray inDefinition = intact.file.left(intact.lapDefinition + 7);
    EXPECT_EQ(failure(inDefinition), FITImportError::truncated);
    result = recovered(inDefinition);
    EXPECT_EQ(points(result), 9u);
    EXPECT_EQ(result.damage, (FITDamage{FITImportError::truncated, intact.lapDefinition, 8}));

    // A flipped CRC over intact messages: all of them, the damage at the data end.
    QByteArray badCrc = intact.file;
    badCrc[badCrc.size() - 1] = char(badCrc[badCrc.size() - 1] ^ 0x40);
    EXPECT_EQ(failure(badCrc), FITImportError::badCRC);
    result = recovered(badCrc);
    EXPECT_EQ(result.ride, whole.ride);
    EXPECT_EQ(result.damage, (FITDamage{FITImportError::badCRC, intact.dataEnd, 9}));

    // A header whose data size runs past the end, without a CRC after the data.
    QByteArray pastTheEnd = intact.file.left(intact.dataEnd);
    setDataSize(pastTheEnd, std::uint32_t(intact.dataEnd - 14 + 4000));
    EXPECT_EQ(failure(pastTheEnd), FITImportError::truncated);
    result = recovered(pastTheEnd);
    EXPECT_EQ(result.ride, whole.ride);
    EXPECT_EQ(result.damage, (FITDamage{FITImportError::truncated, intact.dataEnd, 9}));

    // A header whose data size was never written: the messages run to the end.
    QByteArray unfinished = intact.file.left(intact.recordEnds[4]);
    setDataSize(unfinished, 0);
    EXPECT_EQ(failure(unfinished), FITImportError::badCRC);
    result = recovered(unfinished);
    EXPECT_EQ(points(result), 5u);
    EXPECT_EQ(result.damage, (FITDamage{FITImportError::badCRC, unfinished.size(), 4}));

    // A record whose local type was never defined, under a matching CRC.
    const QByteArray undefined = FitFileBuilder(activity()).raw(QByteArray::fromHex("05")).build();
    EXPECT_EQ(failure(undefined), FITImportError::truncated);
    result = recovered(undefined);
    EXPECT_EQ(points(result), 1u);
    EXPECT_EQ(result.damage->offset, undefined.size() - 3);
    EXPECT_EQ(result.damage->elapsed, 0);
}

TEST(FITImporter, recoveringReadFailsOnlyWithoutAFitHeader)
{
    const Ride intact = ride(6);
    EXPECT_EQ(FITImporter::readRecovering(intact.file.left(11)).error(), FITImportError::notFIT);
    QByteArray wrongHeader = intact.file;
    wrongHeader[0] = 13;
    EXPECT_EQ(FITImporter::readRecovering(wrongHeader).error(), FITImportError::notFIT);

    // Cut anywhere past the signature: a result, never more points than a
    // longer cut, and damage wherever the strict read fails.
    std::size_t before = 0;
    for (qsizetype size = 12; size <= intact.file.size(); ++size) {
        const QByteArray cut = intact.file.left(size);
        const auto result = recovered(cut);
        ASSERT_GE(points(result), before) << size;
        before = points(result);
        EXPECT_EQ(result.damage.has_value(), !FITImporter::read(cut).hasValue()) << size;
        EXPECT_LE(result.damage.value_or(FITDamage{}).offset, size);
    }
    EXPECT_EQ(before, 6u);

    // A ride without timestamps says nothing about its time.
    FitFileBuilder untimed;
    untimed.define(0, record, {{0, 4}, {1, 4}});
    untimed.data(0, {semicircles(1.0), semicircles(2.0)});
    const QByteArray file = untimed.build();
    EXPECT_EQ(recovered(file.left(file.size() - 1)).damage->elapsed, std::nullopt);
}
