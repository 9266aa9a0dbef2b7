#include "OtherThreadsCannotAllocate.h"

#include <atomic>
#include <cstdlib>
#include <new>
#include <thread>

namespace {

std::atomic<bool> restricted = false;
std::thread::id allowedThread;

} // namespace

namespace zuvo::test {

OtherThreadsCannotAllocate::OtherThreadsCannotAllocate()
{
    allowedThread = std::this_thread::get_id();
    restricted = true;
}

OtherThreadsCannotAllocate::~OtherThreadsCannotAllocate()
{
    restricted = false;
}

} // namespace zuvo::test

void* operator new(std::size_t size)
{
    if (restricted && std::this_thread::get_id() != allowedThread)
        throw std::bad_alloc();
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
