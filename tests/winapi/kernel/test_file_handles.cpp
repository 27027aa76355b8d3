#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <string>

#include <windows.h>

#include "support/temporary_folder.h"

namespace {

HANDLE Open(const std::string& path, DWORD disposition, DWORD access = GENERIC_READ | GENERIC_WRITE)
{
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool Lock(HANDLE file, DWORD flags)
{
    OVERLAPPED range = {};
    return LockFileEx(file, flags, 0, 1, 0, &range) != FALSE;
}

}  // namespace

TEST(FileHandles, DispositionsCreateOpenAndTruncateAsThePlatformDoes)
{
    TemporaryFolder folder;
    const std::string path = folder.File("a.bin");
    EXPECT_EQ(Open(path, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));

    HANDLE created = Open(path, CREATE_NEW);
    ASSERT_NE(created, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(created, "hello", 5, &written, nullptr));
    EXPECT_EQ(written, 5u);
    EXPECT_TRUE(FlushFileBuffers(created));
    EXPECT_TRUE(CloseHandle(created));
    EXPECT_EQ(folder.Read("a.bin"), "hello");

    EXPECT_EQ(Open(path, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_EXISTS));
    HANDLE reopened = Open(path, OPEN_ALWAYS);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(CloseHandle(reopened));
    EXPECT_EQ(folder.Read("a.bin"), "hello");

    HANDLE truncated = Open(path, TRUNCATE_EXISTING);
    ASSERT_NE(truncated, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(truncated));
    EXPECT_EQ(folder.Read("a.bin"), "");

    EXPECT_EQ(Open(folder.Path().string(), OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Open(path, 99), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(WriteFile(reopened, "x", 1, &written, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

TEST(FileHandles, ALockBelongsToItsHandleUntilUnlockedOrClosedAndKeepsAnotherProcessWaiting)
{
    TemporaryFolder folder;
    HANDLE first = Open(folder.File("x.lock"), OPEN_ALWAYS);
    HANDLE second = Open(folder.File("x.lock"), OPEN_ALWAYS);
    ASSERT_TRUE(Lock(first, LOCKFILE_EXCLUSIVE_LOCK));
    EXPECT_FALSE(Lock(second, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_LOCK_VIOLATION));
    OVERLAPPED range = {};
    EXPECT_TRUE(UnlockFileEx(first, 0, 1, 0, &range));
    EXPECT_TRUE(Lock(second, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY));
    EXPECT_TRUE(CloseHandle(second));
    EXPECT_TRUE(Lock(first, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY));
    EXPECT_FALSE(LockFileEx(first, LOCKFILE_EXCLUSIVE_LOCK, 0, 0, 0, &range));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(CloseHandle(first));
    // A lock held here keeps another process waiting.
    const std::string path = folder.File("x.lock");
    HANDLE file = Open(path, OPEN_ALWAYS);
    ASSERT_TRUE(Lock(file, LOCKFILE_EXCLUSIVE_LOCK));
    auto childLockResult = [&](DWORD flags) {
        const pid_t child = fork();
        if (child == 0) {
            HANDLE other = Open(path, OPEN_EXISTING);
            _exit(Lock(other, flags) ? 0 : GetLastError() == ERROR_LOCK_VIOLATION ? 1 : 2);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(childLockResult(LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY), 1);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(childLockResult(LOCKFILE_EXCLUSIVE_LOCK), 0);
}

TEST(FileHandles, TemporaryFileNamesAreNeverGivenTwice)
{
    TemporaryFolder folder;
    std::set<std::string> names;
    for (int i = 0; i < 200; ++i) {
        char name[MAX_PATH] = {};
        const UINT number = GetTempFileNameA(folder.Path().c_str(), "abcdef", 0, name);
        ASSERT_NE(number, 0u);
        ASSERT_LE(number, 0xFFFFu);
        char expected[16];
        std::snprintf(expected, sizeof expected, "/abc%04X.TMP", number);
        EXPECT_EQ(std::string(name), folder.Path().string() + expected);
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_EQ(folder.Read(std::string(name).substr(folder.Path().string().size() + 1)), "");
    }
    char name[MAX_PATH] = {};
    EXPECT_EQ(GetTempFileNameA(folder.Path().c_str(), "q", 0x1A2B, name), 0x1A2Bu);
    EXPECT_EQ(std::string(name), folder.Path().string() + "/q1A2B.TMP");
    EXPECT_EQ(GetTempFileNameA((folder.Path().string() + "/missing").c_str(), "q", 0, name), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
}
