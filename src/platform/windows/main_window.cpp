#include "platform/windows/main_window.h"

#include <cstring>

#include "core/engine_lifecycle.h"
#include "core/engine_state.h"
#include "core/features.h"
#include "core/logging.h"

namespace {

constexpr const char* kWindowClassName = "HalvoWindowClass";
constexpr DWORD kWindowedStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS;
constexpr DWORD kFullscreenStyle = WS_POPUP | WS_CLIPSIBLINGS;

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE: HVI_HandleActivation(LOWORD(wParam) != WA_INACTIVE); return 0;
    case WM_CLOSE:
        // The window stays until shutdown destroys it; a refused request changes nothing.
        HVI_HandleCloseRequest();
        return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool RegisterWindowClass()
{
    static bool registered = false;
    if (registered) {
        return true;
    }
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.lpszClassName = kWindowClassName;
    registered = RegisterClassExA(&windowClass) != 0;
    return registered;
}

}  // namespace

void HVI_SetWindowStyle(HWND window, const RECT& desktop, int width, int height, bool windowed)
{
    const DWORD style = windowed ? kWindowedStyle : kFullscreenStyle;
    DWORD exStyle = WS_EX_APPWINDOW;
    if (HV_IsDeveloperMode()) {
        exStyle |= WS_EX_ACCEPTFILES;
    }
    SetWindowLongPtrA(window, GWL_STYLE, static_cast<LONG_PTR>(style));
    SetWindowLongPtrA(window, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle));
    int x = desktop.left;
    int y = desktop.top;
    int outerWidth = width;
    int outerHeight = height;
    if (windowed) {
        RECT outer = {0, 0, width, height};
        AdjustWindowRectEx(&outer, style, FALSE, exStyle);
        outerWidth = outer.right - outer.left;
        outerHeight = outer.bottom - outer.top;
        x = desktop.left + (desktop.right - desktop.left - outerWidth) / 2;
        y = desktop.top + (desktop.bottom - desktop.top - outerHeight) / 2;
    }
    SetWindowPos(window, HWND_TOP, x, y, outerWidth, outerHeight, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

bool HVI_CreateMainWindow(HVI_EngineState& state)
{
    if (!RegisterWindowClass()) {
        HV_Log(HV_LOG_ERROR, "HVI_CreateMainWindow: cannot register the window class (error %u).",
               static_cast<unsigned>(GetLastError()));
        return false;
    }
    const HV_VideoParameters& video = state.program->video;
    // The program fills the title; it need not end within its 128 characters.
    char title[sizeof(state.program->title) + 1] = {};
    std::memcpy(title, state.program->title, sizeof(state.program->title));
    HWND window = CreateWindowExA(0, kWindowClassName, title, kWindowedStyle, CW_USEDEFAULT, CW_USEDEFAULT, video.width,
                                  video.height, nullptr, nullptr, nullptr, nullptr);
    if (!window) {
        HV_Log(HV_LOG_ERROR, "HVI_CreateMainWindow: cannot create the window (error %u).",
               static_cast<unsigned>(GetLastError()));
        return false;
    }
    state.window = window;
    state.setWindowStyle = HVI_SetWindowStyle;
    const RECT desktop = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    HVI_SetWindowStyle(window, desktop, video.width, video.height, video.windowed != 0);
    HV_Log(HV_LOG_SYSTEM, "Window created: %dx%d %s.", video.width, video.height,
           video.windowed ? "windowed" : "fullscreen");
    return true;
}

void HVI_DestroyMainWindow(HVI_EngineState& state)
{
    if (state.window) {
        DestroyWindow(state.window);
        state.window = nullptr;
    }
}
