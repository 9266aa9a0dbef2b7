#include "FakeLibMTP.h"

#include <QFile>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <libmtp.h>
#include <map>
#include <mutex>

namespace zuvo::test::fakemtp {

namespace {

State world;
std::map<LIBMTP_mtpdevice_t*, std::size_t> handles;

int initCount = 0;
std::atomic<int> callCount = 0;
std::atomic<int> offThread = 0;
// Static initialisation runs on the main thread.
const std::thread::id mainThread = std::this_thread::get_id();
std::optional<std::thread::id> mtpThread;
std::mutex mtpThreadLock;

void called()
{
    ++callCount;
    const std::thread::id self = std::this_thread::get_id();
    const std::lock_guard lock(mtpThreadLock);
    if (!mtpThread)
        mtpThread = self;
    if (*mtpThread != self || self == mainThread)
        ++offThread;
}

Device& deviceOf(LIBMTP_mtpdevice_t* handle)
{
    return world.devices.at(handles.at(handle));
}

Object* objectWithID(Device& device, std::uint32_t id)
{
    for (Storage& storage : device.storages) {
        for (Object& object : storage.objects) {
            if (object.id == id)
                return &object;
        }
    }
    return nullptr;
}

char* copy(const std::optional<std::string>& text)
{
    return text ? strdup(text->c_str()) : nullptr;
}

LIBMTP_file_t* record(const Object& object, std::uint32_t storage)
{
    auto* file = static_cast<LIBMTP_file_t*>(std::calloc(1, sizeof(LIBMTP_file_t)));
    ++world.liveFileRecords;
    file->item_id = object.id;
    file->parent_id = object.parent;
    file->storage_id = storage;
    file->filename = copy(object.name);
    file->filesize = std::uint64_t(object.content.size());
    file->modificationdate = object.modified;
    file->filetype = object.folder ? LIBMTP_FILETYPE_FOLDER : LIBMTP_FILETYPE_UNKNOWN;
    return file;
}

void releaseStorages(LIBMTP_mtpdevice_t* handle)
{
    while (LIBMTP_devicestorage_t* storage = handle->storage) {
        handle->storage = storage->next;
        std::free(storage);
    }
}

} // namespace

State& state()
{
    return world;
}

void reset()
{
    world = {};
}

int initCalls()
{
    return initCount;
}

int calls()
{
    return callCount;
}

int callsOffTheMTPThread()
{
    return offThread;
}

const Object* find(const Device& device, std::uint32_t parent, const std::string& name)
{
    for (const Object& object : device.storages.at(0).objects) {
        if (object.parent == parent && object.name == name)
            return &object;
    }
    return nullptr;
}

} // namespace zuvo::test::fakemtp

using namespace zuvo::test::fakemtp;

extern "C" {

void LIBMTP_Init(void)
{
    called();
    ++initCount;
}

LIBMTP_error_number_t LIBMTP_Detect_Raw_Devices(LIBMTP_raw_device_t** list, int* count)
{
    called();
    *count = int(world.devices.size());
    *list = nullptr;
    if (world.detectError)
        return LIBMTP_error_number_t(*world.detectError);
    if (world.devices.empty())
        return LIBMTP_ERROR_NO_DEVICE_ATTACHED;
    *list = static_cast<LIBMTP_raw_device_t*>(
        std::calloc(world.devices.size(), sizeof(LIBMTP_raw_device_t)));
    for (std::size_t i = 0; i < world.devices.size(); ++i)
        (*list)[i].devnum = std::uint8_t(i);
    return LIBMTP_ERROR_NONE;
}

LIBMTP_mtpdevice_t* LIBMTP_Open_Raw_Device_Uncached(LIBMTP_raw_device_t* raw)
{
    called();
    if (!world.devices.at(raw->devnum).opens)
        return nullptr;
    auto* handle = static_cast<LIBMTP_mtpdevice_t*>(std::calloc(1, sizeof(LIBMTP_mtpdevice_t)));
    handles[handle] = raw->devnum;
    ++world.openHandles;
    return handle;
}

void LIBMTP_Release_Device(LIBMTP_mtpdevice_t* handle)
{
    called();
    releaseStorages(handle);
    handles.erase(handle);
    std::free(handle);
    --world.openHandles;
}

char* LIBMTP_Get_Serialnumber(LIBMTP_mtpdevice_t* handle)
{
    called();
    return copy(deviceOf(handle).serial);
}

char* LIBMTP_Get_Friendlyname(LIBMTP_mtpdevice_t* handle)
{
    called();
    return copy(deviceOf(handle).friendlyName);
}

char* LIBMTP_Get_Modelname(LIBMTP_mtpdevice_t* handle)
{
    called();
    return copy(deviceOf(handle).modelName);
}

int LIBMTP_Get_Storage(LIBMTP_mtpdevice_t* handle, int const)
{
    called();
    const Device& device = deviceOf(handle);
    if (device.storageFails)
        return -1;
    releaseStorages(handle);
    LIBMTP_devicestorage_t* previous = nullptr;
    for (const Storage& storage : device.storages) {
        auto* entry =
            static_cast<LIBMTP_devicestorage_t*>(std::calloc(1, sizeof(LIBMTP_devicestorage_t)));
        entry->id = storage.id;
        entry->prev = previous;
        (previous ? previous->next : handle->storage) = entry;
        previous = entry;
    }
    return 0;
}

LIBMTP_file_t* LIBMTP_Get_Files_And_Folders(LIBMTP_mtpdevice_t* handle, uint32_t const storage,
                                            uint32_t const parent)
{
    called();
    LIBMTP_file_t* first = nullptr;
    LIBMTP_file_t** next = &first;
    for (const Storage& candidate : deviceOf(handle).storages) {
        if (candidate.id != storage)
            continue;
        for (const Object& object : candidate.objects) {
            if (object.parent != parent)
                continue;
            *next = record(object, storage);
            next = &(*next)->next;
        }
    }
    return first;
}

LIBMTP_file_t* LIBMTP_new_file_t(void)
{
    called();
    ++world.liveFileRecords;
    return static_cast<LIBMTP_file_t*>(std::calloc(1, sizeof(LIBMTP_file_t)));
}

void LIBMTP_destroy_file_t(LIBMTP_file_t* file)
{
    called();
    if (!file)
        return;
    std::free(file->filename);
    std::free(file);
    --world.liveFileRecords;
}

LIBMTP_file_t* LIBMTP_Get_Filemetadata(LIBMTP_mtpdevice_t* handle, uint32_t const id)
{
    called();
    Device& device = deviceOf(handle);
    const Object* object = objectWithID(device, id);
    if (!object || device.noMetadataAfterSend)
        return nullptr;
    LIBMTP_file_t* file = record(*object, 0);
    if (device.sizeAfterSend)
        file->filesize = *device.sizeAfterSend;
    return file;
}

int LIBMTP_Get_File_To_File(LIBMTP_mtpdevice_t* handle, uint32_t id, char const* const path,
                            LIBMTP_progressfunc_t const, void const* const)
{
    called();
    Device& device = deviceOf(handle);
    const Object* object = objectWithID(device, id);
    if (!object || object->folder || device.downloadFails)
        return -1;
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(object->content) != object->content.size())
        return -1;
    return 0;
}

int LIBMTP_Send_File_From_File(LIBMTP_mtpdevice_t* handle, char const* const path,
                               LIBMTP_file_t* const file, LIBMTP_progressfunc_t const,
                               void const* const)
{
    called();
    Device& device = deviceOf(handle);
    world.uploadedFrom.push_back(path);
    QFile source(QFile::decodeName(path));
    world.uploadSourceExisted = source.open(QIODevice::ReadOnly);
    device.filetypeOfLastSend = file->filetype;
    if (device.sendFails || !world.uploadSourceExisted)
        return -1;
    for (Storage& storage : device.storages) {
        if (storage.id != file->storage_id)
            continue;
        const std::uint32_t id = world.nextObjectID++;
        storage.objects.push_back({.id = id,
                                   .parent = file->parent_id,
                                   .name = std::string(file->filename),
                                   .content = source.readAll(),
                                   .modified = std::time(nullptr)});
        file->item_id = id;
        return 0;
    }
    return -1;
}

void LIBMTP_Dump_Errorstack(LIBMTP_mtpdevice_t* handle)
{
    called();
    ++deviceOf(handle).errorStackDumps;
}

void LIBMTP_Clear_Errorstack(LIBMTP_mtpdevice_t* handle)
{
    called();
    ++deviceOf(handle).errorStackClears;
}

} // extern "C"
