#include "graphics/shader_translation.h"

#include "core/configuration.h"
#include "core/threading.h"
#include "filesystem/native_system.h"
#include "filesystem/scheme_roots.h"
#include "foundation/engine_log.h"
#include "graphics/bitmap_table.h"
#include "graphics/renderer_implementation.h"
#include "graphics/shader_messages.h"
#include "shadertool/driver/engine_interface.h"

namespace {

void* GetSourceBitmap(const char* name) { return HV_Graphics_GetBitmap(name); }
void ReleaseSourceBitmap(void* bitmap) { HV_Graphics_ReleaseBitmap(static_cast<HV_Bitmap*>(bitmap)); }

// Holds "ShaderTranslator" for one request, whose pixel textures find the
// bitmaps their "source" names in the bitmap table and give their references
// back when the translator is reset.
class TranslatorLock {
public:
    TranslatorLock()
    {
        ShaderTool::SetBitmapGetter(GetSourceBitmap);
        ShaderTool::SetBitmapReleaser(ReleaseSourceBitmap);
    }

private:
    MutexScope m_scope{HV_Threading_GetMutex(kShaderTranslatorMutexName)};
};

bool TargetCompiles(uint32_t target)
{
    return target == ShaderTool::TARGET_HLSL11 || target == ShaderTool::TARGET_HLSL12 ||
           target == ShaderTool::TARGET_PSSL || target == ShaderTool::TARGET_SPIRV;
}

void CopyStageOutputs(HV_Shader& shader)
{
    for (int stage = 0; stage < ShaderTool::STAGE_COUNT; ++stage) {
        shader.stageOutputs[stage] = ShaderTool::GetStageOutput(stage);
    }
    shader.stageMask = ShaderTool::GetStageMask();
}

}  // namespace

bool HVI_InitShaders()
{
    TranslatorLock lock;
    RendererImplementation* renderer = HVI_GetRenderer();
    const HVI_Configuration& configuration = HVI_GetConfiguration();
    const bool developerMode = configuration.IsDeveloperMode();
    String directory;
    if (developerMode && HVI_Configuration::IsTrue(configuration.GetDeveloperValue(kShaderDebugKey))) {
        const String userRoot = HVI_GetSchemeRoot(HV_PATH_SCHEME_USER);
        if (!userRoot.IsEmpty()) HVI_CreateFoldersBelow(userRoot.GetText(), kShaderOutputFolder);
        directory = kShaderOutputDirectory;
    }
    const bool initialized =
        renderer != nullptr && ShaderTool::Initialize(renderer->GetShaderTarget(), renderer->GetShaderFeatureLevel(),
                                                      directory, developerMode);
    if (!initialized) {
        HVI_Log(HV_LOG_ERROR, "%s", kShaderInitFailed);
        // The translator's own account of the failure follows.
        const String& reasons = ShaderTool::GetLogText();
        if (!reasons.IsEmpty()) HVI_Log(HV_LOG_ERROR, "%s", reasons.GetText());
    }
    // Its logs start empty for the first shader, whose report would otherwise
    // carry this account.
    ShaderTool::Reset();
    return initialized;
}

int HVI_ReadShaderSources(HV_Shader& shader, bool reload)
{
    RendererImplementation* renderer = HVI_GetRenderer();
    if (renderer == nullptr) return HVI_SHADER_FAILED;
    ShaderTool::TranslationSettings settings;
    settings.featureLevel = renderer->GetShaderFeatureLevel();
    settings.targetMask = renderer->GetShaderTarget();
    settings.stampLimit = shader.stamp;
    settings.compile = TargetCompiles(settings.targetMask) ? 1 : 0;
    settings.descriptionLoaded = 1;
    const bool translated = ShaderTool::TranslateShaderXML(shader.name, settings, reload);
    const int32_t limit = shader.stamp;
    shader.stamp = ShaderTool::GetStamp();
    if (!translated) return HVI_SHADER_FAILED;
    return shader.stamp >= 1 && shader.stamp <= limit ? HVI_SHADER_UP_TO_DATE : HVI_SHADER_TRANSLATED;
}

namespace {

// Reads the Shader XML from the file the shader names, or from text, then
// translates it as HVI_LoadShader does.
int LoadShader(HV_Shader& shader, const char* xmlText, bool reload)
{
    TranslatorLock lock;
    int result = HVI_SHADER_FAILED;
    // Text is read whole at once: the translator keeps no document of it to
    // read the sources from afterwards.
    const bool fromText = xmlText != nullptr;
    if (ShaderTool::ReadShaderXML(shader.name, xmlText, reload, !fromText)) {
        if (!fromText && !ShaderTool::ReadShaderSources()) {
            ShaderTool::FlushLog(kShaderSourcesReadFailedHeading);
        } else {
            result = HVI_ReadShaderSources(shader, reload);
        }
    }
    if (result != HVI_SHADER_FAILED) HVI_SetShaderDescription(shader, ShaderTool::GetDescription());
    if (result == HVI_SHADER_TRANSLATED) CopyStageOutputs(shader);
    if (result == HVI_SHADER_FAILED) {
        HVI_Log(HV_LOG_ERROR, kShaderTranslateFailed, shader.name.GetText(), ShaderTool::GetLogText().GetText());
    }
    ShaderTool::Reset();
    return result;
}

}  // namespace

int HVI_LoadShader(HV_Shader& shader, bool reload) { return LoadShader(shader, nullptr, reload); }

int HVI_LoadShaderText(HV_Shader& shader, const char* xmlText) { return LoadShader(shader, xmlText, false); }

bool HVI_CreateShaderFromSource(HV_Shader& shader, const char* name, const char* xmlText)
{
    String log;
    bool created = false;
    {
        TranslatorLock lock;
        shader.name = name;
        created = ShaderTool::ReadShaderXML(shader.name, xmlText, false, true);
        if (created) {
            HVI_SetShaderDescription(shader, ShaderTool::GetDescription());
            CopyStageOutputs(shader);
        } else {
            log = ShaderTool::GetLogText();
        }
        ShaderTool::Reset();
    }
    if (!created && !log.IsEmpty()) HVI_Popup(HV_LOG_ERROR, kShaderTranslateFailed, name, log.GetText());
    return created;
}
