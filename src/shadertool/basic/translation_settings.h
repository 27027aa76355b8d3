#pragma once

#include <cstdint>

#include "foundation/array.h"
#include "foundation/string.h"

namespace ShaderTool {

// What a caller asks of one translation.
struct TranslationSettings {
    String inputRoot;           // its length is dropped from the front of the Shader XML path for output names
    Array<String> definitions;  // extra definitions for the preprocessor
    uint32_t featureLevel = 0;  // FeatureLevel bits to compile for
    uint32_t targetMask = 0;
    int32_t stampLimit = 0;  // stamp of the code the caller already holds
    uint8_t compile = 0;     // compile where the target compiles
    uint8_t debugCompile = 0;
    uint8_t preprocessorFlag = 0;   // the preprocessor lists its macros; nothing is translated
    uint8_t preprocessOnly = 0;     // the output is the preprocessed text
    uint8_t descriptionLoaded = 0;  // the global description is already read
};

}  // namespace ShaderTool
