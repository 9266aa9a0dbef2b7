#pragma once

#include "model/CostingPreference.h"

#include <QString>
#include <QStringView>

#include <array>
#include <map>
#include <optional>
#include <span>

namespace zuvo::model {

// The vehicle a route is planned for.
enum class CostingKind { road, gravel, mtb, motorcycle };

inline constexpr std::array allCostingKinds{CostingKind::road, CostingKind::gravel,
                                            CostingKind::mtb, CostingKind::motorcycle};

QString name(CostingKind kind);
std::optional<CostingKind> costingKindFromName(QStringView name);
QString pickerLabel(CostingKind kind);
QString graphHopperProfile(CostingKind kind);

// The preference sliders of a kind, in display order.
std::span<const CostingPreference> preferences(CostingKind kind);
// Every preference of the kind at its default, keyed by preference key.
std::map<QString, double> defaultPreferenceValues(CostingKind kind);

} // namespace zuvo::model
