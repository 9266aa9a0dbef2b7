#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace zuvo::app {

class PlannerViewModel;

// Keeps the plan a rider is working on safe from a crash or a power cut. While the plan has
// unsaved changes it is written to the recovery file after every finished edit (atomically, off
// the UI thread, the newest state winning); once nothing is unsaved, or when the planner quits
// normally, the file goes. A planner that finds the file at its start offers the plan back.
class PlanRecovery : public QObject {
    Q_OBJECT

public:
    // A plan a planner left without saving it.
    struct Left {
        QString name;
        QDateTime savedAt;
        std::optional<QString> documentPath;
        QByteArray document; // the route document's bytes
    };

    // "$XDG_STATE_HOME/tramu/recovery.json" (~/.local/state when the variable is unset).
    static QString defaultPath();
    // What the file holds; absent when there is none or it cannot be read as one.
    static std::optional<Left> read(const QString& path);

    // Follows `planner` from now on; what the file held is read first, see left().
    PlanRecovery(QString path, PlannerViewModel& planner, QObject* parent = nullptr);
    ~PlanRecovery() override;

    // The plan an earlier planner left, read when this one started.
    const std::optional<Left>& left() const { return m_left; }
    // The rider took it back (the planner now holds it) or threw it away.
    void restore();
    void discard();
    // Removes the file now, when the planner quits with nothing left unsaved.
    void finish();

    // Blocks until every write asked for so far is on disk; for tests and quitting.
    void flush();

private:
    void update();

    struct Writer;
    QString m_path;
    PlannerViewModel& m_planner;
    std::optional<Left> m_left;
    std::shared_ptr<Writer> m_writer;
    bool m_onDisk;
};

} // namespace zuvo::app
