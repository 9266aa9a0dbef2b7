#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

namespace zuvo::ui {

// One planner per user. The planner holds a lock file in the runtime folder for as long as it
// runs (a planner that crashed leaves a lock that the next start finds stale) and takes requests
// from later starts on a local socket. A request is a list of words ("open" and file paths,
// "activate", "status"); the planner answers each with one line at once and does the work later.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<QString(const QStringList& request)>;

    // The socket and lock name of this user's planner.
    static QString defaultName();

    explicit SingleInstance(QString name, QObject* parent = nullptr);

    // True when this process is now the planner; false when another one holds the lock.
    bool claim();
    // The running planner's answer; absent when none answers within the time.
    static std::optional<QString> ask(const QString& name, const QStringList& request,
                                      int timeoutMs = 3000);
    // Asks again while the running planner is still starting up, for up to `patienceMs`.
    static std::optional<QString> askPatiently(const QString& name, const QStringList& request,
                                               int patienceMs);
    // Takes requests from later starts; only after claim(). False when the socket cannot be
    // made.
    bool listen(Handler handler);

private:
    QString m_name;
    QLockFile m_lock;
    QLocalServer m_server;
    Handler m_handler;
};

} // namespace zuvo::ui
