// Reads the input as a Shader XML file: the whole reader runs over it,
// sources with their CDATA lines included, and its text is also tried as a
// target list. The "res://" folder holds the files of the test corpus, so
// "file" sources and definition files are found; a file beside that folder
// must never be read through it, whatever ".." a path holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/data_manager.h"
#include "filesystem/scheme_roots.h"
#include "shadertool/quiet_log.h"
#include "shadertool/shaderxml/shader_xml_reader.h"

using namespace ShaderTool;

namespace {

// What the files beside the folder hold. The check compares hashes, not
// texts, so the fuzzer cannot learn the texts from the comparison and write
// them into the document itself.
constexpr const char* kOutsideText = "text outside the res folder 5d41402abc4b2a76";
constexpr const char* kOutsideName = "OUTSIDE_7215ee9c7d9dc229";

uint64_t Hash(const char* text)
{
    uint64_t hash = 14695981039346656037ull;
    for (const char* at = text; *at != 0; ++at) hash = (hash ^ static_cast<unsigned char>(*at)) * 1099511628211ull;
    return hash;
}

void* AnyBitmap(const char* /*name*/)
{
    static int bitmap;
    return &bitmap;
}

// <temporary>/res holds the corpus files; <temporary>/outside.hvsl and
// <temporary>/outside.xml lie beside it.
const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = [] {
        SilenceEngineLog();
        const std::filesystem::path top = std::filesystem::temp_directory_path() / "halvo-fuzz-shader-xml";
        std::filesystem::remove_all(top);
        const std::filesystem::path res = top / "res";
        std::filesystem::create_directories(res);
        std::filesystem::copy(HALVO_SHADERXML_DIR, res, std::filesystem::copy_options::recursive);
        std::ofstream(top / "outside.hvsl", std::ios::binary) << kOutsideText;
        std::ofstream(top / "outside.xml", std::ios::binary) << "<database><array id=\"definitions\"><node id=\""
                                                             << kOutsideName << "\" value=\"1\"/></array></database>";
        HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, res.string().c_str());
        return res;
    }();
    return folder;
}

// Nothing above the "res://" folder may have been read.
void CheckNothingOutsideWasRead(const ShaderDescription& description)
{
    static const uint64_t outsideText = Hash(kOutsideText);
    static const uint64_t outsideName = Hash(kOutsideName);
    for (const ShaderSource& source : description.sources) {
        if (Hash(source.text.GetText()) == outsideText) std::abort();
    }
    for (const DefinitionVariable& definition : description.definitions) {
        if (Hash(definition.name.GetText()) == outsideName) std::abort();
    }
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
    CheckNothingOutsideWasRead(reader.GetDescription());
    reader.Reset();
    reader.SetDocument(DataManager::GetDatabase("res://fuzz.xml"), "res://fuzz.xml", "res://");
    reader.Read(false);
    CheckNothingOutsideWasRead(reader.GetDescription());
    ParseTargetList(text.c_str());
    return 0;
}
