// Runs the input through the whole front end for one target, as the driver
// does for one stage: preprocessing, stage structs, parsing and every check;
// then, when the description passes the target's capability check and the
// factory makes a translator for the target, through that translator. The
// first four bytes pick the stage, the Shader XML version, the description
// (one of the test interfaces, so that real sources find their members), and
// the target (low four bits) with a feature level (high four bits, none from
// 8 on); the rest is the source text. Included files cannot be opened.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "shadertool/ast/tree_dump.h"
#include "shadertool/driver/capabilities.h"
#include "shadertool/driver/front_end.h"
#include "shadertool/preprocessor/preprocessor_files.h"
#include "shadertool/quiet_log.h"
#include "shadertool/support/shader_interfaces_test_support.h"
#include "shadertool/translators/translate_tree.h"
#include "shadertool/translators/translator_factory.h"

using namespace ShaderTool;

namespace {

void* OpenNothing(const char*, int64_t*) { return nullptr; }

int64_t ReadNothing(void*, int64_t, void*) { return 0; }

void CloseNothing(void*) {}

bool NoStamp(const char*, int32_t*) { return false; }

const IncludeFileAccess kNoFiles = {OpenNothing, ReadNothing, CloseNothing, NoStamp};

constexpr uint32_t kVersions[] = {0x20002, 0x20003, 0x20004};
const char* const kInterfaces[] = {"sprite", "lit", "raytracing", "sprite_without_output"};
constexpr size_t kHeaderSize = 4;

// The front end and every translator the factory makes, made once: a target
// that gains a translator is driven without a change here.
struct Harness {
    Harness()
    {
        SilenceEngineLog();
        SetIncludeFileAccess(&kNoFiles);
        for (int slot = 0; slot < TARGET_COUNT; ++slot) {
            translators[slot].reset(CreateTranslator(1u << slot, &frontEnd.stepLog));
        }
    }

    FrontEnd frontEnd;
    std::unique_ptr<Translator> translators[TARGET_COUNT];
    Log capabilityLog;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Harness* harness = new Harness;
    if (size < kHeaderSize) return 0;
    const uint32_t stage = data[0] % STAGE_COUNT;
    const uint32_t version = kVersions[data[1] % 3];
    const ShaderDescription description = ShaderInterfaces::MakeInterface(kInterfaces[data[2] % 4], version);
    const int slot = (data[3] & 15) % TARGET_COUNT;
    const uint32_t featureLevel = (data[3] >> 4) < FEATURE_LEVEL_COUNT ? 1u << (data[3] >> 4) : FEATURE_LEVEL_NONE;
    const uint32_t targetBit = 1u << slot;
    const std::string text(reinterpret_cast<const char*>(data + kHeaderSize), size - kHeaderSize);
    ShaderSource source;
    source.path = "fuzz/main.hvsl";
    source.text.Assign(text.c_str());
    source.firstLine = 1;
    source.targetMask = TARGET_MASK_ALL;
    source.stage = stage;
    FrontEnd& frontEnd = harness->frontEnd;
    frontEnd.stepLog.Clear();
    const Array<String> definitions;
    const bool good = RunFrontEnd(frontEnd, description, source, targetBit, definitions);
    // Every pointer of the tree must lead to a live node.
    const String dump = DumpTree(frontEnd.parse.root);
    if (dump.GetLength() < 0) return 1;
    Translator* translator = harness->translators[slot].get();
    harness->capabilityLog.Clear();
    if (!good || translator == nullptr || !CheckCapabilities(description, targetBit, harness->capabilityLog)) return 0;
    String output;
    TranslateTree(*translator, description, frontEnd.parse.root, featureLevel, targetBit, stage, output);
    return 0;
}
