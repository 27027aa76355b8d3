// Reads the input as a Shader XML file: the whole reader runs over it,
// sources with their CDATA lines included, and its text is also tried as a
// target list.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/data_manager.h"
#include "filesystem/scheme_roots.h"
#include "shadertool/shaderxml/shader_xml_reader.h"

using namespace ShaderTool;

namespace {

void* AnyBitmap(const char* /*name*/)
{
    static int bitmap;
    return &bitmap;
}

const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = [] {
        std::filesystem::path path = std::filesystem::temp_directory_path() / "halvo-fuzz-shader-xml";
        std::filesystem::create_directories(path);
        HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, path.string().c_str());
        return path;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::ofstream(Folder() / "fuzz.xml", std::ios::binary) << text;
    DataManager::UnloadDatabase("res://fuzz.xml");

    Log log;
    ShaderXMLReader reader(&log);
    reader.SetBitmapGetter(AnyBitmap);
    reader.SetDocument(DataManager::GetDatabase("res://fuzz.xml"), "res://fuzz.xml", "res://");
    if (reader.Read(true)) reader.ReadSources();
    reader.Reset();
    reader.SetDocument(DataManager::GetDatabase("res://fuzz.xml"), "res://fuzz.xml", "res://");
    reader.Read(false);
    ParseTargetList(text.c_str());
    return 0;
}
