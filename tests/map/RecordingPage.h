#pragma once

#include "map/PageSink.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <vector>

namespace zuvo::test {

// Stands in for the map page: keeps every script the bridge evaluates and reads the command
// back out of it.
class RecordingPage : public map::PageSink {
public:
    struct Command {
        QString name;
        QJsonObject payload;
    };

    QStringList scripts;

    void runScript(const QString& script) override { scripts.append(script); }

    static Command decode(const QString& script)
    {
        const QString prefix = QStringLiteral("window.zuvo && window.zuvo.receive(");
        if (!script.startsWith(prefix) || !script.endsWith(QLatin1Char(')')))
            return {};
        const QString json = script.mid(prefix.size(), script.size() - prefix.size() - 1);
        const QJsonObject message = QJsonDocument::fromJson(json.toUtf8()).object();
        return {message.value(u"command").toString(), message.value(u"payload").toObject()};
    }

    std::vector<Command> commands() const
    {
        std::vector<Command> all;
        for (const QString& script : scripts)
            all.push_back(decode(script));
        return all;
    }

    QStringList names() const
    {
        QStringList all;
        for (const auto& command : commands())
            all.append(command.name);
        return all;
    }

    // The payload of the last command of that name; empty when there was none.
    QJsonObject last(const QString& name) const
    {
        const auto all = commands();
        for (auto it = all.rbegin(); it != all.rend(); ++it) {
            if (it->name == name)
                return it->payload;
        }
        return {};
    }

    qsizetype count(const QString& name) const { return names().count(name); }
};

} // namespace zuvo::test
