#pragma once

#include <cstdint>

#include "filesystem/write_step.h"
#include "foundation/string.h"
#include "halvo/filesystem.h"

// The class pair behind every file system: a System opens Files. The System
// objects live as long as the process (one native system serves every scheme
// that has a folder, one HTTP system serves "http://"); paths handed to a
// System are already resolved: a native path, or the URL for "http://".
namespace HVFileSystem {

enum class OpenMode { Read, Write, Append };

class File {
public:
    virtual ~File() = default;
    File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Reads up to count bytes from the current position; the bytes read.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    // Writes count bytes at the current position; the bytes written.
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // origin is HV_SEEK_START, HV_SEEK_CURRENT or HV_SEEK_END.
    virtual bool Seek(int64_t offset, int origin) = 0;
    // The position from the start, -1 on failure.
    virtual int64_t GetPosition() = 0;
    // The size now, -1 on failure.
    virtual int64_t GetSize() = 0;
    // Hands buffered writes to the operating system; false when that fails.
    virtual bool Flush() = 0;
    // Flushes and closes; false when buffered writes could not be stored.
    // The object stays to be deleted; later calls fail.
    virtual bool Close() = 0;
};

class System {
public:
    virtual ~System() = default;

    // Null when the file cannot be opened.
    virtual File* OpenFile(const char* path, OpenMode mode) = 0;
    // Whether a file (not a folder) exists at the path.
    virtual bool FindPath(const char* path) = 0;
    virtual bool GetFileInfo(const char* path, HV_FileInfo& info) = 0;
    // Writes the whole file through a temporary file beside it; see
    // HVI_WriteFileAtomically. The step that failed, or None.
    virtual WriteStep WriteFileAtomically(const char* path, const void* bytes, int64_t size) = 0;
};

}  // namespace HVFileSystem
