// Window classes, windows and the per-thread message queues. Each window
// keeps its class, procedure, styles, placement (the outer rectangle; the
// client area is what the frame of its style leaves), visibility and user
// data, and activation is tracked as the system would. With a display a
// window also has a real one behind it (sdl_window_system.h) that follows
// this state, and what happens to the real window (focus, size, close)
// reaches the window procedure while the message queue is read.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include "winapi/user/native_window.h"
#include "winapi/user/sdl_window_system.h"
#include "winapi/user/window_frame.h"

namespace {

constexpr int kDefaultX = 100;
constexpr int kDefaultY = 100;
constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

struct WindowClass {
    WNDPROC procedure;
    ATOM atom;
};

struct Window {
    std::string className;
    std::string title;
    WNDPROC procedure;
    DWORD style;
    DWORD exStyle;
    RECT rect;  // outer rectangle in screen coordinates
    LONG_PTR userData = 0;
    bool visible = false;
    std::thread::id owner;
    SDL_Window* native = nullptr;  // the real window, with a display
    uint32_t nativeId = 0;
    SIZE announced = {0, 0};  // the client size the last WM_SIZE told (or the one at creation)
    bool fullscreen = false;  // the real window covers its display
    RECT windowedRect = {};   // the placement to return to from fullscreen
};

struct WindowRegistry {
    std::mutex lock;
    std::map<std::string, WindowClass> classes;                    // guarded by lock
    std::map<HWND, std::unique_ptr<Window>> windows;               // guarded by lock
    std::map<std::thread::id, std::deque<MSG>> queues;             // guarded by lock
    HWND foreground = nullptr;                                     // guarded by lock
    size_t nativeWindows = 0;                                      // guarded by lock
    std::vector<std::pair<HVU_NativeWindowGone, void*>> watchers;  // guarded by lock
    uintptr_t nextHandle = 0x10000;                                // guarded by lock
    ATOM nextAtom = 0xC000;                                        // guarded by lock
};

WindowRegistry& Registry()
{
    static WindowRegistry registry;
    return registry;
}

// The window's procedure, or null (with ERROR_INVALID_WINDOW_HANDLE) for no window.
WNDPROC ProcedureOf(HWND hWnd)
{
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto found = registry.windows.find(hWnd);
    if (found == registry.windows.end()) {
        return nullptr;
    }
    return found->second->procedure;
}

Window* FindLocked(WindowRegistry& registry, HWND hWnd)
{
    auto found = registry.windows.find(hWnd);
    return found == registry.windows.end() ? nullptr : found->second.get();
}

// The window, or null with ERROR_INVALID_WINDOW_HANDLE set; the caller holds the lock.
Window* FindLockedOrSetError(WindowRegistry& registry, HWND hWnd)
{
    Window* window = FindLocked(registry, hWnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    }
    return window;
}

// Runs `action` on the window under the registry lock and returns what it returns;
// `failure` with ERROR_INVALID_WINDOW_HANDLE set when the handle names no window.
template <typename Action>
std::invoke_result_t<Action, Window&> WithWindowLocked(HWND hWnd, std::invoke_result_t<Action, Window&> failure,
                                                       Action action)
{
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    Window* window = FindLockedOrSetError(registry, hWnd);
    if (!window) {
        return failure;
    }
    return action(*window);
}

// Copies a rectangle of the window into lpRect, as GetWindowRect and GetClientRect do.
BOOL CopyWindowRect(HWND hWnd, LPRECT lpRect, RECT (*rectOf)(const Window&))
{
    return WithWindowLocked(hWnd, FALSE, [&](Window& window) {
        if (!lpRect) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        *lpRect = rectOf(window);
        return TRUE;
    });
}

std::vector<HWND> AllWindowsLocked(WindowRegistry& registry)
{
    std::vector<HWND> all;
    for (const auto& [handle, window] : registry.windows) {
        all.push_back(handle);
    }
    return all;
}

// Makes hWnd the foreground window (null: none of this program's). As the
// platform does, the window losing activation gets WM_ACTIVATE first, and when
// the program as a whole gains or loses it every window gets WM_ACTIVATEAPP,
// before the gaining window's WM_ACTIVATE and after the losing one's.
void Activate(HWND hWnd)
{
    HWND previous;
    std::vector<HWND> all;
    {
        WindowRegistry& registry = Registry();
        std::lock_guard<std::mutex> guard(registry.lock);
        previous = registry.foreground;
        if (previous == hWnd) {
            return;
        }
        registry.foreground = hWnd;
        if (!previous || !hWnd) {
            all = AllWindowsLocked(registry);
        }
    }
    if (previous) {
        SendMessageA(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hWnd));
    }
    for (HWND window : all) {
        SendMessageA(window, WM_ACTIVATEAPP, hWnd ? TRUE : FALSE, 0);
    }
    if (hWnd) {
        SendMessageA(hWnd, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
    }
}

SIZE ClientSizeLocked(const Window& window)
{
    const WindowFrame frame = GetWindowFrame(window.style);
    const LONG width = window.rect.right - window.rect.left - frame.left - frame.right;
    const LONG height = window.rect.bottom - window.rect.top - frame.top - frame.bottom;
    return {width > 0 ? width : 0, height > 0 ? height : 0};
}

// The client area in screen coordinates.
RECT ClientOnScreenLocked(const Window& window)
{
    const WindowFrame frame = GetWindowFrame(window.style);
    const SIZE size = ClientSizeLocked(window);
    const LONG left = window.rect.left + frame.left;
    const LONG top = window.rect.top + frame.top;
    return {left, top, left + size.cx, top + size.cy};
}

// The outer rectangle of a client area (screen coordinates) under the style's frame.
RECT OuterOf(const RECT& client, DWORD style)
{
    const WindowFrame frame = GetWindowFrame(style);
    return {client.left - frame.left, client.top - frame.top, client.right + frame.right, client.bottom + frame.bottom};
}

// While fullscreen, the real window keeps covering its display.
void UpdateNativeLocked(const Window& window)
{
    if (window.native && !window.fullscreen) {
        halvo::user::UpdateNativeWindow(window.native, ClientOnScreenLocked(window), window.style, window.visible);
    }
}

// Sends WM_SIZE when the client size differs from the one last told.
void AnnounceSize(HWND hWnd)
{
    SIZE size;
    {
        WindowRegistry& registry = Registry();
        std::lock_guard<std::mutex> guard(registry.lock);
        Window* window = FindLocked(registry, hWnd);
        if (!window) {
            return;
        }
        size = ClientSizeLocked(*window);
        if (size.cx == window->announced.cx && size.cy == window->announced.cy) {
            return;
        }
        window->announced = size;
    }
    SendMessageA(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(size.cx, size.cy));
}

// Takes the real window's placement (moved or resized by the user, the
// window manager or fullscreen) as the window's own.
void FollowNativePlacement(HWND hWnd)
{
    {
        WindowRegistry& registry = Registry();
        std::lock_guard<std::mutex> guard(registry.lock);
        Window* window = FindLocked(registry, hWnd);
        if (!window || !window->native) {
            return;
        }
        window->rect = OuterOf(halvo::user::NativeClientRect(window->native), window->style);
    }
    AnnounceSize(hWnd);
}

HWND WindowOfNative(uint32_t nativeId)
{
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    for (const auto& [handle, window] : registry.windows) {
        if (window->native && window->nativeId == nativeId) {
            return handle;
        }
    }
    return nullptr;
}

std::vector<HWND> WindowsWithNative()
{
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    std::vector<HWND> found;
    for (const auto& [handle, window] : registry.windows) {
        if (window->native) {
            found.push_back(handle);
        }
    }
    return found;
}

bool HasNativeWindows()
{
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    return registry.nativeWindows > 0;
}

bool IsForeground(HWND hWnd)
{
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    return registry.foreground == hWnd;
}

// Focus that leaves one of our windows for another arrives as a loss and a
// gain in the same batch: that is one change of activation, not the program
// losing it.
bool FocusGainedLater(const std::vector<halvo::user::NativeEvent>& events, size_t index)
{
    for (size_t later = index + 1; later < events.size(); ++later) {
        if (events[later].kind == halvo::user::NativeEvent::Kind::kFocusGained &&
            WindowOfNative(events[later].windowId)) {
            return true;
        }
    }
    return false;
}

// What happened to the real windows reaches their procedures as the
// platform's messages, sent while the queue is read, as the platform
// delivers its own non-queued messages.
void DeliverNativeEvents()
{
    using Kind = halvo::user::NativeEvent::Kind;
    const std::vector<halvo::user::NativeEvent> events = halvo::user::TakeNativeEvents();
    for (size_t index = 0; index < events.size(); ++index) {
        const halvo::user::NativeEvent& event = events[index];
        if (event.kind == Kind::kQuit) {
            for (HWND window : WindowsWithNative()) {
                SendMessageA(window, WM_CLOSE, 0, 0);
            }
            continue;
        }
        HWND window = WindowOfNative(event.windowId);
        if (!window) {
            continue;
        }
        switch (event.kind) {
        case Kind::kFocusGained: Activate(window); break;
        case Kind::kFocusLost:
            if (IsForeground(window) && !FocusGainedLater(events, index)) {
                Activate(nullptr);
            }
            break;
        case Kind::kResized:
        case Kind::kMoved: FollowNativePlacement(window); break;
        case Kind::kClose: SendMessageA(window, WM_CLOSE, 0, 0); break;
        case Kind::kQuit: break;
        }
    }
}

bool MatchesFilter(const MSG& message, HWND hWnd, UINT minimum, UINT maximum)
{
    if (hWnd && message.hwnd != hWnd) {
        return false;
    }
    if (minimum == 0 && maximum == 0) {
        return true;
    }
    return message.message >= minimum && message.message <= maximum;
}

}  // namespace

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* lpwcx)
{
    if (!lpwcx || lpwcx->cbSize != sizeof(WNDCLASSEXA) || !lpwcx->lpszClassName || !lpwcx->lpfnWndProc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    if (registry.classes.count(lpwcx->lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    const ATOM atom = registry.nextAtom++;
    registry.classes[lpwcx->lpszClassName] = {lpwcx->lpfnWndProc, atom};
    return atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE)
{
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    if (!lpClassName || !registry.classes.erase(lpClassName)) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return FALSE;
    }
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND, HMENU, HINSTANCE, LPVOID)
{
    HWND handle;
    WNDPROC procedure;
    {
        WindowRegistry& registry = Registry();
        std::lock_guard<std::mutex> guard(registry.lock);
        auto found = lpClassName ? registry.classes.find(lpClassName) : registry.classes.end();
        if (found == registry.classes.end()) {
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
        std::unique_ptr<Window> window(new Window);
        window->className = lpClassName;
        window->title = lpWindowName ? lpWindowName : "";
        window->procedure = procedure = found->second.procedure;
        window->style = dwStyle;
        window->exStyle = dwExStyle;
        const int x = X == CW_USEDEFAULT ? kDefaultX : X;
        const int y = Y == CW_USEDEFAULT ? kDefaultY : Y;
        const int width = nWidth == CW_USEDEFAULT ? kDefaultWidth : nWidth;
        const int height = nHeight == CW_USEDEFAULT ? kDefaultHeight : nHeight;
        window->rect = {x, y, x + width, y + height};
        window->visible = (dwStyle & WS_VISIBLE) != 0;
        window->owner = std::this_thread::get_id();
        window->announced = ClientSizeLocked(*window);
        if (halvo::user::NativeWindowsHere()) {
            // Without a real window (SDL refused one) the window stays as it would without a display.
            window->native = halvo::user::CreateNativeWindow(window->title.c_str(), ClientOnScreenLocked(*window),
                                                             window->style, window->visible);
            if (window->native) {
                window->nativeId = halvo::user::NativeWindowId(window->native);
                ++registry.nativeWindows;
            }
        }
        handle = reinterpret_cast<HWND>(registry.nextHandle);
        registry.nextHandle += 0x10;
        registry.windows[handle] = std::move(window);
    }
    if (procedure(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    return handle;
}

BOOL WINAPI DestroyWindow(HWND hWnd)
{
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    SendMessageA(hWnd, WM_DESTROY, 0, 0);
    WindowRegistry& registry = Registry();
    SDL_Window* native = nullptr;
    std::vector<std::pair<HVU_NativeWindowGone, void*>> watchers;
    {
        std::lock_guard<std::mutex> guard(registry.lock);
        Window* window = FindLocked(registry, hWnd);
        native = window ? window->native : nullptr;
        watchers = registry.watchers;
    }
    if (native) {
        // What was made on the real window goes before the window itself.
        for (const auto& [callback, context] : watchers) {
            callback(hWnd, context);
        }
        halvo::user::DestroyNativeWindow(native);
    }
    std::lock_guard<std::mutex> guard(registry.lock);
    if (registry.foreground == hWnd) {
        registry.foreground = nullptr;
    }
    if (native) {
        --registry.nativeWindows;
    }
    registry.windows.erase(hWnd);
    for (auto& [thread, queue] : registry.queues) {
        for (auto message = queue.begin(); message != queue.end();) {
            message = message->hwnd == hWnd ? queue.erase(message) : message + 1;
        }
    }
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd)
{
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    return FindLocked(registry, hWnd) ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hWnd)
{
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    Window* window = FindLocked(registry, hWnd);
    return window && window->visible ? TRUE : FALSE;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow)
{
    bool wasVisible;
    {
        WindowRegistry& registry = Registry();
        std::lock_guard<std::mutex> guard(registry.lock);
        Window* window = FindLockedOrSetError(registry, hWnd);
        if (!window) {
            return FALSE;
        }
        wasVisible = window->visible;
        window->visible = nCmdShow != SW_HIDE;
        if (nCmdShow == SW_HIDE) {
            window->style &= ~static_cast<DWORD>(WS_VISIBLE);
        } else {
            window->style |= WS_VISIBLE;
        }
        UpdateNativeLocked(*window);
    }
    if (nCmdShow == SW_SHOW || nCmdShow == SW_SHOWNORMAL) {
        Activate(hWnd);
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL WINAPI SetWindowPos(HWND hWnd, HWND, int X, int Y, int cx, int cy, UINT uFlags)
{
    {
        WindowRegistry& registry = Registry();
        std::lock_guard<std::mutex> guard(registry.lock);
        Window* window = FindLockedOrSetError(registry, hWnd);
        if (!window) {
            return FALSE;
        }
        RECT& rect = window->rect;
        const int width = (uFlags & SWP_NOSIZE) ? rect.right - rect.left : cx;
        const int height = (uFlags & SWP_NOSIZE) ? rect.bottom - rect.top : cy;
        if (!(uFlags & SWP_NOMOVE)) {
            rect.left = X;
            rect.top = Y;
        }
        rect.right = rect.left + width;
        rect.bottom = rect.top + height;
        if (uFlags & SWP_SHOWWINDOW) {
            window->visible = true;
            window->style |= WS_VISIBLE;
        }
        UpdateNativeLocked(*window);
    }
    AnnounceSize(hWnd);
    if ((uFlags & SWP_SHOWWINDOW) && !(uFlags & SWP_NOACTIVATE)) {
        Activate(hWnd);
    }
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    return CopyWindowRect(hWnd, lpRect, [](const Window& window) { return window.rect; });
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect)
{
    return CopyWindowRect(hWnd, lpRect, [](const Window& window) {
        const SIZE size = ClientSizeLocked(window);
        return RECT{0, 0, size.cx, size.cy};
    });
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex)
{
    return WithWindowLocked(hWnd, 0, [&](Window& window) -> LONG_PTR {
        switch (nIndex) {
        case GWL_STYLE: return static_cast<LONG_PTR>(window.style);
        case GWL_EXSTYLE: return static_cast<LONG_PTR>(window.exStyle);
        case GWLP_USERDATA: return window.userData;
        default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
        }
    });
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong)
{
    return WithWindowLocked(hWnd, 0, [&](Window& window) -> LONG_PTR {
        LONG_PTR previous;
        switch (nIndex) {
        case GWL_STYLE:
            previous = static_cast<LONG_PTR>(window.style);
            window.style = static_cast<DWORD>(dwNewLong);
            window.visible = (window.style & WS_VISIBLE) != 0;
            UpdateNativeLocked(window);
            return previous;
        case GWL_EXSTYLE:
            previous = static_cast<LONG_PTR>(window.exStyle);
            window.exStyle = static_cast<DWORD>(dwNewLong);
            return previous;
        case GWLP_USERDATA:
            previous = window.userData;
            window.userData = dwNewLong;
            return previous;
        default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
        }
    });
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString)
{
    return WithWindowLocked(hWnd, FALSE, [&](Window& window) -> BOOL {
        window.title = lpString ? lpString : "";
        if (window.native) {
            halvo::user::SetNativeTitle(window.native, window.title.c_str());
        }
        return TRUE;
    });
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount)
{
    return WithWindowLocked(hWnd, 0, [&](Window& window) -> int {
        if (!lpString || nMaxCount <= 0) {
            return 0;
        }
        // Cut to the buffer, always terminated; the result is the characters copied.
        const size_t count = window.title.size() < static_cast<size_t>(nMaxCount - 1)
                                 ? window.title.size()
                                 : static_cast<size_t>(nMaxCount - 1);
        std::memcpy(lpString, window.title.data(), count);
        lpString[count] = '\0';
        return static_cast<int>(count);
    });
}

HWND WINAPI GetForegroundWindow(void)
{
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    return registry.foreground;
}

BOOL WINAPI SetForegroundWindow(HWND hWnd)
{
    if (!IsWindow(hWnd)) {
        return FALSE;
    }
    Activate(hWnd);
    return TRUE;
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM, LPARAM)
{
    if (Msg == WM_CLOSE) {
        DestroyWindow(hWnd);
    }
    return 0;
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg)
{
    if (!lpMsg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (HasNativeWindows() && halvo::user::NativeWindowsHere()) {
        DeliverNativeEvents();
    }
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    std::deque<MSG>& queue = registry.queues[std::this_thread::get_id()];
    for (auto message = queue.begin(); message != queue.end(); ++message) {
        if (MatchesFilter(*message, hWnd, wMsgFilterMin, wMsgFilterMax)) {
            *lpMsg = *message;
            if (wRemoveMsg & PM_REMOVE) {
                queue.erase(message);
            }
            return TRUE;
        }
    }
    return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg) { return lpMsg && lpMsg->message == WM_KEYDOWN ? TRUE : FALSE; }

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg)
{
    if (!lpMsg || !lpMsg->hwnd) {
        return 0;
    }
    WNDPROC procedure = ProcedureOf(lpMsg->hwnd);
    return procedure ? procedure(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam) : 0;
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    std::thread::id target = std::this_thread::get_id();
    if (hWnd) {
        Window* window = FindLockedOrSetError(registry, hWnd);
        if (!window) {
            return FALSE;
        }
        target = window->owner;
    }
    MSG message = {};
    message.hwnd = hWnd;
    message.message = Msg;
    message.wParam = wParam;
    message.lParam = lParam;
    registry.queues[target].push_back(message);
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC procedure = ProcedureOf(hWnd);
    if (!procedure) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return procedure(hWnd, Msg, wParam, lParam);
}

void WINAPI PostQuitMessage(int nExitCode)
{
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    MSG message = {};
    message.message = WM_QUIT;
    message.wParam = static_cast<WPARAM>(nExitCode);
    registry.queues[std::this_thread::get_id()].push_back(message);
}

int WINAPI GetSystemMetrics(int nIndex)
{
    // With a display, its desktop; otherwise a screen of the usual size.
    int width = kScreenWidth;
    int height = kScreenHeight;
    halvo::user::NativeDesktopSize(&width, &height);
    switch (nIndex) {
    case SM_CXSCREEN: return width;
    case SM_CYSCREEN: return height;
    default: return 0;
    }
}

BOOL HVU_DisplayPresent(void) { return halvo::user::NativeWindowsHere() ? TRUE : FALSE; }

SDL_Window* HVU_GetNativeWindow(HWND window)
{
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    Window* found = FindLocked(registry, window);
    return found ? found->native : nullptr;
}

BOOL HVU_ShowPixels(HWND window, const void* rgba, int width, int height, int pitch)
{
    SDL_Window* native = HVU_GetNativeWindow(window);
    return native && halvo::user::ShowNativePixels(native, rgba, width, height, pitch) ? TRUE : FALSE;
}

BOOL HVU_SetNativeFullscreen(HWND window, BOOL fullscreen)
{
    {
        WindowRegistry& registry = Registry();
        std::lock_guard<std::mutex> guard(registry.lock);
        Window* found = FindLocked(registry, window);
        if (!found || !found->native) {
            return FALSE;
        }
        if (fullscreen) {
            RECT display;
            if (!halvo::user::NativeDisplayBounds(found->native, &display)) {
                return FALSE;
            }
            if (!found->fullscreen) {
                found->windowedRect = found->rect;
                found->fullscreen = true;
            }
            halvo::user::CoverNativeDisplay(found->native, display);
            found->rect = OuterOf(display, found->style);
        } else if (found->fullscreen) {
            found->fullscreen = false;
            found->rect = found->windowedRect;
            UpdateNativeLocked(*found);
        }
    }
    // The platform resizes the window while the swap chain changes state; so does this.
    AnnounceSize(window);
    return TRUE;
}

void HVU_WatchNativeWindows(HVU_NativeWindowGone callback, void* context)
{
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    registry.watchers.emplace_back(callback, context);
}

void HVU_UnwatchNativeWindows(HVU_NativeWindowGone callback, void* context)
{
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    for (auto watcher = registry.watchers.begin(); watcher != registry.watchers.end(); ++watcher) {
        if (watcher->first == callback && watcher->second == context) {
            registry.watchers.erase(watcher);
            return;
        }
    }
}
