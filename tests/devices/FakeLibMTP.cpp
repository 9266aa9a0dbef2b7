#include "FakeLibMTP.h"

#include <QFile>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <libmtp.h>
#include <map>
#include <mutex>
#include <thread>

namespace zuvo::test::fakemtp {

namespace {

State world;
std::map<LIBMTP_mtpdevice_t*, std::size_t> handles;
std::uint32_t nextObjectID = 5000;

int initCount = 0;
std::atomic<int> callCount = 0;
std::atomic<int> offThread = 0;
const std::thread::id mainThread = std::this_thread::get_id(); // static initialisation
std::optional<std::thread::id> mtpThread;
std::mutex mtpThreadLock;

void called()
{
    ++callCount;
    const std::lock_guard lock(mtpThreadLock);
    const std::thread::id self = std::this_thread::get_id();
    if (!mtpThread)
        mtpThread = self;
    if (*mtpThread != self || self == mainThread)
        ++offThread;
}

Device& deviceOf(LIBMTP_mtpdevice_t* handle)
{
    called();
    return world.devices.at(handles.at(handle));
}

Object* objectWithID(Device& device, std::uint32_t id)
{
    for (Object& object : device.objects) {
        if (object.id == id)
            return &object;
    }
    return nullptr;
}

char* copy(const std::optional<std::string>& text)
{
    return text ? strdup(text->c_str()) : nullptr;
}

LIBMTP_file_t* record(const Object& object)
{
    auto* file = static_cast<LIBMTP_file_t*>(std::calloc(1, sizeof(LIBMTP_file_t)));
    ++world.liveFileRecords;
    file->item_id = object.id;
    file->parent_id = object.parent;
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
    *list = static_cast<LIBMTP_raw_device_t*>(std::calloc(*count, sizeof(LIBMTP_raw_device_t)));
    for (int i = 0; i < *count; ++i) {
        (*list)[i].bus_location = 3;
        (*list)[i].devnum = std::uint8_t(i);
    }
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
    deviceOf(handle);
    releaseStorages(handle);
    handles.erase(handle);
    std::free(handle);
    --world.openHandles;
}

char* LIBMTP_Get_Serialnumber(LIBMTP_mtpdevice_t* handle)
{
    return copy(deviceOf(handle).serial);
}

char* LIBMTP_Get_Friendlyname(LIBMTP_mtpdevice_t* handle)
{
    return copy(deviceOf(handle).friendlyName);
}

char* LIBMTP_Get_Modelname(LIBMTP_mtpdevice_t* handle)
{
    return copy(deviceOf(handle).modelName);
}

int LIBMTP_Get_Storage(LIBMTP_mtpdevice_t* handle, int const)
{
    const Device& device = deviceOf(handle);
    if (device.storageFails)
        return -1;
    releaseStorages(handle);
    for (auto id = device.storages.rbegin(); id != device.storages.rend(); ++id) {
        auto* entry =
            static_cast<LIBMTP_devicestorage_t*>(std::calloc(1, sizeof(LIBMTP_devicestorage_t)));
        entry->id = *id;
        entry->next = handle->storage;
        handle->storage = entry;
    }
    return 0;
}

LIBMTP_file_t* LIBMTP_Get_Files_And_Folders(LIBMTP_mtpdevice_t* handle, uint32_t const storage,
                                            uint32_t const parent)
{
    const Device& device = deviceOf(handle);
    LIBMTP_file_t* first = nullptr;
    LIBMTP_file_t** next = &first;
    if (device.storages.empty() || device.storages[0] != storage)
        return nullptr;
    for (const Object& object : device.objects) {
        if (object.parent == parent) {
            *next = record(object);
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
    std::free(file->filename);
    std::free(file);
    --world.liveFileRecords;
}

LIBMTP_file_t* LIBMTP_Get_Filemetadata(LIBMTP_mtpdevice_t* handle, uint32_t const id)
{
    Device& device = deviceOf(handle);
    const Object* object = objectWithID(device, id);
    if (!object || device.noMetadataAfterSend)
        return nullptr;
    LIBMTP_file_t* file = record(*object);
    file->filesize = device.sizeAfterSend.value_or(file->filesize);
    return file;
}

int LIBMTP_Get_File_To_File(LIBMTP_mtpdevice_t* handle, uint32_t id, char const* const path,
                            LIBMTP_progressfunc_t const, void const* const)
{
    Device& device = deviceOf(handle);
    const Object* object = objectWithID(device, id);
    QFile file(QFile::decodeName(path));
    if (!object || !file.open(QIODevice::WriteOnly))
        return -1;
    // A failing transfer stops half-way, as when the cable is pulled.
    if (device.downloadFails) {
        file.write(object->content.first(object->content.size() / 2));
        return -1;
    }
    return file.write(object->content) == object->content.size() ? 0 : -1;
}

int LIBMTP_Send_File_From_File(LIBMTP_mtpdevice_t* handle, char const* const path,
                               LIBMTP_file_t* const file, LIBMTP_progressfunc_t const,
                               void const* const)
{
    Device& device = deviceOf(handle);
    world.uploadedFrom.push_back(path);
    QFile source(QFile::decodeName(path));
    if (device.sendFails || file->filetype != LIBMTP_FILETYPE_UNKNOWN ||
        file->storage_id != device.storages.at(0) || !source.open(QIODevice::ReadOnly))
        return -1;
    file->item_id = nextObjectID++;
    device.objects.push_back({.id = file->item_id,
                              .parent = file->parent_id,
                              .name = file->filename,
                              .content = source.readAll(),
                              .modified = std::time(nullptr)});
    return 0;
}

int LIBMTP_Delete_Object(LIBMTP_mtpdevice_t* handle, uint32_t id)
{
    Device& device = deviceOf(handle);
    if (device.deleteFails)
        return -1;
    return std::erase_if(device.objects, [id](const Object& object) { return object.id == id; }) ==
                   1
               ? 0
               : -1;
}

void LIBMTP_Dump_Errorstack(LIBMTP_mtpdevice_t* handle)
{
    ++deviceOf(handle).errorStackDumps;
}

void LIBMTP_Clear_Errorstack(LIBMTP_mtpdevice_t* handle)
{
    ++deviceOf(handle).errorStackClears;
}

} // extern "C"
