// The real windows behind the layer's windows when there is a display: SDL2
// windows, and the SDL events that become the platform's window messages.
// Everything here runs on the thread that brought SDL up (the first thread
// to create a window while a display was present); windows of other threads
// stay headless.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

struct SDL_Window;

namespace halvo::user {

// Whether windows made on the calling thread become real: SDL's video comes up
// (once per process, on the first call that finds DISPLAY, WAYLAND_DISPLAY or
// SDL_VIDEODRIVER set) with a driver that shows windows, and this is its thread.
bool NativeWindowsHere();

// A hidden or shown window whose client area covers `client` (screen
// coordinates); null when SDL refuses.
SDL_Window* CreateNativeWindow(const char* title, const RECT& client, DWORD style, bool visible);
void DestroyNativeWindow(SDL_Window* window);
// Brings the native window to the layer's state: frame and sizing from the
// style, the client rectangle, visibility.
void UpdateNativeWindow(SDL_Window* window, const RECT& client, DWORD style, bool visible);
void SetNativeTitle(SDL_Window* window, const char* title);
uint32_t NativeWindowId(SDL_Window* window);
// The client rectangle of the native window now, in screen coordinates.
RECT NativeClientRect(SDL_Window* window);
// The bounds of the display the window is on, in screen coordinates.
bool NativeDisplayBounds(SDL_Window* window, RECT* bounds);
// Desktop fullscreen: the window, without a frame, covers `display` above the
// others. Done by the window itself, so it holds with or without a window
// manager; UpdateNativeWindow gives the window its placement back.
void CoverNativeDisplay(SDL_Window* window, const RECT& display);
bool ShowNativePixels(SDL_Window* window, const void* rgba, int width, int height, int pitch);
// The desktop of the first display; false when SDL's video is not up.
bool NativeDesktopSize(int* width, int* height);

struct NativeEvent {
    enum class Kind {
        kFocusGained,
        kFocusLost,
        kResized,
        kMoved,
        kClose,  // the window's close button, or the window manager's request
        kQuit,   // the session asks the program to end
    };
    Kind kind;
    uint32_t windowId;
};

// Pumps SDL and returns the window events that arrived, in order; others are dropped.
std::vector<NativeEvent> TakeNativeEvents();

}  // namespace halvo::user
