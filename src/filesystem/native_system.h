#pragma once

#include "filesystem/file_system_classes.h"

namespace HVFileSystem {

// Files on disk: paths are native paths. Stateless, so one object serves every
// scheme that has a native root folder.
class NativeSystem final : public System {
public:
    File* OpenFile(const char* path, OpenMode mode) override;
    bool FindPath(const char* path) override;
    bool GetFileInfo(const char* path, HV_FileInfo& info) override;
    WriteStep WriteFileAtomically(const char* path, const void* bytes, int64_t size) override;
};

}  // namespace HVFileSystem

// Creates every missing folder of the relative path below the root folder
// (which ends in '/'); the last element of the path is a file name and is not
// created. False when a folder cannot be created.
bool HVI_CreateFoldersBelow(const char* rootFolder, const char* relativePath);
