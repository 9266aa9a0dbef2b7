// The device watcher on a temporary volumes directory and a scripted USB
// probe.
#include "app/DeviceWatcher.h"

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
    std::unique_ptr<DeviceWatcher> watch()
    {
        return std::make_unique<DeviceWatcher>(
            m_volumes.path(), std::make_unique<ScriptedUsbProbe>(m_attached), false);
    }

    QString volume(const QString& name) const { return m_volumes.filePath(name); }

    QTemporaryDir m_volumes;
    std::shared_ptr<std::vector<UsbProbe::Device>> m_attached =
        std::make_shared<std::vector<UsbProbe::Device>>();
};

} // namespace

TEST(DeviceWatcher, matchesGarminAndBrytonByProductThenVendor)
{
    const auto matches = [](std::optional<QString> product, std::optional<QString> vendor) {
        return DeviceWatcher::matchesKnownVendor(product, vendor);
    };
    EXPECT_TRUE(matches("Garmin", std::nullopt));
    EXPECT_TRUE(matches("", "Garmin International"));
    EXPECT_TRUE(matches("Bike Computer", "Garmin"));
    EXPECT_TRUE(matches("Rider 420", "BRYTON INC."));
    EXPECT_TRUE(matches("EDGE (garmin)", "Acme"));
    EXPECT_FALSE(matches("Cruzer Blade", "SanDisk"));
    EXPECT_FALSE(matches(std::nullopt, std::nullopt));
    EXPECT_FALSE(matches("", ""));
}

TEST_F(Watcher, listsVolumesThenUnmountedUSBDevices)
{
    ASSERT_TRUE(QDir().mkpath(volume("GARMIN/Garmin")));
    ASSERT_TRUE(QDir().mkpath(volume("RIDER/PlanTrip")));
    *m_attached = {{.product = "Garmin", .vendor = "Garmin International"},
                   {.product = "", .vendor = "Garmin International"},
                   {.product = "Bike Computer", .vendor = "Garmin"},
                   {.product = "Cruzer Blade", .vendor = "SanDisk"},
                   {.product = "rider", .vendor = "Bryton"}};

    const auto watcher = watch();
    EXPECT_EQ(
        watcher->entries(),
        (std::vector<Entry>{{volume("GARMIN"), "GARMIN", Status::mounted},
                            {volume("RIDER"), "RIDER", Status::mounted},
                            {"Garmin International", "Garmin International", Status::usbPresent},
                            {"Bike Computer", "Bike Computer", Status::usbPresent}}));

    // Unplugging is seen at the next refresh; an unchanged list is not
    // announced again.
    QSignalSpy changed(watcher.get(), &DeviceWatcher::entriesChanged);
    m_attached->erase(m_attached->begin() + 2);
    watcher->refresh();
    watcher->refresh();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(watcher->entries().size(), 3u);
}

TEST_F(Watcher, refreshesWhenVolumesComeAndGo)
{
    const auto watcher = watch();
    EXPECT_TRUE(watcher->entries().empty());
    QSignalSpy changed(watcher.get(), &DeviceWatcher::entriesChanged);

    ASSERT_TRUE(QDir().mkpath(volume("EDGE/Garmin")));
    ASSERT_TRUE(QDir().mkpath(volume("RIDER/PlanTrip")));
    ASSERT_TRUE(changed.wait());
    EXPECT_EQ(watcher->entries(),
              (std::vector<Entry>{{volume("EDGE"), "EDGE", Status::mounted},
                                  {volume("RIDER"), "RIDER", Status::mounted}}));

    ASSERT_TRUE(QDir(volume("EDGE")).removeRecursively());
    ASSERT_TRUE(changed.wait());
    EXPECT_EQ(watcher->entries(),
              (std::vector<Entry>{{volume("RIDER"), "RIDER", Status::mounted}}));
}
