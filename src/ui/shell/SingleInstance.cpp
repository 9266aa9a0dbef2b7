#include "ui/shell/SingleInstance.h"

#include <QDataStream>
#include <QLocalSocket>

#include <unistd.h>

namespace zuvo::ui {

QString SingleInstance::defaultName()
{
    return QStringLiteral("tramu-%1").arg(getuid());
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent)
    , m_name(std::move(name))
{
}

std::optional<QString> SingleInstance::ask(const QString& name, const QStringList& request,
                                           int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return std::nullopt;
    QDataStream out(&socket);
    out << request;
    if (!socket.waitForBytesWritten(timeoutMs))
        return std::nullopt;
    QDataStream in(&socket);
    QString answer;
    while (true) {
        in.startTransaction();
        in >> answer;
        if (in.commitTransaction())
            return answer;
        if (!socket.waitForReadyRead(timeoutMs))
            return std::nullopt;
    }
}

bool SingleInstance::listen(Handler handler)
{
    m_handler = std::move(handler);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(m_name)) {
        // A socket left behind by a planner that crashed: nobody answers on it.
        if (ask(m_name, {QStringLiteral("ping")}, 500))
            return false;
        QLocalServer::removeServer(m_name);
        if (!m_server.listen(m_name))
            return false;
    }
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                QDataStream in(socket);
                in.startTransaction();
                QStringList request;
                in >> request;
                if (!in.commitTransaction())
                    return;
                QDataStream out(socket);
                out << (m_handler ? m_handler(request) : QString());
            });
        }
    });
    return true;
}

} // namespace zuvo::ui
