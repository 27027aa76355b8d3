// One source for one target: preprocess, parse, translate, write, compile.
#include "filesystem/path_scheme.h"
#include "filesystem/scheme_roots.h"
#include "filesystem/whole_file.h"
#include "shadertool/driver/driver.h"
#include "shadertool/driver/driver_messages.h"
#include "shadertool/translators/translate_tree.h"

namespace ShaderTool {
namespace {

void StepError(GlobalState& state, const char* format, const char* argument)
{
    state.StepLog().WriteError(String::Formatted(format, argument).GetText());
}

int TargetSlot(uint32_t targetBit)
{
    int slot = 0;
    while (slot < TARGET_COUNT && (1u << slot) != targetBit) ++slot;
    return slot;
}

bool ParseSource(GlobalState& state, WorkRecord& record, uint32_t targetBit)
{
    const ShaderDescription& description = state.reader.GetDescription();
    const TranslationSettings& settings = state.settings;
    PreprocessorContext& preprocessor = state.frontEnd.preprocessor;
    const bool preprocessed = Preprocess(preprocessor, description, targetBit, record.source, settings.definitions,
                                         settings.preprocessorFlag != 0);
    if (settings.preprocessorFlag) return preprocessed;
    // A source that tested the target (_TARGET, _TARGET_GROUP) reads
    // differently for the next target: it is preprocessed and parsed again.
    record.parseNeeded = preprocessor.targetDependent ? 1 : 0;
    if (!preprocessed) return false;
    if (state.upToDate) {
        if (preprocessor.stamp > state.stamp) state.stamp = preprocessor.stamp;
        if (preprocessor.stamp >= 1 && preprocessor.stamp <= settings.stampLimit) record.upToDate = 1;
        if (record.upToDate) return true;
    }
    if (settings.preprocessOnly) return true;
    return ParsePreprocessedSource(state.frontEnd, description, record.source);
}

bool WriteOutputFile(GlobalState& state, const String& text, uint32_t stage, bool compiles)
{
    if (!compiles) {
        state.stageOutputs[stage].WriteString(text.GetText());
        state.stageMask |= 1u << stage;
    }
    if (state.outputDirectory.IsEmpty()) return true;
    const String path =
        String::Formatted(kDriverOutputFileFormat, state.outputDirectory.GetText(), state.outputBaseName.GetText(), "",
                          GetStageName(static_cast<int32_t>(stage)));
    // A path whose scheme has no folder cannot be opened at all.
    const HV_PathScheme scheme = HVI_GetPathScheme(path.GetText());
    if (scheme == HV_PATH_SCHEME_UNKNOWN ||
        (scheme != HV_PATH_SCHEME_NONE && HV_ConvertStaticPathToNativeOSPath(path.GetText()).IsEmpty())) {
        StepError(state, kDriverCannotOpen, path.GetText());
        return false;
    }
    if (!HVI_WriteFileAtomically(path.GetText(), text.GetText(), text.GetLength())) {
        StepError(state, kDriverCannotWrite, path.GetText());
        return false;
    }
    return true;
}

bool CompileForFeatureLevel(GlobalState& state, Compiler& compiler, const String& text, uint32_t targetBit,
                            uint32_t level, uint32_t stage)
{
    CompiledCode out;
    if (!compiler.Compile(targetBit, level, stage, text, state.settings.debugCompile != 0, out)) return false;
    state.stageOutputs[stage].WriteBytes(out.code.GetData(), out.code.GetSize());
    state.stageMask |= 1u << stage;
    return true;
}

bool CompileForFeatureLevels(GlobalState& state, const String& text, uint32_t targetBit, uint32_t stage)
{
    const TargetInfo* info = FindTargetInfo(targetBit);
    Compiler* compiler = state.compilers[info->compilerGroup].get();
    if (compiler == nullptr) {
        StepError(state, kDriverNoCompiler, info->name);
        return false;
    }
    bool result = true;
    bool compiled = false;
    for (uint32_t level = 1; level <= FEATURE_LEVEL_PSSL_AGC; level <<= 1) {
        const FeatureLevelInfo* levelInfo = FindFeatureLevelInfo(level);
        if ((state.settings.featureLevel & level) == 0 || levelInfo == nullptr || levelInfo->target != targetBit) {
            continue;
        }
        result = CompileForFeatureLevel(state, *compiler, text, targetBit, level, stage) && result;
        compiled = true;
    }
    if (!compiled) result = CompileForFeatureLevel(state, *compiler, text, targetBit, FEATURE_LEVEL_NONE, stage);
    return result;
}

bool TranslateForTarget(GlobalState& state, WorkRecord& record, uint32_t targetBit)
{
    const TargetInfo* info = FindTargetInfo(targetBit);
    state.StepLog().WriteLine(String::Formatted(kDriverTranslatingTarget, info->name).GetText());
    if (record.parseNeeded) {
        record.parsed = ParseSource(state, record, targetBit) ? 1 : 0;
        // Listing the macros is all the preprocessor flag asks for: no tree was built.
        if (state.settings.preprocessorFlag) return record.parsed != 0;
    }
    if (record.upToDate) return true;
    if (!record.parsed) return false;

    const uint32_t stage = record.source.stage;
    String text;
    if (state.settings.preprocessOnly) {
        text = state.frontEnd.preprocessor.output;
    } else {
        Translator* translator = state.translators[TargetSlot(targetBit)].get();
        if (translator == nullptr) {
            StepError(state, kDriverNoTranslator, info->name);
            return false;
        }
        if (!TranslateTree(*translator, state.reader.GetDescription(), state.frontEnd.parse.root,
                           state.settings.featureLevel, targetBit, stage, text)) {
            return false;
        }
    }
    const bool compiles = info->compilesAtTranslation;
    const bool written = WriteOutputFile(state, text, stage, compiles);
    if (state.settings.compile && !state.settings.preprocessOnly && compiles) {
        return CompileForFeatureLevels(state, text, targetBit, stage) && written;
    }
    return written;
}

}  // namespace

bool TranslateStages(GlobalState& state)
{
    bool result = true;
    for (WorkRecord& record : state.workList) {
        if (record.upToDate) continue;
        const char* stageName = GetStageName(static_cast<int32_t>(record.source.stage));
        state.StepLog().WriteLine(String::Formatted(kDriverTranslatingSource, stageName, record.number).GetText());
        const bool allTargets = record.source.targetMask == TARGET_MASK_ALL;
        const uint32_t targets = record.source.targetMask & state.settings.targetMask;
        for (uint32_t bit = 1; bit <= TARGET_SPIRV; bit <<= 1) {
            if ((targets & bit) == 0) continue;
            if (allTargets && (state.coveredTargets[record.source.stage] & bit) != 0) continue;
            const bool translated = TranslateForTarget(state, record, bit);
            if (!translated) result = false;
            if (!translated && !record.parsed && !record.parseNeeded) {
                state.StepLog().WriteError(kDriverParseFailed);
                break;
            }
            if (translated && record.upToDate) {
                state.StepLog().WriteLine(kDriverUpToDate);
                break;
            }
        }
    }
    return result;
}

}  // namespace ShaderTool
