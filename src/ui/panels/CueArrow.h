#pragma once

#include "model/Cue.h"

#include <QColor>
#include <QRectF>

#include <optional>

class QPainter;

namespace zuvo::ui {

// Draws what a cue asks as a road sign would, inside `box`: an arrow bent by the turn, a fork
// for keep left or right, a U for a U-turn, a ring with the exit number for a roundabout, a
// flag for the finish, a ring for a via point, waves for a ferry.
void paintCueArrow(QPainter& painter, const QRectF& box, model::Cue::Sign sign,
                   std::optional<int> exitNumber, const QColor& color);

} // namespace zuvo::ui
