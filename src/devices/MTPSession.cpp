#include "devices/MTPSession.h"

#include "devices/DeviceError.h"
#include "devices/FileReplacement.h"
#include "devices/FileSystemError.h"
#include "devices/detail/SerialThread.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <cstdlib>
#include <cstring>
#include <libmtp.h>
#include <memory>

namespace zuvo::devices {

namespace {

using RawDevices = std::unique_ptr<LIBMTP_raw_device_t, decltype(&std::free)>;
using OpenDevice = std::unique_ptr<LIBMTP_mtpdevice_t, decltype(&LIBMTP_Release_Device)>;
using FileRecord = std::unique_ptr<LIBMTP_file_t, decltype(&LIBMTP_destroy_file_t)>;

detail::SerialThread& mtpThread()
{
    static detail::SerialThread thread;
    return thread;
}

// Only ever called on the MTP thread, so the flag needs no lock.
void initialiseOnce()
{
    static bool initialised = false;
    if (!initialised) {
        LIBMTP_Init();
        initialised = true;
    }
}

// Strings from libmtp belong to the caller; an empty one counts as absent.
std::optional<QString> take(char* text)
{
    if (!text)
        return std::nullopt;
    const QString value = QString::fromUtf8(text);
    std::free(text);
    if (value.isEmpty())
        return std::nullopt;
    return value;
}

// The serial `detect` reports for the device at `index` of the detection list.
QString serialOf(LIBMTP_mtpdevice_t* device, int index)
{
    return take(LIBMTP_Get_Serialnumber(device))
        .value_or(QStringLiteral("unknown-") + QString::number(index));
}

[[noreturn]] void failAfterDumping(LIBMTP_mtpdevice_t* device, const QString& message)
{
    LIBMTP_Dump_Errorstack(device);
    LIBMTP_Clear_Errorstack(device);
    throw DeviceError::mtp(message);
}

// Removes a local file when it goes out of scope, whatever happened.
struct RemovedOnExit {
    QString path;
    ~RemovedOnExit() { QFile::remove(path); }
};

} // namespace

std::vector<MTPDeviceInfo> MTPSession::detect()
{
    std::vector<MTPDeviceInfo> found;
    mtpThread().run([&found] {
        initialiseOnce();
        LIBMTP_raw_device_t* list = nullptr;
        int count = 0;
        const LIBMTP_error_number_t result = LIBMTP_Detect_Raw_Devices(&list, &count);
        const RawDevices raw(list, &std::free);
        if (result == LIBMTP_ERROR_NO_DEVICE_ATTACHED)
            return;
        if (result != LIBMTP_ERROR_NONE || !list || count < 1) {
            if (count == 0)
                return;
            throw DeviceError::mtp(
                QStringLiteral("device detection failed (libmtp error %1)").arg(int(result)));
        }
        for (int i = 0; i < count; ++i) {
            const OpenDevice device(LIBMTP_Open_Raw_Device_Uncached(&list[i]),
                                    &LIBMTP_Release_Device);
            if (!device)
                continue;
            std::optional<QString> name = take(LIBMTP_Get_Friendlyname(device.get()));
            if (!name)
                name = take(LIBMTP_Get_Modelname(device.get()));
            const QString serial = serialOf(device.get(), i);
            found.push_back({.serial = serial,
                             .name = name.value_or(QStringLiteral("MTP device")),
                             .usbAddress = {int(list[i].bus_location), int(list[i].devnum)}});
        }
    });
    return found;
}

void MTPSession::runWithDevice(const QString& serial, const std::function<void(Device*)>& body)
{
    mtpThread().run([&] {
        initialiseOnce();
        LIBMTP_raw_device_t* list = nullptr;
        int count = 0;
        const LIBMTP_error_number_t result = LIBMTP_Detect_Raw_Devices(&list, &count);
        const RawDevices raw(list, &std::free);
        if (result != LIBMTP_ERROR_NONE || !list || count < 1)
            throw DeviceError::mtp(QStringLiteral("device no longer connected"));
        for (int i = 0; i < count; ++i) {
            const OpenDevice device(LIBMTP_Open_Raw_Device_Uncached(&list[i]),
                                    &LIBMTP_Release_Device);
            if (!device)
                continue;
            // A device without a serial is known by its place in the list, as
            // `detect` named it, so that it can be reached at all.
            if (serialOf(device.get(), i) == serial) {
                body(device.get());
                return;
            }
        }
        throw DeviceError::mtp(QStringLiteral("device ") + serial +
                               QStringLiteral(" not found — reconnect and rescan"));
    });
}

std::vector<MTPSession::Folder> MTPSession::folders(const QStringList& path, Device* device)
{
    if (LIBMTP_Get_Storage(device, LIBMTP_STORAGE_SORTBY_NOTSORTED) != 0 || !device->storage)
        throw DeviceError::mtp(QStringLiteral("device has no storage list"));
    const quint32 storage = device->storage->id;
    std::vector<quint32> found{LIBMTP_FILES_AND_FOLDERS_ROOT};
    for (const QString& name : path) {
        std::vector<quint32> exact;
        std::vector<quint32> otherCase;
        for (const quint32 parent : found) {
            LIBMTP_file_t* entry = LIBMTP_Get_Files_And_Folders(device, storage, parent);
            while (entry) {
                const FileRecord record(entry, &LIBMTP_destroy_file_t);
                entry = entry->next;
                if (record->filetype != LIBMTP_FILETYPE_FOLDER || !record->filename)
                    continue;
                const QString entryName = QString::fromUtf8(record->filename);
                if (entryName == name)
                    exact.push_back(record->item_id);
                else if (entryName.compare(name, Qt::CaseInsensitive) == 0)
                    otherCase.push_back(record->item_id);
            }
        }
        found = std::move(exact);
        found.insert(found.end(), otherCase.begin(), otherCase.end());
    }
    std::vector<Folder> result;
    for (const quint32 id : found)
        result.push_back({.id = id, .storage = storage});
    return result;
}

MTPSession::Folder MTPSession::folder(const QStringList& path, Device* device)
{
    const std::vector<Folder> found = folders(path, device);
    if (found.empty())
        throw DeviceError::mtp(QStringLiteral("folder ") + path.join(QLatin1Char('/')) +
                               QStringLiteral(" not found on device"));
    return found.front();
}

std::vector<MTPSession::FileEntry> MTPSession::files(quint32 folder, quint32 storage,
                                                     Device* device)
{
    std::vector<FileEntry> files;
    LIBMTP_file_t* entry = LIBMTP_Get_Files_And_Folders(device, storage, folder);
    while (entry) {
        const FileRecord record(entry, &LIBMTP_destroy_file_t);
        entry = entry->next;
        if (record->filetype == LIBMTP_FILETYPE_FOLDER)
            continue;
        FileEntry file{.id = record->item_id,
                       .name = record->filename ? QString::fromUtf8(record->filename)
                                                : QStringLiteral("?"),
                       .size = record->filesize};
        if (record->modificationdate > 0)
            file.modified = QDateTime::fromSecsSinceEpoch(record->modificationdate, Qt::UTC);
        files.push_back(std::move(file));
    }
    return files;
}

void MTPSession::download(quint32 objectID, const QString& to, Device* device)
{
    FileReplacement file(to);
    if (LIBMTP_Get_File_To_File(device, objectID,
                                QFile::encodeName(file.temporaryPath()).constData(), nullptr,
                                nullptr) != 0)
        failAfterDumping(device, QStringLiteral("download failed for object %1").arg(objectID));
    file.commit();
}

void MTPSession::remove(quint32 objectID, Device* device)
{
    if (LIBMTP_Delete_Object(device, objectID) != 0)
        failAfterDumping(device, QStringLiteral("could not delete object %1").arg(objectID));
}

quint64 MTPSession::send(const QByteArray& data, const QString& named, quint32 parent,
                         quint32 storage, Device* device)
{
    // libmtp uploads from a file; this one is ours alone (created new, under
    // an unguessable name) and goes when the upload is over, however it ended.
    const RemovedOnExit temp{QDir::tempPath() + QStringLiteral("/zuvo-mtp-") +
                             QUuid::createUuid().toString(QUuid::WithoutBraces)};
    QFile file(temp.path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(data) != data.size() ||
        !file.flush())
        throw FileSystemError{.path = temp.path, .message = file.errorString()};
    file.close();

    const FileRecord record(LIBMTP_new_file_t(), &LIBMTP_destroy_file_t);
    if (!record)
        throw DeviceError::mtp(QStringLiteral("send failed for ") + named);
    record->filesize = quint64(data.size());
    record->filename = strdup(named.toUtf8().constData());
    record->filetype = LIBMTP_FILETYPE_UNKNOWN;
    record->parent_id = parent;
    record->storage_id = storage;
    if (LIBMTP_Send_File_From_File(device, QFile::encodeName(temp.path).constData(), record.get(),
                                   nullptr, nullptr) != 0)
        failAfterDumping(device, QStringLiteral("send failed for ") + named);

    const FileRecord metadata(LIBMTP_Get_Filemetadata(device, record->item_id),
                              &LIBMTP_destroy_file_t);
    if (!metadata)
        throw DeviceError::verificationFailed(QStringLiteral("no metadata for ") + named +
                                              QStringLiteral(" after send"));
    return metadata->filesize;
}

} // namespace zuvo::devices
