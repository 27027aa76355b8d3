#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "filesystem/scheme_roots.h"
#include "log_capture.h"

// A fresh temporary folder per test with one sub-folder per scheme root, and
// the file system's roots, search paths and developer mode reset around it.
class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = std::filesystem::temp_directory_path() /
                   ("halvo-fs-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
                    std::to_string(counter++));
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        HVI_ResetFileSystem();
    }

    void TearDown() override
    {
        HVI_ResetFileSystem();
        std::filesystem::remove_all(m_folder);
    }

    // Creates <temp>/<name>/ and makes it the scheme's root.
    std::filesystem::path UseRoot(HV_PathScheme scheme, const std::string& name)
    {
        const std::filesystem::path root = m_folder / name;
        std::filesystem::create_directories(root);
        HVI_SetSchemeRoot(scheme, root.string().c_str());
        return root;
    }

    static void WriteText(const std::filesystem::path& path, const std::string& text)
    {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream stream(path, std::ios::binary);
        stream << text;
    }

    static std::string ReadText(const std::filesystem::path& path)
    {
        std::ifstream stream(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    }

    std::filesystem::path m_folder;
    LogCapture m_log;
};
