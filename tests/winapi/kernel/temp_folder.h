// A fresh temporary folder per test with helpers that name, write and read files in it.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/temporary_folder.h"

class TempFolder {
public:
    std::string Path(const std::string& name = "") const
    {
        return name.empty() ? folder_.Path().string() : (folder_.Path() / name).string();
    }

    void Write(const std::string& name, const std::string& contents) const
    {
        std::ofstream out(folder_.Path() / name, std::ios::binary);
        out << contents;
    }

    std::string Read(const std::string& name) const
    {
        std::ifstream in(folder_.Path() / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    TemporaryFolder folder_{"halvo-kernel"};
};
