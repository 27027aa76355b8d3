#include "winapi/kernel/name_claims.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

namespace halvo::kernel {
namespace {

// "Global\" and "Local\" select a namespace on the platform; here all
// processes of the user share one.
std::string WithoutNamespace(const std::string& name)
{
    for (const char* prefix : {"Global\\", "Local\\"}) {
        const std::string text = prefix;
        if (name.compare(0, text.size(), text) == 0) return name.substr(text.size());
    }
    return name;
}

std::string ClaimFilePath(const std::string& name)
{
    const char* runtime = getenv("XDG_RUNTIME_DIR");
    std::string folder = runtime != nullptr && runtime[0] == '/' ? runtime : "/tmp";
    // Letters and digits of the name keep the file recognisable; the hash keeps
    // names that differ only in other characters apart.
    std::string readable;
    for (char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (readable.size() < 64) readable += plain ? c : '_';
    }
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016zx", std::hash<std::string>{}(name));
    return folder + "/halvo-name-" + std::to_string(getuid()) + "-" + readable + "-" + hash + ".lock";
}

}  // namespace

std::unique_ptr<NameClaim> NameClaim::Take(const std::string& name, bool* heldElsewhere)
{
    *heldElsewhere = false;
    const std::string path = ClaimFilePath(WithoutNamespace(name));
    for (;;) {
        const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) return std::unique_ptr<NameClaim>(new NameClaim(-1, {}));
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool taken = errno == EWOULDBLOCK;
            close(fd);
            if (taken) {
                *heldElsewhere = true;
                return nullptr;
            }
            return std::unique_ptr<NameClaim>(new NameClaim(-1, {}));
        }
        // The holder before us removes the file when it lets go; a lock on a
        // file that is no longer at the path claims nothing, so try again.
        struct stat locked, current;
        if (fstat(fd, &locked) == 0 && stat(path.c_str(), &current) == 0 && locked.st_ino == current.st_ino &&
            locked.st_dev == current.st_dev) {
            return std::unique_ptr<NameClaim>(new NameClaim(fd, path));
        }
        close(fd);
    }
}

NameClaim::~NameClaim()
{
    if (fd_ < 0) return;
    // Removed while still locked, so nobody can take a claim on this file.
    unlink(path_.c_str());
    close(fd_);
}

}  // namespace halvo::kernel
