#pragma once

#include "routing/RoutingError.h"

#include <QByteArray>
#include <QNetworkReply>
#include <QString>

#include <exception>
#include <stop_token>
#include <variant>

namespace zuvo::routing {

// A failure of the HTTP layer, with Qt's error code and text. Cancellation is
// the code OperationCanceledError, exactly what an aborted reply reports.
struct NetworkError {
    QNetworkReply::NetworkError code = QNetworkReply::UnknownNetworkError;
    QString text;
    bool operator==(const NetworkError&) const = default;
};

// A body that should have been JSON of a known shape and was not.
struct JsonError {
    QString text;
    bool operator==(const JsonError&) const = default;
};

// What asynchronous operations (engine requests, planner operations) throw:
// a routing error, or the platform's own network or JSON error, passed up
// unchanged.
class Failure : public std::exception {
public:
    using Reason = std::variant<RoutingError, NetworkError, JsonError>;

    Failure(RoutingError error);
    Failure(NetworkError error);
    Failure(JsonError error);

    // The error of a cancelled request.
    static Failure cancelled();
    // Throws the cancellation failure when `token` asks to stop.
    static void throwIfCancelled(const std::stop_token& token);

    const Reason& reason() const { return m_reason; }
    const RoutingError* routingError() const { return std::get_if<RoutingError>(&m_reason); }
    bool isCancellation() const;

    // The plain textual description of the error.
    QString description() const;
    // What an error banner shows.
    QString displayText() const;

    const char* what() const noexcept override { return m_what.constData(); }

    bool operator==(const Failure& other) const { return m_reason == other.m_reason; }

private:
    Reason m_reason;
    QByteArray m_what;
};

} // namespace zuvo::routing
