// MTPSession linked with the real libmtp, on a machine without MTP devices.
#include "devices/MTPSession.h"

#include <gtest/gtest.h>

TEST(MTPSessionWithLibmtp, detectsNothingWhenNoDeviceIsAttached)
{
    std::vector<zuvo::devices::MTPDeviceInfo> devices;
    EXPECT_NO_THROW(devices = zuvo::devices::MTPSession::detect());
    EXPECT_TRUE(devices.empty());
    // A second detection after the one-time initialisation behaves the same.
    EXPECT_NO_THROW(devices = zuvo::devices::MTPSession::detect());
    EXPECT_TRUE(devices.empty());
}
