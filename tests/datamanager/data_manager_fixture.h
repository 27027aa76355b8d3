#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "data/data_manager.h"
#include "filesystem/scheme_roots.h"
#include "support/log_capture.h"
#include "support/temporary_folder.h"

// Each test gets fresh "res://" and "user://" folders and "res://" as the only
// search path (the test rig empties the registry around each test).
namespace datamanager_test {

namespace fs = std::filesystem;

// The bytes of a file of tests/data/datamanager.
inline std::string TestDataFile(const char* name)
{
    std::ifstream in(fs::path(HALVO_TEST_DATA_DIR) / "datamanager" / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class DataManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(m_root / "res");
        fs::create_directories(m_root / "user");
        HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, (m_root / "res").string().c_str());
        HVI_SetSchemeRoot(HV_PATH_SCHEME_USER, (m_root / "user").string().c_str());
        HVI_AddSearchPath("res://");
    }

    fs::path User(const char* name) const { return m_root / "user" / name; }

    TemporaryFolder m_temporary{"halvo-datamanager"};
    const fs::path m_root = m_temporary.Path();
};

}  // namespace datamanager_test
