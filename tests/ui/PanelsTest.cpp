// The panels and sheets of the main window, bound to the planner as the application binds them.
#include "FitFileBuilder.h"
#include "RunTask.h"
#include "WindowFixture.h"
#include "app/devices/DeviceImportController.h"
#include "app/planner/ToastCenter.h"
#include "formats/BrytonTourWriter.h"
#include "formats/GPXWriter.h"
#include "ui/map/EmptyStateCard.h"
#include "ui/panels/ElevationDrawer.h"
#include "ui/panels/InspectorPanel.h"
#include "ui/panels/ProfileChart.h"
#include "ui/sheets/DetailsSheet.h"
#include "ui/sheets/DeviceImportSheet.h"
#include "ui/sheets/DeviceSendSheet.h"
#include "ui/sheets/LoopSheet.h"
#include "ui/window/TrackBanner.h"

#include <QComboBox>
#include <QJsonObject>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QSlider>
#include <QTimer>
#include <QTreeWidget>

using namespace zuvo;
using namespace zuvo::test;

namespace {

class PanelsTest : public MainWindowTest {
protected:
    template <typename W>
    W* find(const QString& name = {})
    {
        W* widget = window().findChild<W*>(name);
        EXPECT_TRUE(widget) << name.toStdString();
        return widget;
    }

    QStringList rows(QListWidget* list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->item(i)->text());
        return texts;
    }

    static QByteArray ride(bool heartRate)
    {
        std::vector<model::TrackSample> samples;
        for (int i = 0; i < 40; ++i)
            samples.push_back(
                {.coordinate = {48.0 + 0.001 * i, 11.0, 500.0 + i},
                 .timestamp = QDateTime(QDate(2024, 5, 1), QTime(7, 0), Qt::UTC).addSecs(30 * i),
                 .heartRate = heartRate ? std::optional(120 + i) : std::nullopt});
        return formats::GPXWriter{"Edge"}.write(samples, "ride");
    }
};

} // namespace

TEST_F(PanelsTest, InspectorShowsTheRouteAndReroutesOnceAfterTheSliders)
{
    // Each leg climbs 60 m and comes down again: one climb a leg.
    graphHopper.elevation = [](double t) { return 100.0 + 60.0 * std::sin(t * M_PI); };
    plan(3);
    EXPECT_EQ(find<QLabel>("surfaceLegend")->text(), "100% paved");
    const QString distance = find<QLabel>("distance")->text();
    EXPECT_TRUE(distance.endsWith(" km")) << distance.toStdString();
    const QStringList anchors = rows(find<QListWidget>("anchorList"));
    ASSERT_EQ(anchors.size(), 3);
    EXPECT_TRUE(anchors[0].endsWith("km 0.0"));
    const double legKm = planner().route().legs[0]->distance() / 1000.0;
    EXPECT_TRUE(anchors[2].endsWith(QString::asprintf("km %.1f", 2 * legKm)))
        << anchors[2].toStdString();

    // Two seconds of slider moves: one reroute, a moment after the last.
    auto* slider = find<QSlider>("slider-avoid_climbs");
    const auto before = graphHopper.requests.size();
    for (int step = 0; step < 20; ++step) {
        slider->setValue(step * 5);
        QTest::qWait(100);
    }
    EXPECT_EQ(graphHopper.requests.size(), before) << "nothing while the slider moves";
    ASSERT_TRUE(QTest::qWaitFor([&] { return graphHopper.requests.size() > before; }, 2000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !planner().isRouting(); }, 5000));
    EXPECT_EQ(graphHopper.requests.size(), before + 3 + 2) << "three anchors located, two legs";
    EXPECT_DOUBLE_EQ(planner().sliderValues().at("avoid_climbs"), 0.95);

    // The drawer lists the climbs and shows the route's profile.
    auto* drawer = find<ui::ElevationDrawer>();
    EXPECT_EQ(find<QLabel>("climbCount")->text(), "2 climbs");
    EXPECT_EQ(rows(find<QListWidget>("climbList")).size(), 2);
    ASSERT_TRUE(drawer->segment());
    EXPECT_TRUE(drawer->segment()->isRoute());
}

TEST_F(PanelsTest, DrawerPrefersAShownRideAndItsHoverMovesTheMarker)
{
    plan(2);
    const QString path = QDir(home->path()).filePath("hr.gpx");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(ride(true));
    file.close();
    ASSERT_FALSE(test::runTask(planner().toggleTrack(path)).error);
    auto* drawer = find<ui::ElevationDrawer>();
    ASSERT_TRUE(drawer->segment());
    EXPECT_EQ(drawer->segment()->label(), "Elevation") << "the ride's first metric, not the route";

    // The header names what is charted; climbs belong to the route only.
    auto* picker = find<QComboBox>("segmentPicker");
    picker->setCurrentIndex(picker->findText("Heart rate"));
    emit picker->activated(picker->currentIndex());
    EXPECT_EQ(drawer->findChildren<QLabel*>().first()->text(), "Heart rate");
    EXPECT_FALSE(find<QLabel>("climbCount")->isVisibleTo(drawer));
    EXPECT_GE(picker->sizeHint().width(),
              picker->fontMetrics().horizontalAdvance("Heart rate") + 20)
        << "the picker shows its choice whole";
    // Another ride shown: it starts on its own first metric, not on the last one's choice.
    const QString second = QDir(home->path()).filePath("plain.gpx");
    QFile plain(second);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write(ride(false));
    plain.close();
    ASSERT_FALSE(test::runTask(planner().toggleTrack(second)).error);
    EXPECT_EQ(drawer->segment()->label(), "Elevation");
    ASSERT_FALSE(test::runTask(planner().toggleTrack(second)).error);
    picker->setCurrentIndex(picker->findText("Elevation"));
    emit picker->activated(picker->currentIndex());

    auto* chart = drawer->chart();
    chart->resize(600, 200);
    chart->show();
    QApplication::processEvents();
    const QPointF middle = chart->chart()->plotArea().center();
    QMouseEvent move(QEvent::MouseMove, middle, chart->mapToGlobal(middle), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(chart->viewport(), &move);
    ASSERT_EQ(page.count("setRideMarker"), 1);
    const auto marker = page.last("setRideMarker");
    EXPECT_EQ(marker.value("visible"), true);
    EXPECT_NEAR(marker.value("lat").toDouble(), 48.0195, 0.003) << "halfway along the ride";
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(chart, &leave);
    EXPECT_EQ(page.last("setRideMarker").value("visible"), false);
}

TEST_F(PanelsTest, RidesOfEveryFormatShowLikeAGPXRideAndFailuresSayWhy)
{
    // Forty records half a minute apart, with height and heart rate.
    FitFileBuilder fit;
    fit.define(0, 20, {{253, 4}, {0, 4}, {1, 4}, {78, 4}, {3, 1}});
    for (std::uint32_t i = 0; i < 40; ++i)
        fit.data(0, {1'083'000'000 + 30 * i, FitFileBuilder::semicircles(48.0 + 0.001 * i),
                     FitFileBuilder::semicircles(11.0), (500 + i + 500) * 5, 120 + i});
    const QByteArray whole = fit.build();
    const QDir folder(home->path());
    const auto file = [&](const QString& name, const QByteArray& bytes) {
        QFile out(folder.filePath(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return out.fileName();
    };
    auto* banner = find<ui::TrackBanner>();
    auto* drawer = find<ui::ElevationDrawer>();
    const auto shown = [&](std::size_t count) {
        return QTest::qWaitFor([&] { return planner().shownTracks().size() == count; }, 10000);
    };

    // As `tramu ride.fit` hands it over: the ride, its banner and its charts.
    window().documents().openLater({file("2024-05-01-07-00-00.fit", whole)});
    ASSERT_TRUE(shown(1));
    EXPECT_TRUE(banner->isVisible());
    EXPECT_EQ(banner->text(), "Track shown: 2024-05-01-07-00-00.fit");
    ASSERT_TRUE(drawer->segment());
    EXPECT_EQ(drawer->segment()->label(), "Elevation");
    EXPECT_FALSE(planner().errorMessage());
    EXPECT_FALSE(find<ui::EmptyStateCard>()->isVisibleTo(&window())) << "the card leaves the ride";

    // Cut short: shown as far as it goes, and the banner says so.
    window().documents().openPath(file("cut.fit", whole.left(whole.size() - 9)));
    ASSERT_TRUE(shown(2));
    EXPECT_EQ(banner->text(), "Track shown: cut.fit — Recovered 39 points; the file is damaged "
                              "after 0:19:00");
    // The notice is read whole: it wraps, and the banners above the map give every line room,
    // also with the notice that the tiles are missing below it.
    emit services().bridge.eventReceived(map::MapEvent{map::MapEvent::Log{"map: tiles failed"}});
    QTest::qWait(50);
    for (const auto* label : banner->parentWidget()->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&window()))
            continue;
        const std::string text = label->text().toStdString();
        if (label->wordWrap())
            EXPECT_GE(label->height(), label->heightForWidth(label->width())) << text;
        else
            EXPECT_LE(label->sizeHint().width(), label->width()) << text;
    }

    // File ▸ Import offers rides of every format and takes a Bryton track; a dropped FIT too.
    chosenFile = file("Tour.track", formats::BrytonTourWriter::trackData(
                                        {.name = "Tour", .points = {{48.0, 11.0}, {48.1, 11.1}}}));
    action("Import GPX…")->trigger();
    EXPECT_EQ(chosenFor, DocumentCommands::Purpose::importRide);
    ASSERT_TRUE(shown(3));
    EXPECT_EQ(planner().shownTracks().back().name, "Tour.track");
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(folder.filePath("2024-05-01-07-00-00.fit"))});
    // A drop reaches the window only after the drag has entered it.
    QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &dropped, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(&window(), &enter);
    QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window(), &drop);
    ASSERT_TRUE(shown(4));

    // A file that is not FIT says why.
    window().documents().openPath(file("bad.fit", "<gpx/>"));
    auto* error = find<ui::ErrorBanner>();
    ASSERT_TRUE(QTest::qWaitFor([&] { return error->isVisible(); }, 10000));
    EXPECT_EQ(error->text(), "Could not read bad.fit: not a FIT file");
    EXPECT_EQ(planner().shownTracks().size(), 4u);
}

TEST_F(PanelsTest, DetailsAndTheSendSheetWithoutARoute)
{
    plan(2);
    auto* route = ui::DetailsSheet::route(planner(), &window());
    EXPECT_EQ(route->windowTitle(), "Route Details");
    EXPECT_EQ(route->value("Anchors"), "2 (2 via, 0 shaping)");
    EXPECT_EQ(route->value("Distance"), find<QLabel>("distance")->text())
        << "the figures the inspector shows";
    EXPECT_FALSE(route->value("Est. time").isEmpty());
    EXPECT_EQ(route->value("Round trip"), "No");
    EXPECT_EQ(route->value("Name"), "Untitled");
    route->close();

    planner().newDocument();
    ASSERT_TRUE(QTest::qWaitFor([&] { return planner().route().anchors.empty(); }, 5000));
    window().openDeviceSend(std::nullopt);
    auto* sheet = window().findChild<ui::DeviceSendSheet*>();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->findChild<QLabel*>("noRouteTitle")->text(), "No route to send");
    sheet->close();
}

TEST_F(PanelsTest, TheCueListShowsTheTurnsAndTheSheetsCarryThem)
{
    auto* list = find<QListView>("cueList");
    EXPECT_TRUE(list->isHidden()) << "nothing planned: the list says why instead";
    EXPECT_EQ(find<QLabel>("cueListEmpty")->text(), "Plan a route to see its turn cues.");
    plan(3);
    ASSERT_TRUE(list->isVisibleTo(&window()));
    QStringList shown;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        shown << list->model()->index(row, 0).data().toString();
    EXPECT_EQ(shown, (QStringList{"Hauptstraße", "Bahnweg", "Via 2", "Hauptstraße", "Bahnweg",
                                  "Arrive at destination"}));
    keepScreenshot(window(), "window-cue-list.png");

    // A click on the turn shows it on the map.
    page.scripts.clear();
    const QModelIndex turn = list->model()->index(4, 0);
    list->scrollTo(turn);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(turn).center());
    const QJsonObject mark = page.last("setCrosshair");
    EXPECT_TRUE(mark["visible"].toBool());
    EXPECT_DOUBLE_EQ(mark["lng"].toDouble(),
                     planner().route().legs[1]->segments[0].cues[1].position.longitude);
    EXPECT_FALSE(page.last("fit").isEmpty());

    // The cue sheet on paper and as values, and the TCX course, under the plan's name.
    const QDir folder(home->path());
    chosenFile = folder.filePath("Kandel.pdf");
    action("Export Cue Sheet…")->trigger();
    EXPECT_EQ(chosenFor, DocumentCommands::Purpose::exportCueSheet);
    QProcess pdftotext;
    pdftotext.start(TRAMU_PDFTOTEXT, {"-layout", chosenFile, "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(30'000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(text.contains("Untitled")) << text.toStdString();
    EXPECT_TRUE(text.contains("Instruction"));
    EXPECT_EQ(text.count("Turn right onto Bahnweg"), 2);
    EXPECT_TRUE(text.contains("Via 2"));
    EXPECT_TRUE(text.contains(find<QLabel>("distance")->text()));

    chosenFile = folder.filePath("Kandel.csv");
    action("Export Cue Sheet…")->trigger();
    QFile csv(chosenFile);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count("right,Turn right onto Bahnweg,Bahnweg,"), 2);

    chosenFile = folder.filePath("Kandel.tcx");
    action("Export TCX Course…")->trigger();
    QFile tcx(chosenFile);
    ASSERT_TRUE(tcx.open(QIODevice::ReadOnly));
    EXPECT_TRUE(tcx.readAll().contains("<PointType>Right</PointType>"));

    // A motorcycle route has no cues, and says so.
    planner().setCostingKind(model::CostingKind::motorcycle);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !planner().isRouting(); }, 5000));
    EXPECT_TRUE(list->isHidden());
    EXPECT_EQ(find<QLabel>("cueListEmpty")->text(),
              "The routing server gives no turn cues for motorcycle routes.");
}

TEST_F(PanelsTest, ALoopFromTheContextMenuBecomesThePlanAndUndoBringsTheOldOneBack)
{
    plan(2);
    const auto before = planner().route().anchors;

    // A right click on the map, and "Loop from here…" in its menu.
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        for (QAction* item : menu->actions()) {
            if (item->text() == "Loop from here…")
                item->trigger();
        }
        menu->close();
    });
    emit services().bridge.eventReceived(map::MapEvent{
        map::MapEvent::ContextMenu{{map::ContextTarget::Map{}}, 11.05, 48.02, 50, 50}});
    auto* sheet = window().findChild<ui::LoopSheet*>();
    ASSERT_TRUE(sheet);
    page.scripts.clear();
    QTest::mouseClick(sheet->findChild<QPushButton*>("loopSuggest"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return page.last("setLoopSuggestions")["loops"].toArray().size() == 3; }, 10'000));
    EXPECT_EQ(graphHopper.roundTrips(), 3);
    keepScreenshot(*sheet, "loop-sheet.png");

    // The plan is changed: using a loop asks first, as New does.
    answer = DocumentCommands::Answer::discard;
    QTest::mouseClick(sheet->findChild<QPushButton*>("loopUse1"), Qt::LeftButton);
    EXPECT_EQ(asked.size(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return planner().route().anchors.size() == 4; }, 10'000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !planner().isRouting(); }, 10'000));
    EXPECT_TRUE(planner().route().roundTrip);
    EXPECT_TRUE(action("Round Trip")->isChecked());
    EXPECT_EQ(rows(find<QListWidget>("anchorList")).size(), 4);
    EXPECT_TRUE(find<QLineEdit>("routeName")->text().startsWith("Loop "));
    EXPECT_TRUE(page.last("setLoopSuggestions")["loops"].toArray().isEmpty())
        << "the suggestions leave the map with the sheet";

    QApplication::setActiveWindow(&window());
    window().mapView().setFocus();
    QTest::keyClick(&window().mapView(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return planner().route().anchors == before; }, 10'000));
    EXPECT_FALSE(planner().route().roundTrip);
    EXPECT_EQ(find<QLineEdit>("routeName")->text(), "Untitled") << "and its name with it";
}

TEST_F(PanelsTest, ARideImportedThroughTheSheetLandsInTheLibraryAndOnTheMap)
{
    const QDir volume(QDir(home->path()).filePath("media/EDGE"));
    ASSERT_TRUE(volume.mkpath("Garmin/Activities"));
    QFile xml(volume.filePath("Garmin/GarminDevice.xml"));
    ASSERT_TRUE(xml.open(QIODevice::WriteOnly));
    xml.write("<Device><Model><Description>Edge 840</Description></Model></Device>");
    xml.close();
    QFile activity(volume.filePath("Garmin/Activities/2024-05-01-07-00-00.gpx"));
    ASSERT_TRUE(activity.open(QIODevice::WriteOnly));
    activity.write(ride(false));
    activity.close();

    window().openDeviceImport(QString("edge 840"));
    auto* sheet = window().findChild<ui::DeviceImportSheet*>();
    ASSERT_TRUE(sheet);
    auto* controller = sheet->findChild<app::DeviceImportController*>();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !controller->activities().empty(); }, 10000));
    EXPECT_EQ(controller->selectedIDs().size(), 1u);
    controller->importSelected();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !planner().shownTracks().empty(); }, 10000));
    EXPECT_EQ(planner().shownTracks().front().name, "2024-05-01-07-00-00.gpx");

    auto* tree = find<QTreeWidget>();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return !tree->findItems("2024-05-01-07-00-00", Qt::MatchRecursive | Qt::MatchExactly)
                        .isEmpty();
        },
        10000));
    const auto item =
        tree->findItems("2024-05-01-07-00-00", Qt::MatchRecursive | Qt::MatchExactly).first();
    EXPECT_EQ(item->data(1, Qt::AccessibleTextRole).toString(), "G") << "a Garmin ride's badge";
    ASSERT_TRUE(services().toasts.current());
    EXPECT_EQ(services().toasts.current()->message, "Imported 1 ride");
}
