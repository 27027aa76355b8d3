// A fresh folder under the system's temporary folder for one test, removed with
// everything in it when the object goes away.
#pragma once

#include <atomic>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

class TemporaryFolder {
public:
    // The prefix only makes a leftover folder easy to trace to its tests.
    explicit TemporaryFolder(const std::string& prefix = "halvo-test")
    {
        // A random part per process keeps test binaries run at the same time apart;
        // the counter keeps folders of one process apart, and an existing name is skipped.
        static const std::string process = std::to_string(std::random_device{}());
        static std::atomic<unsigned> counter{0};
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        do {
            m_path = base / (prefix + "-" + process + "-" + std::to_string(counter++));
        } while (!std::filesystem::create_directory(m_path));
    }

    ~TemporaryFolder()
    {
        // Tests may take permissions away from the folder; give them back so it can be removed.
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
        std::filesystem::remove_all(m_path, ignored);
    }

    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
