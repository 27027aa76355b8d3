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

// A written document around the arrays.
std::string Document(const std::string& arrays)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<database>\n" + arrays + "</database>\n";
}

}  // namespace

TEST(XMLDatabaseWriter, WritesArraysAndNodesInDocumentOrder)
{
    DMDatabase database("test");
    DMArray* scores = database.AddArray("scores");
    scores->SetValue("kind", "local");
    DMNode* first = scores->AddNode(nullptr);
    first->SetValue("player", "2026-12-06 17:30");
    first->SetValue("points", "10");
    scores->AddNode("second")->SetValue("DATA", "text");
    database.AddArray(nullptr);
    EXPECT_EQ(Written(database), Document("\t<array id=\"scores\" kind=\"local\">\n"
                                          "\t\t<node player=\"2026-12-06 17:30\" points=\"10\"/>\n"
                                          "\t\t<node id=\"second\">text</node>\n"
                                          "\t</array>\n"
                                          "\t<array>\n"
                                          "\t</array>\n"));
}

TEST(XMLDatabaseWriter, EscapesMarkupAndKeepsWhiteSpaceOfAttributesAsReferences)
{
    DMDatabase database("test");
    DMNode* node = database.AddArray("a")->AddNode("<&\">");
    node->SetValue("v", "a\tb\nc\rd e\x01");
    node->SetValue("DATA", "x < y & z > w\r\n\"q\"\t");
    EXPECT_EQ(Written(database), Document("\t<array id=\"a\">\n"
                                          "\t\t<node id=\"&lt;&amp;&quot;&gt;\" v=\"a&#9;b&#10;c&#13;d e&#1;\">"
                                          "x &lt; y &amp; z &gt; w&#13;\n\"q\"\t</node>\n"
                                          "\t</array>\n"));
}

TEST(XMLDatabaseWriter, SplitsCDataAroundItsEndMarkerAndWritesTextFirst)
{
    DMDatabase database("test");
    DMNode* node = database.AddArray("a")->AddNode(nullptr);
    node->SetValue("CDATA", "a]]>b]]]>");
    node->SetValue("DATA", "t");
    EXPECT_EQ(Written(database), Document("\t<array id=\"a\">\n"
                                          "\t\t<node>t<![CDATA[a]]]]><![CDATA[>b]]]]]><![CDATA[>]]></node>\n"
                                          "\t</array>\n"));
}

TEST(XMLDatabaseWriter, WritesTextOfWhiteSpaceOnlyAsReferences)
{
    DMDatabase database("test");
    DMNode* node = database.AddArray("a")->AddNode(nullptr);
    node->SetValue("DATA", " \t\n");
    node->SetValue("CDATA", "c");
    EXPECT_EQ(Written(database), Document("\t<array id=\"a\">\n"
                                          "\t\t<node>&#32;&#9;&#10;<![CDATA[c]]></node>\n"
                                          "\t</array>\n"));
}

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
