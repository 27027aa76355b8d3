#include "filesystem/whole_file.h"

#include <cstdint>
#include <vector>

#include "data/database_files.h"
#include "filesystem/file_operations.h"
#include "filesystem/native_system.h"
#include "filesystem/path_resolution.h"
#include "foundation/engine_log.h"

namespace {

bool WriteDatabaseFile(const char* path, const void* bytes, int64_t size, const char*& failureText)
{
    WriteStep failed = WriteStep::None;
    if (HVI_WriteFileAtomically(path, bytes, size, &failed)) return true;
    failureText = HVI_GetWriteFailureText(failed);
    return false;
}

constexpr DatabaseFiles kDatabaseFiles = {HVI_ReadWholeFile, WriteDatabaseFile};

}  // namespace

bool HVI_WriteFileAtomically(const char* path, const void* bytes, int64_t size, WriteStep* failedStep)
{
    WriteStep failed = WriteStep::Create;
    ResolvedPath resolved;
    if (size < 0 || (bytes == nullptr && size > 0))
        HVI_Log(HV_LOG_ERROR, "HVI_WriteFileAtomically: invalid arguments for '%s'.", path ? path : "");
    else if (HVI_ResolvePathForWriting("HVI_WriteFileAtomically", path, resolved) &&
             (resolved.root.IsEmpty() || HVI_CreateFoldersBelow(resolved.root.GetText(), resolved.relative.GetText())))
        failed = resolved.system->WriteFileAtomically(resolved.systemPath.GetText(), bytes, size);
    if (failedStep != nullptr) *failedStep = failed;
    return failed == WriteStep::None;
}

bool HVI_ReadWholeFile(const char* path, ByteBuffer& out)
{
    out.Free();
    HV_File* file = HV_FileSystem_OpenFile(path, "r");
    if (file == nullptr) return false;
    const int64_t size = file->size;
    if (size > INT32_MAX) {
        HVI_Log(HV_LOG_ERROR, "HVI_ReadWholeFile: '%s' is too large (%lld bytes).", path, static_cast<long long>(size));
        HV_FileSystem_CloseFile(file);
        return false;
    }
    // On the heap: program threads may run on small stacks.
    constexpr int64_t kChunkSize = 64 * 1024;
    std::vector<uint8_t> chunk(size_t(size < kChunkSize ? size : kChunkSize));
    int64_t total = 0;
    while (total < size) {
        const int64_t wanted = size - total < kChunkSize ? size - total : kChunkSize;
        const int64_t got = HV_FileSystem_ReadFile(chunk.data(), wanted, file);
        if (got <= 0 || !out.WriteBytes(chunk.data(), int(got))) break;
        total += got;
    }
    HV_FileSystem_CloseFile(file);
    if (total != size) {
        HVI_Log(HV_LOG_ERROR, "HVI_ReadWholeFile: '%s' gave %lld of its %lld bytes.", path,
                static_cast<long long>(total), static_cast<long long>(size));
        out.Free();
        return false;
    }
    return true;
}

void HVI_ConnectDataManagerFiles() { HVI_ConnectDatabaseFiles(&kDatabaseFiles); }
