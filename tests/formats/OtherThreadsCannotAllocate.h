#pragma once

namespace zuvo::test {

// While one lives, operator new throws std::bad_alloc on every thread but the
// one that made it: memory running out exactly where a reader works on a
// thread of its own. (This test program replaces the global operator new to
// make that possible.)
class OtherThreadsCannotAllocate {
public:
    OtherThreadsCannotAllocate();
    ~OtherThreadsCannotAllocate();

    OtherThreadsCannotAllocate(const OtherThreadsCannotAllocate&) = delete;
    OtherThreadsCannotAllocate& operator=(const OtherThreadsCannotAllocate&) = delete;
};

} // namespace zuvo::test
