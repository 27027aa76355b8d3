// The renderer's part of the engine's life cycle, with a back end that this
// test program exports as the executable's HALVO_RendImp_GetInterface and
// that writes down every call: taken at pre-initialisation, initialised with
// the program's video parameters (and tried once more, rolled back), begun and
// presented every frame, re-initialised on a mode change, told of every
// activation change by the window procedure, shut down and unloaded at exit.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "graphics/bitmap_table.h"
#include "graphics/graphics_startup.h"
#include "graphics/null_renderer.h"
#include "graphics/render_states.h"
#include "graphics/renderer_entry_points.h"
#include "imaging/image_loader.h"
#include "imaging/png_files.h"
#include "platform/host_engine_rig.h"

namespace {

std::vector<std::string> g_calls;

std::string Mode(bool windowed) { return windowed ? "windowed" : "fullscreen"; }

class RecordingRenderer : public RendererImplementationNull {
public:
    int initializeFailures = 0;  // how many Initialize calls fail
    bool quickAnswer = true;     // what QuickReinitialize answers
    HVI_EngineState* state = nullptr;

    bool CanDraw() override { return true; }
    const char* GetName() override { return "Recording"; }
    bool Initialize(HV_EngineInterface* engine, HVI_EngineState* engineState, const HV_VideoParameters& video) override
    {
        state = engineState;
        g_calls.push_back("Initialize " + std::to_string(video.width) + "x" + std::to_string(video.height) + " " +
                          Mode(video.windowed) + " display " + std::to_string(video.displayIndex) + " interval " +
                          std::to_string(engineState->presentInterval) +
                          (engine == engineState->engine && engineState->window ? " with window" : " without window"));
        if (initializeFailures == 0) return true;
        --initializeFailures;
        return false;
    }
    void PostInitialize() override { g_calls.push_back("PostInitialize"); }
    uint32_t GetShaderTarget() override
    {
        g_calls.push_back("GetShaderTarget");
        return 0;
    }
    bool QuickReinitialize(int32_t display, int32_t width, int32_t height, bool windowed) override
    {
        g_calls.push_back("QuickReinitialize " + std::to_string(width) + "x" + std::to_string(height) + " " +
                          Mode(windowed) + " display " + std::to_string(display));
        return quickAnswer;
    }
    void Shutdown() override { g_calls.push_back("Shutdown"); }
    void SetActive(bool active) override { g_calls.push_back(active ? "SetActive true" : "SetActive false"); }
    void BeginFrame() override { g_calls.push_back("BeginFrame"); }
    void AfterBeginFrame() override { g_calls.push_back("AfterBeginFrame"); }
    void Present() override { g_calls.push_back("Present"); }
    void SetPresentInterval(uint32_t interval) override
    {
        g_calls.push_back("SetPresentInterval " + std::to_string(interval));
    }
    bool CreateTexture(HV_Bitmap* bitmap) override
    {
        g_calls.push_back("CreateTexture " + std::string(bitmap->name.GetText()));
        return RendererImplementationNull::CreateTexture(bitmap);
    }
    void ReleaseTexture(HV_BitmapRendererBlock& block) override
    {
        g_calls.push_back("ReleaseTexture");
        RendererImplementationNull::ReleaseTexture(block);
    }
};

RecordingRenderer* g_renderer = nullptr;
int g_interfaceRequests = 0;
int g_initializeFailures = 0;  // handed to each new back end

}  // namespace

HV_EXPORT RendererImplementation* HALVO_RendImp_GetInterface()
{
    ++g_interfaceRequests;
    if (g_renderer == nullptr) {
        g_renderer = new RecordingRenderer;
        g_renderer->initializeFailures = g_initializeFailures;
    }
    return g_renderer;
}

HV_EXPORT void HALVO_RendImp_Unload()
{
    const HWND window = HVI_GetEngineState().window;
    g_calls.push_back(window != nullptr && IsWindow(window) ? "Unload, window still there" : "Unload, no window");
    delete g_renderer;
    g_renderer = nullptr;
}

namespace {

class RendererRole : public HostEngineTest {
protected:
    RendererRole() : HostEngineTest(1280, 720) {}
    void SetUp() override
    {
        HostEngineTest::SetUp();
        g_calls.clear();
        g_interfaceRequests = 0;
        g_initializeFailures = 0;
        ProgramDrawHook() = [] { g_calls.push_back("Draw"); };
    }
    void TearDown() override
    {
        HostEngineTest::TearDown();
        delete g_renderer;  // when a test left it loaded
        g_renderer = nullptr;
    }

    void Start()
    {
        ASSERT_TRUE(Preinitialize());
        ASSERT_TRUE(HVI_Startup());
        g_calls.clear();
    }
    static int CountCalls(const std::string& call) { return int(std::count(g_calls.begin(), g_calls.end(), call)); }
};

// Nothing runs before start-up; start-up initialises with the program's video
// on the main window, then the shader translator.
TEST_F(RendererRole, PreinitializationTakesTheExportedBackEndOnceAndStartupInitializesIt)
{
    m_program.video.displayIndex = 0;
    HVI_GetEngineState().presentInterval = 0;  // as DISABLE_VSYNC leaves it
    ASSERT_TRUE(Preinitialize());
    EXPECT_EQ(1, g_interfaceRequests);
    ASSERT_NE(nullptr, m_engine.graphics);
    EXPECT_TRUE(WasLogged("[SYSTEM] Renderer back end: Recording."));
    EXPECT_EQ(nullptr, HVI_GetRenderer());
    EXPECT_TRUE(g_calls.empty());
    ASSERT_TRUE(HVI_Startup());
    EXPECT_EQ((std::vector<std::string>{"Initialize 1280x720 windowed display 0 interval 0 with window",
                                        "PostInitialize", "GetShaderTarget"}),
              g_calls);
    EXPECT_EQ(1, g_interfaceRequests);
    EXPECT_EQ(g_renderer, HVI_GetRenderer());
    EXPECT_EQ(&HVI_GetEngineState(), g_renderer->state);
    EXPECT_EQ(HVI_GetImageLoader(), g_renderer->state->imageLoader);
    EXPECT_TRUE(WasLogged("[SYSTEM] Renderer Recording initialized at 1280x720 windowed on display 0."));
}

TEST_F(RendererRole, FailedInitializationIsRetriedWindowedOnTheFirstDisplayOnANewWindow)
{
    g_initializeFailures = 1;
    m_program.video.windowed = 0;
    m_program.video.displayIndex = 1;
    ASSERT_TRUE(Preinitialize());
    ASSERT_TRUE(HVI_Startup());
    // The failed Initialize shut the back end down itself; the role has nothing running to shut down.
    EXPECT_EQ((std::vector<std::string>{"Initialize 1280x720 fullscreen display 1 interval 1 with window",
                                        "Initialize 1280x720 windowed display 0 interval 1 with window",
                                        "PostInitialize", "GetShaderTarget"}),
              g_calls);
    EXPECT_TRUE(WasLogged("[ERROR] Renderer Recording failed to initialize at 1280x720 fullscreen on display 1."));
    EXPECT_EQ(2, CountLogged("[SYSTEM] Window created:"));
    EXPECT_EQ(1, m_program.video.windowed);
    EXPECT_EQ(0, m_program.video.displayIndex);
}

TEST_F(RendererRole, InitializationFailingTwiceFailsStartupAndStillUnloadsTheBackEnd)
{
    g_initializeFailures = 2;
    ASSERT_TRUE(Preinitialize());
    EXPECT_FALSE(HVI_Startup());
    EXPECT_EQ(nullptr, HVI_GetRenderer());
    g_calls.clear();
    ShutDown();
    EXPECT_EQ((std::vector<std::string>{"Unload, window still there"}), g_calls);
    EXPECT_EQ(nullptr, g_renderer);
}

TEST_F(RendererRole, EveryFrameBeginsBeforeTheProgramDrawsAndPresentsAtTheEnd)
{
    Start();
    HVI_RunFrame();
    HVI_RunFrame();
    EXPECT_EQ((std::vector<std::string>{"BeginFrame", "AfterBeginFrame", "Draw", "Present", "BeginFrame",
                                        "AfterBeginFrame", "Draw", "Present"}),
              g_calls);
}

TEST_F(RendererRole, AModeChangeIsAppliedInPlaceWhenTheBackEndCan)
{
    Start();
    HV_VideoParameters requested = m_program.video;
    requested.width = 800;
    requested.height = 600;
    requested.windowed = 0;
    requested.displayIndex = 1;
    ASSERT_TRUE(HV_ReinitializeWithParameters(&requested));
    HVI_RunFrame();
    EXPECT_EQ((std::vector<std::string>{"QuickReinitialize 800x600 fullscreen display 1", "BeginFrame",
                                        "AfterBeginFrame", "Draw", "Present"}),
              g_calls);
    EXPECT_EQ(1, CountLogged("[SYSTEM] Window created:"));
}

TEST_F(RendererRole, AModeChangeTheBackEndRefusesInPlaceShutsItDownAndInitializesItOnANewWindow)
{
    Start();
    g_renderer->quickAnswer = false;
    HV_VideoParameters requested = m_program.video;
    requested.width = 800;
    requested.height = 600;
    ASSERT_TRUE(HV_ReinitializeWithParameters(&requested));
    HVI_RunFrame();
    EXPECT_EQ(
        (std::vector<std::string>{"QuickReinitialize 800x600 windowed display 0", "Shutdown",
                                  "Initialize 800x600 windowed display 0 interval 1 with window", "PostInitialize",
                                  "GetShaderTarget", "BeginFrame", "AfterBeginFrame", "Draw", "Present"}),
        g_calls);
    EXPECT_EQ(2, CountLogged("[SYSTEM] Window created:"));
    EXPECT_EQ(0, CountCalls("Unload, window still there"));  // the same back end goes on
}

TEST_F(RendererRole, EveryActivationChangeOfTheMainWindowReachesTheBackEnd)
{
    Start();
    const HWND window = HVI_GetEngineState().window;
    SendMessageA(window, WM_ACTIVATE, WA_INACTIVE, 0);
    SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);
    SendMessageA(window, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    EXPECT_EQ((std::vector<std::string>{"SetActive false", "SetActive true", "SetActive true"}), g_calls);
}

TEST_F(RendererRole, ExitShutsTheBackEndDownAndUnloadsItBeforeTheWindowGoes)
{
    Start();
    ShutDown();
    EXPECT_EQ((std::vector<std::string>{"Shutdown", "Unload, window still there"}), g_calls);
    EXPECT_EQ(nullptr, g_renderer);
    EXPECT_EQ(nullptr, HVI_GetRenderer());
    EXPECT_EQ(nullptr, HVI_GetEngineState().window);
}

TEST_F(RendererRole, TexturesAreGivenBackBeforeTheBackEndShutsDownAndMadeAgainAfterANewInitialization)
{
    const std::vector<uint8_t> png = WritePng(TestPixels3x2(), 3, 2);
    std::ofstream(m_folder.Path() / "tile.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    Start();
    HV_Bitmap* tile = m_engine.graphics->GetBitmap("res://tile");
    ASSERT_NE(nullptr, tile);
    EXPECT_TRUE(tile->renderer.loaded);
    g_renderer->quickAnswer = false;
    HV_VideoParameters requested = m_program.video;
    ASSERT_TRUE(HV_ReinitializeWithParameters(&requested));
    g_calls.clear();
    HVI_RunFrame();
    EXPECT_EQ((std::vector<std::string>{"QuickReinitialize 1280x720 windowed display 0", "ReleaseTexture", "Shutdown",
                                        "Initialize 1280x720 windowed display 0 interval 1 with window",
                                        "PostInitialize", "GetShaderTarget", "CreateTexture res://tile"}),
              std::vector<std::string>(g_calls.begin(), g_calls.begin() + 7));
    EXPECT_TRUE(tile->renderer.loaded);
    g_calls.clear();
    ShutDown();
    EXPECT_EQ((std::vector<std::string>{"ReleaseTexture", "Shutdown", "Unload, window still there"}), g_calls);
}

TEST_F(RendererRole, ThePresentIntervalOfTheGraphicsTableReachesTheRunningBackEnd)
{
    Start();
    EXPECT_EQ(1u, m_engine.graphics->GetPresentInterval());
    m_engine.graphics->SetPresentInterval(2);
    EXPECT_EQ(2u, m_engine.graphics->GetPresentInterval());
    EXPECT_EQ(2, HVI_GetEngineState().presentInterval);
    m_engine.graphics->SetPresentInterval(5);
    EXPECT_EQ(2u, m_engine.graphics->GetPresentInterval());
    EXPECT_EQ((std::vector<std::string>{"SetPresentInterval 2"}), g_calls);
    EXPECT_TRUE(WasLogged("[WARNING] HV_Graphics_SetPresentInterval: interval 5 is above 4."));
}

}  // namespace
