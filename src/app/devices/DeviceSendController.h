#pragma once

#include "app/devices/DeviceFlows.h"
#include "model/Coordinate.h"
#include "model/Result.h"
#include "model/Route.h"

#include <QByteArray>
#include <QObject>

#include <qcoro/qcorotask.h>

#include <functional>
#include <optional>
#include <vector>

namespace zuvo::app {

class ToastCenter;

// What the planner hands the send sheet: the route as a GPX course and as a FIT course with
// points ahead under the chosen name, and its coordinates for a Bryton tour.
struct CoursePayload {
    QByteArray gpx;
    std::vector<model::Coordinate> coordinates;
    QByteArray fit = {};
};

// The send sheet's logic: writes the planned route to a device as a course (Garmin) or a tour
// (Bryton), off the UI thread.
class DeviceSendController : public QObject {
    Q_OBJECT

public:
    // How a course goes to a Garmin; a Bryton always takes a tour.
    enum class CourseFormat { gpx, fit };

    // The course under that name, or why there is none to send.
    using MakeCourse =
        std::function<model::Result<CoursePayload, QString>(const QString& courseName)>;

    // What becomes of a course of the same name already on the device.
    enum class Existing {
        replace,
        keepBoth, // the new course takes a free name: "Kandel Runde 2"
        cancel,   // nothing is written
    };
    // Puts the question before a course on the device would be replaced; the sheet asks the
    // rider, tests answer themselves. Without one, nothing is ever replaced.
    using AskReplace = std::function<QCoro::Task<Existing>(QString question)>;

    // Why the route cannot go to a device as it stands: fewer than two anchors, or a leg without
    // geometry (the course would skip it). Absent when it can be sent.
    static std::optional<QString> courseProblem(const model::Route& route);

    DeviceSendController(DeviceFlows::Transports transports, MakeCourse makeCourse,
                         QString defaultName, ToastCenter& toasts,
                         std::optional<QString> preselectDeviceName = {},
                         QObject* parent = nullptr);

    const QString& courseName() const { return m_courseName; }
    void setCourseName(const QString& name);
    const std::vector<devices::GarminDevice>& devices() const { return m_devices; }
    const std::optional<devices::GarminDevice>& selectedDevice() const { return m_selected; }
    void selectDevice(const devices::GarminDevice& device);
    // The outcome line, and whether it is an error.
    const std::optional<QString>& result() const { return m_result; }
    bool failed() const { return m_failed; }
    bool isBusy() const { return m_busy; }
    CourseFormat format() const { return m_format; }
    void setFormat(CourseFormat format);
    // "GPX course", "FIT course with turn cues and points ahead".
    static QString formatLabel(CourseFormat format);
    // What the device can take: the two Garmin formats, nothing to choose for a Bryton.
    static std::vector<CourseFormat> formats(const devices::GarminDevice& device);
    void setAskReplace(AskReplace ask) { m_askReplace = std::move(ask); }

    QCoro::Task<> scan();
    QCoro::Task<> send();

signals:
    void changed();
    // Sent: the sheet closes.
    void finished();

private:
    void fail(const QString& text);
    void finishSend(const QString& name, const devices::GarminDevice& device, bool fit);

    DeviceFlows::Transports m_transports;
    MakeCourse m_makeCourse;
    ToastCenter& m_toasts;
    std::optional<QString> m_preselect;
    QString m_courseName;
    std::vector<devices::GarminDevice> m_devices;
    std::optional<devices::GarminDevice> m_selected;
    std::optional<QString> m_result;
    bool m_failed = false;
    bool m_busy = false;
    CourseFormat m_format = CourseFormat::gpx;
    AskReplace m_askReplace;
};

} // namespace zuvo::app
