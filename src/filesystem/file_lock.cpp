#include "filesystem/file_lock.h"

#include <windows.h>

#include "filesystem/native_system.h"
#include "filesystem/path_resolution.h"
#include "foundation/engine_log.h"

FileLockScope::FileLockScope(const char* path)
{
    ResolvedPath resolved;
    if (!HVI_ResolvePathForWriting("FileLockScope", path, resolved) || resolved.root.IsEmpty()) return;
    const String relative = String::Formatted("%s.lock", resolved.relative.GetText());
    if (!HVI_CreateFoldersBelow(resolved.root.GetText(), relative.GetText())) return;
    const String lockPath = String::Formatted("%s.lock", resolved.systemPath.GetText());
    HANDLE handle = CreateFileA(lockPath.GetText(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    // The lock is the file's first byte, which need not exist.
    OVERLAPPED range = {};
    if (handle == INVALID_HANDLE_VALUE || !LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &range)) {
        HVI_Log(HV_LOG_WARNING, "FileLockScope: '%s' cannot be locked (error %lu); it is written without a lock.",
                lockPath.GetText(), static_cast<unsigned long>(GetLastError()));
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
        return;
    }
    m_handle = handle;
}

FileLockScope::~FileLockScope()
{
    if (m_handle == nullptr) return;
    OVERLAPPED range = {};
    UnlockFileEx(m_handle, 0, 1, 0, &range);
    CloseHandle(m_handle);
}
