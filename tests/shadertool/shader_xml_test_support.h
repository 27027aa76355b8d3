#pragma once

// A fresh "res://" folder per test, Shader XML documents written into it and
// read back through the data manager, as the translator reads them.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/data_manager.h"
#include "filesystem/scheme_roots.h"

class ShaderXmlFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = std::filesystem::temp_directory_path() /
                   ("halvo-shaderxml-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
                    std::to_string(counter++) + "-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        HVI_ResetFileSystem();
        HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, m_folder.string().c_str());
    }

    void TearDown() override
    {
        HVI_ResetFileSystem();
        std::filesystem::remove_all(m_folder);
    }

    // Writes the text to res://<name>.
    void WriteFile(const std::string& name, const std::string& text) const
    {
        const std::filesystem::path path = m_folder / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    std::filesystem::path m_folder;
};

// The info array of a document of version 2.<revision>, with more settings.
inline std::string InfoArray(int revision, const std::string& settings = "")
{
    return "<array id=\"info\">\n<node id=\"version\" value=\"2\"/>\n<node id=\"revision\" value=\"" +
           std::to_string(revision) + "\"/>\n" + settings + "</array>\n";
}

inline std::string Document(const std::string& arrays)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<database>\n" + arrays + "</database>\n";
}
