// The one place that names the concrete translator classes.
#include "shadertool/translators/translator_factory.h"

#include "shadertool/translators/hlsl/hlsl11_translator.h"
#include "shadertool/translators/hlsl/hlsl12_translator.h"
#include "shadertool/translators/hlsl/hlsl9_translator.h"
#include "shadertool/translators/hlsl/pssl_translator.h"

namespace ShaderTool {

Translator* CreateTranslator(uint32_t targetBit, Log* stepLog)
{
    switch (targetBit) {
    case TARGET_HLSL9:
        return new HLSL9Translator(stepLog);
    case TARGET_HLSL11:
        return new HLSL11Translator(stepLog);
    case TARGET_HLSL12:
        return new HLSL12Translator(stepLog);
    case TARGET_PSSL:
        return new PSSLTranslator(stepLog);
    default:
        return nullptr;
    }
}

}  // namespace ShaderTool
