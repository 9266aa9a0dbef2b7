#pragma once

#include "LoopbackServer.h"

#include <QString>

namespace zuvo::test {

// Answers GraphHopper's /route like the real server: a path of twenty points from the first
// requested point to the last, climbing 40 m, on asphalt, with the snapped points the same as
// the requested ones. Counts what it was asked.
class FakeGraphHopper : public LoopbackServer {
public:
    FakeGraphHopper();

    int routes() const;  // requests between two different points
    int locates() const; // requests for one point (the same point twice)
};

} // namespace zuvo::test
