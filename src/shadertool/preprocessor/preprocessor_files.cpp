#include "shadertool/preprocessor/preprocessor_files.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace ShaderTool {

static void* OpenStandardFile(const char* path, int64_t* size)
{
    // Folders open as streams on some systems; only files are read.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return nullptr;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return nullptr;
    long end = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) end = std::ftell(file);
    if (end < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return nullptr;
    }
    *size = end;
    return file;
}

static int64_t ReadStandardFile(void* buffer, int64_t count, void* file)
{
    if (count <= 0) return 0;
    return int64_t(std::fread(buffer, 1, size_t(count), static_cast<std::FILE*>(file)));
}

static void CloseStandardFile(void* file) { std::fclose(static_cast<std::FILE*>(file)); }

static bool GetStandardFileStamp(const char* path, int32_t* stamp)
{
    std::error_code error;
    const std::filesystem::file_time_type time = std::filesystem::last_write_time(path, error);
    if (error) return false;
    const auto seconds = std::chrono::time_point_cast<std::chrono::seconds>(std::chrono::file_clock::to_sys(time));
    *stamp = static_cast<int32_t>(seconds.time_since_epoch().count());
    return true;
}

static constexpr IncludeFileAccess kStandardFileAccess = {
    OpenStandardFile,
    ReadStandardFile,
    CloseStandardFile,
    GetStandardFileStamp,
};

// Set by the engine before any translation; read under the "ShaderTranslator" mutex.
static const IncludeFileAccess* g_fileAccess = &kStandardFileAccess;

void SetIncludeFileAccess(const IncludeFileAccess* access) { g_fileAccess = access ? access : &kStandardFileAccess; }

const IncludeFileAccess& GetIncludeFileAccess() { return *g_fileAccess; }

}  // namespace ShaderTool
