#include "routing/RoutingError.h"

namespace zuvo::routing {

namespace {

QString describe(const model::Coordinate& c)
{
    QString text = QStringLiteral("latitude: %1, longitude: %2")
                       .arg(c.latitude, 0, 'g', 17)
                       .arg(c.longitude, 0, 'g', 17);
    if (c.elevation)
        text += QStringLiteral(", elevation: %1").arg(*c.elevation, 0, 'g', 17);
    return text;
}

template <typename... Fs>
struct Overloaded : Fs... {
    using Fs::operator()...;
};

} // namespace

QString RoutingError::description() const
{
    return std::visit(
        Overloaded{
            [](const NotSnappable& e) {
                return QStringLiteral("notSnappable(%1)").arg(describe(e.coordinate));
            },
            [](const EngineUnavailable& e) {
                return QStringLiteral("engineUnavailable(\"%1\")").arg(e.message);
            },
            [](const NoRouteFound&) { return QStringLiteral("noRouteFound"); },
            [](const MalformedResponse&) { return QStringLiteral("malformedResponse"); },
        },
        m_case);
}

QString RoutingError::displayText() const
{
    if (const auto* unavailable = std::get_if<EngineUnavailable>(&m_case))
        return unavailable->message;
    return description();
}

} // namespace zuvo::routing
