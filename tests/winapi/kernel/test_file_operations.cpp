#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temporary_folder.h"
#include "winapi/kernel/kernel_test_support.h"

namespace {

namespace fs = std::filesystem;

std::string Backslashed(std::string path)
{
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

void MakeReadOnly(const std::string& path)
{
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

TEST(FileOperations, CreatesAndRemovesFolders)
{
    TemporaryFolder temp;
    const std::string folder = temp.File("made");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_FALSE(CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(RemoveDirectoryA(Backslashed(folder).c_str()));
    EXPECT_FALSE(fs::exists(folder));
    temp.Write("full/file.txt", "x");
    EXPECT_FALSE(RemoveDirectoryA(temp.File("full").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
    EXPECT_TRUE(fs::exists(temp.File("full/file.txt")));
}

// A missing last part is a missing file; a missing folder on the way, a missing path.
TEST(FileOperations, MissingFilesAndPathsAreToldApart)
{
    TemporaryFolder temp;
    const std::string file = temp.File("absent.txt");
    const std::string inFolder = temp.File("absent/file.txt");
    const std::string target = temp.File("b");
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ExpectRefused({
        {"CreateDirectoryA", [&] { return !CreateDirectoryA(inFolder.c_str(), nullptr); }, ERROR_PATH_NOT_FOUND},
        {"RemoveDirectoryA", [&] { return !RemoveDirectoryA(file.c_str()); }, ERROR_FILE_NOT_FOUND},
        {"DeleteFileA of a file", [&] { return !DeleteFileA(file.c_str()); }, ERROR_FILE_NOT_FOUND},
        {"DeleteFileA in a folder", [&] { return !DeleteFileA(inFolder.c_str()); }, ERROR_PATH_NOT_FOUND},
        {"MoveFileExA replacing", [&] { return !MoveFileExA(file.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING); },
         ERROR_FILE_NOT_FOUND},
        {"MoveFileExA writing through",
         [&] { return !MoveFileExA(file.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH); }, ERROR_FILE_NOT_FOUND},
        {"GetFileAttributesA of a file", [&] { return GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES; },
         ERROR_FILE_NOT_FOUND},
        {"GetFileAttributesA in a folder",
         [&] { return GetFileAttributesA(inFolder.c_str()) == INVALID_FILE_ATTRIBUTES; }, ERROR_PATH_NOT_FOUND},
        {"GetFileAttributesExA", [&] { return !GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data); },
         ERROR_FILE_NOT_FOUND},
    });
}

TEST(FileOperations, DeletesFilesButNotReadOnlyOnes)
{
    TemporaryFolder temp;
    temp.Write("plain.txt", "x");
    temp.Write("locked.txt", "keep");
    MakeReadOnly(temp.File("locked.txt"));
    EXPECT_TRUE(DeleteFileA(Backslashed(temp.File("plain.txt")).c_str()));
    EXPECT_FALSE(fs::exists(temp.File("plain.txt")));
    EXPECT_FALSE(DeleteFileA(temp.File("locked.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(temp.Read("locked.txt"), "keep");
    std::filesystem::create_directory(temp.File("folder"));
    EXPECT_FALSE(DeleteFileA(temp.File("folder").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(FileOperations, MoveReplacesOnlyWhenAskedAndMovesFolders)
{
    TemporaryFolder temp;
    for (DWORD flags : {MOVEFILE_REPLACE_EXISTING, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH}) {
        SCOPED_TRACE(flags);
        temp.Write("settings.xml", "old");
        temp.Write("settings.xml.tmp", "new");
        ASSERT_TRUE(
            MoveFileExA(temp.File("settings.xml.tmp").c_str(), Backslashed(temp.File("settings.xml")).c_str(), flags));
        EXPECT_EQ(temp.Read("settings.xml"), "new");
        EXPECT_FALSE(fs::exists(temp.File("settings.xml.tmp")));
    }
    fs::create_directories(temp.File("folder/inner"));
    ASSERT_TRUE(MoveFileExA(temp.File("folder").c_str(), temp.File("moved").c_str(), MOVEFILE_WRITE_THROUGH));
    EXPECT_TRUE(fs::is_directory(temp.File("moved/inner")));
    temp.Write("a.txt", "a");
    temp.Write("b.txt", "b");
    EXPECT_FALSE(MoveFileExA(temp.File("a.txt").c_str(), temp.File("b.txt").c_str(), 0));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(temp.Read("a.txt"), "a");
    EXPECT_EQ(temp.Read("b.txt"), "b");
    EXPECT_TRUE(MoveFileA(temp.File("a.txt").c_str(), temp.File("c.txt").c_str()));
    EXPECT_EQ(temp.Read("c.txt"), "a");
}

TEST(FileOperations, CopyFileHonoursFailIfExists)
{
    TemporaryFolder temp;
    temp.Write("source.bin", std::string("\0\1\2data", 7));
    temp.Write("target.bin", "old");
    EXPECT_FALSE(CopyFileA(temp.File("source.bin").c_str(), temp.File("target.bin").c_str(), TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_EQ(temp.Read("target.bin"), "old");
    EXPECT_TRUE(CopyFileA(temp.File("source.bin").c_str(), temp.File("target.bin").c_str(), FALSE));
    EXPECT_EQ(temp.Read("target.bin"), std::string("\0\1\2data", 7));
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path().string()), fs::directory_iterator()), 2);
}

TEST(FileOperations, AttributesTellFoldersPlainAndReadOnlyFilesWithSizeAndWriteTime)
{
    TemporaryFolder temp;
    temp.Write("plain.txt", "12345");
    temp.Write("locked.txt", "x");
    MakeReadOnly(temp.File("locked.txt"));
    EXPECT_EQ(GetFileAttributesA(temp.Path().c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesA(Backslashed(temp.File("plain.txt")).c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA(temp.File("locked.txt").c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(SetFileAttributesA(temp.File("locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA(temp.File("locked.txt").c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    FILETIME before;
    GetSystemTimeAsFileTime(&before);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA(temp.File("plain.txt").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_EQ(data.nFileSizeLow, 5u);
    const ULONGLONG written =
        (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    const ULONGLONG now = (static_cast<ULONGLONG>(before.dwHighDateTime) << 32) | before.dwLowDateTime;
    // Written within the last minute (FILETIME counts 100 ns).
    EXPECT_LE(written, now + 10000000ull);
    EXPECT_GE(written + 600000000ull, now);
}

}  // namespace
