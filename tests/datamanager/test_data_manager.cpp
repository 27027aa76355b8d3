#include <gtest/gtest.h>

#include <string>

#include "data/data_manager.h"
#include "data/scrambled_container.h"
#include "database_equality.h"
#include "data_manager_fixture.h"
#include "support/scoped_limit.h"

using namespace datamanager_test;

namespace {

// The leaderboards database unless another is given, with one daily score added.
DMDatabase* ScoresDatabase(DMDatabase* database = DataManager::GetLeaderboardsDatabase())
{
    DMArray* daily = database->AddArray("daily");
    DMNode* node = daily->AddNode(nullptr);
    node->SetValue("player", "2026-12-06 17:30");
    node->SetValue("points", "120");
    node->SetValue("data", "1 2 255");
    return database;
}

}  // namespace

TEST_F(DataManagerTest, GetDatabaseLoadsTheFileOnceAndKeepsItRegistered)
{
    m_temporary.Write("res/prog.xml",
                      "<prog><array id=\"PARAMETERS\"><node id=\"fps_limit\" value=\"60\"/></array></prog>");
    DMDatabase* first = DataManager::GetDatabase("res://prog.xml");
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first->GetName(), "res://prog.xml");
    EXPECT_STREQ(first->FindArray("PARAMETERS")->FindNode("fps_limit")->GetValue("value"), "60");

    m_temporary.Write("res/prog.xml",
                      "<prog><array id=\"PARAMETERS\"><node id=\"fps_limit\" value=\"30\"/></array></prog>");
    EXPECT_EQ(DataManager::GetDatabase("res://prog.xml"), first);
    EXPECT_STREQ(first->FindArray("PARAMETERS")->FindNode("fps_limit")->GetValue("value"), "60");

    DataManager::UnloadDatabase("res://prog.xml");
    DMDatabase* reloaded = DataManager::GetDatabase("res://prog.xml");
    EXPECT_STREQ(reloaded->FindArray("PARAMETERS")->FindNode("fps_limit")->GetValue("value"), "30");
}

TEST_F(DataManagerTest, ANameWithoutSchemeIsFoundThroughTheSearchPaths)
{
    m_temporary.Write("res/leaderboards/leaderboards.xml", TestDataFile("leaderboards.xml"));
    DMDatabase* database = DataManager::GetDatabase("leaderboards/leaderboards.xml");
    DMArray* categories = database->FindArray("CATEGORIES");
    ASSERT_NE(categories, nullptr);
    ASSERT_EQ(categories->GetNodeCount(), 2);
    EXPECT_STREQ(categories->GetNode(1)->GetValue("id"), "total");
}

TEST_F(DataManagerTest, AMissingFileGivesAnEmptyRegisteredDatabaseAndALogLine)
{
    LogCapture log;
    DMDatabase* database = DataManager::GetDatabase("res://missing.xml");
    ASSERT_NE(database, nullptr);
    EXPECT_EQ(database->GetArrayCount(), 0);
    EXPECT_TRUE(log.Contains("DataManager::GetDatabase: unable to read 'res://missing.xml', the database is empty."));
    EXPECT_EQ(DataManager::GetDatabase("res://missing.xml"), database);
}

TEST_F(DataManagerTest, GetLeaderboardsDatabaseRegistersAnEmptyDatabaseWithoutReading)
{
    m_temporary.Write("user/leaderboards-db.xml", "<d><a id=\"daily\"/></d>");
    DMDatabase* database = DataManager::GetLeaderboardsDatabase();
    EXPECT_STREQ(database->GetName(), "user://leaderboards-db.xml");
    EXPECT_EQ(database->GetArrayCount(), 0);
    EXPECT_EQ(DataManager::GetLeaderboardsDatabase(), database);
    EXPECT_EQ(DataManager::GetDatabase("user://leaderboards-db.xml"), database);
    DataManager::UnloadDatabase("user://other.xml");  // an unknown name changes nothing
    EXPECT_EQ(DataManager::GetLeaderboardsDatabase(), database);
}

TEST_F(DataManagerTest, SaveDatabaseWritesPlainXMLToTheLeaderboardsFile)
{
    DMDatabase* database = ScoresDatabase();
    ASSERT_TRUE(DataManager::SaveDatabase(database, false));
    EXPECT_EQ(m_temporary.Read("user/leaderboards-db.xml"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<database>\n"
              "\t<array id=\"daily\">\n"
              "\t\t<node player=\"2026-12-06 17:30\" points=\"120\" data=\"1 2 255\"/>\n"
              "\t</array>\n"
              "</database>\n");
    EXPECT_FALSE(fs::exists(User("leaderboards-db.xml.tmp")));
}

TEST_F(DataManagerTest, SaveDatabaseScrambledReadsBackEqual)
{
    DMDatabase* database = ScoresDatabase();
    database->AddArray("weekly")->AddNode("x")->SetValue("CDATA", "a ]]> b & <c>");
    ASSERT_TRUE(DataManager::SaveDatabase(database, true));
    const std::string bytes = m_temporary.Read("user/leaderboards-db.xml");
    ASSERT_GE(bytes.size(), 21u);
    EXPECT_EQ(bytes.substr(0, 13), "HVScrambledDB");
    EXPECT_EQ(bytes.find("daily"), std::string::npos);  // the text is not readable as such

    DMDatabase saved("saved");
    ScoresDatabase(&saved);
    saved.AddArray("weekly")->AddNode("x")->SetValue("CDATA", "a ]]> b & <c>");
    DataManager::UnloadDatabase(DataManager::kLeaderboardsDatabasePath);
    EXPECT_TRUE(DatabasesEqual(*DataManager::GetDatabase(DataManager::kLeaderboardsDatabasePath), saved));
}

TEST_F(DataManagerTest, AFailedSaveKeepsTheOldFileByteForByteAndShowsThePopup)
{
    const std::string old = TestDataFile("xml/container-made-outside.xml");
    m_temporary.Write("user/leaderboards-db.xml", old);
    m_temporary.Write("user/blocked", "a file, not a folder");
    LogCapture log;
    {
        // No file can be opened, not even by root: the new file cannot be made.
        ScopedLimit files(RLIMIT_NOFILE, 0);
        EXPECT_FALSE(DataManager::SaveDatabase(ScoresDatabase(), true));
    }
    EXPECT_EQ(m_temporary.Read("user/leaderboards-db.xml"), old);
    EXPECT_TRUE(
        log.ContainsAt(HV_LOG_WARNING, "[POPUP] Unable to open file 'user://leaderboards-db.xml' for writing."));
    // A file where a folder of the path should be.
    EXPECT_FALSE(DataManager::SaveDatabaseAs(ScoresDatabase(), "user://blocked/scores.xml", false));
    EXPECT_EQ(m_temporary.Read("user/blocked"), "a file, not a folder");
    EXPECT_EQ(log.Popups(), (std::vector<std::string>{"Unable to open file 'user://leaderboards-db.xml' for writing.",
                                                      "Unable to open file 'user://blocked/scores.xml' for writing."}));
}

TEST_F(DataManagerTest, ADatabaseWithAKeyThatIsNoXMLNameIsNotWritten)
{
    m_temporary.Write("user/scores.xml", "old");
    DMDatabase database("odd");
    database.AddArray("a")->AddNode("n")->SetValue("two words", "v");
    LogCapture log;
    EXPECT_FALSE(DataManager::SaveDatabaseAs(&database, "user://scores.xml", false));
    EXPECT_EQ(m_temporary.Read("user/scores.xml"), "old");
    EXPECT_TRUE(log.Contains(
        "DataManager::SaveDatabase: database 'odd' cannot be written (a key is not a valid XML attribute name)."));
}

TEST_F(DataManagerTest, LoadFromMemoryBuildsAnUnregisteredDatabaseNamedFromMemOrRefusesInvalidText)
{
    DMDatabase* database = DataManager::LoadFromMemory("<d><a id=\"x\"><n id=\"y\" k=\"v\"/></a></d>");
    ASSERT_NE(database, nullptr);
    EXPECT_STREQ(database->GetName(), "FromMem");
    EXPECT_STREQ(database->FindArray("x")->FindNode("y")->GetValue("k"), "v");
    delete database;
    for (const char* text : {"<d><a>", "", "text", static_cast<const char*>(nullptr)}) {
        LogCapture log;
        EXPECT_EQ(DataManager::LoadFromMemory(text), nullptr);
        const auto lines = log.Entries();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].text, "XML database file loaded from memory is invalid!");
        EXPECT_EQ(lines[0].level, HV_LOG_ERROR);
    }
}
