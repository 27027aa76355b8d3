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

// Damaged containers are in the corpus of tests/data/datamanager/xml.
TEST(DatabaseLoader, AContainerHoldingNoXMLGivesTheXMLFaultAndAnEmptyDatabase)
{
    LogCapture log;
    DMDatabase database("test");
    EXPECT_FALSE(Load(Contained("not xml"), database));
    EXPECT_EQ(database.GetArrayCount(), 0);
    ASSERT_EQ(log.Entries().size(), 1u);
    EXPECT_EQ(log.Entries()[0].level, HV_LOG_ERROR);
    EXPECT_FALSE(log.Entries()[0].popup);
    EXPECT_EQ(log.Lines()[0].rfind("Op: 'user://db.xml' is not a valid XML database (", 0), 0u) << log.Text();
}
