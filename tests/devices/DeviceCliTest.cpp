// tramu-cli's device commands, run as a script would run them, on volume
// trees in a temporary folder.
#include "formats/BrytonTourWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QStringList lines = {};
    QString errors = {};
};

class DeviceCli : public testing::Test {
protected:
    CliRun tramuCli(QStringList arguments) const
    {
        arguments << "--volumes" << m_volumes.path();
        QProcess process;
        process.start(QStringLiteral(TRAMU_CLI), arguments);
        if (!process.waitForFinished(30'000))
            return {};
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        return {process.exitCode(), out.split(u'\n', Qt::SkipEmptyParts),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QString path(const QString& relative) const { return m_volumes.filePath(relative); }
    QString url(const QString& relative) const
    {
        return QUrl::fromLocalFile(path(relative)).toString();
    }

    void make(const QString& relative, const QByteArray& content = {},
              const std::optional<QDateTime>& modified = std::nullopt) const
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path(relative)).absolutePath()));
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.flush();
        if (modified)
            file.setFileTime(*modified, QFileDevice::FileModificationTime);
    }

    QByteArray read(const QString& relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // The volumes: a Garmin that names itself, and a Bryton.
    void SetUp() override
    {
        make("EDGE/Garmin/GarminDevice.xml",
             "<Device><Description>Edge 840</Description></Device>");
        make("EDGE/Garmin/Activities/early.fit", "early ride",
             QDateTime(QDate(2024, 5, 1), QTime(7, 30), Qt::UTC));
        make("EDGE/Garmin/Activities/late.gpx", "late",
             QDateTime(QDate(2024, 5, 2), QTime(18, 0), Qt::UTC));
        make("EDGE/Garmin/Courses/Alpen.gpx", "course");
        ASSERT_TRUE(QDir().mkpath(path("RIDER/PlanTrip")));
    }

private:
    QTemporaryDir m_volumes;
};

const QByteArray ride = R"(<gpx><trk><trkseg>
    <trkpt lat="48.1" lon="11.5"><ele>520</ele></trkpt>
    <trkpt lat="48.2" lon="11.6"/></trkseg></trk></gpx>)";

} // namespace

TEST_F(DeviceCli, listsDevicesAndTheirRides)
{
    const CliRun devices = tramuCli({"devices"});
    EXPECT_EQ(devices.exitCode, 0) << devices.errors.toStdString();
    EXPECT_EQ(devices.lines.filter(QRegularExpression("^volume\t")),
              (QStringList{"volume\tEdge 840\tgarmin\t" + url("EDGE"),
                           "volume\tRIDER\tbryton\t" + url("RIDER")}));

    const CliRun rides = tramuCli({"activities", "edge 840"});
    EXPECT_EQ(rides.exitCode, 0) << rides.errors.toStdString();
    EXPECT_EQ(rides.lines, (QStringList{path("EDGE/Garmin/Activities/late.gpx") +
                                            "\tlate.gpx\t2024-05-02T18:00:00Z\t4",
                                        path("EDGE/Garmin/Activities/early.fit") +
                                            "\tearly.fit\t2024-05-01T07:30:00Z\t10"}));
    const CliRun courses = tramuCli({"activities", url("EDGE"), "--courses"});
    ASSERT_EQ(courses.lines.size(), 1);
    EXPECT_TRUE(
        courses.lines[0].startsWith(path("EDGE/Garmin/Courses/Alpen.gpx") + "\tAlpen.gpx\t"));

    const CliRun unknown = tramuCli({"activities", "Edge 1040"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(unknown.errors, "tramu-cli: no device 'Edge 1040' (see tramu-cli devices)\n");
    EXPECT_EQ(tramuCli({"activities"}).exitCode, 2);
    EXPECT_EQ(tramuCli({"activities", "RIDER", "--everything"}).exitCode, 2);
}

TEST_F(DeviceCli, fetchesOnlyWhatTheDeviceLists)
{
    make("local/early.fit", "an older and longer copy");
    const CliRun byID = tramuCli(
        {"fetch", "Edge 840", path("EDGE/Garmin/Activities/early.fit"), path("local/early.fit")});
    EXPECT_EQ(byID.exitCode, 0) << byID.errors.toStdString();
    EXPECT_EQ(read("local/early.fit"), QByteArray("early ride"));
    EXPECT_EQ(tramuCli({"fetch", "Edge 840", "Alpen.gpx", path("local/Alpen.gpx")}).exitCode, 0);
    EXPECT_EQ(read("local/Alpen.gpx"), QByteArray("course"));

    const CliRun elsewhere =
        tramuCli({"fetch", "Edge 840", path("EDGE/Garmin/GarminDevice.xml"), path("local/x")});
    EXPECT_EQ(elsewhere.exitCode, 1);
    EXPECT_FALSE(QFile::exists(path("local/x")));
}

TEST_F(DeviceCli, sendsCoursesToGarminAndToursToBryton)
{
    make("in/Alpen Tour.gpx", ride);
    const QString input = path("in/Alpen Tour.gpx");

    const CliRun garmin = tramuCli({"send", "Edge 840", input});
    EXPECT_EQ(garmin.exitCode, 0) << garmin.errors.toStdString();
    EXPECT_EQ(garmin.lines, QStringList{"Alpen-Tour.gpx\tEdge 840"});
    EXPECT_EQ(read("EDGE/Garmin/NewFiles/Alpen-Tour.gpx"), ride);
    EXPECT_EQ(tramuCli({"send", "Edge 840", input, "--name", "Runde: Süd/Nord."}).exitCode, 0);
    EXPECT_EQ(read("EDGE/Garmin/NewFiles/Runde:-Süd-Nord..gpx"), ride);

    const CliRun bryton = tramuCli({"send", "RIDER", input, "--name", "Runde: Süd/Nord."});
    EXPECT_EQ(bryton.exitCode, 0) << bryton.errors.toStdString();
    EXPECT_EQ(bryton.lines, QStringList{"Runde SüdNord\tRIDER"});
    const zuvo::formats::BrytonTour tour{.name = "Runde SüdNord",
                                         .points = {{48.1, 11.5, 520.0}, {48.2, 11.6}}};
    EXPECT_EQ(read("RIDER/PlanTrip/Runde SüdNord.fit"),
              zuvo::formats::BrytonTourWriter::fitData(tour));
    EXPECT_EQ(read("RIDER/Tracks/Runde SüdNord.track"),
              zuvo::formats::BrytonTourWriter::trackData(tour));

    // Failures print the error's rendering and exit non-zero.
    const CliRun again = tramuCli({"send", "RIDER", input, "--name", "Runde: Süd/Nord."});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.errors,
              "tramu-cli: verificationFailed(\"tour 'Runde SüdNord' already exists on the "
              "device\")\n");
    const CliRun dots = tramuCli({"send", "RIDER", input, "--name", "..."});
    EXPECT_EQ(dots.exitCode, 1);
    EXPECT_EQ(dots.errors, "tramu-cli: \"...\" has no valid characters for a device filename.\n");
    make("BLOCKED/Garmin/NewFiles");
    const CliRun blocked = tramuCli({"send", "BLOCKED", input});
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_EQ(blocked.errors,
              "tramu-cli: importFolderMissing(" + url("BLOCKED/Garmin/NewFiles") + ")\n");

    make("in/notes.gpx", "just some notes");
    const CliRun notGPX = tramuCli({"send", "Edge 840", path("in/notes.gpx")});
    EXPECT_EQ(notGPX.exitCode, 1);
    EXPECT_EQ(notGPX.errors, "tramu-cli: " + path("in/notes.gpx") + ": not a GPX file\n");
    EXPECT_EQ(QDir(path("EDGE/Garmin/NewFiles")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"Alpen-Tour.gpx", "Runde:-Süd-Nord..gpx"}));
}
