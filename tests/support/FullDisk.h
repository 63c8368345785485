#pragma once

#include <csignal>
#include <sys/resource.h>

namespace harmonet::test {

// Lets the files of this process grow to no more than limitBytes while it
// lives, as a full disk does: a write beyond fails (instead of raising a
// signal).
class FullDisk {
public:
    explicit FullDisk(rlim_t limitBytes = 16)
    {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit small = m_previous;
        small.rlim_cur = limitBytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

} // namespace harmonet::test
