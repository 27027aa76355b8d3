#pragma once

// An exclusive lock on a file that every process of the engine, and every
// thread, takes before reading, changing and rewriting that file, so that
// the read, the change and the write are one step for all of them and no
// writer loses another's update. The lock lives on the file "<path>.lock"
// beside the file (made when missing, never removed: a removed lock file
// could be locked by two processes at once). It is freed when the scope
// ends, or by the system when the process ends.
class FileLockScope {
public:
    // Waits for the lock of the file at the path (with its scheme). When no
    // lock file can be made the scope holds nothing and says so in the log.
    explicit FileLockScope(const char* path);
    ~FileLockScope();
    FileLockScope(const FileLockScope&) = delete;
    FileLockScope& operator=(const FileLockScope&) = delete;

    bool IsHeld() const { return m_handle != nullptr; }

private:
    void* m_handle = nullptr;  // the lock file's handle while held
};
