#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "filesystem/scheme_roots.h"
#include "support/log_capture.h"
#include "support/temporary_folder.h"

// A fresh temporary folder per test with one sub-folder per scheme root, its
// files written and read through m_temporary by their names below the folder
// ("user/a.txt"; the test rig resets the file system around each test).
class FileSystemTest : public ::testing::Test {
protected:
    // Creates <temp>/<name>/ and makes it the scheme's root.
    std::filesystem::path UseRoot(HV_PathScheme scheme, const std::string& name)
    {
        const std::filesystem::path root = m_folder / name;
        std::filesystem::create_directories(root);
        HVI_SetSchemeRoot(scheme, root.string().c_str());
        return root;
    }

    TemporaryFolder m_temporary{"halvo-fs"};
    const std::filesystem::path m_folder = m_temporary.Path();
    LogCapture m_log;
};
