#include "Fixtures.h"
#include "formats/BrytonTourWriter.h"
#include "formats/BrytonTrackReader.h"
#include "formats/FITImporter.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace zuvo::formats;
using namespace zuvo::model;
using zuvo::test::testData;

namespace {

// The tour behind data/tour.*: no elevation, then 520.4 m, then −5 m.
const BrytonTour tour{.name = "Runde",
                      .points = {{48.1, 11.5}, {48.2, 11.45, 520.4}, {48.15, 11.55, -5.0}}};

template <typename T>
T at(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

} // namespace

TEST(BrytonTourWriter, writesTheFourFilesByteForByte)
{
    EXPECT_EQ(BrytonTourWriter::fitData(tour), testData("tour.fit"));
    EXPECT_EQ(BrytonTourWriter::smyData(tour), testData("tour.smy"));
    EXPECT_EQ(BrytonTourWriter::trackData(tour), testData("tour.track"));
    EXPECT_TRUE(BrytonTourWriter::tinfoData(tour).isEmpty());

    // The course passes the FIT reader's checks and holds no ride.
    const auto read = FITImporter::read(BrytonTourWriter::fitData(tour));
    ASSERT_TRUE(read.hasValue());
    EXPECT_EQ(*read, ImportedGPX{});
}

TEST(BrytonTourWriter, onePointAndEmptyTours)
{
    const BrytonTour one{.name = "x", .points = {{48.1, 11.5, 520.0}}};
    const QByteArray track = BrytonTourWriter::trackData(one);
    ASSERT_EQ(track.size(), 16);
    EXPECT_EQ(at<qint32>(track, 0), 48'100'000);
    EXPECT_EQ(at<qint32>(track, 4), 11'500'000);
    EXPECT_EQ(at<qint16>(track, 8), 540);
    EXPECT_EQ(track.mid(10), QByteArray(6, '\0'));

    const QByteArray smy = BrytonTourWriter::smyData(one);
    ASSERT_EQ(smy.size(), 68);
    EXPECT_EQ(at<quint16>(smy, 2), 1);
    EXPECT_EQ(at<qint32>(smy, 4), at<qint32>(smy, 8));
    EXPECT_EQ(at<qint32>(smy, 12), 11'500'000);
    EXPECT_EQ(at<qint32>(smy, 16), 11'500'000);
    EXPECT_EQ(at<quint32>(smy, 20), 0u);
    EXPECT_EQ(at<quint32>(smy, 60), 0u);

    const BrytonTour empty{.name = "x"};
    EXPECT_TRUE(BrytonTourWriter::trackData(empty).isEmpty());
    EXPECT_EQ(BrytonTourWriter::smyData(empty), QByteArray::fromHex("0100") + QByteArray(66, '\0'));
    EXPECT_TRUE(FITImporter::read(BrytonTourWriter::fitData(empty)).hasValue());
}

TEST(BrytonTourWriter, countsAndIndicesStopAt65535)
{
    BrytonTour big{.name = "big"};
    for (int i = 0; i < 70'000; ++i)
        big.points.push_back({48.0 + i * 1e-6, 11.0});
    EXPECT_EQ(at<quint16>(BrytonTourWriter::smyData(big), 2), 65'535);

    const QByteArray fit = BrytonTourWriter::fitData(big);
    // Summary message (local 1) follows the 12-byte definition and 5-byte
    // data of local 0 and its own 36-byte definition.
    const qsizetype summary = 14 + 12 + 5 + 36;
    EXPECT_EQ(fit[summary], 1);
    EXPECT_EQ(at<quint16>(fit, summary + 1), 65'535);
    // Point index messages (local 2, 3 bytes each) start after their
    // 9-byte definition; the last one holds 65,535.
    const qsizetype indices = summary + 31 + 9;
    EXPECT_EQ(at<quint16>(fit, indices + 3 * 65'534 + 1), 65'534);
    EXPECT_EQ(at<quint16>(fit, indices + 3 * 69'999 + 1), 65'535);
    EXPECT_TRUE(FITImporter::read(fit).hasValue());
}

TEST(BrytonTrackReader, readsRecordsInHalfMetres)
{
    const auto points = BrytonTrackReader::read(testData("tour.track"));
    ASSERT_TRUE(points.hasValue());
    EXPECT_EQ(*points, (std::vector<Coordinate>{
                           {48.1, 11.5, 0.0}, {48.2, 11.45, 520.0}, {48.15, 11.55, -5.0}}));

    const BrytonTour steps{.name = "x", .points = {{1, 2, 100.0}, {3, 4, 100.3}, {5, 6, 100.5}}};
    const auto read = BrytonTrackReader::read(BrytonTourWriter::trackData(steps));
    ASSERT_TRUE(read.hasValue());
    EXPECT_EQ(read->at(0).elevation, 100.0);
    EXPECT_EQ(read->at(1).elevation, 100.0);
    EXPECT_EQ(read->at(2).elevation, 100.5);

    // Anything but two or more whole records is malformed.
    const QByteArray three = BrytonTourWriter::trackData(steps);
    for (qsizetype size = 0; size < three.size(); ++size) {
        const auto result = BrytonTrackReader::read(three.left(size));
        EXPECT_EQ(result.hasValue(), size == 32) << size;
        if (!result) {
            EXPECT_EQ(result.error(), BrytonTrackError::malformed);
        }
    }
}
