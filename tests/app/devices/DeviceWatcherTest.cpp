// The device watcher on a temporary volumes directory and a scripted USB probe.
#include "app/devices/DeviceWatcher.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using zuvo::app::DeviceWatcher;
using zuvo::app::UsbProbe;
using Entry = DeviceWatcher::Entry;
using Status = DeviceWatcher::Status;

namespace {

// Answers with whatever the test has plugged in.
class ScriptedUsbProbe : public UsbProbe {
public:
    explicit ScriptedUsbProbe(std::shared_ptr<std::vector<Device>> attached)
        : m_attached(std::move(attached))
    {
    }

    std::vector<Device> attachedDevices() const override { return *m_attached; }

private:
    std::shared_ptr<std::vector<Device>> m_attached;
};

class Watcher : public testing::Test {
protected:
    QString volume(const QString& name) const { return m_volumes.filePath(name); }

    QTemporaryDir m_volumes;
    std::shared_ptr<std::vector<UsbProbe::Device>> m_attached =
        std::make_shared<std::vector<UsbProbe::Device>>();
    DeviceWatcher m_watcher{m_volumes.path(), std::make_unique<ScriptedUsbProbe>(m_attached),
                            false};
    QSignalSpy m_changed{&m_watcher, &DeviceWatcher::entriesChanged};
};

} // namespace

TEST(DeviceWatcher, matchesGarminAndBrytonByProductThenVendor)
{
    EXPECT_TRUE(DeviceWatcher::matchesKnownVendor("Garmin", std::nullopt));
    EXPECT_TRUE(DeviceWatcher::matchesKnownVendor("", "Garmin International"));
    EXPECT_TRUE(DeviceWatcher::matchesKnownVendor("Bike Computer", "Garmin"));
    EXPECT_TRUE(DeviceWatcher::matchesKnownVendor("Rider 420", "BRYTON INC."));
    EXPECT_FALSE(DeviceWatcher::matchesKnownVendor("Cruzer Blade", "SanDisk"));
    EXPECT_FALSE(DeviceWatcher::matchesKnownVendor(std::nullopt, std::nullopt));
}

TEST_F(Watcher, listsVolumesThenUSBDevicesNotMountedUnderTheirName)
{
    ASSERT_TRUE(QDir().mkpath(volume("GARMIN/Garmin")));
    *m_attached = {{.product = "Garmin", .vendor = "Garmin International"},
                   {.product = "", .vendor = "Garmin International", .address = {{1, 7}}},
                   {.product = "Bike Computer", .vendor = "Garmin"},
                   {.product = "Cruzer Blade", .vendor = "SanDisk"}};
    m_watcher.refresh();
    EXPECT_EQ(m_watcher.entries(),
              (std::vector<Entry>{{volume("GARMIN"), "GARMIN", Status::mounted},
                                  {"Garmin International", "Garmin International",
                                   Status::usbPresent, zuvo::devices::UsbAddress{1, 7}},
                                  {"Bike Computer", "Bike Computer", Status::usbPresent}}));

    // An unchanged list is not announced again.
    m_attached->pop_back();
    m_watcher.refresh();
    EXPECT_EQ(m_changed.count(), 1);
}

TEST_F(Watcher, refreshesWhenVolumesComeAndGo)
{
    EXPECT_TRUE(m_watcher.entries().empty());
    ASSERT_TRUE(QDir().mkpath(volume("EDGE/Garmin")));
    ASSERT_TRUE(QDir().mkpath(volume("RIDER/PlanTrip")));
    ASSERT_TRUE(m_changed.wait());
    EXPECT_EQ(m_watcher.entries(),
              (std::vector<Entry>{{volume("EDGE"), "EDGE", Status::mounted},
                                  {volume("RIDER"), "RIDER", Status::mounted}}));

    ASSERT_TRUE(QDir(volume("EDGE")).removeRecursively());
    ASSERT_TRUE(m_changed.wait());
    EXPECT_EQ(m_watcher.entries(),
              (std::vector<Entry>{{volume("RIDER"), "RIDER", Status::mounted}}));
}
