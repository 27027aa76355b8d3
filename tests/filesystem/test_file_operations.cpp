#include <gtest/gtest.h>

#include <cstring>
#include <ctime>

#include "file_system_fixture.h"
#include "filesystem/file_operations.h"

using FileOperations = FileSystemTest;

TEST_F(FileOperations, ModeIsChosenByItsFirstCharacterOnlyAndAnyOtherIsRefusedWithItsLine)
{
    UseRoot(HV_PATH_SCHEME_USER, "user");
    m_temporary.Write("user/a.txt", "abc");
    for (const char* mode : {"r", "rb", "r+", "rt"}) {
        HV_File* file = HV_FileSystem_OpenFile("user://a.txt", mode);
        ASSERT_NE(file, nullptr) << mode;
        EXPECT_EQ(file->size, 3);
        HV_FileSystem_CloseFile(file);
    }
    for (const char* mode : {"x", "R", "", "+r", "b", static_cast<const char*>(nullptr)})
        EXPECT_EQ(HV_FileSystem_OpenFile("user://a.txt", mode), nullptr) << (mode ? mode : "(null)");
    EXPECT_EQ(m_log.Lines(),
              std::vector<std::string>(6, "File System OpenFile: mode is invalid, see OpenFile() for more info."));
    EXPECT_EQ(m_temporary.Read("user/a.txt"), "abc");
}

TEST_F(FileOperations, WriteThenReadBackWithSeekAndPosition)
{
    UseRoot(HV_PATH_SCHEME_SAVE, "save");
    HV_File* file = HV_FileSystem_OpenFile("save://slot.bin", "w");
    ASSERT_NE(file, nullptr);
    EXPECT_STREQ(file->path, "save://slot.bin");
    EXPECT_EQ(file->size, 0);
    EXPECT_EQ(HV_FileSystem_WriteFile("0123456789", 10, file), 10);
    EXPECT_EQ(HV_FileSystem_GetFilePosition(file), 10);
    HV_FileSystem_CloseFile(file);

    file = HV_FileSystem_OpenFile("save://slot.bin", "r");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->size, 10);
    char buffer[8] = {};
    ASSERT_TRUE(HV_FileSystem_SeekFile(file, 3, HV_SEEK_START));
    EXPECT_EQ(HV_FileSystem_ReadFile(buffer, 4, file), 4);
    EXPECT_EQ(std::string(buffer, 4), "3456");
    EXPECT_EQ(HV_FileSystem_GetFilePosition(file), 7);
    ASSERT_TRUE(HV_FileSystem_SeekFile(file, -2, HV_SEEK_END));
    EXPECT_EQ(HV_FileSystem_ReadFile(buffer, 8, file), 2);
    EXPECT_EQ(std::string(buffer, 2), "89");
    ASSERT_TRUE(HV_FileSystem_SeekFile(file, -5, HV_SEEK_CURRENT));
    EXPECT_EQ(HV_FileSystem_GetFilePosition(file), 5);
    EXPECT_FALSE(HV_FileSystem_SeekFile(file, 0, 3));
    HV_FileSystem_CloseFile(file);
}

TEST_F(FileOperations, WriteTruncatesAndAppendKeeps)
{
    UseRoot(HV_PATH_SCHEME_USER, "user");
    m_temporary.Write("user/log.txt", "old text");
    HV_File* file = HV_FileSystem_OpenFile("user://log.txt", "a");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->size, 8);
    HV_FileSystem_WriteFile("+more", 5, file);
    HV_FileSystem_CloseFile(file);
    EXPECT_EQ(m_temporary.Read("user/log.txt"), "old text+more");

    file = HV_FileSystem_OpenFile("user://log.txt", "w");
    ASSERT_NE(file, nullptr);
    HV_FileSystem_WriteFile("new", 3, file);
    HV_FileSystem_CloseFile(file);
    EXPECT_EQ(m_temporary.Read("user/log.txt"), "new");
}

TEST_F(FileOperations, WritingCreatesMissingFoldersBelowTheRootAndReadingDoesNot)
{
    const auto cache = UseRoot(HV_PATH_SCHEME_CACHE, "cache");
    EXPECT_EQ(HV_FileSystem_OpenFile("cache://a/b.txt", "r"), nullptr);
    EXPECT_FALSE(std::filesystem::exists(cache / "a"));
    EXPECT_TRUE(m_log.Contains("File System OpenFile: unable to open 'cache://a/b.txt' with mode 'r'."));
    HV_File* file = HV_FileSystem_OpenFile("cache://a/b/c/d.txt", "w");
    ASSERT_NE(file, nullptr);
    HV_FileSystem_WriteFile("d", 1, file);
    HV_FileSystem_CloseFile(file);
    EXPECT_EQ(m_temporary.Read("cache/a/b/c/d.txt"), "d");
    file = HV_FileSystem_OpenFile("cache://e/f.txt", "a");
    ASSERT_NE(file, nullptr);
    HV_FileSystem_CloseFile(file);
    EXPECT_TRUE(std::filesystem::is_regular_file(cache / "e/f.txt"));
}

TEST_F(FileOperations, SchemelessReadOpensTheFirstSearchPathThatHoldsTheFile)
{
    UseRoot(HV_PATH_SCHEME_RES, "res");
    UseRoot(HV_PATH_SCHEME_DOCS, "docs");
    m_temporary.Write("res/shaders/x.xml", "res");
    m_temporary.Write("docs/x.xml", "docs");
    HVI_AddSearchPath("res://shaders/");
    HVI_AddSearchPath("docs://");
    HV_File* file = HV_FileSystem_OpenFile("x.xml", "r");
    ASSERT_NE(file, nullptr);
    EXPECT_STREQ(file->path, "x.xml");
    char text[4] = {};
    EXPECT_EQ(HV_FileSystem_ReadFile(text, 3, file), 3);
    EXPECT_EQ(std::string(text, 3), "res");
    HV_FileSystem_CloseFile(file);
}

TEST_F(FileOperations, FileInfoHoldsTheModificationTimeInSecondsSince1970)
{
    const auto user = UseRoot(HV_PATH_SCHEME_USER, "user");
    m_temporary.Write("user/a.txt", "x");
    const std::time_t stamp = 1700000000;  // 2023-11-14 22:13:20 UTC
    std::filesystem::last_write_time(user / "a.txt", std::filesystem::file_time_type::clock::from_sys(
                                                         std::chrono::system_clock::from_time_t(stamp)));
    HV_FileInfo info = {};
    ASSERT_TRUE(HV_FileSystem_GetFileInfo("user://a.txt", &info));
    EXPECT_EQ(info.lastModificationTime, 1700000000u);
    EXPECT_FALSE(HV_FileSystem_GetFileInfo("user://missing.txt", &info));
    EXPECT_FALSE(HV_FileSystem_GetFileInfo("user://a.txt", nullptr));
}

TEST_F(FileOperations, NullHandlesAreHarmless)
{
    char buffer[4];
    EXPECT_EQ(HV_FileSystem_ReadFile(buffer, 4, nullptr), 0);
    EXPECT_EQ(HV_FileSystem_WriteFile(buffer, 4, nullptr), 0);
    EXPECT_FALSE(HV_FileSystem_SeekFile(nullptr, 0, HV_SEEK_START));
    EXPECT_EQ(HV_FileSystem_GetFilePosition(nullptr), -1);
    HV_FileSystem_CloseFile(nullptr);
    EXPECT_FALSE(HV_FileSystem_FindPath(nullptr));
}

TEST_F(FileOperations, TableHoldsTheOperationsInAlphabeticalOrder)
{
    const HV_FileSystemInterface* table = HVI_GetFileSystemInterface();
    EXPECT_EQ(table->CloseFile, &HV_FileSystem_CloseFile);
    EXPECT_EQ(table->FindPath, &HV_FileSystem_FindPath);
    EXPECT_EQ(table->GetFileInfo, &HV_FileSystem_GetFileInfo);
    EXPECT_EQ(table->GetFilePosition, &HV_FileSystem_GetFilePosition);
    EXPECT_EQ(table->OpenFile, &HV_FileSystem_OpenFile);
    EXPECT_EQ(table->ReadFile, &HV_FileSystem_ReadFile);
    EXPECT_EQ(table->SeekFile, &HV_FileSystem_SeekFile);
    EXPECT_EQ(table->WriteFile, &HV_FileSystem_WriteFile);
}
