// The one place that names the concrete translator classes.
#include "shadertool/translators/translator_factory.h"

#include "shadertool/translators/glsl/essl20_translator.h"
#include "shadertool/translators/glsl/glsl31_translator.h"
#include "shadertool/translators/glsl/spirv_translator.h"
#include "shadertool/translators/hlsl/hlsl11_translator.h"
#include "shadertool/translators/hlsl/hlsl12_translator.h"
#include "shadertool/translators/hlsl/hlsl9_translator.h"
#include "shadertool/translators/hlsl/pssl_translator.h"

namespace ShaderTool {
namespace {

// The newer GLSL languages have level and gradient sampling of their own,
// and bit-wise operators.
void SetUpNewerGLSL(Translator* translator)
{
    translator->AddRename("sampleTextureGrad", "textureGrad");
    translator->AddRename("sampleTextureLod", "textureLod");
    translator->AddRename("sampleTextureLodOffset", "textureLodOffset");
    translator->SetBitwiseAllowed(true);
}

}  // namespace

Translator* CreateTranslator(uint32_t targetBit, Log* stepLog)
{
    Translator* translator = nullptr;
    switch (targetBit) {
    case TARGET_ESSL20: return new ESSL20Translator(stepLog);
    case TARGET_ESSL30:
        translator = new ESSL30Translator(stepLog);
        SetUpNewerGLSL(translator);
        return translator;
    case TARGET_GLSL21: return new GLSL21Translator(stepLog);
    case TARGET_GLSL31:
        translator = new GLSL31Translator(stepLog);
        SetUpNewerGLSL(translator);
        return translator;
    case TARGET_HLSL9: return new HLSL9Translator(stepLog);
    case TARGET_HLSL11: return new HLSL11Translator(stepLog);
    case TARGET_HLSL12: return new HLSL12Translator(stepLog);
    case TARGET_PSSL: return new PSSLTranslator(stepLog);
    case TARGET_SPIRV:
        translator = new SPIRVTranslator(stepLog);
        SetUpNewerGLSL(translator);
        translator->AddRename("unpackUnorm4ToFloat4", "unpackUnorm4x8");
        return translator;
    default: return nullptr;
    }
}

}  // namespace ShaderTool
