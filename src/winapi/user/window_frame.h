#pragma once

#include <windows.h>

// The frame this layer draws around a client area, in pixels, as the
// platform's default theme at 96 dots per inch: a sizing border of 8 on each
// side, a fixed (dialog) border of 3, and a caption of 23 above.
struct WindowFrame {
    int left;
    int top;
    int right;
    int bottom;
};

WindowFrame GetWindowFrame(DWORD style);
