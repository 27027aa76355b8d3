// Helpers on open files shared by the kernel's file functions.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace halvo::kernel {

// Writes all of data to fd; false with errno set on failure.
bool WriteAll(int fd, const char* data, size_t size);

// Creates and opens (write-only) a new file "<folder>/<prefix><hex>.TMP"
// whose name no other caller, in this process or another, is given; hex is a
// four-digit number from 1 to FFFF. The descriptor, with the name and the
// number filled in, or -1 with errno set.
int CreateUniqueFile(const std::string& folder, const std::string& prefix, mode_t mode, std::string& name,
                     unsigned& number);

// The name CreateUniqueFile gives for that number.
std::string UniqueFileName(const std::string& folder, const std::string& prefix, unsigned number);

}  // namespace halvo::kernel
