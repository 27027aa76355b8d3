#include "filesystem/http_system.h"

#include "filesystem/http_cache_name.h"
#include "filesystem/http_client.h"
#include "filesystem/path_resolution.h"
#include "filesystem/whole_file.h"
#include "foundation/engine_log.h"

namespace {

void LogReadOnly(const char* operation, const char* path)
{
    HVI_Log(HV_LOG_ERROR, "%s: '%s' can only be read.", operation, path);
}

// Fetches the URL and stores its body in "cache://"; out receives the cache
// path. Every fetch goes to the network: the cache holds the latest complete
// answer, and a failed fetch leaves it as it was.
bool FetchIntoCache(const char* operation, const char* url, ResolvedPath& out)
{
    const String cachePath = String::Formatted("cache://%s", HVI_GetHttpCacheFileName(url).GetText());
    if (!HVI_ResolveSchemedPath(operation, cachePath.GetText(), out)) return false;
    HttpGetResult result;
    return HVI_HttpGet(url, result) &&
           HVI_WriteFileAtomically(cachePath.GetText(), result.body.GetData(), result.body.GetSize());
}

}  // namespace

namespace HVFileSystem {

File* HttpSystem::OpenFile(const char* path, OpenMode mode)
{
    if (mode != OpenMode::Read) {
        LogReadOnly("HttpSystem OpenFile", path);
        return nullptr;
    }
    ResolvedPath cached;
    if (!FetchIntoCache("HttpSystem OpenFile", path, cached)) return nullptr;
    return cached.system->OpenFile(cached.systemPath.GetText(), OpenMode::Read);
}

bool HttpSystem::FindPath(const char* path)
{
    ResolvedPath cached;
    return FetchIntoCache("HttpSystem FindPath", path, cached);
}

bool HttpSystem::GetFileInfo(const char* path, HV_FileInfo& info)
{
    ResolvedPath cached;
    return FetchIntoCache("HttpSystem GetFileInfo", path, cached) &&
           cached.system->GetFileInfo(cached.systemPath.GetText(), info);
}

WriteStep HttpSystem::WriteFileAtomically(const char* path, const void*, int64_t)
{
    LogReadOnly("HttpSystem WriteFileAtomically", path);
    return WriteStep::Create;
}

}  // namespace HVFileSystem
