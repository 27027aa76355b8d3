#include "shadertool/translators/translate_tree.h"

namespace ShaderTool {

bool TranslateTree(Translator& translator, const ShaderDescription& description, const GroupNode* root,
                   uint32_t featureLevel, uint32_t targetBit, uint32_t stage, String& text)
{
    translator.Reset();
    translator.SetTranslation(&description, featureLevel, targetBit, stage);
    translator.BeginShader(description);
    if (root != nullptr) translator.TranslateRoot(*root);
    if (!translator.Succeeded()) return false;
    translator.WriteInterface(description);
    translator.WriteHeader();
    text = translator.GetResultText();
    return true;
}

}  // namespace ShaderTool
