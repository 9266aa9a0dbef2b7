#include "app/devices/DeviceSendController.h"

#include "app/planner/ToastCenter.h"
#include "devices/CourseFileNames.h"

#include <QCoreApplication>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

#include <qcoro/qcorofuture.h>

namespace zuvo::app {

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(DeviceSend)
};

} // namespace

using devices::GarminDevice;

DeviceSendController::DeviceSendController(DeviceFlows::Transports transports,
                                           MakeCourse makeCourse, QString defaultName,
                                           ToastCenter& toasts,
                                           std::optional<QString> preselectDeviceName,
                                           QObject* parent)
    : QObject(parent)
    , m_transports(std::move(transports))
    , m_makeCourse(std::move(makeCourse))
    , m_toasts(toasts)
    , m_preselect(std::move(preselectDeviceName))
    , m_courseName(std::move(defaultName))
{
}

void DeviceSendController::setCourseName(const QString& name)
{
    m_courseName = name;
    emit changed();
}

void DeviceSendController::selectDevice(const GarminDevice& device)
{
    m_selected = device;
    emit changed();
}

void DeviceSendController::setFormat(CourseFormat format)
{
    m_format = format;
    emit changed();
}

std::optional<QString> DeviceSendController::courseProblem(const model::Route& route)
{
    if (route.anchors.size() < 2)
        return Texts::tr("Plan a route with at least two points first.");
    const auto missing = std::find(route.legs.begin(), route.legs.end(), std::nullopt);
    if (missing != route.legs.end())
        return Texts::tr("Leg %1 of the route has no geometry: the routing server could not "
                         "compute it. Send the course once every leg is routed.")
            .arg(missing - route.legs.begin() + 1);
    if (route.roundTrip && !route.closingLeg)
        return Texts::tr("The leg back to the start has no geometry: the routing server could "
                         "not compute it. Send the course once every leg is routed.");
    return std::nullopt;
}

QString DeviceSendController::formatLabel(CourseFormat format)
{
    return format == CourseFormat::fit ? Texts::tr("FIT course with turn cues and points ahead")
                                       : Texts::tr("GPX course");
}

void DeviceSendController::fail(const QString& text)
{
    m_failed = true;
    m_result = text;
    m_busy = false;
    emit changed();
}

QCoro::Task<> DeviceSendController::scan()
{
    QPointer self(this);
    m_busy = true;
    emit changed();
    auto found = co_await QtConcurrent::run(DeviceFlows::scan, m_transports);
    if (!self)
        co_return;
    m_devices = std::move(found);
    m_selected = DeviceFlows::preselect(m_devices, m_preselect);
    m_busy = false;
    emit changed();
}

std::vector<DeviceSendController::CourseFormat>
DeviceSendController::formats(const GarminDevice& device)
{
    if (device.layout == devices::DeviceLayout::bryton)
        return {};
    return {CourseFormat::gpx, CourseFormat::fit};
}

namespace {

// Where a course of that name goes on the device: a Garmin course file, a Bryton tour name.
// Empty when no valid character is left.
QString deviceName(const QString& courseName, const GarminDevice& device, bool fit)
{
    if (device.layout == devices::DeviceLayout::bryton)
        return devices::stripFATInvalidCharacters(courseName);
    return devices::garminCourseFileName(courseName,
                                         fit ? QLatin1String(".fit") : QLatin1String(".gpx"))
        .value_or(QString());
}

// What a look at the device found: a course of the name, or why it could not look.
struct Probe {
    std::optional<QString> existing;
    std::exception_ptr error;
    QString freeName = {};
};

// "Kandel Runde 2", "Kandel Runde 3" …: the first name no course on the device has. Blocks.
Probe freeName(const devices::DeviceTransport& transport, const GarminDevice& device,
               const QString& name, bool fit)
{
    try {
        for (int k = 2; k < 1000; ++k) {
            const QString candidate = name + QLatin1Char(' ') + QString::number(k);
            if (!transport.existingCourse(deviceName(candidate, device, fit), device))
                return {.existing = std::nullopt, .error = nullptr, .freeName = candidate};
        }
        return {std::nullopt, nullptr};
    } catch (...) {
        return {std::nullopt, std::current_exception()};
    }
}

} // namespace

QCoro::Task<> DeviceSendController::send()
{
    if (!m_selected)
        co_return;
    QPointer self(this);
    QString name = m_courseName;
    auto made = m_makeCourse(name);
    if (!made) {
        fail(made.error());
        co_return;
    }
    auto payload = std::make_shared<const CoursePayload>(*made);
    const GarminDevice device = *m_selected;
    const auto transport = m_transports.forDevice(device);
    const bool garmin = device.layout == devices::DeviceLayout::garmin;
    const bool fit = garmin && m_format == CourseFormat::fit;
    // A FAT volume refuses some characters; a name left without any names no file.
    QString fileName = deviceName(name, device, fit);
    if (fileName.isEmpty()) {
        fail(QStringLiteral("\"%1\" has no valid characters for a device filename.").arg(name));
        co_return;
    }
    m_busy = true;
    m_result.reset();
    emit changed();

    // A course of the same name is never replaced without the rider's word.
    auto look = [transport, device, fileName]() -> Probe {
        try {
            return {transport->existingCourse(fileName, device), nullptr};
        } catch (...) {
            return {std::nullopt, std::current_exception()};
        }
    };
    const Probe found = co_await QtConcurrent::run(std::move(look));
    if (!self)
        co_return;
    if (found.error) {
        fail(DeviceFlows::describe(found.error, device.name));
        co_return;
    }
    auto existing = devices::OnExisting::refuse;
    if (found.existing) {
        Existing answer = Existing::cancel;
        if (m_askReplace) {
            auto asked = m_askReplace(DeviceFlows::replaceQuestion(name, device.name));
            answer = co_await std::move(asked);
            if (!self)
                co_return;
        }
        if (answer == Existing::cancel) {
            m_busy = false;
            emit changed();
            co_return;
        }
        if (answer == Existing::replace) {
            existing = devices::OnExisting::replace;
        } else {
            auto search = [transport, device, name, fit] {
                return freeName(*transport, device, name, fit);
            };
            const Probe free = co_await QtConcurrent::run(std::move(search));
            if (!self)
                co_return;
            if (free.error || free.freeName.isEmpty()) {
                fail(free.error ? DeviceFlows::describe(free.error, device.name)
                                : Texts::tr("No free course name is left on %1.").arg(device.name));
                co_return;
            }
            name = free.freeName;
            fileName = deviceName(name, device, fit);
            made = m_makeCourse(name);
            if (!made) {
                fail(made.error());
                co_return;
            }
            payload = std::make_shared<const CoursePayload>(*made);
        }
    }

    // Named outside the co_await: GCC 12 destroys a closure built inside one twice.
    auto write = [transport, payload, fileName, device, garmin, fit,
                  existing]() -> std::exception_ptr {
        try {
            if (garmin)
                transport->writeCourse(fit ? payload->fit : payload->gpx, fileName, device,
                                       existing);
            else
                transport->writeTour(payload->coordinates, fileName, device, existing);
            return nullptr;
        } catch (...) {
            return std::current_exception();
        }
    };
    const std::exception_ptr error = co_await QtConcurrent::run(std::move(write));
    if (!self)
        co_return;
    if (error) {
        fail(DeviceFlows::describe(error, device.name));
        co_return;
    }
    finishSend(name, device, fit);
}

void DeviceSendController::finishSend(const QString& name, const GarminDevice& device, bool fit)
{
    m_busy = false;
    emit changed();
    const bool garmin = device.layout == devices::DeviceLayout::garmin;
    const QString detail = garmin && DeviceFlows::isMTP(device)
                               ? Texts::tr("Disconnect USB — the device imports on disconnect.")
                               : Texts::tr("Eject, then restart the device.");
    // A FIT course says so; a GPX course is what a Garmin gets unless asked otherwise.
    m_toasts.show(Texts::tr("Sent '%1' to %2").arg(name, device.name),
                  fit ? formatLabel(CourseFormat::fit) + QStringLiteral(". ") + detail : detail);
    emit finished();
}

} // namespace zuvo::app
