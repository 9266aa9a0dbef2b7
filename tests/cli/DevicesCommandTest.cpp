// What `tramu-cli devices` lists when several sources see one device.
#include "cli/DevicesCommand.h"

#include <gtest/gtest.h>

using namespace zuvo;
using Entry = app::DeviceWatcher::Entry;
using Status = app::DeviceWatcher::Status;

TEST(DevicesCommand, listsAnMTPDeviceOnceThoughUSBSeesItToo)
{
    const std::vector<devices::GarminDevice> volumes{{.name = "Edge 840",
                                                      .volumeURL = "file:///media/ana/EDGE",
                                                      .importFolderURL = "",
                                                      .layout = devices::DeviceLayout::garmin}};
    const std::vector<devices::MTPDeviceInfo> mtp{
        {.serial = "3341", .name = "Ana's Edge", .usbAddress = {1, 7}}};
    // USB names it otherwise than MTP does; only the address is shared.
    const std::vector<Entry> watched{
        {"/media/ana/EDGE", "Edge 840", Status::mounted},
        {"Edge 1040", "Edge 1040", Status::usbPresent, devices::UsbAddress{1, 7}},
        {"Rider 420", "Rider 420", Status::usbPresent, devices::UsbAddress{1, 9}},
        {"Garmin", "Garmin", Status::usbPresent}};
    EXPECT_EQ(cli::deviceRows(volumes, mtp, watched),
              (std::vector<QStringList>{{"volume", "Edge 840", "garmin", "file:///media/ana/EDGE"},
                                        {"mtp", "Ana's Edge", "garmin", "mtp://3341"},
                                        {"usb", "Rider 420", "", ""},
                                        {"usb", "Garmin", "", ""}}));
}
