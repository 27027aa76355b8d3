#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "core/engine_lifecycle.h"
#include "core/main_thread_tasks.h"
#include "engine_test_support.h"

namespace {

// A clock that moves only when the engine sleeps or a test advances it.
struct FakeClock {
    uint32_t now = 1000;
    std::vector<uint32_t> sleeps;
};
FakeClock g_clock;

uint32_t FakeNow(void*) { return g_clock.now; }

void FakeSleep(void*, uint32_t milliseconds)
{
    g_clock.sleeps.push_back(milliseconds);
    g_clock.now += milliseconds > 0 ? milliseconds : 1;  // a yield takes time too
}

// What the program and the subsystems saw, in order.
std::vector<std::string> g_calls;
std::vector<float> g_steps;
bool g_initResult = true;
bool g_pause = false;

bool Init()
{
    g_calls.push_back("Init");
    return g_initResult;
}
void Update(float step)
{
    g_calls.push_back("Update");
    g_steps.push_back(step);
}
void Draw(float) { g_calls.push_back("Draw"); }
int32_t OnEvent(HV_Event* event)
{
    g_calls.push_back("OnEvent " + std::to_string(event->kind));
    return 0;
}

void InputUpdate(HVI_EngineState&, float) { g_calls.push_back("input"); }
void SoundUpdate(HVI_EngineState&, float) { g_calls.push_back("sound"); }
bool ShouldPause(HVI_EngineState&)
{
    g_calls.push_back("pause?");
    return g_pause;
}
void ExtensionsUpdate(HVI_EngineState&, float step)
{
    g_calls.push_back("extensions " + std::to_string(static_cast<int>(step * 1000)));
}
void SoundLate(HVI_EngineState&) { g_calls.push_back("sound late"); }

}  // namespace

class Frame : public testing::Test {
protected:
    void SetUp() override
    {
        g_clock = FakeClock{};
        HVI_FrameClock clock = {FakeNow, FakeSleep, nullptr};
        HVI_SetFrameClock(&clock);
        g_calls.clear();
        g_steps.clear();
        g_initResult = true;
        g_pause = false;
        m_program = HV_ProgramInterface{};
        m_program.video.width = 640;
        m_program.video.height = 480;
        m_program.video.windowed = 1;
        m_program.Init = Init;
        m_program.Update = Update;
        m_program.Draw = Draw;
        m_program.OnEvent = OnEvent;
        HVI_GetEngineState().program = &m_program;
    }
    void TearDown() override { HVI_SetFrameClock(nullptr); }

    // Runs one frame that starts elapsedMs after the previous one.
    void RunFrameAfter(uint32_t elapsedMs)
    {
        g_clock.now += elapsedMs;
        HVI_RunFrame();
        g_clock.now -= 1;  // the end-of-frame sleep does not count towards the next step
    }

    HV_ProgramInterface m_program;
};

TEST(FrameTimeDelta, IsWholeMillisecondsAsSecondsWithinOneMillisecondAndAThirtyThird)
{
    const struct {
        int elapsedMs;
        bool reset;
        float seconds;
    } cases[] = {
        {16, true, 0.0f},       // zero after a reset
        {16, false, 0.016f},    //
        {200, false, 0.2f},     //
        {0, false, 0.0f},       //
        {201, false, 0.030f},   // long frames: one thirty-third, cut to whole milliseconds
        {5000, false, 0.030f},  //
        {-5, false, 0.001f},    // time going back counts as one millisecond
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(c.seconds, HVI_DetermineFrameTimeDelta(c.elapsedMs, c.reset)) << c.elapsedMs;
    }
}

TEST_F(Frame, FirstFrameCallsInitThenEventsAndDrawsWithoutUpdate)
{
    HV_Event event;
    HV_InitializeEvent(&event, HV_EVENT_CHARACTER);
    HV_PostEvent(&event);
    RunFrameAfter(16);
    EXPECT_EQ((std::vector<std::string>{"Init", "OnEvent 1", "Draw"}), g_calls);
}

TEST_F(Frame, LaterFramesUpdateWithTheMeasuredStepAndAClockGoingBackGivesOneMillisecond)
{
    RunFrameAfter(0);
    g_calls.clear();
    RunFrameAfter(16);
    RunFrameAfter(250);
    RunFrameAfter(33);
    g_clock.now -= 50;
    HVI_RunFrame();
    EXPECT_EQ((std::vector<float>{0.016f, 0.030f, 0.033f, 0.001f}), g_steps);
    EXPECT_EQ((std::vector<std::string>{"Update", "Draw", "Update", "Draw", "Update", "Draw", "Update", "Draw"}),
              g_calls);
}

TEST_F(Frame, FailedInitIsReportedAndFramesGoOn)
{
    g_initResult = false;
    RunFrameAfter(0);
    RunFrameAfter(16);
    EXPECT_TRUE(WasLogged("[ERROR] [POPUP] Program initialization failed."));
    EXPECT_EQ((std::vector<std::string>{"Init", "Draw", "Update", "Draw"}), g_calls);
}

TEST_F(Frame, SubsystemsUpdateInOrderAndAPauseMakesTheStepZero)
{
    HVI_SubsystemHooks input = {};
    input.UpdateFrame = InputUpdate;
    HVI_SubsystemHooks sound = {};
    sound.UpdateFrame = SoundUpdate;
    sound.LateFrame = SoundLate;
    HVI_SubsystemHooks extensions = {};
    extensions.ShouldPauseGame = ShouldPause;
    extensions.UpdateFrame = ExtensionsUpdate;
    // Registered in the wrong order on purpose: the frame's order is fixed.
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_EXTENSIONS, extensions);
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_SOUND, sound);
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_INPUT, input);
    RunFrameAfter(0);
    g_calls.clear();
    RunFrameAfter(20);
    EXPECT_EQ((std::vector<std::string>{"input", "sound", "pause?", "extensions 20", "Update", "Draw", "sound late"}),
              g_calls);
    g_calls.clear();
    g_pause = true;
    RunFrameAfter(20);
    EXPECT_EQ((std::vector<std::string>{"input", "sound", "pause?", "extensions 0", "Draw", "sound late"}), g_calls);
}

TEST_F(Frame, PacingSleepsOneMillisecondWhileMoreThanTwoRemainAndUnpacedFramesDoNotWait)
{
    RunFrameAfter(0);
    g_clock.sleeps.clear();
    HVI_RunFrame();
    EXPECT_EQ((std::vector<uint32_t>{1}), g_clock.sleeps);  // only the frame's own 1 ms sleep
    m_program.video.frameTimeMs = 10;
    RunFrameAfter(0);
    g_clock.sleeps.clear();
    g_steps.clear();
    g_clock.now += 3;  // 3 ms of the next frame's 10 have passed
    HVI_RunFrame();
    // 7 ms remain: 1 ms sleeps until 2 remain, then yields (which this clock
    // counts as 1 ms each) until none remain; then the frame's own 1 ms sleep.
    EXPECT_EQ((std::vector<uint32_t>{1, 1, 1, 1, 1, 0, 0, 1}), g_clock.sleeps);
    EXPECT_EQ((std::vector<float>{0.010f}), g_steps);
}

TEST_F(Frame, ReinitializationIsAnnouncedAndAppliedOnTheNextFrame)
{
    RunFrameAfter(0);
    HV_VideoParameters requested = m_program.video;
    requested.width = 1024;
    requested.height = 768;
    requested.windowed = 0;
    ASSERT_TRUE(HV_ReinitializeWithParameters(&requested));
    EXPECT_EQ(640, m_program.video.width);  // not yet
    g_calls.clear();
    RunFrameAfter(16);
    EXPECT_EQ(1024, m_program.video.width);
    EXPECT_EQ(768, m_program.video.height);
    EXPECT_EQ(0, m_program.video.windowed);
    EXPECT_EQ(1024, HVI_GetEngineState().video.width);
    // The notice reaches the program in that frame; the frame after it has step 0.
    EXPECT_EQ((std::vector<std::string>{"OnEvent 11", "Update", "Draw"}), g_calls);
    g_calls.clear();
    RunFrameAfter(16);
    EXPECT_EQ((std::vector<std::string>{"Draw"}), g_calls);
}

namespace {
std::vector<std::string> g_reinitCalls;
bool QuickFails(HVI_EngineState&, const HV_VideoParameters&)
{
    g_reinitCalls.push_back("quick");
    return false;
}
void RendererDown(HVI_EngineState&) { g_reinitCalls.push_back("renderer down"); }
bool RendererUp(HVI_EngineState& state)
{
    g_reinitCalls.push_back("renderer up " + std::to_string(state.program->video.width));
    return state.program->video.width != 999;
}
void WindowDown(HVI_EngineState&) { g_reinitCalls.push_back("window down"); }
bool WindowUp(HVI_EngineState&)
{
    g_reinitCalls.push_back("window up");
    return true;
}
void SoundReinit(HVI_EngineState&, bool recreated)
{
    g_reinitCalls.push_back(recreated ? "sound, new window" : "sound");
}
}  // namespace

TEST_F(Frame, FailedQuickReinitializationRecreatesWindowAndRenderer)
{
    g_reinitCalls.clear();
    HVI_SubsystemHooks renderer = {};
    renderer.QuickReinitialize = QuickFails;
    renderer.Shutdown = RendererDown;
    renderer.Startup = RendererUp;
    HVI_SubsystemHooks platform = {};
    platform.Shutdown = WindowDown;
    platform.Startup = WindowUp;
    HVI_SubsystemHooks sound = {};
    sound.Reinitialize = SoundReinit;
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_RENDERER, renderer);
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_PLATFORM, platform);
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_SOUND, sound);
    RunFrameAfter(0);
    HV_VideoParameters requested = m_program.video;
    requested.width = 800;
    HV_ReinitializeWithParameters(&requested);
    RunFrameAfter(16);
    EXPECT_EQ((std::vector<std::string>{"quick", "renderer down", "window down", "window up", "renderer up 800",
                                        "sound, new window"}),
              g_reinitCalls);
    EXPECT_FALSE(HVI_IsQuitRequested());
}

TEST_F(Frame, ReinitializationThatFailsTwiceQuitsWithItsText)
{
    g_reinitCalls.clear();
    HVI_SubsystemHooks renderer = {};
    renderer.QuickReinitialize = QuickFails;
    renderer.Startup = [](HVI_EngineState&) { return false; };
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_RENDERER, renderer);
    RunFrameAfter(0);
    HV_VideoParameters requested = m_program.video;
    requested.width = 999;
    HV_ReinitializeWithParameters(&requested);
    RunFrameAfter(16);
    EXPECT_TRUE(HVI_IsQuitRequested());
    EXPECT_TRUE(WasLogged("[ERROR] [POPUP] Reinitialization failed. Please restart the application."));
    EXPECT_EQ(640, m_program.video.width);  // rolled back
}

TEST_F(Frame, InvalidReinitializationParametersAreRefused)
{
    HV_VideoParameters requested = m_program.video;
    requested.width = 0;
    EXPECT_FALSE(HV_ReinitializeWithParameters(&requested));
    EXPECT_FALSE(HV_ReinitializeWithParameters(nullptr));
    EXPECT_EQ(0, HVI_GetQueuedEventCount());
}

TEST_F(Frame, ShutdownSignalAndProgramQuitFlagSetTheQuitFlag)
{
    HV_Shutdown();
    EXPECT_TRUE(HV_IsShuttingDown());
    HVI_ResetRunState();
    EXPECT_FALSE(HVI_IsQuitRequested());
    m_program.video.quitRequested = 1;
    RunFrameAfter(0);
    EXPECT_TRUE(HVI_IsQuitRequested());
}

TEST_F(Frame, TasksFromOtherThreadsRunAtTheEndOfTheNextFrameUnderTheMainLoopLock)
{
    static std::vector<std::string> order;
    order.clear();
    std::thread([] {
        HVI_RunOnMainThread(
            [](void* text) {
                order.push_back(static_cast<const char*>(text));
                order.push_back(HVI_IsEngineLockHeld("MAIN_LOOP") ? "locked" : "unlocked");
            },
            const_cast<char*>("task"));
    }).join();
    m_program.Draw = [](float) { order.push_back("Draw"); };
    RunFrameAfter(0);
    EXPECT_EQ((std::vector<std::string>{"Draw", "task", "locked"}), order);
    RunFrameAfter(16);
    EXPECT_EQ(4u, order.size());  // the task ran once
    EXPECT_FALSE(HVI_RunOnMainThread(nullptr, nullptr));
}
