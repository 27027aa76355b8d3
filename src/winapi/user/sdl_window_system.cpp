#include "winapi/user/sdl_window_system.h"

#include "winapi/user/native_window.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_vulkan.h>

#include <cstdlib>
#include <cstring>
#include <thread>

namespace halvo::user {

namespace {

struct VideoState {
    bool up = false;
    std::thread::id thread;
};

// Drivers that run without showing anything: their windows could not be seen.
bool ShowsWindows(const char* driver)
{
    return driver != nullptr && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

bool DisplayNamed()
{
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

VideoState StartVideo()
{
    VideoState state;
    if (!DisplayNamed()) return state;
    // The process's signals stay its own; closing the last window is a message, not the end of the program;
    // frames of the CPU back end are shown through the window's own surface.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return state;
    if (!ShowsWindows(SDL_GetCurrentVideoDriver())) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return state;
    }
    // Loaded once, so that the Vulkan instance extensions of the windows' surfaces can be named before a window exists.
    SDL_Vulkan_LoadLibrary(nullptr);
    state.up = true;
    state.thread = std::this_thread::get_id();
    return state;
}

const VideoState& Video()
{
    static const VideoState state = StartVideo();
    return state;
}

bool Bordered(DWORD style) { return (style & (WS_CAPTION | WS_THICKFRAME)) != 0; }

int AtLeastOne(LONG value) { return value > 0 ? int(value) : 1; }

}  // namespace

bool NativeWindowsHere()
{
    const VideoState& video = Video();
    return video.up && video.thread == std::this_thread::get_id();
}

SDL_Window* CreateNativeWindow(const char* title, const RECT& client, DWORD style, bool visible)
{
    Uint32 flags = visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    if (!Bordered(style)) flags |= SDL_WINDOW_BORDERLESS;
    if (style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
    const int width = AtLeastOne(client.right - client.left);
    const int height = AtLeastOne(client.bottom - client.top);
    // Vulkan surfaces need the Vulkan flag; without a Vulkan loader the window can still show CPU frames.
    SDL_Window* window = SDL_CreateWindow(title, client.left, client.top, width, height, flags | SDL_WINDOW_VULKAN);
    if (window == nullptr) window = SDL_CreateWindow(title, client.left, client.top, width, height, flags);
    return window;
}

void DestroyNativeWindow(SDL_Window* window) { SDL_DestroyWindow(window); }

void UpdateNativeWindow(SDL_Window* window, const RECT& client, DWORD style, bool visible)
{
    SDL_SetWindowBordered(window, Bordered(style) ? SDL_TRUE : SDL_FALSE);
    SDL_SetWindowResizable(window, (style & WS_THICKFRAME) ? SDL_TRUE : SDL_FALSE);
    const RECT now = NativeClientRect(window);
    if (now.left != client.left || now.top != client.top) SDL_SetWindowPosition(window, client.left, client.top);
    const int width = AtLeastOne(client.right - client.left);
    const int height = AtLeastOne(client.bottom - client.top);
    if (now.right - now.left != width || now.bottom - now.top != height) SDL_SetWindowSize(window, width, height);
    const Uint32 flags = SDL_GetWindowFlags(window);
    const bool shown = (flags & SDL_WINDOW_SHOWN) != 0;
    if (visible && !shown) SDL_ShowWindow(window);
    if (!visible && shown) SDL_HideWindow(window);
}

void SetNativeTitle(SDL_Window* window, const char* title) { SDL_SetWindowTitle(window, title); }

uint32_t NativeWindowId(SDL_Window* window) { return SDL_GetWindowID(window); }

RECT NativeClientRect(SDL_Window* window)
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &width, &height);
    return RECT{x, y, x + width, y + height};
}

bool NativeDisplayBounds(SDL_Window* window, RECT* bounds)
{
    const int display = SDL_GetWindowDisplayIndex(window);
    SDL_Rect rect;
    if (display < 0 || SDL_GetDisplayBounds(display, &rect) != 0) return false;
    *bounds = RECT{rect.x, rect.y, rect.x + rect.w, rect.y + rect.h};
    return true;
}

void CoverNativeDisplay(SDL_Window* window, const RECT& display)
{
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetWindowResizable(window, SDL_FALSE);
    SDL_SetWindowPosition(window, display.left, display.top);
    SDL_SetWindowSize(window, display.right - display.left, display.bottom - display.top);
    SDL_RaiseWindow(window);
}

bool ShowNativePixels(SDL_Window* window, const void* rgba, int width, int height, int pitch)
{
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (target == nullptr) return false;
    SDL_Surface* frame =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<void*>(rgba), width, height, 32, pitch, SDL_PIXELFORMAT_RGBA32);
    if (frame == nullptr) return false;
    // The frame replaces what was there, alpha and all, stretched over the client area.
    SDL_SetSurfaceBlendMode(frame, SDL_BLENDMODE_NONE);
    const bool shown = SDL_BlitScaled(frame, nullptr, target, nullptr) == 0 && SDL_UpdateWindowSurface(window) == 0;
    SDL_FreeSurface(frame);
    return shown;
}

bool NativeDesktopSize(int* width, int* height)
{
    if (!Video().up) return false;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return false;
    *width = mode.w;
    *height = mode.h;
    return true;
}

std::vector<NativeEvent> TakeNativeEvents()
{
    std::vector<NativeEvent> events;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            events.push_back({NativeEvent::Kind::kQuit, 0});
            continue;
        }
        if (event.type != SDL_WINDOWEVENT) continue;
        const uint32_t id = event.window.windowID;
        switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: events.push_back({NativeEvent::Kind::kFocusGained, id}); break;
        case SDL_WINDOWEVENT_FOCUS_LOST: events.push_back({NativeEvent::Kind::kFocusLost, id}); break;
        case SDL_WINDOWEVENT_SIZE_CHANGED: events.push_back({NativeEvent::Kind::kResized, id}); break;
        case SDL_WINDOWEVENT_MOVED: events.push_back({NativeEvent::Kind::kMoved, id}); break;
        case SDL_WINDOWEVENT_CLOSE: events.push_back({NativeEvent::Kind::kClose, id}); break;
        default: break;
        }
    }
    return events;
}

}  // namespace halvo::user

int HVU_GetDisplayCount(void)
{
    if (!halvo::user::Video().up) return 0;
    const int count = SDL_GetNumVideoDisplays();
    return count > 0 ? count : 0;
}

BOOL HVU_GetDisplayBounds(int display, RECT* bounds)
{
    SDL_Rect rect;
    if (bounds == nullptr || display < 0 || display >= HVU_GetDisplayCount() || SDL_GetDisplayBounds(display, &rect)) {
        return FALSE;
    }
    *bounds = RECT{rect.x, rect.y, rect.x + rect.w, rect.y + rect.h};
    return TRUE;
}

int HVU_GetDisplayModes(int display, HVU_DisplayMode* modes, int capacity)
{
    if (display < 0 || display >= HVU_GetDisplayCount()) return 0;
    const int count = SDL_GetNumDisplayModes(display);
    for (int index = 0; index < count && index < capacity && modes != nullptr; ++index) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(display, index, &mode) != 0) mode = SDL_DisplayMode{};
        modes[index] = {mode.w, mode.h, mode.refresh_rate};
    }
    return count > 0 ? count : 0;
}
