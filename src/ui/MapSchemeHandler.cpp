#include "ui/MapSchemeHandler.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>

namespace zuvo::ui {

MapSchemeHandler::MapSchemeHandler(QString mapFolder,
                                   std::function<map::StyleSubstitution()> substitution,
                                   QObject* parent)
    : QWebEngineUrlSchemeHandler(parent)
    , m_server(std::move(mapFolder))
    , m_substitution(std::move(substitution))
{
}

void MapSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    const QUrl url = job->requestUrl();
    if (!url.isValid()) {
        job->fail(QWebEngineUrlRequestJob::UrlInvalid);
        return;
    }
    const auto resource = m_server.serve(url.path(QUrl::FullyEncoded), m_substitution());
    if (!resource) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    // The job owns the buffer; the web engine takes "Content-Length" from its size and answers
    // byte ranges itself.
    auto* body = new QBuffer(job);
    body->setData(resource->body);
    body->open(QIODevice::ReadOnly);
    job->reply(resource->contentType, body);
}

} // namespace zuvo::ui
