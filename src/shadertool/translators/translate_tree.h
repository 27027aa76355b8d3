#pragma once

#include <cstdint>

#include "foundation/string.h"
#include "shadertool/ast/node.h"
#include "shadertool/basic/shader_description.h"
#include "shadertool/translators/translator.h"

namespace ShaderTool {

// Writes one stage's tree (null for an empty source) with the translator:
// the interface, the header and the body, as the text of the stage's output.
// False, with the reason in the translator's step log, when it failed.
bool TranslateTree(Translator& translator, const ShaderDescription& description, const GroupNode* root,
                   uint32_t featureLevel, uint32_t targetBit, uint32_t stage, String& text);

}  // namespace ShaderTool
