#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QString>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <chrono>
#include <optional>
#include <stop_token>

class QNetworkAccessManager;

namespace zuvo::routing {

// What came back from one HTTP exchange. `status` is absent when the answer
// was not an HTTP response at all.
struct HttpAnswer {
    std::optional<int> status = {};
    QByteArray body = {};
};

// `base` with one path component appended: ".../gh" and ".../gh/" both give
// ".../gh/<component>".
QUrl appendingPathComponent(const QUrl& base, const QString& component);

// One HTTP exchange on the given session, knowing nothing of routes.
//
// A transport failure (unreachable host, refused connection) throws the
// network error Qt reports. A stop request on `cancel` aborts the reply and
// throws Failure::cancelled(). When no data moves for `timeout`, the
// exchange fails with QNetworkReply::TimeoutError — never as a cancellation,
// which callers treat as silent. An HTTP error status is an answer, not a
// failure.
QCoro::Task<HttpAnswer> exchange(QNetworkAccessManager& session, QNetworkRequest request,
                                 QByteArray method, QByteArray body, std::stop_token cancel,
                                 std::optional<std::chrono::milliseconds> timeout = std::nullopt);

} // namespace zuvo::routing
