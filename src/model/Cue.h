#pragma once

#include "model/Coordinate.h"

#include <QString>

#include <optional>
#include <vector>

namespace zuvo::model {

struct Route;

// One turn instruction along a route, as the routing server gives it: what to do, where, and
// onto which street.
struct Cue {
    // The routing server's own sign numbers.
    enum class Sign {
        unknown = -99,
        uTurn = -98,
        uTurnLeft = -8,
        keepLeft = -7,
        leaveRoundabout = -6,
        sharpLeft = -3,
        left = -2,
        slightLeft = -1,
        straight = 0,
        slightRight = 1,
        right = 2,
        sharpRight = 3,
        finish = 4,
        viaReached = 5,
        roundabout = 6,
        keepRight = 7,
        uTurnRight = 8,
        ferry = 9,
    };

    Sign sign = Sign::straight;
    Coordinate position = {};
    // Metres: within a route segment from the segment's first point; on a whole route from its
    // start.
    double distance = 0.0;
    QString streetName = {};
    QString streetRef = {};
    QString streetDestination = {};
    // The server's own sentence, in the language asked for.
    QString text = {};
    std::optional<int> exitNumber = {}; // roundabouts
    std::optional<int> viaNumber = {};  // via points, counting the start as 1

    static std::optional<Sign> signFromNumber(int number);
    // "left", "keep_right", "roundabout", … as the command line prints it.
    static QString signName(Sign sign);
    // The street if there is one (its name, else its reference), else the server's text.
    QString place() const;

    bool operator==(const Cue&) const = default;
};

// The cues of a whole route in riding order, each with its distance from the start: every
// leg's cues, one "via reached" cue for each via anchor between start and end (shaping anchors
// make none), and the finish of the last leg only.
std::vector<Cue> routeCues(const Route& route);

} // namespace zuvo::model
