#include <gtest/gtest.h>

#include <string>

#include "data/data_messages.h"
#include "data/xml_database_reader.h"
#include "data/xml_database_writer.h"
#include "database_equality.h"

namespace {

std::string Written(const DMDatabase& database)
{
    ByteBuffer out;
    const char* reason = "";
    EXPECT_TRUE(HVI_WriteXMLDatabase(database, out, reason)) << reason;
    return std::string(reinterpret_cast<const char*>(out.GetData()), size_t(out.GetSize()));
}

void ExpectRoundTrip(const DMDatabase& database)
{
    const std::string text = Written(database);
    DMDatabase read("read");
    XMLDatabaseFault fault;
    ASSERT_TRUE(HVI_ParseXMLDatabase(text.data(), int64_t(text.size()), read, fault)) << fault.reason << "\n" << text;
    EXPECT_TRUE(DatabasesEqual(database, read)) << text;
}

}  // namespace

TEST(XMLDatabaseWriter, RefusesAKeyThatIsNoXMLName)
{
    for (const char* key : {"two words", "1st", "-x", "", "a=b", "q\"", "<k>"}) {
        DMDatabase database("test");
        database.AddArray("a")->AddNode("n")->SetValue(key, "v");
        ByteBuffer out;
        const char* reason = "";
        EXPECT_FALSE(HVI_WriteXMLDatabase(database, out, reason)) << key;
        EXPECT_STREQ(reason, kReasonInvalidKey);
    }
    DMDatabase database("test");
    database.AddArray("a")->SetValue("bad key", "v");
    ByteBuffer out;
    const char* reason = "";
    EXPECT_FALSE(HVI_WriteXMLDatabase(database, out, reason));
}

TEST(XMLDatabaseWriter, AcceptsNamesWithDigitsDotsDashesColonsAndUtf8)
{
    DMDatabase database("test");
    DMNode* node = database.AddArray("a")->AddNode("n");
    for (const char* key : {"_a", "a1", "a.b-c", "ns:key", "caf\xC3\xA9", "\xC3\xA9t\xC3\xA9"})
        node->SetValue(key, key);
    ExpectRoundTrip(database);
}

TEST(XMLDatabaseWriter, RoundTripKeepsEveryValueIdAndOrder)
{
    DMDatabase database("test");
    DMArray* first = database.AddArray("first");
    first->SetValue("attr", "  leading and trailing  ");
    first->SetValue("quotes", "'single' \"double\"");
    DMNode* node = first->AddNode("id with spaces & <markup>");
    node->SetValue("tabs", "\tone\ttwo\t");
    node->SetValue("lines", "l1\nl2\r\nl3\r");
    node->SetValue("control", "\x01\x02\x1F");
    node->SetValue("utf8", "\xE2\x82\xAC \xF0\x9F\x98\x80");
    node->SetValue("empty", "");
    node->SetValue("DATA", "  text with ]]> and\r\nline ends  ");
    node->SetValue("CDATA", "\nfloat4 main() { return a < b && c ]]> d; }\n");
    first->AddNode(nullptr)->SetValue("points", "1");
    first->AddNode("")->SetValue("CDATA", "");
    first->AddNode("ws")->SetValue("DATA", "\n\t ");
    database.AddArray("");
    DMArray* third = database.AddArray(nullptr);
    for (int i = 0; i < 50; ++i)
        third->AddNode(std::to_string(49 - i).c_str())->SetValue("i", std::to_string(i).c_str());
    ExpectRoundTrip(database);
}
