#pragma once

// A fresh "res://" folder per test, Shader XML documents written into it and
// read back through the data manager, as the translator reads them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "data/data_manager.h"
#include "filesystem/scheme_roots.h"
#include "support/temporary_folder.h"

class ShaderXmlFolderTest : public ::testing::Test {
protected:
    void SetUp() override { HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, m_folder.string().c_str()); }

    // Writes the text to res://<name>.
    void WriteFile(const std::string& name, const std::string& text) const
    {
        const std::filesystem::path path = m_folder / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    TemporaryFolder m_temporary{"halvo-shaderxml"};
    const std::filesystem::path m_folder = m_temporary.Path();
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
