#pragma once

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QUrl>

#include <functional>
#include <vector>

namespace zuvo::test {

// An HTTP server on 127.0.0.1 that records every request and answers as the
// test scripts it, standing in for GraphHopper or Photon.
class LoopbackServer : public QAbstractHttpServer {
public:
    struct Request {
        QByteArray method;
        QUrl url; // path and query as received
        QList<QPair<QByteArray, QByteArray>> headers;
        QByteArray body;

        QByteArray header(const QByteArray& name) const;
    };

    struct Answer {
        int status = 200;
        QByteArray contentType = "application/json";
        QByteArray body = {};
        // Accept the request and never answer it.
        bool silent = false;
        // Bytes written to the connection as they are, instead of an answer;
        // the connection stays open.
        QByteArray raw = {};
    };

    LoopbackServer();

    // The server's address, e.g. http://127.0.0.1:41234
    QUrl baseURL() const;

    std::vector<Request> requests;
    std::function<Answer(const Request&)> answer;

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    quint16 m_port = 0;
};

} // namespace zuvo::test
