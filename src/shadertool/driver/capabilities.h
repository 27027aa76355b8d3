#pragma once

#include <cstdint>

#include "shadertool/basic/translator_log.h"
#include "shadertool/basic/shader_description.h"

namespace ShaderTool {

// Whether the target can express everything the description declares;
// every missing capability is an error in the log.
bool CheckCapabilities(const ShaderDescription& description, uint32_t targetBit, Log& log);

}  // namespace ShaderTool
