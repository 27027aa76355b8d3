#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/data_manager.h"
#include "data/scrambled_container.h"
#include "data/xml_database_reader.h"
#include "data/xml_database_writer.h"
#include "database_equality.h"
#include "filesystem/scheme_roots.h"
#include "support/log_capture.h"

namespace {

namespace fs = std::filesystem;

bool Parse(const std::string& text, DMDatabase& database, XMLDatabaseFault& fault)
{
    return HVI_ParseXMLDatabase(text.data(), int64_t(text.size()), database, fault);
}

bool Parse(const std::string& text, DMDatabase& database)
{
    XMLDatabaseFault fault;
    return Parse(text, database, fault);
}

const fs::path kCorpus = fs::path(HALVO_TEST_DATA_DIR) / "datamanager" / "xml";

// The text in double quotes; quotes, line ends, tabs and other control characters escaped.
std::string Quoted(const char* text)
{
    const std::string special = "\"\n\r\t";
    std::string quoted = "\"";
    for (const char* c = text; *c != '\0'; ++c) {
        char code[8];
        std::snprintf(code, sizeof(code), "\\x%02X", unsigned(static_cast<unsigned char>(*c)));
        if (special.find(*c) != std::string::npos)
            quoted += std::string("\\") + "\"nrt"[special.find(*c)];
        else
            quoted += static_cast<unsigned char>(*c) < 0x20 ? std::string(code) : std::string(1, *c);
    }
    return quoted + "\"";
}

// An array or node a line: its kind, its id and its pairs in order.
template <class Record>
std::string RecordLine(const char* kind, const Record& record)
{
    std::string line = kind;
    if (record.GetId() != nullptr) line += std::string(" id=") + Quoted(record.GetId());
    for (int i = 0; i < record.GetPairs().GetCount(); ++i) {
        const DMPair& pair = record.GetPairs().GetPair(i);
        line += std::string(" ") + pair.key.GetText() + "=" + Quoted(pair.value.GetText());
    }
    return line + "\n";
}

std::string FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Described(const DMDatabase& database)
{
    std::string text;
    for (int i = 0; i < database.GetArrayCount(); ++i) {
        text += RecordLine("array", *database.GetArray(i));
        for (int j = 0; j < database.GetArray(i)->GetNodeCount(); ++j)
            text += RecordLine("  node", *database.GetArray(i)->GetNode(j));
    }
    return text;
}

}  // namespace

// Every document of tests/data/datamanager/xml read through the data manager
// gives exactly its .expected file: the lines logged (errors), then what was read.
// Parsed in place (unless it is a scrambled container) it gives the same, and what it gives writes (as the .written
// file says, where there is one) and reads back.
TEST(XMLDatabaseReader, EveryCorpusDocumentReadsAsItsExpectedFileSays)
{
    HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, kCorpus.string().c_str());
    std::vector<fs::path> documents;
    for (const fs::directory_entry& entry : fs::directory_iterator(kCorpus)) {
        if (entry.path().extension() == ".xml") documents.push_back(entry.path());
    }
    std::sort(documents.begin(), documents.end());
    EXPECT_GE(documents.size(), 15u);
    for (const fs::path& document : documents) {
        SCOPED_TRACE(document.filename().string());
        const std::string name = "res://" + document.filename().string();
        LogCapture log;
        const DMDatabase* database = DataManager::GetDatabase(name.c_str());
        ASSERT_NE(database, nullptr);
        EXPECT_EQ(log.Text() + Described(*database), FileBytes(fs::path(document).replace_extension(".expected")));
        for (const LogCapture::Line& line : log.Entries()) EXPECT_TRUE(line.level == HV_LOG_ERROR && !line.popup);
        std::string text = FileBytes(document);
        DMDatabase inPlace("in place");
        XMLDatabaseFault fault;
        if (!HVI_IsScrambledContainer(reinterpret_cast<const uint8_t*>(text.data()), int64_t(text.size()))) {
            EXPECT_EQ(HVI_ParseXMLDatabaseInPlace(text.data(), int64_t(text.size()), inPlace, fault),
                      log.Text().empty());
            EXPECT_TRUE(DatabasesEqual(*database, inPlace));
        }
        ByteBuffer written;
        const char* reason = "";
        ASSERT_TRUE(HVI_WriteXMLDatabase(*database, written, reason)) << reason;
        const fs::path writtenPath = fs::path(document).replace_extension(".written");
        if (fs::exists(writtenPath)) {
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(written.GetData()), size_t(written.GetSize())),
                      FileBytes(writtenPath));
        }
        DMDatabase reread("reread");
        ASSERT_TRUE(HVI_ParseXMLDatabase(written.GetData(), written.GetSize(), reread, fault)) << fault.reason;
        EXPECT_TRUE(DatabasesEqual(*database, reread));
        DataManager::UnloadDatabase(name.c_str());
    }
}

TEST(XMLDatabaseReader, RejectsMalformedDocumentsAndBuildsNothing)
{
    const char* const documents[] = {
        "",                                                   // no root element
        "   \n",                                              // no root element
        "<d><a id=\"x\"><n id=\"1\"/></b></d>",               // mismatched end tag
        "<d><a id=\"x><n/></a></d>",                          // attribute never closed
        "<d><a id=\"x\"><n v=\"&bogus;\"/></a><a><</a></d>",  // stray '<'
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

TEST(XMLDatabaseReader, ParsingInPlaceStopsWhereParsingACopyStops)
{
    XMLDatabaseFault fault;
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
