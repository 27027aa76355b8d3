#include "core/engine_interface.h"

#include <atomic>
#include <cstdlib>

#include "core/compressed_buffer.h"
#include "core/configuration.h"
#include "core/engine_lifecycle.h"
#include "core/engine_time.h"
#include "core/events.h"
#include "core/extension_command.h"
#include "core/features.h"
#include "core/http_requests.h"
#include "core/logging.h"
#include "core/memory.h"
#include "core/threading.h"
#include "filesystem/file_operations.h"

namespace {

HV_EngineInterface g_interface;  // built on the main thread at pre-initialisation

// Operations whose area this build does not have answer their failure value
// and say so once each, at ERROR so that the line is in every log.
enum MissingOperation {
    kAddConsoleAutoCompletion,
    kSetMouseCursor,
    kShowMouseCursor,
    kSetProgramSetting,
    kGetKeyFlags,
    kSetKeyFlags,
    kGetKeyValue,
    kMissingOperationCount
};
std::atomic<bool> g_missingReported[kMissingOperationCount];

void ReportMissing(MissingOperation operation, const char* name)
{
    if (!g_missingReported[operation].exchange(true)) {
        HV_Log(HV_LOG_ERROR, "%s: not available in this build of the engine.", name);
    }
}

void AddConsoleAutoCompletion(const char*) { ReportMissing(kAddConsoleAutoCompletion, "HV_AddConsoleAutoCompletion"); }

bool SetMouseCursor(const char*)
{
    ReportMissing(kSetMouseCursor, "HV_SetMouseCursor");
    return false;
}

void ShowMouseCursor(bool) { ReportMissing(kShowMouseCursor, "HV_ShowMouseCursor"); }

const char* GetProgramSetting(const char* key)
{
    if (!key) {
        HV_Log(HV_LOG_ERROR, "HV_GetProgramSetting: key is null.");
        return nullptr;
    }
    return HVI_GetConfiguration().GetProgramParameter(key);
}

bool SetProgramSetting(const char*, const char*)
{
    ReportMissing(kSetProgramSetting, "HV_SetProgramSetting");
    return false;
}

void FreeStringList(char** list)
{
    if (!list) {
        return;
    }
    for (char** text = list; *text; ++text) {
        std::free(*text);
    }
    std::free(list);
}

uint32_t GetKeyFlags(int32_t)
{
    ReportMissing(kGetKeyFlags, "HV_GetKeyFlags");
    return 0;
}

void SetKeyFlags(int32_t, uint32_t) { ReportMissing(kSetKeyFlags, "HV_SetKeyFlags"); }

float GetKeyValue(int32_t)
{
    ReportMissing(kGetKeyValue, "HV_GetKeyValue");
    return 0.0f;
}

}  // namespace

HV_EngineInterface* HVI_GetEngineInterface() { return &g_interface; }

void HVI_BuildEngineInterface()
{
    for (std::atomic<bool>& reported : g_missingReported) {
        reported = false;
    }
    HV_EngineInterface& hv = g_interface;
    hv = HV_EngineInterface{};
    hv.Print = HV_Print;
    hv.Log = HV_Log;
    hv.Popup = HV_Popup;
    hv.AddConsoleAutoCompletion = AddConsoleAutoCompletion;
    hv.GetTimeMs = HV_GetTimeMs;
    hv.GetTimeNs = HV_GetTimeNs;
    hv.GetTimestamp = HV_GetTimestamp;
    hv.GetLocalTime = HV_GetLocalTime;
    hv.SetMouseCursor = SetMouseCursor;
    hv.ShowMouseCursor = ShowMouseCursor;
    hv.Shutdown = HV_Shutdown;
    hv.IsShuttingDown = HV_IsShuttingDown;
    hv.HasFeature = HV_HasFeature;
    hv.GetProgramSetting = GetProgramSetting;
    hv.SetProgramSetting = SetProgramSetting;
    hv.ReinitializeWithParameters = HV_ReinitializeWithParameters;
    hv.ExtensionCommand = HV_ExtensionCommand;
    hv.FreeStringList = FreeStringList;
    hv.HttpRequest = HV_HttpRequest;
    hv.HttpRequestToFile = HV_HttpRequestToFile;
    hv.AllocateBlob = HV_AllocateBlob;
    hv.FreeBlob = HV_FreeBlob;
    hv.CompressBuffer = HV_CompressBuffer;
    hv.DecompressBuffer = HV_DecompressBuffer;
    hv.Malloc = HV_Malloc;
    hv.Realloc = HV_Realloc;
    hv.Free = HV_Free;
    hv.PostEvent = HV_PostEvent;
    hv.InitializeEvent = HV_InitializeEvent;
    hv.GetKeyFlags = GetKeyFlags;
    hv.SetKeyFlags = SetKeyFlags;
    hv.GetKeyValue = GetKeyValue;
    hv.IsDeveloperMode = HV_IsDeveloperMode;
    hv.filesystem = const_cast<HV_FileSystemInterface*>(HVI_GetFileSystemInterface());
    hv.threading = HVI_GetThreadingInterface();
}
