// How our other layers reach the real window behind a window of this layer,
// to present frames into it. Not a platform header: programs written for the
// platform never see these. A window has a native window only when it was
// made while a display was present (see sdl_window_system.h).
#pragma once

#include <windows.h>

struct SDL_Window;

#ifdef __cplusplus
extern "C" {
#endif

// Whether windows made on the calling thread are real ones; the display is
// brought up on the first call that finds one (DISPLAY, WAYLAND_DISPLAY or
// SDL_VIDEODRIVER set). Afterwards SDL can name the Vulkan instance extensions
// its windows' surfaces need.
BOOL HVU_DisplayPresent(void);

// The SDL window showing `window`; null for a headless window or no window.
SDL_Window* HVU_GetNativeWindow(HWND window);

// Shows R, G, B, A pixels (rows `pitch` bytes apart) in the window's client
// area, stretched over it; false without a native window or when SDL refuses.
BOOL HVU_ShowPixels(HWND window, const void* rgba, int width, int height, int pitch);

// Makes the native window cover its display (SDL's desktop fullscreen) or
// returns it to its placement; false without a native window or when refused.
BOOL HVU_SetNativeFullscreen(HWND window, BOOL fullscreen);

// The screens of the display server, for the outputs the DXGI layer describes.
typedef struct HVU_DisplayMode {
    int width;
    int height;
    int refreshRate;  // in hertz; 0 when unknown
} HVU_DisplayMode;
// The number of screens: 0 without a display (the first call may bring it up).
int HVU_GetDisplayCount(void);
// A screen's desktop rectangle; FALSE for no such screen.
BOOL HVU_GetDisplayBounds(int display, RECT* bounds);
// Fills up to `capacity` of a screen's modes and returns how many it has (0 for no such screen).
int HVU_GetDisplayModes(int display, HVU_DisplayMode* modes, int capacity);

// Called on the window's thread just before its native window goes, so that
// what was made on it (a Vulkan surface and swap chain) is let go first.
typedef void (*HVU_NativeWindowGone)(HWND window, void* context);
void HVU_WatchNativeWindows(HVU_NativeWindowGone callback, void* context);
void HVU_UnwatchNativeWindows(HVU_NativeWindowGone callback, void* context);

#ifdef __cplusplus
}
#endif
