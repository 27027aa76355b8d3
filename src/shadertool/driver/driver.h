#pragma once

#include <cstdint>
#include <memory>

#include "foundation/byte_buffer.h"
#include "foundation/string.h"
#include "shadertool/basic/log.h"
#include "shadertool/basic/targets.h"
#include "shadertool/basic/translation_settings.h"
#include "shadertool/compilers/compiler.h"
#include "shadertool/driver/front_end.h"
#include "shadertool/shaderxml/shader_xml_reader.h"
#include "shadertool/translators/translator.h"

// The translation driver: the translator's one global state and the
// operations the graphics front end calls. There is no lock inside: every
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

// Creates the compilers and translators of the targets in the mask that do
// not have them yet, and stores the output directory. debug turns on the
// up-to-date checks and re-reading of included definition files.
bool Initialize(uint32_t targetMask, uint32_t featureLevel, const String& outputDirectory, bool debug);

// Reads a Shader XML from its file (text null) or from text into the global
// description.
bool ReadShaderXML(const String& path, const char* text, bool reload, bool declarationsOnly);

// Translates every source of the Shader XML for the selected targets; true
// also when it is skipped.
bool TranslateShaderXML(const String& path, const TranslationSettings& settings, bool reload);

// Moves the step log into the main log, under the heading when there is one.
void FlushLog(const String& heading);

// Empties the state for the next shader; compilers and translators stay.
void Reset();

}  // namespace ShaderTool
