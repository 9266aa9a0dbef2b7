#pragma once

#include <QByteArray>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// A link-time double of the libmtp functions MTPSession calls: the same C
// functions, answering from simulated devices held here, with failures a test
// can switch on, and bookkeeping that catches calls off the MTP thread and
// handles or records never released.
namespace zuvo::test::fakemtp {

inline constexpr std::uint32_t root = 0xFFFFFFFF;

struct Object {
    std::uint32_t id = 0;
    std::uint32_t parent = root;
    bool folder = false;
    std::optional<std::string> name = {}; // absent: libmtp reports no file name
    QByteArray content = {};
    std::time_t modified = 0;
};

struct Storage {
    std::uint32_t id = 0;
    std::vector<Object> objects = {};
};

struct Device {
    std::optional<std::string> serial = {};
    std::optional<std::string> friendlyName = {};
    std::optional<std::string> modelName = {};
    bool opens = true;
    std::vector<Storage> storages = {};

    // Failures.
    bool storageFails = false;
    bool downloadFails = false;
    bool sendFails = false;
    bool noMetadataAfterSend = false;
    std::optional<std::uint64_t> sizeAfterSend = {}; // what the device reports instead

    // What happened.
    int errorStackDumps = 0;
    int errorStackClears = 0;
    int filetypeOfLastSend = -1;
};

struct State {
    std::vector<Device> devices = {};
    // Detection fails with this libmtp error while reporting all devices.
    std::optional<int> detectError = {};
    std::uint32_t nextObjectID = 5000;

    // What happened.
    int openHandles = 0;
    int liveFileRecords = 0;
    std::vector<std::string> uploadedFrom = {}; // local paths given to the upload
    bool uploadSourceExisted = false;
};

// The simulated world; tests set it up before calling the session, which
// reads it on the MTP thread only while they wait.
State& state();
void reset();

// Bookkeeping across the whole process.
int initCalls();
int calls();
// Calls made on another thread than the one that made the first call, or on
// the test's main thread.
int callsOffTheMTPThread();

// The object named `name` under `parent` on the first storage of `device`.
const Object* find(const Device& device, std::uint32_t parent, const std::string& name);

} // namespace zuvo::test::fakemtp
