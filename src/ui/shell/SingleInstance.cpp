#include "ui/shell/SingleInstance.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace zuvo::ui {

namespace {

QString lockPath(const QString& name)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(name + QStringLiteral(".lock"));
}

} // namespace

QString SingleInstance::defaultName()
{
    return QStringLiteral("tramu-%1").arg(getuid());
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent)
    , m_name(std::move(name))
    , m_lock(lockPath(m_name))
{
    // Only a lock whose process is gone is stale, however long the planner runs.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::claim()
{
    return m_lock.tryLock(0);
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

std::optional<QString> SingleInstance::askPatiently(const QString& name, const QStringList& request,
                                                    int patienceMs)
{
    const QDeadlineTimer deadline(patienceMs);
    while (true) {
        const int left = int(std::max<qint64>(deadline.remainingTime(), 1));
        if (auto answer = ask(name, request, std::min(left, 3000)))
            return answer;
        if (deadline.hasExpired())
            return std::nullopt;
        // Not listening yet: the planner is still building its window.
        QThread::msleep(200);
    }
}

bool SingleInstance::listen(Handler handler)
{
    m_handler = std::move(handler);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    // This process holds the lock, so a socket of that name is one a crashed planner left.
    QLocalServer::removeServer(m_name);
    if (!m_server.listen(m_name))
        return false;
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
                // The handler answers at once; still, the socket may be gone when it returns.
                const QPointer alive(socket);
                const QString answer = m_handler ? m_handler(request) : QString();
                if (alive) {
                    QDataStream out(socket);
                    out << answer;
                }
            });
        }
    });
    return true;
}

} // namespace zuvo::ui
