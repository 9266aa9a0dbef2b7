#include "LoopbackServer.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QTcpSocket>

namespace zuvo::test {

QByteArray LoopbackServer::Request::header(const QByteArray& name) const
{
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

LoopbackServer::LoopbackServer()
    : m_port(listen(QHostAddress::LocalHost, 0))
{
}

QUrl LoopbackServer::baseURL() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_port));
}

bool LoopbackServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket)
{
    QByteArray method;
    switch (request.method()) {
    case QHttpServerRequest::Method::Get:
        method = "GET";
        break;
    case QHttpServerRequest::Method::Post:
        method = "POST";
        break;
    default:
        method = "OTHER";
        break;
    }
    requests.push_back({method, request.url(), request.headers(), request.body()});
    const Answer reply = answer ? answer(requests.back()) : Answer{.body = "{}"};
    if (reply.silent)
        return true;
    if (!reply.raw.isEmpty()) {
        socket->write(reply.raw);
        return true;
    }
    makeResponder(request, socket)
        .write(reply.body, reply.contentType,
               static_cast<QHttpServerResponder::StatusCode>(reply.status));
    return true;
}

void LoopbackServer::missingHandler(const QHttpServerRequest&, QTcpSocket*)
{
}

} // namespace zuvo::test
