#include "winapi/kernel/file_descriptors.h"

#include <errno.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace halvo::kernel {

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t put = write(fd, data, size);
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += put;
        size -= static_cast<size_t>(put);
    }
    return true;
}

std::string UniqueFileName(const std::string& folder, const std::string& prefix, unsigned number)
{
    char name[16];
    std::snprintf(name, sizeof name, "%.3s%04X.TMP", prefix.c_str(), number & 0xFFFFu);
    const bool separated = !folder.empty() && (folder.back() == '/' || folder.back() == '\\');
    return folder + (separated ? "" : "/") + name;
}

int CreateUniqueFile(const std::string& folder, const std::string& prefix, mode_t mode, std::string& name,
                     unsigned& number)
{
    // Processes and calls start at different numbers, so a search rarely
    // meets a name that is taken; O_EXCL settles every meeting.
    static std::atomic<unsigned> calls{0};
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const unsigned seed = unsigned(getpid()) * 2654435761u + unsigned(now.tv_nsec) + calls++ * 40503u;
    for (unsigned step = 0; step < 0xFFFFu; ++step) {
        number = (seed + step) % 0xFFFFu + 1;
        name = UniqueFileName(folder, prefix, number);
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

}  // namespace halvo::kernel
