#pragma once

namespace zuvo::app {

// A map position as the page reports it: where the user last looked or clicked, and what place
// search is biased towards.
struct LonLat {
    double longitude = 0.0;
    double latitude = 0.0;
    bool operator==(const LonLat&) const = default;
};

} // namespace zuvo::app
