#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/engine_lifecycle.h"
#include "core/memory.h"
#include "engine_test_support.h"

namespace {

std::vector<std::string> g_calls;

const char* const kRoleNames[] = {"renderer", "input", "sound", "extensions", "platform"};
int g_rendererFailures = 0;                   // how many renderer start-ups fail
std::vector<HV_VideoParameters> g_videoSeen;  // by each renderer start-up

// Hooks of every role that write "<role> up", "<role> down" and "<role> unloaded".
template <int Role>
bool Up(HVI_EngineState& state)
{
    g_calls.push_back(std::string(kRoleNames[Role]) + " up");
    if (Role != HVI_SUBSYSTEM_RENDERER) return true;
    g_videoSeen.push_back(state.program->video);
    return g_rendererFailures-- <= 0;
}
template <int Role>
void Down(HVI_EngineState&)
{
    g_calls.push_back(std::string(kRoleNames[Role]) + " down");
}
template <int Role>
void Unloaded(HVI_EngineState&)
{
    g_calls.push_back(std::string(kRoleNames[Role]) + " unloaded");
}
template <int Role>
void RegisterRecorder()
{
    HVI_SubsystemHooks hooks = {};
    hooks.Startup = Up<Role>;
    hooks.Shutdown = Down<Role>;
    HVI_RegisterSubsystem(static_cast<HVI_SubsystemRole>(Role), hooks);
}

bool Init() { return true; }
void Deinit() { g_calls.push_back("Deinit"); }

void Worker(void*)
{
    while (!HV_Threading_IsShutdownRequested()) {
        HV_Threading_Sleep(1);
    }
    g_calls.push_back("worker ends");
}

// Events of this kind carry one HV_Malloc block in their second word.
constexpr uint32_t kPayloadKind = 40;
int g_payloadsFreed = 0;

void FreePayload(HV_Event* event)
{
    void** block = reinterpret_cast<void**>(&event->bytes[8]);
    HV_Free(*block);
    *block = nullptr;
    ++g_payloadsFreed;
}

void PostPayloadEvent()
{
    HV_Event event;
    HV_InitializeEvent(&event, kPayloadKind);
    void* block = HV_Malloc(32);
    std::memcpy(&event.bytes[8], &block, sizeof(block));
    HV_PostEvent(&event);
}

// A program thread that posts one more event once it is told to end.
void PostWhenSignalled(void*)
{
    while (!HV_Threading_IsShutdownRequested()) {
        HV_Threading_Sleep(1);
    }
    PostPayloadEvent();
}

}  // namespace

class StartupAndShutdown : public testing::Test {
protected:
    void SetUp() override
    {
        g_calls.clear();
        g_rendererFailures = 0;
        g_videoSeen.clear();
        RegisterRecorder<HVI_SUBSYSTEM_RENDERER>();
        RegisterRecorder<HVI_SUBSYSTEM_INPUT>();
        RegisterRecorder<HVI_SUBSYSTEM_SOUND>();
        RegisterRecorder<HVI_SUBSYSTEM_EXTENSIONS>();
        RegisterRecorder<HVI_SUBSYSTEM_PLATFORM>();
        m_program = HV_ProgramInterface{};
        m_program.Init = Init;
        m_program.Deinit = Deinit;
        HVI_GetEngineState().program = &m_program;
    }
    void TearDown() override { HVI_CreateEngineLocks(); }

    HV_ProgramInterface m_program;
};

TEST_F(StartupAndShutdown, StartsInOrderAndShutsDownInTheEnginesOrder)
{
    ASSERT_TRUE(HVI_Startup());
    EXPECT_EQ((std::vector<std::string>{"platform up", "renderer up", "input up", "sound up", "extensions up"}),
              g_calls);
    HVI_RunFrame();  // Init runs on the first frame
    ASSERT_NE(0, HV_Threading_CreateThread("Worker", Worker, nullptr, 0));
    g_calls.clear();
    HVI_Shutdown();
    EXPECT_EQ((std::vector<std::string>{"worker ends", "Deinit", "sound down", "input down", "renderer down",
                                        "platform down", "extensions down"}),
              g_calls);
    const std::vector<std::string> texts = LogCapture::AllWritten();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ("[SYSTEM] HALVO Shutdown.", texts[texts.size() - 2]);
    EXPECT_EQ(0u, texts.back().rfind("[SYSTEM] HALVO log: 0 errors, 0 warnings, ", 0));
}

TEST_F(StartupAndShutdown, NoSoundSkipsTheSoundBackEndAndDeinitWaitsForInitToHaveRun)
{
    HVI_SetFeatureLists("NO_SOUND", nullptr, nullptr);
    ASSERT_TRUE(HVI_Startup());
    HVI_Shutdown();
    EXPECT_EQ((std::vector<std::string>{"platform up", "renderer up", "input up", "extensions up", "input down",
                                        "renderer down", "platform down", "extensions down"}),
              g_calls);
}

TEST_F(StartupAndShutdown, RendererThatFailsIsTriedOnceMoreOnANewWindowWindowedOnTheFirstDisplay)
{
    g_rendererFailures = 1;
    m_program.video.width = 1600;
    m_program.video.height = 900;
    m_program.video.windowed = 0;
    m_program.video.displayIndex = 2;
    m_program.video.frameTimeMs = 16;
    HVI_SetLogThreshold(HV_LOG_INFO);
    ASSERT_TRUE(HVI_Startup());
    EXPECT_EQ((std::vector<std::string>{"platform up", "renderer up", "renderer down", "platform down", "platform up",
                                        "renderer up", "input up", "sound up", "extensions up"}),
              g_calls);
    ASSERT_EQ(2u, g_videoSeen.size());
    EXPECT_EQ(0, g_videoSeen[0].windowed);
    EXPECT_EQ(2, g_videoSeen[0].displayIndex);
    const HV_VideoParameters& retried = g_videoSeen[1];
    EXPECT_EQ(1, retried.windowed);
    EXPECT_EQ(0, retried.displayIndex);
    EXPECT_EQ(1600, retried.width);
    EXPECT_EQ(900, retried.height);
    EXPECT_EQ(16, retried.frameTimeMs);
    EXPECT_EQ(1, HVI_GetEngineState().video.windowed);  // the running parameters are the rolled-back ones
    EXPECT_TRUE(
        WasLogged("[WARNING] The renderer did not start at 1600x900 fullscreen on display 2; trying again "
                  "windowed on display 0."));
}

TEST_F(StartupAndShutdown, RendererThatFailsTwiceStopsStartupAndOnlyWhatCameUpGoesDown)
{
    g_rendererFailures = 2;
    EXPECT_FALSE(HVI_Startup());
    g_calls.clear();
    HVI_Shutdown();
    EXPECT_EQ((std::vector<std::string>{"renderer down", "platform down"}), g_calls);
}

TEST_F(StartupAndShutdown, UnloadFollowsShutdownAtExitOnly)
{
    HVI_SubsystemHooks renderer = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_RENDERER);
    renderer.Unload = Unloaded<HVI_SUBSYSTEM_RENDERER>;
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_RENDERER, renderer);
    g_rendererFailures = 1;
    ASSERT_TRUE(HVI_Startup());  // the retry shuts the renderer down without unloading it
    EXPECT_EQ(std::find(g_calls.begin(), g_calls.end(), "renderer unloaded"), g_calls.end());
    g_calls.clear();
    HVI_Shutdown();
    EXPECT_EQ((std::vector<std::string>{"sound down", "input down", "renderer down", "renderer unloaded",
                                        "platform down", "extensions down"}),
              g_calls);
}

TEST_F(StartupAndShutdown, EventsStillQueuedAtShutdownHaveTheirPayloadsFreedAfterTheThreadsEnd)
{
    g_payloadsFreed = 0;
    HVI_RegisterEventPayloadFreer(kPayloadKind, FreePayload);
    ASSERT_TRUE(HVI_Startup());
    HVI_RunFrame();
    ASSERT_NE(0, HV_Threading_CreateThread("Poster", PostWhenSignalled, nullptr, 0));
    PostPayloadEvent();
    HVI_Shutdown();
    EXPECT_EQ(2, g_payloadsFreed);  // the sanitizer build's leak check sees a block left behind
    EXPECT_EQ(0, HVI_GetQueuedEventCount());
    HVI_RegisterEventPayloadFreer(kPayloadKind, nullptr);
}

TEST_F(StartupAndShutdown, FileSystemsStayUntilEverySubsystemIsDown)
{
    TemporaryFolder user;
    HVI_SetSchemeRoot(HV_PATH_SCHEME_USER, user.Path().string().c_str());
    static bool resolvedAtExtensionShutdown;
    resolvedAtExtensionShutdown = false;
    HVI_SubsystemHooks extensions = {};
    extensions.Shutdown = [](HVI_EngineState&) {
        resolvedAtExtensionShutdown = !HV_ConvertStaticPathToNativeOSPath("user://leaderboards-db.xml").IsEmpty();
    };
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_EXTENSIONS, extensions);
    ASSERT_TRUE(HVI_Startup());
    HVI_Shutdown();
    EXPECT_TRUE(resolvedAtExtensionShutdown);
    EXPECT_TRUE(HV_ConvertStaticPathToNativeOSPath("user://leaderboards-db.xml").IsEmpty());
}
