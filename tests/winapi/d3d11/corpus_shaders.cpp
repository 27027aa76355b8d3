#include "winapi/d3d11/corpus_shaders.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "data/data_manager.h"
#include "filesystem/scheme_roots.h"
#include "shadertool/driver/driver.h"
#include "support/temporary_folder.h"

namespace {

// The corpus's pixel textures may name a bitmap; any address stands for one.
void* FindAnyBitmap(const char*)
{
    static int bitmap = 0;
    return &bitmap;
}

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

TranslatedShader TranslateCorpusShader(const std::string& file)
{
    TemporaryFolder folder("halvo-corpus");
    std::filesystem::copy(std::filesystem::path(HALVO_TEST_DATA_DIR) / "shaderxml", folder.Path(),
                          std::filesystem::copy_options::recursive);
    HVI_ResetFileSystem();
    HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, folder.Path().string().c_str());
    ShaderTool::GetGlobalState().reader.SetBitmapGetter(FindAnyBitmap);
    TranslatedShader shader;
    if (ShaderTool::Initialize(ShaderTool::TARGET_HLSL11, ShaderTool::FEATURE_LEVEL_HLSL11_DEFAULT, "res://out",
                               false)) {
        ShaderTool::Reset();
        ShaderTool::TranslationSettings settings;
        settings.inputRoot = "res://";
        settings.targetMask = ShaderTool::TARGET_HLSL11;
        settings.featureLevel = ShaderTool::FEATURE_LEVEL_HLSL11_DEFAULT;
        shader.translated = ShaderTool::TranslateShaderXML(String(("res://" + file).c_str()), settings, true);
        const std::string stem = std::filesystem::path(file).stem().string();
        shader.vertex = ReadText(folder.Path() / "out" / (stem + ".vertex"));
        shader.pixel = ReadText(folder.Path() / "out" / (stem + ".pixel"));
    }
    shader.log = ShaderTool::GetLogText().GetText();
    ShaderTool::Reset();
    ShaderTool::GetGlobalState().reader.SetBitmapGetter(nullptr);
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        if (entry.path().extension() == ".xml") {
            DataManager::UnloadDatabase(("res://" + entry.path().filename().string()).c_str());
        }
    }
    HVI_ResetFileSystem();
    return shader;
}
