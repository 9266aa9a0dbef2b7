#pragma once

namespace zuvo::devices {

// Where a device keeps courses and rides. MTP devices always use the Garmin
// layout.
enum class DeviceLayout {
    garmin, // courses to Garmin/NewFiles, rides in Garmin/Activities, courses in Garmin/Courses
    bryton, // tours to PlanTrip and Tracks, rides in Tracks
};

} // namespace zuvo::devices
