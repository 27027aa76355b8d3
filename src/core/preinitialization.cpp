// Pre-initialisation: everything the engine sets up before the window exists,
// in the engine's fixed order.
#include <windows.h>

#include <cstring>

#include "core/configuration.h"
#include "core/engine_interface.h"
#include "core/engine_locks.h"
#include "core/engine_run_state.h"
#include "core/engine_state.h"
#include "core/engine_time.h"
#include "core/events.h"
#include "core/features.h"
#include "core/lifecycle_texts.h"
#include "core/log_file_name.h"
#include "core/logging.h"
#include "core/program_parameters.h"
#include "core/subsystem_hooks.h"
#include "core/threading.h"
#include "core/user_folders.h"
#include "filesystem/scheme_roots.h"

namespace {

void SetResourceRoot()
{
    char folder[MAX_PATH] = {};
    if (GetCurrentDirectoryA(MAX_PATH, folder) > 0) {
        HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, folder);
    }
}

void ReadConfiguration(HVI_EngineState& state)
{
    HVI_Configuration& configuration = HVI_GetConfiguration();
    configuration.Load();
    state.presentInterval = HVI_ApplyConfiguration(configuration, HVI_GetRunState().commandLine.GetText());
}

bool LoggingEnabled()
{
    const char* logging = HVI_GetConfiguration().GetDeveloperValue("logging");
    return !logging || HVI_Configuration::IsTrue(logging);
}

bool LogFileNameTaken(const char* path)
{
    const String native = HV_ConvertStaticPathToNativeOSPath(path);
    return !native.IsEmpty() && GetFileAttributesA(native.GetText()) != INVALID_FILE_ATTRIBUTES;
}

void OpenLog()
{
    if (!LoggingEnabled()) {
        return;
    }
    const bool dated = HV_IsDeveloperMode() && !HV_HasFeature("FIXED_LOGNAME");
    const String name = HVI_MakeLogFileName(HVI_ProgramIdForFolders(HVI_GetConfiguration()), dated,
                                            HV_HasFeature("LOGS_IN_WORKING_DIR"), HV_GetLocalTime(), LogFileNameTaken);
    HVI_OpenLogFile(name.GetText());
}

// Writes the engine's parameters into the program block.
void MergeParameters(HVI_EngineState& state)
{
    HV_ProgramInterface& program = *state.program;
    program.hv = state.engine;
    HVI_MergeProgramParameters(HVI_GetConfiguration(), HVI_GetRunState().commandLine.GetText(), program);
    state.video = program.video;
}

void CheckSingleInstance(HVI_EngineRunState& run, const HV_ProgramInterface& program)
{
    char id[sizeof(program.programId) + 1] = {};
    std::memcpy(id, program.programId, sizeof(program.programId));
    const String name = String::Formatted("HALVO_INSTANCE_%s", id);
    run.instanceMutex = CreateMutexA(nullptr, FALSE, name.GetText());
    if (run.instanceMutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        HV_Log(HV_LOG_WARNING, "Another instance of '%s' is already running.", id);
    }
}

// The program checks (and may change) its video parameters in its OnEvent.
void LetProgramCheckVideo(HV_ProgramInterface& program)
{
    if (!program.OnEvent) {
        return;
    }
    HV_Event event;
    HV_InitializeEvent(&event, HV_EVENT_VIDEO_REINITIALIZATION);
    event.video.width = program.video.width;
    event.video.height = program.video.height;
    event.video.displayIndex = program.video.displayIndex;
    event.video.windowed = program.video.windowed;
    program.OnEvent(&event);
}

}  // namespace

bool HVI_Preinitialize(const char* commandLine)
{
    HVI_RegisterMainThread();
    HVI_ResetEngineState();
    HVI_ResetRunState();
    HVI_ResetEngineTime();
    HVI_EngineRunState& run = HVI_GetRunState();
    run.commandLine.Assign(commandLine ? commandLine : "");
    HVI_EngineState& state = HVI_GetEngineState();
    HVI_BuildEngineInterface();
    state.engine = HVI_GetEngineInterface();
    HVI_CreateEngineLocks();
    HVI_InstallFoundationLogSink();

    SetResourceRoot();
    ReadConfiguration(state);
    if (!HVI_SetUpUserFolders(HVI_ProgramIdForFolders(HVI_GetConfiguration()))) {
        return false;
    }
    OpenLog();
    HV_Log(HV_LOG_SYSTEM, "Preinitializing (command line '%s').", run.commandLine.GetText());

    if (HVI_BindProgram(run.library) != HVI_BindResult::Bound) {
        return false;
    }
    state.program = run.library.program;
    MergeParameters(state);
    CheckSingleInstance(run, *state.program);
    HVI_AddSearchPath("res://");
    LetProgramCheckVideo(*state.program);
    state.video = state.program->video;

    for (HVI_SubsystemRole role : {HVI_SUBSYSTEM_PLATFORM, HVI_SUBSYSTEM_RENDERER, HVI_SUBSYSTEM_INPUT,
                                   HVI_SUBSYSTEM_SOUND, HVI_SUBSYSTEM_EXTENSIONS}) {
        const HVI_SubsystemHooks& hooks = HVI_GetSubsystemHooks(role);
        if (hooks.Preinitialize) {
            run.broughtUp[role] = true;
            if (!hooks.Preinitialize(state)) {
                return false;
            }
        }
    }
    HV_Log(HV_LOG_SYSTEM, "%s", kPreinitializationCompleteText);
    return true;
}
