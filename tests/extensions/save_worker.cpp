// A process that saves through the engine's own paths: "save_worker <folder>
// <name> <count>" starts the extension services with the simulated cloud and
// the local leaderboards on "<folder>/user", then puts count cloud entries
// "<name>-<i>" and submits count scores to "alltime", each save rewriting its
// file. Tests run several at once on one folder and kill them at any moment.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/engine_interface.h"
#include "core/engine_state.h"
#include "core/features.h"
#include "core/logging.h"
#include "core/subsystem_hooks.h"
#include "core/threading.h"
#include "extensions/extension_services.h"
#include "filesystem/scheme_roots.h"
#include "halvo.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: save_worker <folder> <name> <count>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::string name = argv[2];
    const int count = std::atoi(argv[3]);
    HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, (folder / "res").c_str());
    HVI_SetSchemeRoot(HV_PATH_SCHEME_USER, (folder / "user").c_str());
    HVI_AddSearchPath("res://");
    HVI_RegisterMainThread();
    HVI_BuildEngineInterface();
    HVI_GetEngineState().engine = HVI_GetEngineInterface();
    HVI_RegisterExtensionSubsystem();
    HVI_SetFeatureLists(nullptr, "SIMULATED_CLOUD,LOCAL_LEADERBOARDS,LEADERBOARDS", nullptr);
    if (!HVI_GetSubsystemHooks(HVI_SUBSYSTEM_EXTENSIONS).Preinitialize(HVI_GetEngineState())) return 3;
    HV_EngineInterface* engine = HVI_GetEngineInterface();
    for (int i = 0; i < count; ++i) {
        const std::string key = name + "-" + std::to_string(i);
        const std::string value(size_t(100 + i % 900), char('a' + i % 26));
        engine->cloud->PutData(key.c_str(), value.data(), uint32_t(value.size()));
        HV_LeaderboardScore score = {};
        score.points = i;
        score.dataLength = 3;
        engine->leaderboards->AddScore(0, score, "alltime");
    }
    HVI_GetSubsystemHooks(HVI_SUBSYSTEM_EXTENSIONS).Shutdown(HVI_GetEngineState());
    return 0;
}
