// tramu-cli's device commands, run as a script runs them, on volume trees in
// a temporary folder.
#include "DeviceTesting.h"
#include "formats/BrytonTourWriter.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

struct Outcome {
    int exitCode = -1;
    QStringList lines = {};
    QString errors = {};
};

class DeviceCli : public testing::Test, protected zuvo::test::VolumeTree {
protected:
    Outcome tramuCli(QStringList arguments, const QString& workingDirectory = {}) const
    {
        QProcess process;
        process.setWorkingDirectory(workingDirectory);
        process.start(TRAMU_CLI, arguments << "--volumes" << root());
        if (!process.waitForFinished(30'000))
            return {};
        return {process.exitCode(),
                QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                QString::fromUtf8(process.readAllStandardError())};
    }

    void SetUp() override
    {
        make("EDGE/Garmin/GarminDevice.xml",
             "<Device><Description>Edge 840</Description></Device>");
        make("EDGE/Garmin/Activities/early.fit", "early ride", zuvo::test::day(1));
        make("EDGE/Garmin/Activities/late.gpx", "late", zuvo::test::day(2));
        make("EDGE/Garmin/Courses/Alpen.gpx", "course");
        make("RIDER/PlanTrip/x");
        make("in/Alpen Tour.gpx", ride);
    }

    const QByteArray ride = R"(<gpx><trk><trkseg><trkpt lat="48.1" lon="11.5"><ele>520</ele>
        </trkpt><trkpt lat="48.2" lon="11.6"/></trkseg></trk></gpx>)";
};

} // namespace

TEST_F(DeviceCli, listsDevicesAndFetchesWhatTheyList)
{
    const Outcome devices = tramuCli({"devices"});
    EXPECT_EQ(devices.exitCode, 0) << devices.errors.toStdString();
    EXPECT_EQ(devices.lines.filter(QRegularExpression("^volume\t")),
              (QStringList{"volume\tEdge 840\tgarmin\t" + url("EDGE"),
                           "volume\tRIDER\tbryton\t" + url("RIDER")}));

    const QString rides = path("EDGE/Garmin/Activities/");
    EXPECT_EQ(tramuCli({"activities", "edge 840"}).lines,
              (QStringList{rides + "late.gpx\tlate.gpx\t2024-05-02T07:30:00Z\t4",
                           rides + "early.fit\tearly.fit\t2024-05-01T07:30:00Z\t10"}));
    EXPECT_EQ(tramuCli({"activities", url("EDGE"), "--courses"}).lines.size(), 1);

    EXPECT_EQ(tramuCli({"fetch", "Edge 840", rides + "early.fit", path("out.fit")}).exitCode, 0);
    EXPECT_EQ(read("out.fit"), QByteArray("early ride"));
    EXPECT_EQ(tramuCli({"fetch", "Edge 840", "Alpen.gpx", path("out.fit")}).exitCode, 0);
    EXPECT_EQ(read("out.fit"), QByteArray("course"));
    // Nothing but what the device lists.
    EXPECT_EQ(tramuCli({"fetch", "EDGE", path("EDGE/Garmin/GarminDevice.xml"), path("x")}).exitCode,
              1);
    EXPECT_FALSE(QFile::exists(path("x")));

    // Never onto the ride itself, whether named by its path or, inside its
    // folder, by its name.
    const QString ride = rides + "early.fit";
    const Outcome ontoItself = tramuCli({"fetch", "Edge 840", "early.fit", ride});
    EXPECT_EQ(ontoItself.exitCode, 1);
    EXPECT_EQ(ontoItself.errors, "tramu-cli: Cannot download a file onto itself (" + ride + ").\n");
    EXPECT_EQ(tramuCli({"fetch", "Edge 840", "early.fit", "early.fit"}, rides).exitCode, 1);
    EXPECT_EQ(read("EDGE/Garmin/Activities/early.fit"), QByteArray("early ride"));
    EXPECT_EQ(entries("EDGE/Garmin/Activities"), (QStringList{"early.fit", "late.gpx"}));

    const Outcome unknown = tramuCli({"activities", "Edge 1040"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(unknown.errors, "tramu-cli: no device 'Edge 1040' (see tramu-cli devices)\n");
    EXPECT_EQ(tramuCli({"activities", "RIDER", "--everything"}).exitCode, 2);
}

TEST_F(DeviceCli, sendsCoursesToGarminAndToursToBryton)
{
    const QString input = path("in/Alpen Tour.gpx");
    const Outcome garmin = tramuCli({"send", "Edge 840", input});
    EXPECT_EQ(garmin.lines, QStringList{"Alpen-Tour.gpx\tEdge 840"}) << garmin.errors.toStdString();
    EXPECT_EQ(read("EDGE/Garmin/NewFiles/Alpen-Tour.gpx"), ride);
    EXPECT_EQ(tramuCli({"send", "Edge 840", input, "--name", "Runde: Süd/Nord."}).exitCode, 0);
    EXPECT_EQ(read("EDGE/Garmin/NewFiles/Runde-Süd-Nord.gpx"), ride);
    // The same course again: refused, naming the file, unless replaced.
    const Outcome again = tramuCli({"send", "Edge 840", input, "--fit"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.errors, "tramu-cli: a course named 'Alpen Tour' is already on Edge 840: " +
                                path("EDGE/Garmin/NewFiles/Alpen-Tour.gpx") +
                                " (--replace replaces it)\n");
    EXPECT_EQ(read("EDGE/Garmin/NewFiles/Alpen-Tour.gpx"), ride);
    const Outcome fit =
        tramuCli({"send", "Edge 840", input, "--fit", "--profile", "road", "--replace"});
    EXPECT_EQ(fit.lines, QStringList{"Alpen-Tour.fit\tEdge 840"}) << fit.errors.toStdString();
    EXPECT_TRUE(read("EDGE/Garmin/NewFiles/Alpen-Tour.fit").contains(".FIT"));

    const Outcome bryton = tramuCli({"send", "RIDER", input, "--name", "Runde: Süd/Nord."});
    EXPECT_EQ(bryton.lines, QStringList{"Runde SüdNord\tRIDER"}) << bryton.errors.toStdString();
    const zuvo::formats::BrytonTour tour{.name = "Runde SüdNord",
                                         .points = {{48.1, 11.5, 520.0}, {48.2, 11.6}}};
    EXPECT_EQ(read("RIDER/Tracks/Runde SüdNord.track"),
              zuvo::formats::BrytonTourWriter::trackData(tour));

    // Failures print a sentence and exit with 1.
    make("BLOCKED/Garmin/NewFiles");
    make("in/notes.gpx", "just notes");
    const std::pair<QStringList, QString> failures[] = {
        {{"RIDER", input, "--name", "Runde: Süd/Nord."},
         "a course named 'Runde: Süd/Nord.' is already on RIDER: " +
             path("RIDER/PlanTrip/Runde SüdNord.fit") + " (--replace replaces it)"},
        {{"RIDER", input, "--name", "..."},
         "\"...\" has no valid characters for a device filename."},
        {{"Edge 840", input, "--name", ""}, "\"\" has no valid characters for a device filename."},
        {{"Edge 840", input, "--name", ". ."},
         "\". .\" has no valid characters for a device filename."},
        {{"BLOCKED", input},
         "Could not create the course folder " + path("BLOCKED/Garmin/NewFiles") +
             " on BLOCKED. Check that the device is not write-protected and has space left."},
        {{"EDGE", path("in/notes.gpx")}, path("in/notes.gpx") + ": not a GPX file"},
        {{"RIDER", input, "--fit"}, "RIDER takes tours, not FIT courses (leave out --fit)"},
    };
    for (const auto& [arguments, message] : failures) {
        const Outcome failed = tramuCli(QStringList{"send"} + arguments);
        EXPECT_EQ(failed.exitCode, 1);
        EXPECT_EQ(failed.errors, "tramu-cli: " + message + "\n");
    }
    EXPECT_EQ(entries("EDGE/Garmin/NewFiles"),
              (QStringList{"Alpen-Tour.fit", "Runde-Süd-Nord.gpx"}));
    EXPECT_EQ(
        tramuCli({"send", "RIDER", input, "--name", "Runde: Süd/Nord.", "--replace"}).exitCode, 0);
}
