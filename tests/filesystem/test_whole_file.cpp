#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <tuple>
#include <vector>

#include "file_system_fixture.h"
#include "filesystem/whole_file.h"
#include "support/scoped_limit.h"

using WholeFile = FileSystemTest;

namespace {

// The names in a folder, sorted.
std::vector<std::string> FolderEntries(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST_F(WholeFile, AtomicWriteReplacesTheFileOrMakesItAndItsFoldersAndLeavesNoTemporary)
{
    const auto user = UseRoot(HV_PATH_SCHEME_USER, "user");
    m_temporary.Write("user/db.xml", "old contents");
    m_temporary.Write("user/e.txt", "x");
    ASSERT_TRUE(HVI_WriteFileAtomically("user://db.xml", "new", 3));
    ASSERT_TRUE(HVI_WriteFileAtomically("user://e.txt", nullptr, 0));
    ASSERT_TRUE(HVI_WriteFileAtomically("user://a/b/c.bin", "abc", 3));
    EXPECT_EQ(m_temporary.Read("user/db.xml"), "new");
    EXPECT_TRUE(std::filesystem::exists(user / "e.txt"));
    EXPECT_EQ(std::filesystem::file_size(user / "e.txt"), 0u);
    EXPECT_EQ(m_temporary.Read("user/a/b/c.bin"), "abc");
    EXPECT_EQ(FolderEntries(user), (std::vector<std::string>{"a", "db.xml", "e.txt"}));
}

TEST_F(WholeFile, FailedCreationOfTheTemporaryKeepsTheOldFile)
{
    const auto user = UseRoot(HV_PATH_SCHEME_USER, "user");
    const std::string old("old\0bytes\xff", 10);
    m_temporary.Write("user/db.xml", old);
    WriteStep failed = WriteStep::None;
    {
        // No file can be opened: the temporary file cannot be created.
        ScopedLimit files(RLIMIT_NOFILE, 0);
        EXPECT_FALSE(HVI_WriteFileAtomically("user://db.xml", "new", 3, &failed));
    }
    EXPECT_EQ(failed, WriteStep::Create);
    EXPECT_EQ(m_temporary.Read("user/db.xml"), old);
    EXPECT_EQ(FolderEntries(user), std::vector<std::string>{"db.xml"});
    EXPECT_TRUE(m_log.Contains("HVI_WriteFileAtomically: unable to create a temporary file beside '" +
                               (user / "db.xml").string() + "'."));
}

TEST_F(WholeFile, AFailedWriteKeepsTheOldFileAndRemovesTheTemporary)
{
    const auto user = UseRoot(HV_PATH_SCHEME_USER, "user");
    const std::string old = "old contents that must survive";
    m_temporary.Write("user/db.xml", old);
    const std::vector<char> bytes(100000, 'n');
    WriteStep failed = WriteStep::None;
    {
        // No file may grow past 1000 bytes, as on a full disk.
        ScopedLimit size(RLIMIT_FSIZE, 1000);
        EXPECT_FALSE(HVI_WriteFileAtomically("user://db.xml", bytes.data(), int64_t(bytes.size()), &failed));
    }
    EXPECT_EQ(failed, WriteStep::Write);
    EXPECT_EQ(m_temporary.Read("user/db.xml"), old);
    EXPECT_EQ(FolderEntries(user), std::vector<std::string>{"db.xml"});
    EXPECT_TRUE(m_log.AnyContains("HVI_WriteFileAtomically: unable to write 100000 bytes to '"));
}

TEST_F(WholeFile, EveryFailedStepHasATextOfItsOwn)
{
    EXPECT_STREQ(HVI_GetWriteFailureText(WriteStep::Create), "Unable to open file '%s' for writing.");
    EXPECT_STREQ(HVI_GetWriteFailureText(WriteStep::Write), "Unable to write file '%s'.");
    EXPECT_STREQ(HVI_GetWriteFailureText(WriteStep::Flush), "Unable to flush file '%s' to disk.");
    EXPECT_STREQ(HVI_GetWriteFailureText(WriteStep::Replace), "Unable to replace file '%s' with its new version.");
}

TEST_F(WholeFile, AtomicWriteOverAFolderFailsAndRemovesTheTemporary)
{
    const auto user = UseRoot(HV_PATH_SCHEME_USER, "user");
    std::filesystem::create_directories(user / "taken/inner");
    WriteStep failed = WriteStep::None;
    EXPECT_FALSE(HVI_WriteFileAtomically("user://taken", "x", 1, &failed));
    EXPECT_EQ(failed, WriteStep::Replace);
    EXPECT_TRUE(std::filesystem::is_directory(user / "taken/inner"));
    EXPECT_EQ(FolderEntries(user), std::vector<std::string>{"taken"});
    EXPECT_TRUE(m_log.Contains("HVI_WriteFileAtomically: unable to replace '" + (user / "taken").string() + "'."));
}

TEST_F(WholeFile, AtomicWriteRefusesBadArguments)
{
    const auto user = UseRoot(HV_PATH_SCHEME_USER, "user");
    m_temporary.Write("user/a.txt", "keep");
    EXPECT_FALSE(HVI_WriteFileAtomically("user://a.txt", "x", -1));
    EXPECT_FALSE(HVI_WriteFileAtomically("user://new/a.txt", nullptr, 5));
    EXPECT_TRUE(m_log.Contains("HVI_WriteFileAtomically: invalid arguments for 'user://new/a.txt'."));
    EXPECT_FALSE(std::filesystem::exists(user / "new"));
    EXPECT_FALSE(HVI_WriteFileAtomically("http://host/a.txt", "x", 1));
    EXPECT_FALSE(HVI_WriteFileAtomically("user://../a.txt", "x", 1));
    EXPECT_EQ(m_temporary.Read("user/a.txt"), "keep");
}

TEST_F(WholeFile, ReadWholeFileGivesEveryByteOrNoneForAMissingFile)
{
    UseRoot(HV_PATH_SCHEME_RES, "res");
    std::string bytes;
    for (int i = 0; i < 200000; ++i) bytes.push_back(char(i * 7));
    m_temporary.Write("res/big.bin", bytes);
    m_temporary.Write("res/empty.txt", "");
    for (const auto& [path, read, expected] :
         {std::tuple{"res://big.bin", true, bytes}, std::tuple{"res://empty.txt", true, std::string()},
          std::tuple{"res://missing.bin", false, std::string()}}) {
        ByteBuffer buffer;
        buffer.WriteString("stale");
        EXPECT_EQ(HVI_ReadWholeFile(path, buffer), read) << path;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.GetData()), size_t(buffer.GetSize())), expected)
            << path;
    }
}

TEST_F(WholeFile, ReadWholeFileRefusesAFileTooLargeForABuffer)
{
    const auto res = UseRoot(HV_PATH_SCHEME_RES, "res");
    m_temporary.Write("res/huge.bin", "");
    std::filesystem::resize_file(res / "huge.bin", 3ull << 30);  // sparse: takes no space
    ByteBuffer buffer;
    EXPECT_FALSE(HVI_ReadWholeFile("res://huge.bin", buffer));
    EXPECT_EQ(buffer.GetSize(), 0);
    EXPECT_TRUE(m_log.Contains("HVI_ReadWholeFile: 'res://huge.bin' is too large (3221225472 bytes)."));
}
