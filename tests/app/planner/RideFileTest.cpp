// What a ride recovered from a damaged file says about itself, as the window, the device import
// and the command line show it.
#include "app/planner/RideFile.h"

#include "FitFileBuilder.h"
#include "PlannerFixture.h"

using namespace zuvo;
using namespace zuvo::test;
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

    // Nothing before the damage is nothing to show, whatever the mode.
    const QByteArray inFirstDefinition = cutRide(3, 10.0, 10).left(20);
    for (const auto mode : {RideRead::strict, RideRead::recovering}) {
        const auto ride = app::readRide("ride.fit", inFirstDefinition, mode);
        ASSERT_FALSE(ride);
        EXPECT_EQ(app::rideErrorText(ride.error()),
                  mode == RideRead::strict ? "FIT file is truncated"
                                           : "the file is damaged before its first point");
    }
}
