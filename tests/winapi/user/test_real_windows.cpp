// With a display, the layer's windows are real SDL windows, and what happens
// to them (focus, size, close) reaches the window procedure as the platform's
// messages while the program reads its queue. Each test runs against an X
// server of its own (Xvfb) and is skipped, saying why, when none can start.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "support/xvfb_display.h"
#include "winapi/user/native_window.h"

// X11's headers define short macros (None, Bool) that other headers would trip over: they come last.
#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>

namespace {

struct Message {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Message> g_messages;

LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_messages.push_back({window, message, wParam, lParam});
    // Close requests are only recorded: the test decides when a window goes.
    return message == WM_CLOSE ? 0 : DefWindowProcA(window, message, wParam, lParam);
}

int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// Reads the queue the way the engine's loop does until `done` holds or five seconds pass.
bool PumpUntil(const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < end) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

// Reads the queue for a while, so that what earlier calls caused has arrived.
void Settle()
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    PumpUntil([&] { return std::chrono::steady_clock::now() >= end; });
}

bool Received(HWND window, UINT message)
{
    for (const Message& seen : g_messages) {
        if (seen.window == window && seen.message == message) return true;
    }
    return false;
}

// The messages of one kind, in order.
std::vector<Message> Only(UINT kind)
{
    std::vector<Message> found;
    for (const Message& seen : g_messages) {
        if (seen.message == kind) found.push_back(seen);
    }
    return found;
}

}  // namespace

class RealWindows : public testing::Test {
protected:
    void SetUp() override
    {
        const XvfbDisplay& server = ProgramXvfbDisplay();
        if (!server.Started()) GTEST_SKIP() << "no display server for real windows: " << server.Failure();
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = Record;
        windowClass.lpszClassName = "RealWindowsTest";
        RegisterClassExA(&windowClass);
        g_messages.clear();
        XSetErrorHandler(IgnoreXError);
    }

    void TearDown() override
    {
        for (HWND window : windows_) {
            if (IsWindow(window)) DestroyWindow(window);
        }
        if (x_) XCloseDisplay(x_);
    }

    HWND Make(DWORD style, int x, int y, int width, int height)
    {
        HWND window = CreateWindowExA(0, "RealWindowsTest", "real", style, x, y, width, height, nullptr, nullptr,
                                      nullptr, nullptr);
        EXPECT_NE(nullptr, window);
        EXPECT_NE(nullptr, HVU_GetNativeWindow(window)) << "a display is present, so the window should be real";
        windows_.push_back(window);
        return window;
    }

    // The X window behind a window, through a connection of the test's own.
    ::Window XWindowOf(HWND window)
    {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (!SDL_GetWindowWMInfo(HVU_GetNativeWindow(window), &info) || info.subsystem != SDL_SYSWM_X11) return 0;
        return info.info.x11.window;
    }

    Display* X()
    {
        if (!x_) x_ = XOpenDisplay(ProgramXvfbDisplay().Name().c_str());
        return x_;
    }

    void GiveFocus(::Window target)
    {
        XSetInputFocus(X(), target, RevertToNone, CurrentTime);
        XSync(X(), False);
    }

private:
    std::vector<HWND> windows_;
    Display* x_ = nullptr;
};

TEST_F(RealWindows, TheRealWindowHasTheClientAreaAndFollowsPlacementAndVisibility)
{
    HWND window = Make(WS_OVERLAPPEDWINDOW, 40, 30, 300, 200);
    ASSERT_NE(nullptr, HVU_GetNativeWindow(window));
    SDL_Window* native = HVU_GetNativeWindow(window);
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(native, &width, &height);
    EXPECT_EQ(300 - 16, width);  // the frame of a sizing border (8) each side and a caption (23)
    EXPECT_EQ(200 - 39, height);
    EXPECT_FALSE(SDL_GetWindowFlags(native) & SDL_WINDOW_SHOWN);
    ShowWindow(window, SW_SHOW);
    EXPECT_TRUE(SDL_GetWindowFlags(native) & SDL_WINDOW_SHOWN);

    // A new size reaches the real window and the procedure, with the client size.
    g_messages.clear();
    ASSERT_TRUE(SetWindowPos(window, HWND_TOP, 0, 0, 416, 339, SWP_NOMOVE));
    SDL_GetWindowSize(native, &width, &height);
    EXPECT_EQ(400, width);
    EXPECT_EQ(300, height);
    const std::vector<Message> sizes = Only(WM_SIZE);
    ASSERT_EQ(1u, sizes.size());
    EXPECT_EQ(static_cast<WPARAM>(SIZE_RESTORED), sizes[0].wParam);
    EXPECT_EQ(400, LOWORD(sizes[0].lParam));
    EXPECT_EQ(300, HIWORD(sizes[0].lParam));

    ShowWindow(window, SW_HIDE);
    EXPECT_FALSE(SDL_GetWindowFlags(native) & SDL_WINDOW_SHOWN);
}

TEST_F(RealWindows, OnlyTheThreadThatPumpsTheDisplayMakesRealWindows)
{
    HWND mine = Make(WS_POPUP, 0, 0, 64, 48);
    ASSERT_NE(nullptr, HVU_GetNativeWindow(mine));
    // The display's events are read on one thread; a window of another stays as it would without a display.
    HWND theirs = nullptr;
    std::thread other([&] {
        theirs =
            CreateWindowExA(0, "RealWindowsTest", "other", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr, nullptr, nullptr);
    });
    other.join();
    ASSERT_NE(nullptr, theirs);
    EXPECT_EQ(nullptr, HVU_GetNativeWindow(theirs));
    EXPECT_FALSE(HVU_SetNativeFullscreen(theirs, TRUE));
    const uint32_t pixel = 0xff0000ffu;
    EXPECT_FALSE(HVU_ShowPixels(theirs, &pixel, 1, 1, 4));
    DestroyWindow(theirs);
}

TEST_F(RealWindows, ThoseWatchingHearOfTheRealWindowBeforeItGoes)
{
    HWND window = Make(WS_POPUP, 0, 0, 64, 48);
    struct Heard {
        HWND window = nullptr;
        bool nativeStillThere = false;
    } heard;
    const HVU_NativeWindowGone watcher = [](HWND gone, void* context) {
        auto* seen = static_cast<Heard*>(context);
        seen->window = gone;
        seen->nativeStillThere = HVU_GetNativeWindow(gone) != nullptr;
    };
    HVU_WatchNativeWindows(watcher, &heard);
    DestroyWindow(window);
    HVU_UnwatchNativeWindows(watcher, &heard);
    EXPECT_EQ(window, heard.window);
    EXPECT_TRUE(heard.nativeStillThere);
    EXPECT_EQ(nullptr, HVU_GetNativeWindow(window));

    // A watcher that was taken away hears nothing more.
    HWND other = Make(WS_POPUP, 0, 0, 64, 48);
    heard = {};
    HVU_WatchNativeWindows(watcher, &heard);
    HVU_UnwatchNativeWindows(watcher, &heard);
    DestroyWindow(other);
    EXPECT_EQ(nullptr, heard.window);
}

TEST_F(RealWindows, FocusChangesReachTheProcedureAsActivation)
{
    HWND first = Make(WS_POPUP, 0, 0, 64, 48);
    HWND second = Make(WS_POPUP, 100, 0, 64, 48);
    ShowWindow(first, SW_SHOW);
    ShowWindow(second, SW_SHOW);
    Settle();
    ASSERT_EQ(second, GetForegroundWindow());
    const ::Window firstX = XWindowOf(first);
    ASSERT_NE(0u, firstX);
    ASSERT_NE(nullptr, X());

    // Focus moving between two of the program's windows: one change of activation, the program stays active.
    g_messages.clear();
    GiveFocus(firstX);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == first; }));
    std::vector<Message> activations = Only(WM_ACTIVATE);
    ASSERT_EQ(2u, activations.size());
    EXPECT_EQ(second, activations[0].window);
    EXPECT_EQ(static_cast<WPARAM>(WA_INACTIVE), activations[0].wParam);
    EXPECT_EQ(first, activations[1].window);
    EXPECT_EQ(static_cast<WPARAM>(WA_ACTIVE), activations[1].wParam);
    EXPECT_TRUE(Only(WM_ACTIVATEAPP).empty());

    // Focus leaving for no window of ours: the program loses activation, every window hears it after the window.
    g_messages.clear();
    GiveFocus(None);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == nullptr; }));
    ASSERT_EQ(3u, g_messages.size());
    EXPECT_EQ(static_cast<UINT>(WM_ACTIVATE), g_messages[0].message);
    EXPECT_EQ(first, g_messages[0].window);
    EXPECT_EQ(static_cast<WPARAM>(WA_INACTIVE), g_messages[0].wParam);
    for (const Message& told : {g_messages[1], g_messages[2]}) {
        EXPECT_EQ(static_cast<UINT>(WM_ACTIVATEAPP), told.message);
        EXPECT_EQ(static_cast<WPARAM>(FALSE), told.wParam);
    }

    // And coming back: every window hears the program is active before the window does.
    g_messages.clear();
    GiveFocus(firstX);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == first; }));
    ASSERT_EQ(3u, g_messages.size());
    EXPECT_EQ(static_cast<UINT>(WM_ACTIVATEAPP), g_messages[0].message);
    EXPECT_EQ(static_cast<WPARAM>(TRUE), g_messages[0].wParam);
    EXPECT_EQ(static_cast<UINT>(WM_ACTIVATEAPP), g_messages[1].message);
    EXPECT_EQ(static_cast<UINT>(WM_ACTIVATE), g_messages[2].message);
    EXPECT_EQ(static_cast<WPARAM>(WA_ACTIVE), g_messages[2].wParam);
}

TEST_F(RealWindows, ResizingTheRealWindowSendsItsNewClientSize)
{
    HWND window = Make(WS_OVERLAPPEDWINDOW, 10, 10, 216, 139);
    ShowWindow(window, SW_SHOW);
    g_messages.clear();
    SDL_SetWindowSize(HVU_GetNativeWindow(window), 320, 240);
    ASSERT_TRUE(PumpUntil([&] { return Received(window, WM_SIZE); }));
    const std::vector<Message> sizes = Only(WM_SIZE);
    ASSERT_EQ(1u, sizes.size());
    EXPECT_EQ(320, LOWORD(sizes[0].lParam));
    EXPECT_EQ(240, HIWORD(sizes[0].lParam));
    RECT client;
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(320, client.right);
    EXPECT_EQ(240, client.bottom);
    RECT outer;
    ASSERT_TRUE(GetWindowRect(window, &outer));
    EXPECT_EQ(320 + 16, outer.right - outer.left);
    EXPECT_EQ(240 + 39, outer.bottom - outer.top);
}

TEST_F(RealWindows, CloseAndQuitRequestsBecomeCloseMessages)
{
    HWND first = Make(WS_POPUP, 0, 0, 64, 48);
    HWND second = Make(WS_POPUP, 100, 0, 64, 48);
    g_messages.clear();
    SDL_Event close = {};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(HVU_GetNativeWindow(second));
    ASSERT_EQ(1, SDL_PushEvent(&close));
    ASSERT_TRUE(PumpUntil([&] { return Received(second, WM_CLOSE); }));
    EXPECT_FALSE(Received(first, WM_CLOSE));
    EXPECT_TRUE(IsWindow(second));  // the procedure kept it

    // The session asking the program to end is a close request to every window.
    g_messages.clear();
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    ASSERT_EQ(1, SDL_PushEvent(&quit));
    ASSERT_TRUE(PumpUntil([&] { return Received(first, WM_CLOSE) && Received(second, WM_CLOSE); }));
    EXPECT_EQ(2u, Only(WM_CLOSE).size());
}
