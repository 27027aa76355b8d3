#include <gtest/gtest.h>

#include <string>

#include "data/database_loader.h"
#include "data/scrambled_container.h"
#include "foundation/engine_log.h"
#include "support/log_capture.h"

namespace {

std::string Contained(const std::string& plain)
{
    ByteBuffer out;
    EXPECT_TRUE(HVI_ScrambleIntoContainer(reinterpret_cast<const uint8_t*>(plain.data()), int(plain.size()), out));
    return std::string(reinterpret_cast<const char*>(out.GetData()), size_t(out.GetSize()));
}

bool Load(const std::string& bytes, DMDatabase& database)
{
    return HVI_LoadDatabaseFromBytes("Op", "user://db.xml", reinterpret_cast<const uint8_t*>(bytes.data()),
                                     int64_t(bytes.size()), database);
}

}  // namespace

TEST(DatabaseLoader, ReadsPlainXMLAndTheScrambledContainerAlike)
{
    const std::string xml = "<d><a id=\"scores\"><n points=\"7\"/></a></d>";
    LogCapture log;
    DMDatabase plain("plain");
    ASSERT_TRUE(Load(xml, plain));
    DMDatabase scrambled("scrambled");
    ASSERT_TRUE(Load(Contained(xml), scrambled));
    EXPECT_STREQ(plain.FindArray("scores")->GetNode(0)->GetValue("points"), "7");
    EXPECT_STREQ(scrambled.FindArray("scores")->GetNode(0)->GetValue("points"), "7");
    EXPECT_TRUE(log.Lines().empty());
}

TEST(DatabaseLoader, ATruncatedXMLFileGivesAnEmptyDatabaseAndOneErrorLine)
{
    LogCapture log;
    DMDatabase database("test");
    EXPECT_FALSE(Load("<d><a id=\"scores\"><n points=\"7\"/></a>", database));
    EXPECT_EQ(database.GetArrayCount(), 0);
    const auto lines = log.Entries();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].level, HV_LOG_ERROR);
    EXPECT_FALSE(lines[0].popup);
    // pugixml's own description of an element left open at the end of the text.
    EXPECT_EQ(
        lines[0].text,
        "Op: 'user://db.xml' is not a valid XML database (Start-end tags mismatch at byte 36), the database is empty.");
}

TEST(DatabaseLoader, ADocumentWithTwoRootsIsNamedAsSuch)
{
    LogCapture log;
    DMDatabase database("test");
    EXPECT_FALSE(Load("<d/><e/>", database));
    const auto lines = log.Entries();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text,
              "Op: 'user://db.xml' is not a valid XML database (not exactly one root element at byte 0), the database "
              "is empty.");
}

TEST(DatabaseLoader, ADamagedContainerGivesAnEmptyDatabaseAndOneErrorLine)
{
    std::string bytes = Contained("<d><a id=\"scores\"><n points=\"7\"/></a></d>");
    bytes[30] ^= 0x20;
    LogCapture log;
    DMDatabase database("test");
    EXPECT_FALSE(Load(bytes, database));
    EXPECT_EQ(database.GetArrayCount(), 0);
    const auto lines = log.Entries();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].level, HV_LOG_ERROR);
    EXPECT_EQ(lines[0].text,
              "Op: scrambled database 'user://db.xml' is damaged (checksum does not match), the database is empty.");
}

TEST(DatabaseLoader, ATruncatedContainerIsDamagedNotXML)
{
    const std::string whole = Contained("<d/>");
    for (size_t size : {size_t(5), size_t(20), whole.size() - 1}) {
        LogCapture log;
        DMDatabase database("test");
        EXPECT_FALSE(Load(whole.substr(0, size), database));
        const auto lines = log.Entries();
        ASSERT_EQ(lines.size(), 1u);
        const char* reason = size < 21 ? "shorter than its header" : "length does not match the file size";
        EXPECT_EQ(lines[0].text, std::string("Op: scrambled database 'user://db.xml' is damaged (") + reason +
                                     "), the database is empty.");
    }
}

TEST(DatabaseLoader, AContainerWhoseTextIsNotXMLIsReportedAsInvalidXML)
{
    LogCapture log;
    DMDatabase database("test");
    EXPECT_FALSE(Load(Contained("not xml"), database));
    const auto lines = log.Entries();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text.rfind("Op: 'user://db.xml' is not a valid XML database (", 0), 0u);
}
