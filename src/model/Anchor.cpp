#include "model/Anchor.h"

namespace zuvo::model {

QString kindName(Anchor::Kind kind)
{
    return kind == Anchor::Kind::via ? QStringLiteral("via") : QStringLiteral("shaping");
}

std::optional<Anchor::Kind> anchorKindFromName(QStringView name)
{
    if (name == u"via")
        return Anchor::Kind::via;
    if (name == u"shaping")
        return Anchor::Kind::shaping;
    return std::nullopt;
}

} // namespace zuvo::model
