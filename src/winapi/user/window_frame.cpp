#include "winapi/user/window_frame.h"

namespace {
constexpr int kSizingBorder = 8;
constexpr int kFixedBorder = 3;
constexpr int kCaptionHeight = 23;
}  // namespace

WindowFrame GetWindowFrame(DWORD style)
{
    WindowFrame frame = {0, 0, 0, 0};
    int border = 0;
    if (style & WS_THICKFRAME) {
        border = kSizingBorder;
    } else if (style & (WS_DLGFRAME | WS_BORDER)) {
        border = kFixedBorder;
    }
    frame.left = frame.right = frame.bottom = frame.top = border;
    if ((style & WS_CAPTION) == WS_CAPTION) {
        frame.top += kCaptionHeight;
    }
    return frame;
}

BOOL WINAPI AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL, DWORD)
{
    if (!lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const WindowFrame frame = GetWindowFrame(dwStyle);
    lpRect->left -= frame.left;
    lpRect->top -= frame.top;
    lpRect->right += frame.right;
    lpRect->bottom += frame.bottom;
    return TRUE;
}
