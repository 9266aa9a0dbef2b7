#include "routing/Failure.h"

namespace zuvo::routing {

Failure::Failure(RoutingError error)
    : m_reason(std::move(error))
    , m_what(description().toUtf8())
{
}

Failure::Failure(NetworkError error)
    : m_reason(std::move(error))
    , m_what(description().toUtf8())
{
}

Failure::Failure(JsonError error)
    : m_reason(std::move(error))
    , m_what(description().toUtf8())
{
}

Failure Failure::cancelled()
{
    return NetworkError{QNetworkReply::OperationCanceledError,
                        QStringLiteral("Operation canceled")};
}

void Failure::throwIfCancelled(const std::stop_token& token)
{
    if (token.stop_requested())
        throw cancelled();
}

bool Failure::isCancellation() const
{
    const auto* network = std::get_if<NetworkError>(&m_reason);
    return network && network->code == QNetworkReply::OperationCanceledError;
}

QString Failure::description() const
{
    if (const auto* routing = std::get_if<RoutingError>(&m_reason))
        return routing->description();
    if (const auto* network = std::get_if<NetworkError>(&m_reason))
        return network->text;
    return std::get<JsonError>(m_reason).text;
}

QString Failure::displayText() const
{
    if (const auto* routing = std::get_if<RoutingError>(&m_reason))
        return routing->displayText();
    return description();
}

} // namespace zuvo::routing
