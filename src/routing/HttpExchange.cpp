#include "routing/HttpExchange.h"

#include "routing/Failure.h"

#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>

#include <qcoro/qcoronetworkreply.h>

#include <memory>

namespace zuvo::routing {

namespace {

// The awaiting coroutine resumes inside the reply's finished() signal, so the
// reply must not be deleted there and then.
struct DeleteLater {
    void operator()(QObject* object) const { object->deleteLater(); }
};

} // namespace

QUrl appendingPathComponent(const QUrl& base, const QString& component)
{
    QUrl url = base;
    QString path = url.path();
    if (!path.endsWith(u'/'))
        path += u'/';
    url.setPath(path + component);
    return url;
}

QCoro::Task<HttpAnswer> exchange(QNetworkAccessManager& session, QNetworkRequest request,
                                 QByteArray method, QByteArray body, std::stop_token cancel,
                                 std::optional<std::chrono::milliseconds> timeout)
{
    Failure::throwIfCancelled(cancel);
    if (timeout)
        request.setTransferTimeout(static_cast<int>(timeout->count()));
    std::unique_ptr<QNetworkReply, DeleteLater> reply(
        session.sendCustomRequest(request, method, body));
    {
        // Aborting from the event loop, not inside request_stop(), so the
        // coroutine never resumes within the code that cancelled it.
        QPointer<QNetworkReply> target(reply.get());
        std::stop_callback onCancel(cancel, [target] {
            if (target)
                QMetaObject::invokeMethod(
                    target.data(), [target] { target->abort(); }, Qt::QueuedConnection);
        });
        co_await reply.get();
    }

    const QNetworkReply::NetworkError error = reply->error();
    if (error == QNetworkReply::OperationCanceledError) {
        if (cancel.stop_requested())
            throw Failure::cancelled();
        // Qt ends a transfer time-out as a cancellation.
        throw Failure(
            NetworkError{QNetworkReply::TimeoutError, QStringLiteral("Operation timed out")});
    }
    // Codes below 200 are the connection's or the proxy's failures, even when
    // a status line had already arrived; the others mirror the HTTP status.
    if (error != QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied)
        throw Failure(NetworkError{error, reply->errorString()});
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid())
        co_return HttpAnswer{.status = status.toInt(), .body = reply->readAll()};
    if (error != QNetworkReply::NoError)
        throw Failure(NetworkError{error, reply->errorString()});
    co_return HttpAnswer{.status = std::nullopt, .body = reply->readAll()};
}

} // namespace zuvo::routing
