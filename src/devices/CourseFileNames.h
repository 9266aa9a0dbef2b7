#pragma once

#include <QString>

#include <optional>

// How a course name becomes a file name on a device.
namespace zuvo::devices {

// A Garmin course file: every "/" and every space turned into "-", then the
// characters a FAT volume refuses dropped as for a Bryton tour, then ".gpx"
// (or another extension): "Runde: Süd/Nord." gives "Runde-Süd-Nord.gpx".
// Absent when no valid character is left, or the name is only full stops and
// spaces, which would make a hidden file (".gpx") or one without a name.
std::optional<QString> garminCourseFileName(const QString& courseName,
                                            QLatin1String extension = QLatin1String(".gpx"));

// A Bryton tour name: the nine characters / \ : * ? " < > | that FAT refuses
// removed, then trailing full stops and spaces. Leading characters stay. May
// be empty, which names no tour.
QString stripFATInvalidCharacters(const QString& name);

} // namespace zuvo::devices
