#include "PlannerFixture.h"
#include "app/library/RouteLibrary.h"
#include "formats/GPXWriter.h"
#include "formats/RouteDocumentCoder.h"

#include <QDir>
#include <QFile>

using namespace zuvo;
using namespace zuvo::test;
using namespace zuvo::app::SidebarModel;

namespace {

const QDateTime april(QDate(2024, 4, 10), QTime(12, 0));

class SidebarTest : public PlannerViewModelTest {
protected:
    QString root() const { return home.filePath("zuvo Routes"); }

    void make(const QString& relative, const QByteArray& content,
              std::optional<QDateTime> modified = std::nullopt)
    {
        const QString path = QDir(root()).filePath(relative);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.flush();
        if (modified)
            file.setFileTime(*modified, QFileDevice::FileModificationTime);
    }

    static QByteArray gpxBy(const QString& creator)
    {
        return "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"" + creator.toUtf8() +
               "\"><trk><trkseg><trkpt lat=\"48\" lon=\"11\"/><trkpt lat=\"48.1\" "
               "lon=\"11\"/></trkseg></trk></gpx>";
    }

    const RouteFileItem& item(const std::vector<RouteFileItem>& items, const QString& name)
    {
        const auto it = std::find_if(items.begin(), items.end(),
                                     [&](const RouteFileItem& i) { return i.name == name; });
        EXPECT_NE(it, items.end()) << name.toStdString();
        return *it;
    }
};

} // namespace

TEST_F(SidebarTest, SidebarDatesAndBadges)
{
    make("2024-05-01-08-15-00.gpx", gpxBy("zuvo"));
    make("2024-05-01_Alpenrunde.gpx", gpxBy("zuvo"));
    make("Alpenrunde-2024-05-01.gpx", gpxBy("zuvo (Bryton)"), april);
    make("Komoot exports/tour.gpx", gpxBy("Garmin Connect"));
    make("b/late creator.gpx", "<gpx " + QByteArray(1100, ' ') + "creator=\"Garmin\"/>");
    make("b/ride.GPX", gpxBy("zuvo (Garmin)"));
    make("b/nested/ignored.gpx", gpxBy("x"));
    make("b/notes.txt", "x");
    make("C/komoot.gpx", "<gpx creator=\"x\"><metadata><link href=\"https://komoot.de\"/>");
    make(".hidden.gpx", gpxBy("x"));

    const auto all = routeFiles(root(), std::nullopt);
    EXPECT_EQ(all.size(), 7u);
    const auto& recorded = item(all, "2024-05-01-08-15-00");
    EXPECT_EQ(recorded.source, RouteSource::garmin) << "a converted ride under its own name";
    EXPECT_EQ(recorded.date, QDateTime(QDate(2024, 5, 1), QTime(8, 15)));
    EXPECT_EQ(item(all, "2024-05-01_Alpenrunde").date, QDateTime(QDate(2024, 5, 1), QTime(0, 0)));
    EXPECT_FALSE(item(all, "2024-05-01_Alpenrunde").source) << "the planner's own route";
    EXPECT_EQ(item(all, "Alpenrunde-2024-05-01").date, april);
    EXPECT_EQ(item(all, "Alpenrunde-2024-05-01").source, RouteSource::bryton);
    EXPECT_EQ(item(all, "tour").source, RouteSource::komoot);
    EXPECT_FALSE(item(all, "late creator").source) << "only the first 1,024 bytes are read";
    EXPECT_EQ(item(all, "ride").source, RouteSource::garmin);
    EXPECT_EQ(item(all, "komoot").source, RouteSource::komoot);
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(),
                               [](const auto& a, const auto& b) { return a.date > b.date; }));
    EXPECT_EQ(badge(RouteSource::bryton), "B");

    const auto folders = collections(root());
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0].name, "b");
    EXPECT_EQ(folders[0].count, 2);
    EXPECT_EQ(folders[1].name, "C");
    EXPECT_EQ(folders[2].name, "Komoot exports");

    const auto groups = monthGroups(all);
    ASSERT_GE(groups.size(), 2u);
    const auto may = std::find_if(groups.begin(), groups.end(),
                                  [](const RouteMonthGroup& g) { return g.id == "2024-05"; });
    ASSERT_NE(may, groups.end());
    EXPECT_EQ(may->label, "May 2024");
    EXPECT_EQ(may->items.size(), 2u);
    EXPECT_EQ((may + 1)->id, "2024-04");
    EXPECT_EQ((may + 1)->label, "April 2024");
    EXPECT_EQ(recent(all, 5).size(), 5u);
}

TEST_F(SidebarTest, SidebarLibraryFollowsTheFolder)
{
    make("b/2024-05-02_one.gpx", gpxBy("x"));
    make("C/2024-04-02_two.gpx", gpxBy("x"));
    app::RouteLibrary library(root(), *vm);
    ASSERT_FALSE(runTask(library.refresh()).error);
    EXPECT_EQ(library.allItems().size(), 2u);
    EXPECT_TRUE(library.isExpanded("2024-05")) << "the newest month opens";
    EXPECT_FALSE(library.isExpanded("2024-04"));

    ASSERT_FALSE(runTask(library.selectCollection(library.collections()[1])).error);
    ASSERT_EQ(library.items().size(), 1u);
    EXPECT_EQ(library.items()[0].name, "2024-04-02_two");

    // The selected collection's folder goes; the next scan falls back to all routes.
    ASSERT_TRUE(QDir(QDir(root()).filePath("C")).removeRecursively());
    vm->bumpRoutesFolderGeneration();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !library.selectedCollection(); }, 5000));
    EXPECT_EQ(library.items().size(), 1u);
    EXPECT_EQ(library.items()[0].name, "2024-05-02_one");

    // A collection chosen while a scan runs is what the library shows once it ends.
    make("C/2024-04-02_two.gpx", gpxBy("x"));
    ASSERT_FALSE(runTask(library.refresh()).error);
    ASSERT_EQ(library.collections().size(), 2u);
    const auto chosen = library.collections()[1];
    library.refresh();
    ASSERT_FALSE(runTask(library.selectCollection(chosen)).error);
    ASSERT_TRUE(QTest::qWaitFor([&] { return library.items().size() == 1; }, 5000));
    QTest::qWait(100);
    EXPECT_EQ(library.selectedCollection(), chosen);
    ASSERT_EQ(library.items().size(), 1u);
    EXPECT_EQ(library.items()[0].name, "2024-04-02_two");
    ASSERT_FALSE(runTask(library.selectCollection(std::nullopt)).error);

    // A file appearing on disk shows up without being asked for.
    make("2024-06-01_new.gpx", gpxBy("x"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return library.allItems().size() == 3; }, 5000));
}

TEST_F(SidebarTest, SidebarOpensDocumentsTracksOrSaysWhy)
{
    build(2);
    make("Runde.gpx", formats::RouteDocumentCoder::encode(vm->route(), {}, "Runde"));
    make("ride.gpx", gpxBy("Garmin"));
    make("junk.gpx", "not xml");
    vm->newDocument();
    settle();

    ASSERT_FALSE(runTask(vm->openFile(QDir(root()).filePath("Runde.gpx"))).error);
    EXPECT_EQ(vm->documentName(), "Runde");
    EXPECT_EQ(vm->route().anchors.size(), 2u);
    ASSERT_FALSE(runTask(vm->openFile(QDir(root()).filePath("ride.gpx"))).error);
    ASSERT_EQ(vm->shownTracks().size(), 1u);
    EXPECT_EQ(vm->shownTracks()[0].id, "ride.gpx#0");
    ASSERT_FALSE(runTask(vm->openFile(QDir(root()).filePath("junk.gpx"))).error);
    EXPECT_EQ(vm->errorMessage(), "Could not read junk.gpx: not a GPX file");
}
