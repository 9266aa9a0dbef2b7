#pragma once

#include <QString>
#include <QUuid>

#include <optional>

namespace zuvo::app {

// A short confirmation shown over the main window for a few seconds: a headline and an optional
// second line. Every toast is its own, even with the same text.
struct Toast {
    QUuid id = QUuid::createUuid();
    QString message;
    std::optional<QString> detail = {};

    bool operator==(const Toast&) const = default;
};

} // namespace zuvo::app
