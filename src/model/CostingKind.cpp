#include "model/CostingKind.h"

#include <QCoreApplication>

#include <vector>

namespace zuvo::model {

namespace {

struct KindInfo {
    const char16_t* name;
    const char* label;
    const char16_t* graphHopperProfile;
};

const KindInfo& info(CostingKind kind)
{
    static const KindInfo table[] = {
        {u"road", QT_TRANSLATE_NOOP("CostingKind", "Road"), u"road_bike"},
        {u"gravel", QT_TRANSLATE_NOOP("CostingKind", "Gravel"), u"gravel_bike"},
        {u"mtb", QT_TRANSLATE_NOOP("CostingKind", "MTB"), u"mtb"},
        {u"motorcycle", QT_TRANSLATE_NOOP("CostingKind", "Moto"), u"motorcycle"},
    };
    return table[static_cast<int>(kind)];
}

} // namespace

QString name(CostingKind kind)
{
    return QString::fromUtf16(info(kind).name);
}

std::optional<CostingKind> costingKindFromName(QStringView candidate)
{
    for (CostingKind kind : allCostingKinds) {
        if (candidate == QStringView(info(kind).name))
            return kind;
    }
    return std::nullopt;
}

QString pickerLabel(CostingKind kind)
{
    return QCoreApplication::translate("CostingKind", info(kind).label);
}

QString graphHopperProfile(CostingKind kind)
{
    return QString::fromUtf16(info(kind).graphHopperProfile);
}

std::span<const CostingPreference> preferences(CostingKind kind)
{
    static const auto table = [] {
        const CostingPreference avoidClimbs{QStringLiteral("avoid_climbs"),
                                            QT_TRANSLATE_NOOP("CostingPreference", "Avoid climbs"),
                                            0.0};
        const QString avoidUnpaved = QStringLiteral("avoid_bad_surfaces");
        const QString useRoads = QStringLiteral("use_roads");
        const QString avoidUnpavedLabel = QT_TRANSLATE_NOOP("CostingPreference", "Avoid unpaved");
        const QString useRoadsLabel = QT_TRANSLATE_NOOP("CostingPreference", "Use busy roads");
        return std::array<std::vector<CostingPreference>, allCostingKinds.size()>{{
            {avoidClimbs, {avoidUnpaved, avoidUnpavedLabel, 0.8}, {useRoads, useRoadsLabel, 0.5}},
            {avoidClimbs, {avoidUnpaved, avoidUnpavedLabel, 0.0}, {useRoads, useRoadsLabel, 0.2}},
            {avoidClimbs, {useRoads, useRoadsLabel, 0.1}},
            {{QStringLiteral("avoid_motorways"),
              QT_TRANSLATE_NOOP("CostingPreference", "Avoid motorways"), 0.3}},
        }};
    }();
    return table[static_cast<std::size_t>(kind)];
}

std::map<QString, double> defaultPreferenceValues(CostingKind kind)
{
    std::map<QString, double> values;
    for (const auto& preference : preferences(kind))
        values[preference.key] = preference.defaultValue;
    return values;
}

} // namespace zuvo::model
