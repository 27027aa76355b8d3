#include "shadertool/differential/probe_translation.h"

#include <filesystem>

#include "filesystem/scheme_roots.h"
#include "shadertool/driver/driver.h"
#include "shadertool/driver/engine_interface.h"
#include "shadertool/support/file_text.h"

namespace {

std::filesystem::path g_folder;

}  // namespace

bool PrepareProbeDriver(const std::string& probesFolder, uint32_t targets, std::string* log)
{
    g_folder = probesFolder;
    HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, probesFolder.c_str());
    const bool ready = ShaderTool::Initialize(targets, ShaderTool::FEATURE_LEVEL_HLSL11_DEFAULT, "res://out", false);
    *log = ShaderTool::GetLogText().GetText();
    ShaderTool::Reset();
    return ready;
}

ProbeStages TranslateProbe(const std::string& file, uint32_t target)
{
    ProbeStages stages;
    ShaderTool::Reset();
    ShaderTool::TranslationSettings settings;
    settings.inputRoot = "res://";
    settings.targetMask = target;
    settings.featureLevel = ShaderTool::FEATURE_LEVEL_HLSL11_DEFAULT;
    settings.compile = target == ShaderTool::TARGET_HLSL11 ? 1 : 0;
    stages.translated = ShaderTool::TranslateShaderXML(String(("res://" + file).c_str()), settings, true);
    stages.log = ShaderTool::GetLogText().GetText();
    stages.description = ShaderTool::GetDescription();
    stages.forTarget = (stages.description.targetMask & target) != 0;
    const std::string stem = std::filesystem::path(file).stem().string();
    for (int stage = 0; stage < 2; ++stage) {
        const ByteBuffer& output = ShaderTool::GetStageOutput(stage);
        stages.codes[stage].assign(output.GetData(), output.GetData() + output.GetSize());
        stages.texts[stage] = ReadFileText(g_folder / "out" / (stem + (stage == 0 ? ".vertex" : ".pixel")));
    }
    ShaderTool::Reset();
    return stages;
}
