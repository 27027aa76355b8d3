#pragma once

#include <cstdint>

#include "shadertool/basic/translator_log.h"
#include "shadertool/translators/translator.h"

namespace ShaderTool {

// The translator of one target bit; null for targets without one.
Translator* CreateTranslator(uint32_t targetBit, Log* stepLog);

}  // namespace ShaderTool
