#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "data/xml_database_reader.h"
#include "database_equality.h"

namespace {

bool Parse(const std::string& text, DMDatabase& database, XMLDatabaseFault& fault)
{
    return HVI_ParseXMLDatabase(text.data(), int64_t(text.size()), database, fault);
}

bool Parse(const std::string& text, DMDatabase& database)
{
    XMLDatabaseFault fault;
    return Parse(text, database, fault);
}

}  // namespace

TEST(XMLDatabaseReader, MapsChildrenOfTheRootToArraysAndTheirChildrenToNodes)
{
    DMDatabase database("test");
    ASSERT_TRUE(
        Parse("<?xml version=\"1.0\"?>\n"
              "<data>\n"
              "  <array id=\"CATEGORIES\" kind=\"scores\">\n"
              "    <node id=\"daily\" sort=\"ASCENDING\" size=\"10\"/>\n"
              "    <node id=\"weekly\"/>\n"
              "  </array>\n"
              "  <array id=\"EMPTY\"></array>\n"
              "</data>\n",
              database));
    ASSERT_EQ(database.GetArrayCount(), 2);
    DMArray* categories = database.FindArray("CATEGORIES");
    ASSERT_NE(categories, nullptr);
    EXPECT_STREQ(categories->GetValue("kind"), "scores");
    ASSERT_EQ(categories->GetNodeCount(), 2);
    DMNode* daily = categories->GetNode(0);
    EXPECT_STREQ(daily->GetId(), "daily");
    EXPECT_STREQ(daily->GetValue("sort"), "ASCENDING");
    EXPECT_STREQ(daily->GetValue("size"), "10");
    ASSERT_EQ(daily->GetPairs().GetCount(), 2);
    EXPECT_STREQ(daily->GetPairs().GetPair(0).key.GetText(), "sort");
    EXPECT_EQ(categories->FindNode("weekly"), categories->GetNode(1));
    EXPECT_EQ(database.FindArray("EMPTY")->GetNodeCount(), 0);
}

TEST(XMLDatabaseReader, ElementsWithoutIdHaveNone)
{
    DMDatabase database("test");
    ASSERT_TRUE(Parse("<d><array><node points=\"5\"/></array></d>", database));
    DMArray* array = database.GetArray(0);
    EXPECT_EQ(array->GetId(), nullptr);
    EXPECT_EQ(array->GetNode(0)->GetId(), nullptr);
    EXPECT_STREQ(array->GetNode(0)->GetValue("points"), "5");
}

TEST(XMLDatabaseReader, KeepsTextUnderDataAndCDataSectionsUnderCData)
{
    DMDatabase database("test");
    ASSERT_TRUE(
        Parse("<d><array id=\"sources\">"
              "<node type=\"vertex\">\n<![CDATA[\nfloat4 main() { return a < b && c; }\n]]>\n</node>"
              "<node id=\"t\">Fish &amp; chips</node>"
              "<node id=\"both\">one<![CDATA[two]]>three<![CDATA[four]]></node>"
              "</array></d>",
              database));
    DMArray* sources = database.FindArray("sources");
    DMNode* source = sources->GetNode(0);
    EXPECT_STREQ(source->GetValue("CDATA"), "\nfloat4 main() { return a < b && c; }\n");
    EXPECT_EQ(source->GetValue("DATA"), nullptr);  // white space between pieces is not text
    EXPECT_STREQ(sources->FindNode("t")->GetValue("DATA"), "Fish & chips");
    EXPECT_EQ(sources->FindNode("t")->GetValue("CDATA"), nullptr);
    EXPECT_STREQ(sources->FindNode("both")->GetValue("DATA"), "onethree");
    EXPECT_STREQ(sources->FindNode("both")->GetValue("CDATA"), "twofour");
}

TEST(XMLDatabaseReader, IgnoresCommentsEverywhere)
{
    DMDatabase database("test");
    ASSERT_TRUE(
        Parse("<!-- head --><d><!-- <array id=\"hidden\"/> -->"
              "<array id=\"a\"><!-- note --><node id=\"n\">x<!-- inside -->y</node></array></d>",
              database));
    ASSERT_EQ(database.GetArrayCount(), 1);
    ASSERT_EQ(database.GetArray(0)->GetNodeCount(), 1);
    EXPECT_STREQ(database.GetArray(0)->GetNode(0)->GetValue("DATA"), "xy");
}

TEST(XMLDatabaseReader, DecodesReferencesAndNormalisesLineEndsAndAttributeWhiteSpace)
{
    DMDatabase database("test");
    ASSERT_TRUE(
        Parse("<d><a><n v=\"&lt;&#65;&#x42;&quot;&apos;\tx\" w=\"a&#10;b&#9;c\">l1\r\nl2\rl3</n></a></d>", database));
    DMNode* node = database.GetArray(0)->GetNode(0);
    EXPECT_STREQ(node->GetValue("v"), "<AB\"' x");
    EXPECT_STREQ(node->GetValue("w"), "a\nb\tc");
    EXPECT_STREQ(node->GetValue("DATA"), "l1\nl2\nl3");
}

struct SingleValueCase {
    const char* document;
    const char* key;
    const char* expected;
};

// Each document holds one node in one array; its value under key must read as expected.
constexpr SingleValueCase kSingleValueCases[] = {
    {"<d><a><n>  </n></a></d>", "DATA", "  "},  // white space that is the whole content stays
    {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><d><a><n name=\"caf\xE9\"/></a></d>", "name",
     "caf\xC3\xA9"},                                                              // Latin-1 becomes UTF-8
    {"\xEF\xBB\xBF<d><a id=\"x\"><n v=\"\xC3\xA9\"/></a></d>", "v", "\xC3\xA9"},  // a UTF-8 mark is skipped
};

TEST(XMLDatabaseReader, ReadsSingleValuesAsTheDocumentMeansThem)
{
    for (const SingleValueCase& c : kSingleValueCases) {
        DMDatabase database("test");
        ASSERT_TRUE(Parse(c.document, database)) << c.document;
        EXPECT_STREQ(database.GetArray(0)->GetNode(0)->GetValue(c.key), c.expected) << c.document;
    }
}

TEST(XMLDatabaseReader, RejectsMalformedDocumentsAndBuildsNothing)
{
    const char* const documents[] = {
        "",                                                   // no root element
        "   \n",                                              // no root element
        "<d><a id=\"x\"><n id=\"1\"/></a>",                   // root never closed
        "<d><a id=\"x\"><n id=\"1\"/></b></d>",               // mismatched end tag
        "<d><a id=\"x><n/></a></d>",                          // attribute never closed
        "<d><a id=\"x\"><n v=\"&bogus;\"/></a><a><</a></d>",  // stray '<'
        "<d/><e/>",                                           // two root elements
        "<d><a><![CDATA[never closed</a></d>",
    };
    for (const char* document : documents) {
        DMDatabase database("test");
        XMLDatabaseFault fault;
        EXPECT_FALSE(Parse(document, database, fault)) << document;
        EXPECT_EQ(database.GetArrayCount(), 0) << document;
        EXPECT_NE(std::strlen(fault.reason), 0u) << document;
    }
}

TEST(XMLDatabaseReader, RejectsATruncatedDocument)
{
    const std::string document = "<d><a id=\"x\"><n id=\"1\" v=\"one\"/><n id=\"2\" v=\"two\"/></a><a id=\"y\"/></d>";
    for (size_t length = 0; length < document.size(); ++length) {
        DMDatabase database("test");
        EXPECT_FALSE(Parse(document.substr(0, length), database)) << length;
        EXPECT_EQ(database.GetArrayCount(), 0) << length;
    }
}

TEST(XMLDatabaseReader, AnAttributeGivenTwiceKeepsTheLaterValueAndTextOverridesADataAttribute)
{
    DMDatabase database("test");
    ASSERT_TRUE(
        Parse("<d><a><n k=\"1\" id=\"first\" k=\"2\" id=\"second\" DATA=\"attribute\">text</n></a></d>", database));
    DMNode* node = database.GetArray(0)->GetNode(0);
    EXPECT_STREQ(node->GetValue("k"), "2");
    EXPECT_STREQ(node->GetId(), "second");
    EXPECT_STREQ(node->GetValue("DATA"), "text");
    EXPECT_EQ(node->GetPairs().GetCount(), 2);
}

TEST(XMLDatabaseReader, ParsingInPlaceBuildsWhatParsingACopyBuilds)
{
    const std::string text =
        "<?xml version=\"1.0\"?><d><a id=\"x\" k=\"a&amp;b\tc\">skipped"
        "<n id=\"1\" v=\"&#65;\">one &lt; two<![CDATA[<raw>]]> three<!-- no --></n>"
        "<n>\r\n</n></a><b/></d>";
    DMDatabase copied("copied");
    ASSERT_TRUE(Parse(text, copied));
    std::string writable = text;  // its terminator stays behind it
    DMDatabase inPlace("in place");
    XMLDatabaseFault fault;
    ASSERT_TRUE(HVI_ParseXMLDatabaseInPlace(writable.data(), int64_t(writable.size()), inPlace, fault));
    EXPECT_TRUE(DatabasesEqual(copied, inPlace));
    EXPECT_STREQ(inPlace.GetArray(0)->GetNode(0)->GetValue("DATA"), "one < two three");
    // A text that a zero byte cuts short and that ends in a half tag reads the same both ways.
    const std::string cut("<d><a/></d>x\0y<", 16);
    DMDatabase cutCopied("cut");
    ASSERT_TRUE(Parse(cut, cutCopied));
    std::string cutWritable = cut;
    DMDatabase cutInPlace("cut in place");
    ASSERT_TRUE(HVI_ParseXMLDatabaseInPlace(cutWritable.data(), int64_t(cutWritable.size()), cutInPlace, fault));
    EXPECT_TRUE(DatabasesEqual(cutCopied, cutInPlace));
    std::string broken = "<d><a></d>";
    DMDatabase none("none");
    EXPECT_FALSE(HVI_ParseXMLDatabaseInPlace(broken.data(), int64_t(broken.size()), none, fault));
    EXPECT_EQ(none.GetArrayCount(), 0);
}
