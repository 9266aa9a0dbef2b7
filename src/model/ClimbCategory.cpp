#include "model/ClimbCategory.h"

#include <QCoreApplication>

namespace zuvo::model {

std::optional<ClimbCategory> climbCategory(const GradeProfile::Climb& climb)
{
    const double score = climb.length() * climb.averageGrade;
    if (score >= 80'000.0)
        return ClimbCategory::hc;
    if (score >= 64'000.0)
        return ClimbCategory::cat1;
    if (score >= 32'000.0)
        return ClimbCategory::cat2;
    if (score >= 16'000.0)
        return ClimbCategory::cat3;
    if (score >= 8'000.0)
        return ClimbCategory::cat4;
    return std::nullopt;
}

QString label(ClimbCategory category)
{
    switch (category) {
    case ClimbCategory::cat4:
        return QCoreApplication::translate("ClimbCategory", "Cat 4");
    case ClimbCategory::cat3:
        return QCoreApplication::translate("ClimbCategory", "Cat 3");
    case ClimbCategory::cat2:
        return QCoreApplication::translate("ClimbCategory", "Cat 2");
    case ClimbCategory::cat1:
        return QCoreApplication::translate("ClimbCategory", "Cat 1");
    case ClimbCategory::hc:
        return QCoreApplication::translate("ClimbCategory", "HC");
    }
    return {};
}

} // namespace zuvo::model
