#pragma once

#include "filesystem/file_system_classes.h"

namespace HVFileSystem {

// "http://" paths: the file is fetched into "cache://" and opened from there.
// Only reading is possible.
class HttpSystem final : public System {
public:
    File* OpenFile(const char* path, OpenMode mode) override;
    bool FindPath(const char* path) override;
    bool GetFileInfo(const char* path, HV_FileInfo& info) override;
    WriteStep WriteFileAtomically(const char* path, const void* bytes, int64_t size) override;
};

}  // namespace HVFileSystem
