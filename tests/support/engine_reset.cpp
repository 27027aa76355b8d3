#include "support/engine_reset.h"

#include "audio/audio_state.h"
#include "core/configuration.h"
#include "core/engine_lifecycle.h"
#include "core/engine_locks.h"
#include "core/engine_run_state.h"
#include "core/engine_state.h"
#include "core/engine_time.h"
#include "core/events.h"
#include "core/extension_command.h"
#include "core/features.h"
#include "core/logging.h"
#include "core/subsystem_hooks.h"
#include "core/threading.h"
#include "data/data_manager.h"
#include "filesystem/scheme_roots.h"
#include "foundation/engine_log.h"
#include "graphics/bitmap_queue.h"
#include "graphics/bitmap_table.h"
#include "graphics/render_states.h"
#include "graphics/renderer_implementation.h"
#include "shadertool/driver/driver.h"
#include "shadertool/driver/engine_interface.h"
#include "shadertool/preprocessor/preprocessor_files.h"

void ResetEngine()
{
    // The subsystems first: they hold records of the core and the data manager.
    ShaderTool::Reset();
    ShaderTool::GetGlobalState().reader.SetBitmapGetter(nullptr);
    ShaderTool::SetIncludeFileAccess(nullptr);
    HVI_ResetAudioState();
    HVI_SetRenderer(nullptr);
    HVI_ClearBitmapQueue();
    HVI_ResetBitmapTable();
    HVI_ResetRenderStates();

    HVI_ResetSubsystems();
    HVI_ResetEngineCommands();
    HVI_DiscardQueuedEvents();
    HVI_ResetThreading();
    HVI_ResetFeatures();
    HVI_ResetEngineState();
    HVI_ResetRunState();
    HVI_SetFrameClock(nullptr);
    HVI_ResetEngineTime();
    HVI_GetConfiguration().Use(nullptr, nullptr);
    HVI_DeleteEngineLocks();
    HVI_ResetLog();

    DataManager::UnloadAllDatabases();
    HVI_ResetFileSystem();

    HVI_RegisterMainThread();
    HVI_CreateEngineLocks();
    HVI_InstallFoundationLogSink();
}
