#pragma once

#include "model/Coordinate.h"
#include "model/TrackSample.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <vector>

namespace zuvo::model {

// A recorded ride or foreign track drawn on the map beside the plan.
struct ShownTrack {
    // The file path of a toggled file, or "<source name>#<index>" for a track of an import.
    QString id;
    QString name;
    QDateTime date;
    std::vector<Coordinate> coordinates = {};
    std::vector<TrackSample> samples = {};
    // One of six colours, fixed by the id so that a track keeps its colour across runs.
    int colorIndex = 0;
    // What the rider must know about the file, shown with the track: a damaged ride recovered
    // up to the damage. Empty for an intact file.
    QString notice = {};

    static constexpr int colorCount = 6;

    // hash · 31 + code point over the text's Unicode scalars, wrapping at 64 bits.
    static std::int64_t stableHash(const QString& text);
    static int colorIndexFor(const QString& id);

    // The ride date at the start of a file name ("2024-05-01-07-30-00…" or "2024-05-01_…", in
    // local time), else `fallback`.
    static QDateTime dateFromName(const QString& name, const QDateTime& fallback);

    bool operator==(const ShownTrack&) const = default;
};

} // namespace zuvo::model
