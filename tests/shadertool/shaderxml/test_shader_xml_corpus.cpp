// Every Shader XML of tests/data/shaderxml/bad is refused by the reader with
// exactly the log of the .expected file beside it. The folder is the "res://"
// root, so a file named in a document is looked up beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "shadertool/support/file_text.h"
#include "data/data_manager.h"
#include "filesystem/scheme_roots.h"
#include "shadertool/shaderxml/shader_xml_reader.h"

namespace {

namespace fs = std::filesystem;

const fs::path kBadFolder = fs::path(HALVO_TEST_DATA_DIR) / "shaderxml" / "bad";

std::vector<fs::path> ListDocuments()
{
    std::vector<fs::path> paths;
    for (const fs::directory_entry& entry : fs::directory_iterator(kBadFolder)) {
        if (entry.path().extension() == ".xml") paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

// Reads one document as the driver does; its log is returned.
bool ReadDocument(const fs::path& path, std::string& log)
{
    const String name = String::Formatted("res://%s", path.filename().string().c_str());
    ShaderTool::Log stepLog;
    ShaderTool::ShaderXMLReader reader(&stepLog);
    reader.SetDocument(DataManager::GetDatabase(name.GetText()), name, "res://");
    const bool read = reader.Read(false);
    DataManager::UnloadDatabase(name.GetText());
    log = stepLog.text.GetText();
    return read;
}

class ShaderXmlCorpus : public ::testing::Test {
protected:
    void SetUp() override { HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, kBadFolder.string().c_str()); }
};

TEST_F(ShaderXmlCorpus, BadDocumentsWriteExactlyTheirExpectedLog)
{
    const std::vector<fs::path> paths = ListDocuments();
    EXPECT_GE(paths.size(), 38u);
    for (const fs::path& path : paths) {
        fs::path expectedPath = path;
        expectedPath.replace_extension(".expected");
        ASSERT_TRUE(fs::exists(expectedPath)) << expectedPath;
        std::string log;
        EXPECT_FALSE(ReadDocument(path, log)) << path.filename();
        EXPECT_EQ(log, ReadFileText(expectedPath)) << path.filename();
    }
}

}  // namespace
