#pragma once

#include "devices/MTPDeviceInfo.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <type_traits>
#include <vector>

struct LIBMTP_mtpdevice_struct;

namespace zuvo::devices {

// The only code that calls libmtp. The library is initialised once, on first
// use, and never shut down; every libmtp call runs on one dedicated thread,
// one at a time, while the caller blocks. Devices are opened afresh for each
// piece of work and found by serial, so a device unplugged and plugged in
// again is found again. `detect` and `withDevice` are called from background
// work; the other operations only from inside a `withDevice` body.
class MTPSession {
public:
    using Device = LIBMTP_mtpdevice_struct;

    // A file listed in a folder.
    struct FileEntry {
        quint32 id = 0;
        QString name = {}; // "?" when the device reports none
        quint64 size = 0;
        std::optional<QDateTime> modified = {}; // absent when the device reports none

        bool operator==(const FileEntry&) const = default;
    };

    // A folder object on one storage of the device.
    struct Folder {
        quint32 id = 0;
        quint32 storage = 0;

        bool operator==(const Folder&) const = default;
    };

    MTPSession() = delete;

    // The attached MTP devices, in detection order; devices that cannot be
    // opened are left out. Throws DeviceError.
    static std::vector<MTPDeviceInfo> detect();

    // Opens the device whose serial (as `detect` reported it) is `serial`,
    // runs `body` with it on the MTP thread and closes it again. Returns what
    // `body` returns and passes on what it throws; throws DeviceError when the
    // device is gone.
    template <typename Body>
    static auto withDevice(const QString& serial, Body&& body)
        -> std::invoke_result_t<Body&, Device*>
    {
        using Result = std::invoke_result_t<Body&, Device*>;
        if constexpr (std::is_void_v<Result>) {
            runWithDevice(serial, [&body](Device* device) { body(device); });
        } else {
            std::optional<Result> result;
            runWithDevice(serial, [&](Device* device) { result.emplace(body(device)); });
            return *std::move(result);
        }
    }

    // Inside a `withDevice` body only.

    // Every folder at `path` (folder names from the root of the first
    // storage, compared in any letter case, those spelt exactly first); an
    // empty path is the storage root. Empty when there is none. Throws
    // DeviceError when the storage cannot be read.
    static std::vector<Folder> folders(const QStringList& path, Device* device);
    // The first of `folders`. Throws DeviceError, also when there is none.
    static Folder folder(const QStringList& path, Device* device);
    // The files (not folders) in a folder, in the device's order. Never fails:
    // a folder that cannot be listed has no files.
    static std::vector<FileEntry> files(quint32 folder, quint32 storage, Device* device);
    // Copies an object to the local path `to`, replacing a file there once
    // the copy is whole.
    // Throws DeviceError or FileSystemError.
    static void download(quint32 objectID, const QString& to, Device* device);
    // Uploads `data` as a file named `named` into a folder and returns the
    // size the device reports for the new object. Throws DeviceError or
    // FileSystemError.
    static quint64 send(const QByteArray& data, const QString& named, quint32 parent,
                        quint32 storage, Device* device);

    // Deletes an object. Throws DeviceError.
    static void remove(quint32 objectID, Device* device);

private:
    static void runWithDevice(const QString& serial, const std::function<void(Device*)>& body);
};

} // namespace zuvo::devices
