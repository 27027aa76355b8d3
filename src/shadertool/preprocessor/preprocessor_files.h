#pragma once

#include <cstdint>

// How the preprocessor reaches files: opening, reading and closing included
// files and asking for modification stamps. The default table uses the C and
// C++ standard libraries; the engine installs a table over its file system.
namespace ShaderTool {

struct IncludeFileAccess {
    // Opens a file for reading; null when it cannot be opened. *size receives
    // the file's size in bytes.
    void* (*open)(const char* path, int64_t* size);
    // Reads up to count bytes at the current position; the number read.
    int64_t (*read)(void* buffer, int64_t count, void* file);
    void (*close)(void* file);
    // Last modification time in seconds since 1970; false when unknown.
    bool (*getStamp)(const char* path, int32_t* stamp);
};

// Null restores the default table. The table must outlive its use.
void SetIncludeFileAccess(const IncludeFileAccess* access);
const IncludeFileAccess& GetIncludeFileAccess();

}  // namespace ShaderTool
