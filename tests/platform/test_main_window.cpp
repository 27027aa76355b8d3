#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/engine_lifecycle.h"
#include "core/events.h"
#include "core/features.h"
#include "core/subsystem_hooks.h"
#include "core/engine_test_support.h"
#include "platform/windows/main_window.h"
#include "platform/windows/process_entry.h"

namespace {

std::vector<bool> g_activity;
int32_t g_quitAnswer = 0;
int g_quitRequests = 0;

int32_t OnEvent(HV_Event* event)
{
    if (event->kind == HV_EVENT_QUIT_REQUEST) {
        ++g_quitRequests;
        return g_quitAnswer;
    }
    return 0;
}

}  // namespace

class MainWindow : public testing::Test {
protected:
    void SetUp() override
    {
        g_activity.clear();
        g_quitAnswer = 0;
        g_quitRequests = 0;
        m_program = HV_ProgramInterface{};
        std::strcpy(m_program.title, "Window test");
        m_program.video.width = 800;
        m_program.video.height = 600;
        m_program.video.windowed = 1;
        m_program.OnEvent = OnEvent;
        HVI_GetEngineState().program = &m_program;
        HVI_SubsystemHooks renderer = {};
        renderer.SetActive = [](HVI_EngineState&, bool active) { g_activity.push_back(active); };
        HVI_RegisterSubsystem(HVI_SUBSYSTEM_RENDERER, renderer);
        ASSERT_TRUE(HVI_CreateMainWindow(HVI_GetEngineState()));
        m_window = HVI_GetEngineState().window;
    }
    void TearDown() override
    {
        HVI_DestroyMainWindow(HVI_GetEngineState());
        HVI_PumpMessages();
    }

    HV_ProgramInterface m_program;
    HWND m_window = nullptr;
};

TEST_F(MainWindow, HasTheProgramsClientSizeCentredOnTheDesktopAndFullscreenSitsAtTheOutputsCorner)
{
    RECT client;
    ASSERT_TRUE(GetClientRect(m_window, &client));
    EXPECT_EQ(800, client.right);
    EXPECT_EQ(600, client.bottom);
    RECT outer;
    ASSERT_TRUE(GetWindowRect(m_window, &outer));
    const int outerWidth = outer.right - outer.left;
    const int outerHeight = outer.bottom - outer.top;
    EXPECT_GT(outerWidth, 800);
    EXPECT_GT(outerHeight, 600);
    EXPECT_EQ((1920 - outerWidth) / 2, outer.left);
    EXPECT_EQ((1080 - outerHeight) / 2, outer.top);
    EXPECT_TRUE(IsWindowVisible(m_window));
    const LONG_PTR windowed = GetWindowLongPtrA(m_window, GWL_STYLE);
    EXPECT_EQ(WS_CAPTION, windowed & WS_CAPTION);
    EXPECT_EQ(0, windowed & WS_POPUP);
    // Fullscreen sits at the output's corner; windowed again, it is centred in the given rectangle.
    const RECT desktop = {1920, 0, 1920 + 2560, 1440};
    HVI_SetWindowStyle(m_window, desktop, 2560, 1440, false);
    ASSERT_TRUE(GetWindowRect(m_window, &outer));
    EXPECT_EQ(1920, outer.left);
    EXPECT_EQ(0, outer.top);
    EXPECT_EQ(1920 + 2560, outer.right);
    EXPECT_EQ(1440, outer.bottom);
    const LONG_PTR fullscreen = GetWindowLongPtrA(m_window, GWL_STYLE);
    EXPECT_EQ(WS_POPUP, fullscreen & WS_POPUP);
    EXPECT_EQ(0, fullscreen & WS_CAPTION);
    GetClientRect(m_window, &client);
    EXPECT_EQ(2560, client.right);
    HVI_SetWindowStyle(m_window, desktop, 1280, 720, true);
    GetClientRect(m_window, &client);
    EXPECT_EQ(1280, client.right);
    EXPECT_EQ(720, client.bottom);
    GetWindowRect(m_window, &outer);
    EXPECT_EQ(1920 + (2560 - (outer.right - outer.left)) / 2, outer.left);
}

TEST_F(MainWindow, AcceptsDroppedFilesOnlyInDeveloperMode)
{
    EXPECT_EQ(0, GetWindowLongPtrA(m_window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    HVI_SetDeveloperMode(true);
    HVI_SetWindowStyle(m_window, RECT{0, 0, 1920, 1080}, 800, 600, true);
    EXPECT_EQ(WS_EX_ACCEPTFILES, GetWindowLongPtrA(m_window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(MainWindow, ActivationChangesReachTheRendererTheRunStateAndTheEventQueue)
{
    g_activity.clear();
    HVI_DiscardQueuedEvents();
    PostMessageA(m_window, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(g_activity.empty());  // nothing before the messages are dispatched
    EXPECT_TRUE(HVI_PumpMessages());
    EXPECT_FALSE(HVI_IsMainWindowActive());
    PostMessageA(m_window, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    EXPECT_TRUE(HVI_PumpMessages());
    EXPECT_TRUE(HVI_IsMainWindowActive());
    EXPECT_EQ((std::vector<bool>{false, true}), g_activity);
    std::vector<int> queued;  // the activity of each activation event, -1 for any other event
    HVI_DeliverQueuedEvents(
        [](void* seen, HV_Event* event) {
            const bool activation = event->kind == HV_EVENT_WINDOW_ACTIVATION;
            static_cast<std::vector<int>*>(seen)->push_back(activation ? event->activation.active : -1);
        },
        &queued);
    EXPECT_EQ((std::vector<int>{0, 1}), queued);
}

TEST_F(MainWindow, CloseRequestsAskTheProgramOnlyAnAcceptedOneSetsTheQuitFlagAndAQuitMessageEndsThePump)
{
    g_quitAnswer = HV_EVENT_RESULT_KEEP_RUNNING;
    PostMessageA(m_window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(HVI_PumpMessages());
    EXPECT_EQ(1, g_quitRequests);
    EXPECT_FALSE(HVI_IsQuitRequested());
    EXPECT_TRUE(IsWindow(m_window));
    g_quitAnswer = 0;
    PostMessageA(m_window, WM_CLOSE, 0, 0);
    HVI_PumpMessages();
    EXPECT_EQ(2, g_quitRequests);
    EXPECT_TRUE(HVI_IsQuitRequested());
    EXPECT_TRUE(IsWindow(m_window));  // shutdown destroys it
    PostQuitMessage(0);
    EXPECT_FALSE(HVI_PumpMessages());
}

TEST_F(MainWindow, TitleFillingItsWholeFieldIsTakenWithoutReadingPastIt)
{
    HVI_DestroyMainWindow(HVI_GetEngineState());
    std::memset(m_program.title, 'T', sizeof(m_program.title));  // no terminating zero
    std::memset(m_program.version, 'V', sizeof(m_program.version));
    std::memset(m_program.developer, 'D', sizeof(m_program.developer));
    ASSERT_TRUE(HVI_CreateMainWindow(HVI_GetEngineState()));
    char title[512] = {};
    GetWindowTextA(HVI_GetEngineState().window, title, sizeof(title));
    EXPECT_EQ(std::string(128, 'T'), title);
}
