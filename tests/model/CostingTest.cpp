#include "model/CostingProfile.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace zuvo::model;

TEST(Costing, lookupFallsBackToTheKindsDefaultThenZero)
{
    EXPECT_EQ((CostingProfile{CostingKind::road, {}})["avoid_bad_surfaces"], 0.8);
    EXPECT_EQ((CostingProfile{CostingKind::gravel, {}})["avoid_bad_surfaces"], 0.0);
    EXPECT_EQ((CostingProfile{CostingKind::gravel, {}})["use_roads"], 0.2);
    EXPECT_EQ((CostingProfile{CostingKind::motorcycle, {}})["avoid_climbs"], 0.0);
    EXPECT_EQ((CostingProfile{CostingKind::motorcycle, {}})["avoid_motorways"], 0.3);
    for (CostingKind kind : allCostingKinds)
        EXPECT_EQ((CostingProfile{kind, {{"use_roads", 0.7}}})["use_roads"], 0.7);
}

TEST(Costing, equalityComparesTheSetValuesNotTheDefaults)
{
    CostingProfile defaults{CostingKind::road, {}};
    CostingProfile explicitDefaults{CostingKind::road, {}};
    for (const auto& preference : preferences(CostingKind::road))
        explicitDefaults.values[preference.key] = preference.defaultValue;
    EXPECT_NE(defaults, explicitDefaults);
    EXPECT_EQ(explicitDefaults, (CostingProfile{CostingKind::road, explicitDefaults.values}));
    EXPECT_NE(explicitDefaults, (CostingProfile{CostingKind::gravel, explicitDefaults.values}));
}

TEST(Costing, kindsAndTheirNames)
{
    QStringList names;
    QStringList labels;
    QStringList profiles;
    for (CostingKind kind : allCostingKinds) {
        names << name(kind);
        labels << pickerLabel(kind);
        profiles << graphHopperProfile(kind);
        EXPECT_EQ(costingKindFromName(name(kind)), kind);
    }
    EXPECT_EQ(names, QStringList({"road", "gravel", "mtb", "motorcycle"}));
    EXPECT_EQ(labels, QStringList({"Road", "Gravel", "MTB", "Moto"}));
    EXPECT_EQ(profiles, QStringList({"road_bike", "gravel_bike", "mtb", "motorcycle"}));
    EXPECT_FALSE(costingKindFromName(u"Road"));
    EXPECT_FALSE(costingKindFromName(u""));

    const auto mtb = preferences(CostingKind::mtb);
    ASSERT_EQ(mtb.size(), 2u);
    EXPECT_EQ(mtb[1], (CostingPreference{"use_roads", "Use busy roads", 0.1}));
    EXPECT_EQ(preferences(CostingKind::road)[1],
              (CostingPreference{"avoid_bad_surfaces", "Avoid unpaved", 0.8}));
    EXPECT_EQ(preferences(CostingKind::motorcycle).size(), 1u);
}
