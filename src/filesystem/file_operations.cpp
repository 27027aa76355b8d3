#include "filesystem/file_operations.h"

#include <cstdlib>

#include "filesystem/native_system.h"
#include "filesystem/path_resolution.h"
#include "filesystem/path_scheme.h"
#include "foundation/engine_log.h"
#include "foundation/text.h"

namespace {

constexpr const char* kOpenFile = "File System OpenFile";
constexpr const char* kFindPath = "File System FindPath";
constexpr const char* kGetFileInfo = "File System GetFileInfo";

// The mode by its first character; false for anything else.
bool ParseMode(const char* mode, HVFileSystem::OpenMode& out)
{
    switch (mode ? mode[0] : '\0') {
    case 'a': out = HVFileSystem::OpenMode::Append; return true;
    case 'r': out = HVFileSystem::OpenMode::Read; return true;
    case 'w': out = HVFileSystem::OpenMode::Write; return true;
    default: return false;
    }
}

bool Resolve(const char* operation, const char* path, HVFileSystem::OpenMode mode, ResolvedPath& out)
{
    if (mode == HVFileSystem::OpenMode::Read) return HVI_ResolvePathForReading(operation, path, out);
    if (!HVI_ResolvePathForWriting(operation, path, out)) return false;
    // Writing into a scheme's folder creates the folders the path names.
    return out.root.IsEmpty() || HVI_CreateFoldersBelow(out.root.GetText(), out.relative.GetText());
}

}  // namespace

HV_File* HV_FileSystem_OpenFile(const char* path, const char* mode)
{
    HVFileSystem::OpenMode openMode;
    if (!ParseMode(mode, openMode)) {
        HVI_Log(HV_LOG_ERROR, "File System OpenFile: mode is invalid, see OpenFile() for more info.");
        return nullptr;
    }
    if (path == nullptr) {
        HVI_Log(HV_LOG_ERROR, "File System OpenFile: path is null.");
        return nullptr;
    }
    ResolvedPath resolved;
    HVFileSystem::File* file = nullptr;
    if (Resolve(kOpenFile, path, openMode, resolved))
        file = resolved.system->OpenFile(resolved.systemPath.GetText(), openMode);
    if (file == nullptr) {
        HVI_Log(HV_LOG_WARNING, "File System OpenFile: unable to open '%s' with mode '%s'.", path, mode);
        return nullptr;
    }
    char* pathCopy = HVI_StrDup(path);
    const int64_t size = file->GetSize();
    if (pathCopy == nullptr || size < 0) {
        HVI_Log(HV_LOG_ERROR, "File System OpenFile: unable to take the size of '%s'.", path);
        std::free(pathCopy);
        delete file;
        return nullptr;
    }
    return new HV_File{pathCopy, size, file};
}

int64_t HV_FileSystem_ReadFile(void* buffer, int64_t count, HV_File* file)
{
    if (file == nullptr || file->file == nullptr) return 0;
    return file->file->Read(buffer, count);
}

int64_t HV_FileSystem_WriteFile(const void* buffer, int64_t count, HV_File* file)
{
    if (file == nullptr || file->file == nullptr) return 0;
    return file->file->Write(buffer, count);
}

bool HV_FileSystem_SeekFile(HV_File* file, int64_t offset, int origin)
{
    return file != nullptr && file->file != nullptr && file->file->Seek(offset, origin);
}

int64_t HV_FileSystem_GetFilePosition(HV_File* file)
{
    if (file == nullptr || file->file == nullptr) return -1;
    return file->file->GetPosition();
}

void HV_FileSystem_CloseFile(HV_File* file)
{
    if (file == nullptr) return;
    if (file->file != nullptr && !file->file->Close())
        HVI_Log(HV_LOG_ERROR, "File System CloseFile: unable to store the last writes to '%s'.", file->path);
    delete file->file;
    std::free(const_cast<char*>(file->path));
    delete file;
}

bool HV_FileSystem_FindPath(const char* path)
{
    ResolvedPath resolved;
    return HVI_ResolvePathForReading(kFindPath, path, resolved) &&
           resolved.system->FindPath(resolved.systemPath.GetText());
}

bool HV_FileSystem_GetFileInfo(const char* path, HV_FileInfo* info)
{
    ResolvedPath resolved;
    return info != nullptr && HVI_ResolvePathForReading(kGetFileInfo, path, resolved) &&
           resolved.system->GetFileInfo(resolved.systemPath.GetText(), *info);
}

const HV_FileSystemInterface* HVI_GetFileSystemInterface()
{
    static const HV_FileSystemInterface table = {
        HV_FileSystem_CloseFile, HV_FileSystem_FindPath, HV_FileSystem_GetFileInfo, HV_FileSystem_GetFilePosition,
        HV_FileSystem_OpenFile,  HV_FileSystem_ReadFile, HV_FileSystem_SeekFile,    HV_FileSystem_WriteFile,
    };
    return &table;
}
