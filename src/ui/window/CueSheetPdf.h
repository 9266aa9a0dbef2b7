#pragma once

#include "app/planner/CueList.h"
#include "app/planner/PanelRules.h"
#include "model/GradeProfile.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <optional>
#include <vector>

namespace zuvo::ui {

// A cue sheet to take along on paper: the route's name and figures, a small elevation profile,
// and one table row per cue (km, arrow, instruction, street, km to the next cue).
struct CueSheet {
    Q_DECLARE_TR_FUNCTIONS(CueSheet)

public:
    QString name;
    app::PanelRules::RouteSummary summary;
    std::optional<model::GradeProfile> profile;
    std::vector<app::CueRow> rows;

    // An A4 PDF; the table runs on over as many pages as it needs, each with its column heads.
    QByteArray pdf() const;
};

} // namespace zuvo::ui
