// Lowers a resource limit of the test process for the life of the object, to
// make file operations fail as on a full disk (RLIMIT_FSIZE: a write past
// the limit fails with "file too large" instead of ending the process) or
// with no file handles left (RLIMIT_NOFILE).
#pragma once

#include <sys/resource.h>

#include <csignal>

class ScopedLimit {
public:
    ScopedLimit(int resource, rlim_t soft) : m_resource(resource)
    {
        getrlimit(resource, &m_saved);
        const rlimit lowered = {soft, m_saved.rlim_max};
        setrlimit(resource, &lowered);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~ScopedLimit()
    {
        setrlimit(m_resource, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    ScopedLimit(const ScopedLimit&) = delete;
    ScopedLimit& operator=(const ScopedLimit&) = delete;

private:
    int m_resource;
    rlimit m_saved = {};
    void (*m_savedHandler)(int) = SIG_DFL;
};
