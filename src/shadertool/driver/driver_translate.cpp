// One Shader XML from its description to the stage outputs: the target and
// capability checks, the work list and the passes over it.
#include <cstring>

#include "filesystem/path_scheme.h"
#include "shadertool/driver/capabilities.h"
#include "shadertool/driver/driver.h"
#include "shadertool/driver/driver_messages.h"

namespace ShaderTool {

bool TranslateStages(GlobalState& state);

namespace {

// The stage pairs are compared over every source of the Shader XML: a file
// whose vertex sources are split by target beside one shared pixel source
// pairs its stages for each of those targets, whichever are selected.
bool BuildWorkList(GlobalState& state)
{
    uint32_t stageUnion[STAGE_COUNT] = {};
    const Array<ShaderSource>& sources = state.reader.GetDescription().sources;
    for (int i = 0; i < sources.GetCount(); ++i) {
        const ShaderSource& source = sources[i];
        if (source.stage >= STAGE_COUNT) continue;
        stageUnion[source.stage] |= source.targetMask;
        if ((source.targetMask & state.settings.targetMask) == 0) continue;
        WorkRecord record;
        record.source = source;
        record.number = i + 1;
        state.workList.Add(record);
        if (source.targetMask != TARGET_MASK_ALL) state.coveredTargets[source.stage] |= source.targetMask;
    }
    if (stageUnion[STAGE_VERTEX] != stageUnion[STAGE_PIXEL]) {
        state.StepLog().WriteError(kDriverUnpairedStages);
        return false;
    }
    return true;
}

// The Shader XML path without the input root and without its extension.
// The name goes below the output directory, so a scheme ("res://") and
// leading separators that are left after the root are dropped as well:
// they would make a folder named after the scheme, or leave the directory.
String MakeOutputBaseName(const String& path, const String& inputRoot)
{
    const int skip = inputRoot.GetLength() < path.GetLength() ? inputRoot.GetLength() : path.GetLength();
    const char* name = path.GetText() + skip;
    HVI_GetPathScheme(name, &name);
    while (*name == '/' || *name == '\\') ++name;
    int length = path.GetLength() - static_cast<int>(name - path.GetText());
    for (int i = length - 1; i >= 0 && name[i] != '/'; --i) {
        if (name[i] == '.') {
            length = i;
            break;
        }
    }
    String base;
    base.Assign(name, length);
    return base;
}

bool RunPasses(GlobalState& state)
{
    bool result = TranslateStages(state);
    if (!result || !state.upToDate) return result;
    int upToDate = 0;
    for (WorkRecord& record : state.workList) {
        if (record.upToDate) {
            record.parseNeeded = 1;
            ++upToDate;
        }
        record.upToDate = record.upToDate ? 0 : 1;
    }
    if (upToDate == 0 || upToDate == state.workList.GetCount()) return result;
    state.StepLog().WriteLine(kDriverRetranslating);
    state.upToDate = 0;
    result = TranslateStages(state);
    state.upToDate = 1;
    return result;
}

}  // namespace

bool TranslateShaderXML(const String& path, const TranslationSettings& settings, bool reload)
{
    GlobalState& state = GetGlobalState();
    state.mainLog.WriteLine(String::Formatted(kDriverTranslating, path.GetText()).GetText());
    bool result = settings.descriptionLoaded || ReadShaderXML(path, nullptr, reload, false);
    const ShaderDescription& description = state.reader.GetDescription();
    if (result && description.version == 0) {
        state.mainLog.WriteLine(kDriverNotShaderXml);
        return true;
    }
    if (result) {
        state.settings.inputRoot = settings.inputRoot;
        state.settings.definitions = settings.definitions;
        state.settings.featureLevel = settings.featureLevel;
        state.settings.targetMask = settings.targetMask & description.targetMask;
        state.settings.stampLimit = settings.stampLimit;
        state.settings.compile = settings.compile;
        state.settings.debugCompile = settings.debugCompile;
        state.settings.preprocessorFlag = settings.preprocessorFlag;
        state.settings.preprocessOnly = settings.preprocessOnly;
        state.settings.descriptionLoaded = settings.descriptionLoaded;
        if (state.settings.targetMask == 0) {
            state.mainLog.WriteLine(kDriverNoTargets);
            return true;
        }
        for (uint32_t bit = 1; bit <= TARGET_SPIRV; bit <<= 1) {
            if ((state.settings.targetMask & bit) != 0 && !CheckCapabilities(description, bit, state.mainLog)) {
                result = false;
            }
        }
    }
    if (result) result = BuildWorkList(state);
    if (result) {
        state.outputBaseName = MakeOutputBaseName(path, settings.inputRoot);
        result = RunPasses(state);
    }
    FlushLog(String());
    state.mainLog.WriteLine(result ? kDriverSucceeded : kDriverFailed);
    return result;
}

}  // namespace ShaderTool
