#pragma once

#include <QObject>
#include <QString>

namespace zuvo::map {

// Where the bridge's commands go: the map page in its web view. The window implements it over
// the web engine; tests record the scripts.
class PageSink : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Evaluates `script` in the page; its result and any script error are ignored.
    virtual void runScript(const QString& script) = 0;
};

} // namespace zuvo::map
