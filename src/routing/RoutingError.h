#pragma once

#include "model/Coordinate.h"

#include <QString>

#include <variant>

namespace zuvo::routing {

// The routing failures an engine recognises. Transport failures, JSON parse
// failures and cancellation are not routing errors (see Failure).
class RoutingError {
public:
    struct NotSnappable {
        model::Coordinate coordinate;
        bool operator==(const NotSnappable&) const = default;
    };
    struct EngineUnavailable {
        QString message; // ready to show to the user
        bool operator==(const EngineUnavailable&) const = default;
    };
    struct NoRouteFound {
        bool operator==(const NoRouteFound&) const = default;
    };
    struct MalformedResponse {
        bool operator==(const MalformedResponse&) const = default;
    };
    using Case = std::variant<NotSnappable, EngineUnavailable, NoRouteFound, MalformedResponse>;

    static RoutingError notSnappable(model::Coordinate c) { return {NotSnappable{c}}; }
    static RoutingError engineUnavailable(QString message)
    {
        return {EngineUnavailable{std::move(message)}};
    }
    static RoutingError noRouteFound() { return {NoRouteFound{}}; }
    static RoutingError malformedResponse() { return {MalformedResponse{}}; }

    const Case& value() const { return m_case; }

    template <typename T>
    bool is() const
    {
        return std::holds_alternative<T>(m_case);
    }

    // The plain textual description: the case name, with its payload.
    QString description() const;
    // What the user sees: an unavailable engine's message alone, otherwise
    // the description.
    QString displayText() const;

    bool operator==(const RoutingError&) const = default;

private:
    RoutingError(Case c)
        : m_case(std::move(c))
    {
    }

    Case m_case;
};

} // namespace zuvo::routing
