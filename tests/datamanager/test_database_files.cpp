#include "data/database_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "data/data_manager.h"
#include "filesystem/whole_file.h"
#include "support/log_capture.h"

namespace {

constexpr char kStoredText[] = "<db><array id=\"A\"><node id=\"n\" key=\"stored\"/></array></db>";

std::string g_writtenPath;
std::string g_writtenText;

bool ReadStored(const char* path, ByteBuffer& out)
{
    out.Free();
    return std::strcmp(path, "fake://stored.xml") == 0 && out.WriteBytes(kStoredText, int(std::strlen(kStoredText)));
}

bool RefuseWrite(const char* path, const void* bytes, int64_t size, const char*& failureText)
{
    g_writtenPath = path;
    g_writtenText.assign(static_cast<const char*>(bytes), size_t(size));
    failureText = "Refused '%s'.";
    return false;
}

constexpr DatabaseFiles kFakeFiles = {ReadStored, RefuseWrite};

}  // namespace

TEST(DatabaseFiles, TheDataManagerReadsAndWritesThroughTheConnectedFilesAlone)
{
    HVI_ConnectDatabaseFiles(&kFakeFiles);
    LogCapture log;
    DMDatabase* database = DataManager::GetDatabase("fake://stored.xml");
    ASSERT_NE(database, nullptr);
    const DMArray* array = database->FindArray("A");
    ASSERT_NE(array, nullptr);
    EXPECT_STREQ(array->GetNode(0)->GetValue("key"), "stored");

    EXPECT_FALSE(DataManager::SaveDatabaseAs(database, "fake://saved.xml", false));
    EXPECT_EQ(g_writtenPath, "fake://saved.xml");
    EXPECT_NE(g_writtenText.find("key=\"stored\""), std::string::npos);
    ASSERT_FALSE(log.Entries().empty());
    EXPECT_TRUE(log.Entries().back().popup);
    EXPECT_EQ(log.Entries().back().text, "Refused 'fake://saved.xml'.");

    DataManager::UnloadDatabase("fake://stored.xml");
    HVI_ConnectDataManagerFiles();
}

TEST(DatabaseFiles, WithoutAFileSystemNothingIsReadAndASaveFailsWithALine)
{
    HVI_ConnectDatabaseFiles(nullptr);
    LogCapture log;
    DMDatabase* database = DataManager::GetDatabase("fake://nowhere.xml");
    ASSERT_NE(database, nullptr);
    EXPECT_EQ(database->FindArray("A"), nullptr);
    EXPECT_FALSE(DataManager::SaveDatabaseAs(database, "fake://nowhere.xml", true));
    ASSERT_FALSE(log.Entries().empty());
    EXPECT_FALSE(log.Entries().back().popup);
    EXPECT_EQ(log.Entries().back().text,
              "DataManager::SaveDatabase: no file system is set up to write 'fake://nowhere.xml' to.");

    DataManager::UnloadDatabase("fake://nowhere.xml");
    HVI_ConnectDataManagerFiles();
}
