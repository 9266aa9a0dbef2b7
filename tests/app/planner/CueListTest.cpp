#include "app/planner/CueList.h"

#include "PlannerFixture.h"

#include <QJsonArray>

using namespace zuvo;
using namespace zuvo::test;
using app::CueListModel;
using model::Cue;
using Sign = model::Cue::Sign;

TEST(CueRows, instructionsDistancesAndTheSheetsColumns)
{
    const Coordinate a{48.0, 11.0}, b{48.01, 11.0}, c{48.02, 11.0};
    model::Route route{
        .anchors = {{Anchor::Kind::via, a}, {Anchor::Kind::via, b}, {Anchor::Kind::via, c}}};
    route.legs.push_back(model::RouteLeg{{{.coordinates = {a, b},
                                           .distance = 1000,
                                           .cues = {{.sign = Sign::left,
                                                     .position = a,
                                                     .streetName = "Bahnweg, Nord",
                                                     .text = "Links abbiegen auf \"Bahnweg\""},
                                                    {.sign = Sign::finish, .distance = 1000}}}}});
    route.legs.push_back(model::RouteLeg{
        {{.coordinates = {b, c},
          .distance = 1500,
          .cues = {
              {.sign = Sign::roundabout, .distance = 400, .streetRef = "B 31", .exitNumber = 2},
              {.sign = Sign::sharpRight, .distance = 900, .text = "Scharf\trechts"},
              {.sign = Sign::finish, .position = c, .distance = 1500}}}}});

    const auto rows = app::cueRows(route);
    QStringList instructions;
    std::vector<std::optional<double>> gaps;
    for (const auto& row : rows) {
        instructions << row.instruction;
        gaps.push_back(row.toNext);
    }
    // The server's sentence where it gave one; else one made from the sign and the street.
    EXPECT_EQ(instructions, (QStringList{"Links abbiegen auf \"Bahnweg\"", "Via 2",
                                         "At the roundabout, take exit 2 onto B 31",
                                         "Scharf\trechts", "Arrive at the finish"}));
    EXPECT_EQ(gaps, (std::vector<std::optional<double>>{1000.0, 400.0, 500.0, 600.0, {}}));
    EXPECT_EQ(rows[2].street, "B 31");

    EXPECT_EQ(app::cueSheetCsv(rows),
              "km,sign,instruction,street,km to next\r\n"
              "0.00,left,\"Links abbiegen auf \"\"Bahnweg\"\"\",\"Bahnweg, Nord\",1.00\r\n"
              "1.00,via,Via 2,,0.40\r\n"
              "1.40,roundabout,\"At the roundabout, take exit 2 onto B 31\",B 31,0.50\r\n"
              "1.90,sharp_right,Scharf\trechts,,0.60\r\n"
              "2.50,finish,Arrive at the finish,,\r\n");
    EXPECT_EQ(app::cueLine(rows[3]), "1.90\tsharp_right\t\tScharf rechts") << "one line each";
}

TEST_F(PlannerViewModelTest, TheCueListFollowsTheRouteAndShowsTheChosenCue)
{
    CueListModel cues(*vm);
    EXPECT_EQ(cues.emptyText(), "Plan a route to see its turn cues.");
    build(3);
    // Each leg's start, the via point between them and the finish of the last leg only.
    ASSERT_EQ(cues.rowCount(), 4);
    const auto sign = [&](int row) {
        return Sign(cues.data(cues.index(row), CueListModel::signRole).toInt());
    };
    EXPECT_EQ(sign(1), Sign::viaReached);
    EXPECT_EQ(cues.data(cues.index(1), Qt::DisplayRole), "Via 2");
    EXPECT_EQ(sign(3), Sign::finish);
    EXPECT_EQ(cues.emptyText(), std::nullopt);

    cues.select(1);
    const QJsonObject mark = page->last("setCrosshair");
    EXPECT_DOUBLE_EQ(mark["lat"].toDouble(), vm->route().anchors[1].routingPosition().latitude);
    EXPECT_TRUE(mark["visible"].toBool());
    const QJsonArray box = page->last("fit")["bounds"].toArray(); // west, south, east, north
    ASSERT_EQ(box.size(), 4);
    EXPECT_LT(box[1].toDouble(), mark["lat"].toDouble());
    EXPECT_GT(box[3].toDouble(), mark["lat"].toDouble());
    EXPECT_LT(box[3].toDouble() - box[1].toDouble(), 0.01) << "close in on the junction";

    // A change takes the mark away; undo and redo bring their own cues.
    vm->undo();
    settle();
    EXPECT_FALSE(page->last("setCrosshair")["visible"].toBool());
    EXPECT_EQ(cues.rowCount(), 2);
    vm->redo();
    settle();
    EXPECT_EQ(cues.rowCount(), 4);

    vm->setCostingKind(model::CostingKind::motorcycle);
    settle();
    EXPECT_EQ(cues.rowCount(), 0);
    EXPECT_EQ(cues.emptyText(), "The routing server gives no turn cues for motorcycle routes.");
}
