#pragma once

// The whole of a file as text, as the corpus tests compare it, and the
// expected translations kept as files.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// The file's bytes; empty when it cannot be read.
inline std::string ReadFileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// An expected translation under tests/data/shaders/expected, named
// "<target>/<case>.<ext>".
inline std::string ExpectedShader(const std::string& name)
{
    return ReadFileText(std::filesystem::path(HALVO_TEST_DATA_DIR) / "shaders" / "expected" / name);
}
