#include "routing/RoutingError.h"

#include <QLocale>

namespace zuvo::routing {

namespace {

QString describe(const model::Coordinate& c)
{
    // The shortest text that reads back as the same number: 48.1, not 48.100000000000001.
    auto number = [](double value) {
        return QString::number(value, 'g', QLocale::FloatingPointShortest);
    };
    QString text = QStringLiteral("latitude: ") + number(c.latitude) +
                   QStringLiteral(", longitude: ") + number(c.longitude);
    if (c.elevation)
        text += QStringLiteral(", elevation: ") + number(*c.elevation);
    return text;
}

template <typename... Fs>
struct Overloaded : Fs... {
    using Fs::operator()...;
};
// clang before 17 deduces no aggregate's template arguments by itself.
template <typename... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

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
