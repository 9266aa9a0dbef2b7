#pragma once

#include "formats/RouteDocument.h"
#include "formats/RouteDocumentError.h"
#include "model/CostingProfile.h"
#include "model/Result.h"
#include "model/Route.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace zuvo::formats {

// Saves a plan as an ordinary GPX route file that any GPS tool reads, with a
// planner block (anchors, costing, round trip) as the last child of the root
// so that the file opens again as an editable plan.
struct RouteDocumentCoder {
    static QByteArray encode(const model::Route& route, const model::CostingProfile& costing,
                             const QString& name);

    // Fails when there is no planner block or it names no known costing kind.
    // Broken anchors and values inside the block are skipped one by one.
    static model::Result<RouteDocument, RouteDocumentError> decode(QByteArrayView bytes);
};

} // namespace zuvo::formats
