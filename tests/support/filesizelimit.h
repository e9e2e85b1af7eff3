#pragma once
// While it lives, a write that would make a file longer than the limit fails, as on a full disk.
// Unix systems only (the process's file size limit); on Windows kWorks is false and it does
// nothing, so the tests that need it skip.

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <sys/resource.h>

#include <csignal>

struct FileSizeLimit {
    static constexpr bool kWorks = true;
    explicit FileSizeLimit(qint64 bytes) {
        std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead of ending the process
        getrlimit(RLIMIT_FSIZE, &m_saved);
        const rlimit limit{rlim_t(bytes), m_saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }
    rlimit m_saved{};
};
#else
struct FileSizeLimit {
    static constexpr bool kWorks = false;
    explicit FileSizeLimit(qint64) {}
};
#endif
