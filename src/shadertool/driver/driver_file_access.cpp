// The preprocessor's file access over the engine's file system, so that
// included files and source stamps are found by their schemed paths.
#include "filesystem/file_operations.h"
#include "shadertool/driver/driver_file_access.h"

namespace ShaderTool {
namespace {

void* OpenEngineFile(const char* path, int64_t* size)
{
    HV_File* file = HV_FileSystem_OpenFile(path, "r");
    if (file == nullptr) return nullptr;
    int64_t end = -1;
    if (HV_FileSystem_SeekFile(file, 0, HV_SEEK_END)) end = HV_FileSystem_GetFilePosition(file);
    if (end < 0 || !HV_FileSystem_SeekFile(file, 0, HV_SEEK_START)) {
        HV_FileSystem_CloseFile(file);
        return nullptr;
    }
    *size = end;
    return file;
}

int64_t ReadEngineFile(void* buffer, int64_t count, void* file)
{
    return count > 0 ? HV_FileSystem_ReadFile(buffer, count, static_cast<HV_File*>(file)) : 0;
}

void CloseEngineFile(void* file) { HV_FileSystem_CloseFile(static_cast<HV_File*>(file)); }

bool GetEngineFileStamp(const char* path, int32_t* stamp)
{
    HV_FileInfo info;
    if (!HV_FileSystem_GetFileInfo(path, &info)) return false;
    *stamp = static_cast<int32_t>(info.lastModificationTime);
    return true;
}

constexpr IncludeFileAccess kEngineFileAccess = {
    OpenEngineFile,
    ReadEngineFile,
    CloseEngineFile,
    GetEngineFileStamp,
};

}  // namespace

void UseEngineFileAccess() { SetIncludeFileAccess(&kEngineFileAccess); }

}  // namespace ShaderTool
