#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/engine_interface.h"
#include "core/engine_state.h"
#include "core/events.h"
#include "core/extension_command.h"
#include "core/features.h"
#include "core/logging.h"
#include "core/subsystem_hooks.h"
#include "core/threading.h"
#include "data/data_manager.h"
#include "extensions/extension_services.h"
#include "extensions/leaderboard_events.h"
#include "filesystem/scheme_roots.h"
#include "foundation/engine_log.h"
#include "halvo.h"
#include "support/log_capture.h"
#include "support/temporary_folder.h"

#include <windows.h>

inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

inline std::string ReadFileText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Bytes of a simulated cloud file: the magic and its zero, the entry count, then
// each entry's key and its zero, its byte count and its bytes (numbers little-endian).
using Bytes = std::vector<uint8_t>;

inline Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes bytes;
    for (const Bytes& part : parts) bytes.insert(bytes.end(), part.begin(), part.end());
    return bytes;
}
inline Bytes CloudText(const std::string& text, bool terminated = true)
{
    Bytes bytes(text.begin(), text.end());
    if (terminated) bytes.push_back(0);
    return bytes;
}
inline Bytes CloudU32(uint32_t value)
{
    return {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
}
inline Bytes CloudHeader(uint32_t entries, const std::string& magic = "SIMULATED_CLOUD")
{
    return Cat({CloudText(magic), CloudU32(entries)});
}
inline Bytes CloudEntry(const std::string& key, const Bytes& value)
{
    return Cat({CloudText(key), CloudU32(uint32_t(value.size())), value});
}

// One delivered event, with copies of everything its payload pointed to.
struct DeliveredEvent {
    uint32_t kind = 0;
    HV_Event raw = {};                            // the event as delivered (pointers not to be followed)
    HV_LeaderboardResultEvent leaderboard = {};   // kind 19 (pointers not to be followed)
    std::string reason, category;                 // kind 19
    bool hasReason = false;                       // kind 19
    std::vector<HV_LeaderboardScore> scores;      // kind 19
    std::vector<std::string> userIds, userNames;  // kinds 37 and 38
    std::vector<uint32_t> userValues;             // kinds 37 and 38
    uint32_t success = 0;
};

// A fresh engine for the extension services in a temporary folder: "res://"
// and "user://" live there, the extension services are registered with the
// core, and each test starts them with its own feature words.
class ExtensionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(ResFolder());
        std::filesystem::create_directories(UserFolder());
        std::filesystem::create_directories(m_root / "cache");
        HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, ResFolder().c_str());
        HVI_SetSchemeRoot(HV_PATH_SCHEME_USER, UserFolder().c_str());
        HVI_SetSchemeRoot(HV_PATH_SCHEME_CACHE, (m_root / "cache").c_str());
        HVI_AddSearchPath("res://");
        HVI_BuildEngineInterface();
        HVI_GetEngineState().engine = HVI_GetEngineInterface();
        HVI_RegisterExtensionSubsystem();
    }

    // The services stop and their threads end before the rig resets the engine.
    void TearDown() override
    {
        if (m_started) StopServices();
        HVI_WaitForProgramThreads();
    }

    std::filesystem::path ResFolder() const { return m_root / "res"; }
    std::filesystem::path UserFolder() const { return m_root / "user"; }
    HV_EngineInterface* Engine() { return HVI_GetEngineInterface(); }

    // Runs the start-up of the extension services with these feature words
    // (comma-separated), as pre-initialisation does.
    void StartServices(const char* features, bool developerMode = false)
    {
        HVI_SetFeatureLists(nullptr, features, nullptr);
        HVI_SetDeveloperMode(developerMode);
        ASSERT_TRUE(HVI_GetSubsystemHooks(HVI_SUBSYSTEM_EXTENSIONS).Preinitialize(HVI_GetEngineState()));
        m_started = true;
    }

    // Runs the shutdown of the extension services, as the engine does after
    // the window is destroyed.
    void StopServices()
    {
        HVI_GetSubsystemHooks(HVI_SUBSYSTEM_EXTENSIONS).Shutdown(HVI_GetEngineState());
        m_started = false;
    }

    // The frame's part: the pause question, then the updates with the step it leaves.
    float RunFrame(float step)
    {
        const HVI_SubsystemHooks& hooks = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_EXTENSIONS);
        if (hooks.ShouldPauseGame(HVI_GetEngineState())) step = 0.0f;
        hooks.UpdateFrame(HVI_GetEngineState(), step);
        return step;
    }

    void WriteResFile(const std::string& name, const std::string& text)
    {
        const std::filesystem::path path = ResFolder() / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    // Two leaderboard categories: "alltime" ranks highest first, "fastest" lowest first.
    void WriteAlltimeAndFastestCategories()
    {
        WriteResFile("leaderboards/leaderboards.xml", R"(<database><array id="CATEGORIES">
<node id="alltime"/>
<node id="fastest" sort="ASCENDING"/>
</array></database>)");
    }

    // Copies a test module library into "res://" under the name the engine loads.
    void InstallModule(const char* builtName, const char* engineName)
    {
        std::filesystem::copy_file(std::filesystem::path(HALVO_MODULE_DIR) / builtName, ResFolder() / engineName,
                                   std::filesystem::copy_options::overwrite_existing);
    }

    // The journal of the test module installed under that name.
    std::string ModuleJournal(const char* engineName)
    {
        const std::string path = (ResFolder() / engineName).string();
        HMODULE library = LoadLibraryA(path.c_str());
        if (library == nullptr) return "(not loaded)";
        using JournalFunction = const char* (*)();
        const auto journal = reinterpret_cast<JournalFunction>(
            reinterpret_cast<void (*)()>(GetProcAddress(library, "TestModule_Journal")));
        std::string text = journal != nullptr ? journal() : "(no journal)";
        FreeLibrary(library);
        return text;
    }

    bool Logged(const std::string& text) const { return m_log.Contains(text); }
    bool LoggedAsWarning(const std::string& text) const { return m_log.ContainsAt(HV_LOG_WARNING, text); }
    int CountLogged(const std::string& text) const { return m_log.Count(text); }

    // The position of the first log line with this text, or -1.
    int LogPosition(const std::string& text) const
    {
        const std::vector<std::string> lines = m_log.Lines();
        for (size_t i = 0; i < lines.size(); ++i) {
            if (lines[i] == text) return int(i);
        }
        return -1;
    }

    // Delivers the queued events, copying their payloads before the engine frees them.
    static std::vector<DeliveredEvent> DeliverEvents()
    {
        std::vector<DeliveredEvent> events;
        HVI_DeliverQueuedEvents(&ExtensionTest::Receive, &events);
        return events;
    }

    // Delivers events until count have arrived or the time is up. The limit
    // is generous: a sanitizer build on a busy machine starts threads slowly.
    static std::vector<DeliveredEvent> WaitForEvents(size_t count, int timeoutMs = 60000)
    {
        std::vector<DeliveredEvent> events;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (events.size() < count && std::chrono::steady_clock::now() < end) {
            for (DeliveredEvent& event : DeliverEvents()) events.push_back(std::move(event));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return events;
    }

    LogCapture m_log;

private:
    static void Receive(void* context, HV_Event* event)
    {
        auto& events = *static_cast<std::vector<DeliveredEvent>*>(context);
        DeliveredEvent delivered;
        delivered.kind = event->kind;
        delivered.raw = *event;
        if (event->kind == HV_EVENT_LEADERBOARD_RESULT) {
            const auto result = HVI_ReadEvent<HV_LeaderboardResultEvent>(*event);
            delivered.leaderboard = result;
            delivered.success = result.success;
            delivered.hasReason = result.reason != nullptr;
            delivered.reason = result.reason ? result.reason : "";
            delivered.category = result.category ? result.category : "";
            if (result.scores != nullptr) delivered.scores.assign(result.scores, result.scores + result.count);
        } else if (event->kind == HV_EVENT_SOCIAL_LOGIN) {
            const auto login = HVI_ReadEvent<HV_SocialLoginEvent>(*event);
            delivered.success = login.success;
            delivered.userIds.push_back(login.user->id);
            delivered.userNames.push_back(login.user->name);
            delivered.userValues.push_back(login.user->value);
        } else if (event->kind == HV_EVENT_SOCIAL_FRIENDS) {
            const auto friends = HVI_ReadEvent<HV_SocialFriendsEvent>(*event);
            for (uint32_t i = 0; i < friends.count; ++i) {
                delivered.userIds.push_back(friends.users[i].id);
                delivered.userNames.push_back(friends.users[i].name);
                delivered.userValues.push_back(friends.users[i].value);
            }
        }
        events.push_back(std::move(delivered));
    }

    TemporaryFolder m_temporary{"halvo-extensions"};
    const std::filesystem::path m_root = m_temporary.Path();
    bool m_started = false;
};
