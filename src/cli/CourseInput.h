#pragma once

#include "model/CostingKind.h"
#include "model/Result.h"
#include "model/Route.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace zuvo::cli {

// The route a FIT course is written from: a route document's anchors with its
// saved track cut into legs at them (and its profile), or the first track or
// else route of any GPX file, with only its two ends as via points.
struct CourseInput {
    QString name; // the document's name, else the file's base name
    model::Route route;
    std::optional<model::CostingKind> kind = {}; // a route document's profile

    // A one-line message naming the file when it is no GPX or holds no
    // points.
    static model::Result<CourseInput, QString> read(const QString& path, QByteArrayView bytes);
};

} // namespace zuvo::cli
