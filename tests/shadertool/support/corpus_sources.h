// The shader corpora under tests/data/shaders, for test programs (the test
// data folder is known to them, not to the fuzz targets that share the
// shader interfaces).
#pragma once

#include <algorithm>
#include <filesystem>
#include <vector>

namespace ShaderInterfaces {

// The sources of tests/data/shaders/<folder>, sorted.
inline std::vector<std::filesystem::path> ListCorpusSources(const char* folder)
{
    std::vector<std::filesystem::path> paths;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(HALVO_TEST_DATA_DIR) / "shaders" / folder)) {
        if (entry.path().extension() == ".hvsl") paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

}  // namespace ShaderInterfaces
