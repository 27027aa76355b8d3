#pragma once

#include <cstdint>
#include <memory>

#include "foundation/byte_buffer.h"
#include "foundation/string.h"
#include "shadertool/basic/translator_log.h"
#include "shadertool/basic/targets.h"
#include "shadertool/basic/translation_settings.h"
#include "shadertool/compilers/compiler.h"
#include "shadertool/driver/engine_interface.h"
#include "shadertool/driver/front_end.h"
#include "shadertool/shaderxml/shader_xml_reader.h"
#include "shadertool/translators/translator.h"

// The translation driver: the translator's one global state, which the
// operations of engine_interface.h work on. There is no lock inside: every
// caller holds the engine mutex "ShaderTranslator" from the read to the
// Reset and reads the outputs under it.
namespace ShaderTool {

constexpr int COMPILER_GROUP_COUNT = 4;

// One source of the description that the selected targets use.
struct WorkRecord {
    ShaderSource source;
    int32_t number = 0;  // index + 1
    uint8_t upToDate = 0;
    uint8_t parsed = 1;
    uint8_t parseNeeded = 1;
};

// Everything guarded by "ShaderTranslator".
struct GlobalState {
    GlobalState();
    ~GlobalState();
    GlobalState(const GlobalState&) = delete;
    GlobalState& operator=(const GlobalState&) = delete;

    String outputBaseName;
    std::unique_ptr<Compiler> compilers[COMPILER_GROUP_COUNT];
    Log mainLog;
    String outputDirectory;  // empty, or ending in '/' or '\\'
    FrontEnd frontEnd;       // its step log is the translator's step log
    ByteBuffer stageOutputs[STAGE_COUNT];
    uint32_t stageMask = 0;  // bit 1 << stage for every stage output written
    ShaderXMLReader reader;
    Array<WorkRecord> workList;
    std::unique_ptr<Translator> translators[TARGET_COUNT];
    TranslationSettings settings;  // of the current translation, its mask narrowed to the Shader XML's
    uint32_t coveredTargets[STAGE_COUNT] = {};
    int32_t stamp = 0;  // the largest source stamp of the current translation
    uint8_t upToDate = 0;

    Log& StepLog() { return frontEnd.stepLog; }
};

// The one global state.
GlobalState& GetGlobalState();

}  // namespace ShaderTool
