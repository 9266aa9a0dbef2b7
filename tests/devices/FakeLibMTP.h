#pragma once

#include <QByteArray>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

// A link-time double of the libmtp functions MTPSession calls, answering from
// simulated devices, with switchable failures and bookkeeping that catches
// calls off the MTP thread and handles or records never released.
namespace zuvo::test::fakemtp {

inline constexpr std::uint32_t root = 0xFFFFFFFF;

struct Object {
    std::uint32_t id = 0;
    std::uint32_t parent = root;
    bool folder = false;
    std::optional<std::string> name = {};
    QByteArray content = {};
    std::time_t modified = 0;

    bool operator==(const Object&) const = default;
};

struct Device {
    std::optional<std::string> serial = {};
    std::optional<std::string> friendlyName = {};
    std::optional<std::string> modelName = {};
    bool opens = true;
    std::vector<std::uint32_t> storages = {}; // ids; every object lies on the first
    std::vector<Object> objects = {};

    bool storageFails = false;
    bool downloadFails = false;
    bool sendFails = false;
    bool deleteFails = false;
    bool noMetadataAfterSend = false;
    std::optional<std::uint64_t> sizeAfterSend = {};

    int errorStackDumps = 0;
    int errorStackClears = 0;
};

struct State {
    std::vector<Device> devices = {};
    std::optional<int> detectError = {}; // returned with every device counted

    int openHandles = 0;
    int liveFileRecords = 0;
    std::vector<std::string> uploadedFrom = {}; // local paths handed to the upload
};

// The tests set it up, then the session reads it on the MTP thread while they wait.
State& state();

// Over the whole process: LIBMTP_Init calls, all calls, and calls made on the
// main thread or on another thread than the first call's.
int initCalls();
int calls();
int callsOffTheMTPThread();

} // namespace zuvo::test::fakemtp
