// A fresh folder under the system's temporary folder for one test, removed with
// everything in it when the object goes away.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
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
    // The path of a file or folder in it, as text.
    std::string File(const std::string& name) const { return (m_path / name).string(); }

    // Writes the bytes to the named file, making the folders on its way.
    void Write(const std::string& name, const std::string& bytes) const
    {
        const std::filesystem::path path = m_path / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // The named file's bytes; empty when it cannot be read.
    std::string Read(const std::string& name) const
    {
        std::ifstream in(m_path / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_path;
};
