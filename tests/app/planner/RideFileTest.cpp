// Ride files of every format as the window, the device import and the command line read them,
// and what a ride recovered from a damaged file says about itself.
#include "app/planner/RideFile.h"

#include "FitFileBuilder.h"
#include "PlannerFixture.h"
#include "formats/BrytonTourWriter.h"
#include "formats/GPXWriter.h"

using namespace zuvo;
using namespace zuvo::test;
using app::RideError;
using app::RideRead;

namespace {

constexpr auto semicircles = &FitFileBuilder::semicircles;

// `points` records northwards, `metres` apart, `seconds` from the first to the last when timed;
// the file cut after its last record, as a device that lost power leaves it.
QByteArray cutRide(int points, double metres, std::optional<std::uint32_t> seconds)
{
    FitFileBuilder fit;
    if (seconds)
        fit.define(0, 20, {{253, 4}, {0, 4}, {1, 4}});
    else
        fit.define(0, 20, {{0, 4}, {1, 4}});
    const double step = metres / 111'194.9;
    for (int i = 0; i < points; ++i) {
        const auto latitude = semicircles(48.0 + i * step);
        if (seconds)
            fit.data(0, {1000 + std::uint64_t(i) * *seconds / std::uint64_t(points - 1), latitude,
                         semicircles(11.0)});
        else
            fit.data(0, {latitude, semicircles(11.0)});
    }
    const QByteArray whole = fit.build();
    return whole.left(whole.size() - 2);
}

QString notice(const QByteArray& fit)
{
    const auto ride = app::readRide("ride.FIT", fit, RideRead::recovering);
    EXPECT_TRUE(ride);
    return ride ? app::recoveryNotice(*ride) : QString();
}

} // namespace

TEST(RideFile, readsEveryFormatByItsNameAndSaysWhyNot)
{
    const QByteArray gpx = formats::GPXWriter{"Edge"}.write(
        std::vector<model::TrackSample>{{.coordinate = {48.0, 11.0}}, {.coordinate = {48.1, 11.0}}},
        "ride");
    const QByteArray track = formats::BrytonTourWriter::trackData(
        {.name = "t", .points = {{48.0, 11.0, 500.0}, {48.1, 11.0, 510.0}}});
    const QByteArray fit = cutRide(3, 100.0, 10);

    EXPECT_EQ(app::readRide("ride.gpx", gpx, RideRead::strict)->imported.tracks.at(0).size(), 2u);
    const auto bryton = app::readRide("Tour.TRACK", track, RideRead::strict);
    ASSERT_TRUE(bryton);
    EXPECT_EQ(bryton->imported.name, "Tour");
    EXPECT_EQ(bryton->imported.tracks.at(0).at(1).coordinate,
              (model::Coordinate{48.1, 11.0, 510.0}));

    const auto error = [](const QString& name, const QByteArray& bytes, RideRead mode) {
        const auto ride = app::readRide(name, bytes, mode);
        return ride ? std::nullopt : std::optional(app::rideErrorText(ride.error()));
    };
    EXPECT_EQ(error("ride.fit", gpx, RideRead::recovering), "not a FIT file");
    EXPECT_EQ(error("ride.gpx", fit, RideRead::recovering), "not a GPX file");
    EXPECT_EQ(error("ride.track", gpx, RideRead::recovering), "not a Bryton track");
    EXPECT_EQ(error("ride.fit", fit, RideRead::strict), "FIT file is truncated");
    QByteArray badCRC = fit + "xx";
    EXPECT_EQ(error("ride.fit", badCRC, RideRead::strict), "FIT file is damaged (CRC mismatch)");
    EXPECT_EQ(error("ride.fit", fit.left(20), RideRead::recovering),
              "the file is damaged before its first point");

    // Recovering, the damaged file reads up to its cut; an intact one says nothing.
    const auto recovered = app::readRide("ride.fit", fit, RideRead::recovering);
    ASSERT_TRUE(recovered);
    EXPECT_EQ(recovered->imported.tracks.at(0).size(), 3u);
    EXPECT_TRUE(recovered->damage);
    EXPECT_EQ(app::recoveryNotice(*app::readRide("ride.gpx", gpx, RideRead::recovering)), "");
}

TEST(RideFile, aRecoveredRideSaysHowFarItReaches)
{
    EXPECT_EQ(notice(cutRide(14'391, 5.0, 9'667)),
              "Recovered 14,391 points; the file is damaged after 2:41:07");
    EXPECT_EQ(notice(cutRide(2, 59.0, 59)),
              "Recovered 2 points; the file is damaged after 0:00:59");
    // Without time, the distance ridden.
    EXPECT_EQ(notice(cutRide(5, 800.0, std::nullopt)),
              "Recovered 5 points; the file is damaged after 3.2 km");
    EXPECT_EQ(notice(cutRide(1, 0.0, std::nullopt)),
              "Recovered 1 point; the file is damaged after its first point");
}
