#pragma once

#include <QLocalServer>
#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

namespace zuvo::ui {

// One planner per user: a second start hands its request to the running one over a local socket
// and ends. A request is a list of words ("open" and file paths, "activate", "status"); the
// running planner answers with one line.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<QString(const QStringList& request)>;

    // The socket name of this user's planner.
    static QString defaultName();

    explicit SingleInstance(QString name, QObject* parent = nullptr);

    // The running planner's answer; absent when none runs.
    static std::optional<QString> ask(const QString& name, const QStringList& request,
                                      int timeoutMs = 3000);
    // Takes requests from later starts; false when the name cannot be taken.
    bool listen(Handler handler);

private:
    QString m_name;
    QLocalServer m_server;
    Handler m_handler;
};

} // namespace zuvo::ui
