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

TEST(DatabaseLoader, BadBytesGiveAnEmptyDatabaseAndOneErrorLineNamingTheFault)
{
    std::string damaged = Contained("<d><a id=\"scores\"><n points=\"7\"/></a></d>");
    damaged[30] ^= 0x20;
    const std::string root = Contained("<d/>");
    const std::string xmlFault = "Op: 'user://db.xml' is not a valid XML database (";
    const std::string containerFault = "Op: scrambled database 'user://db.xml' is damaged (";
    const std::string empty = "), the database is empty.";
    const struct {
        std::string bytes;
        std::string line;
        bool wholeLine;
    } cases[] = {
        {damaged, containerFault + "checksum does not match" + empty, true},
        {root.substr(0, 5), containerFault + "shorter than its header" + empty, true},   // cut containers are
        {root.substr(0, 20), containerFault + "shorter than its header" + empty, true},  // damaged, not XML
        {root.substr(0, root.size() - 1), containerFault + "length does not match the file size" + empty, true},
        {Contained("not xml"), xmlFault, false},
    };
    for (const auto& c : cases) {
        LogCapture log;
        DMDatabase database("test");
        EXPECT_FALSE(Load(c.bytes, database)) << c.line;
        EXPECT_EQ(database.GetArrayCount(), 0) << c.line;
        const auto lines = log.Entries();
        ASSERT_EQ(lines.size(), 1u) << c.line;
        EXPECT_EQ(lines[0].level, HV_LOG_ERROR) << c.line;
        EXPECT_FALSE(lines[0].popup) << c.line;
        EXPECT_EQ(c.wholeLine ? lines[0].text : lines[0].text.substr(0, c.line.size()), c.line);
    }
}
