#include "filesystem/http_system.h"

#include "foundation/log.h"

namespace HVFileSystem {

File* HttpSystem::OpenFile(const char* path, OpenMode)
{
    HVI_Log(HV_LOG_ERROR, "HttpSystem: fetching '%s' is not available yet.", path);
    return nullptr;
}

bool HttpSystem::FindPath(const char*)
{
    return false;
}

bool HttpSystem::GetFileInfo(const char*, HV_FileInfo&)
{
    return false;
}

bool HttpSystem::WriteFileAtomically(const char* path, const void*, int64_t)
{
    HVI_Log(HV_LOG_ERROR, "HVI_WriteFileAtomically: '%s' cannot be written.", path);
    return false;
}

}  // namespace HVFileSystem
