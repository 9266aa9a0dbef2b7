#pragma once

#include <csignal>
#include <sys/resource.h>

namespace zuvo::test {

// Makes writes that would grow a file beyond `bytes` fail part-way with EFBIG
// ("File too large"), the way a full disk fails them, in the calling process.
// SIGXFSZ, which would otherwise end the process, is ignored. Safe to call
// between fork and exec (QProcess::setChildProcessModifier).
inline void limitFileSize(rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

// limitFileSize for as long as it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        limitFileSize(bytes);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_previous); }

    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previous{};
};

} // namespace zuvo::test
