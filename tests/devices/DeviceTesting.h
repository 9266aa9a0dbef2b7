#pragma once

#include "devices/DeviceActivity.h"
#include "devices/DeviceError.h"
#include "devices/FileSystemError.h"

#include <QString>

#include <optional>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace zuvo::devices {

inline void PrintTo(const DeviceError& error, std::ostream* os)
{
    *os << error.description().toStdString();
}

inline void PrintTo(const FileSystemError& error, std::ostream* os)
{
    *os << error.description().toStdString();
}

inline void PrintTo(const DeviceActivity& activity, std::ostream* os)
{
    *os << '{' << activity.id.toStdString() << ", " << activity.name.toStdString() << ", "
        << (activity.date ? activity.date->toString(Qt::ISODate).toStdString() : "undated") << ", "
        << activity.size << '}';
}

} // namespace zuvo::devices

namespace zuvo::test {

// What `action` threw, if it threw an E; anything else it throws goes on.
template <typename E, typename F>
std::optional<E> thrown(F&& action)
{
    try {
        action();
    } catch (const E& error) {
        return error;
    }
    return std::nullopt;
}

} // namespace zuvo::test
