// System-wide claims on object names. The first process to create a named
// object claims its name by holding an exclusive lock on a small file in the
// user's runtime folder; another process that creates an object of the same
// name finds the claim taken and is told the object already exists, as it
// would be on the platform, where named objects are shared by all processes.
// Only the name is shared this way: ownership, signals and waits stay within
// each process.
#pragma once

#include <memory>
#include <string>
#include <utility>

namespace halvo::kernel {

class NameClaim {
public:
    // Claims name; null when another process holds the claim. When the claim
    // file cannot be used at all, the name counts as free.
    static std::unique_ptr<NameClaim> Take(const std::string& name, bool* heldElsewhere);
    ~NameClaim();
    NameClaim(const NameClaim&) = delete;
    NameClaim& operator=(const NameClaim&) = delete;

private:
    NameClaim(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    int fd_;  // -1 when no file could be used
    std::string path_;
};

}  // namespace halvo::kernel
