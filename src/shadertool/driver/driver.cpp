#include "shadertool/driver/driver.h"

#include <cstring>

#include "data/data_manager.h"
#include "filesystem/file_operations.h"
#include "shadertool/compilers/hlsl_compiler.h"
#include "shadertool/driver/driver_file_access.h"
#include "shadertool/driver/driver_messages.h"
#include "shadertool/translators/translator_factory.h"

namespace ShaderTool {

GlobalState::GlobalState() : reader(&frontEnd.stepLog) {}

GlobalState::~GlobalState() = default;

GlobalState& GetGlobalState()
{
    static GlobalState state;
    return state;
}

namespace {

// The group's compiler for a target, made when the target is the first that needs it.
std::unique_ptr<Compiler> MakeCompiler(uint32_t targetBit, Log* stepLog)
{
    if (targetBit == TARGET_HLSL11) return std::make_unique<HLSLCompiler>(stepLog);
    return nullptr;
}

}  // namespace

bool Initialize(uint32_t targetMask, uint32_t featureLevel, const String& outputDirectory, bool debug)
{
    GlobalState& state = GetGlobalState();
    UseEngineFileAccess();
    bool result = true;
    for (int slot = 0; slot < TARGET_COUNT; ++slot) {
        const uint32_t bit = 1u << slot;
        if ((targetMask & bit) == 0) continue;
        const TargetInfo* info = FindTargetInfo(bit);
        std::unique_ptr<Compiler>& compiler = state.compilers[info->compilerGroup];
        if (compiler == nullptr) {
            std::unique_ptr<Compiler> made = MakeCompiler(bit, &state.StepLog());
            if (made != nullptr && !made->Initialize(featureLevel)) {
                // A compiler that did not initialise is not kept: later
                // translations report the missing compiler instead of calling it.
                if (!state.StepLog().written) state.StepLog().WriteError(kDriverUnknownError);
                FlushLog(String::Formatted(kDriverCompilerFailedHeading, info->name));
                made.reset();
                result = false;
            }
            compiler = std::move(made);
        }
        if (state.translators[slot] == nullptr) {
            state.translators[slot].reset(CreateTranslator(bit, &state.StepLog()));
        }
    }
    state.outputDirectory = outputDirectory;
    const int length = outputDirectory.GetLength();
    if (length > 0 && outputDirectory[length - 1] != '/' && outputDirectory[length - 1] != '\\') {
        state.outputDirectory.Append("/");
    }
    state.upToDate = debug ? 1 : 0;
    state.frontEnd.preprocessor.upToDate = state.upToDate;
    state.reader.SetDeveloperMode(debug);
    return result;
}

bool ReadShaderXML(const String& path, const char* text, bool reload, bool declarationsOnly)
{
    GlobalState& state = GetGlobalState();
    ShaderXMLReader& reader = state.reader;
    bool result = false;
    if (text != nullptr) {
        // Text that is no XML at all is a failed read, not an empty document.
        std::unique_ptr<DMDatabase> database(DataManager::LoadFromMemory(text));
        if (database == nullptr) {
            state.StepLog().WriteError(kDriverTextNotXml);
        } else {
            reader.SetDocument(database.get(), path, "", text);
            result = reader.Read(declarationsOnly);
            reader.SetDocument(nullptr, path, "");
        }
    } else if (!HV_FileSystem_FindPath(path.GetText())) {
        state.StepLog().WriteError(kDriverFileMissing);
    } else {
        if (reload) DataManager::UnloadDatabase(path.GetText());
        DMDatabase* database = DataManager::GetDatabase(path.GetText());
        String folder;
        const char* slash = std::strrchr(path.GetText(), '/');
        if (slash != nullptr) folder.Assign(path.GetText(), static_cast<int>(slash - path.GetText()) + 1);
        reader.SetDocument(database, path, folder);
        result = reader.Read(declarationsOnly);
        HV_FileInfo info;
        if (result && HV_FileSystem_GetFileInfo(path.GetText(), &info)) {
            reader.GetDescription().stamp = info.lastModificationTime;
        }
    }
    FlushLog(result ? String() : String(kDriverReadFailedHeading));
    return result;
}

void FlushLog(const String& heading)
{
    GlobalState& state = GetGlobalState();
    Log& step = state.StepLog();
    if (!heading.IsEmpty()) state.mainLog.WriteLine(String::Formatted("%s:", heading.GetText()).GetText());
    state.mainLog.text.Append(step.text.GetText(), step.text.GetLength());
    state.mainLog.written |= step.written;
    state.mainLog.error |= step.error;
    step.Clear();
}

void Reset()
{
    GlobalState& state = GetGlobalState();
    state.outputBaseName.Clear();
    state.StepLog().Clear();
    state.mainLog.Clear();
    for (std::unique_ptr<Translator>& translator : state.translators) {
        if (translator != nullptr) translator->Reset();
    }
    for (ByteBuffer& output : state.stageOutputs) output.Free();
    state.stageMask = 0;
    state.workList.Clear();
    state.reader.Reset();
    for (uint32_t& covered : state.coveredTargets) covered = 0;
    state.stamp = 0;
}

}  // namespace ShaderTool
