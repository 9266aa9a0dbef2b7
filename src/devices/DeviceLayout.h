#pragma once

#include <QStringList>

namespace zuvo::devices {

// Where a device keeps courses and rides. MTP devices always use the Garmin
// layout. Folder names are matched in any letter case: Garmin watches write
// GARMIN/ACTIVITY in capitals, and neither an MTP device nor an exFAT volume
// folds case for us.
enum class DeviceLayout {
    garmin, // courses to Garmin/NewFiles, rides in Garmin/Activities or Garmin/Activity,
            // courses in Garmin/Courses
    bryton, // tours to PlanTrip and Tracks, rides in Tracks
};

// The folders below the volume or storage root that hold the recorded rides,
// each as "Garmin/Activities": Edge units write Activities, watches Activity.
QStringList rideFolders(DeviceLayout layout);

} // namespace zuvo::devices
