#pragma once

#include <halvo/graphics.h>

// The front end's smallest drawing: clearing the targets and drawing a whole
// bitmap as a screen rectangle with its own program, vertex and index
// buffers, which are made on the first draw. Main thread, between the
// frame's begin and present.

void HV_Graphics_Clear(float r, float g, float b, float a);
// x, y, width and height in pixels of the back buffer (the program's video
// size), from its top-left corner. A bitmap without a texture draws nothing.
void HV_Graphics_DrawBitmap(HV_Bitmap* bitmap, float x, float y, float width, float height);

// Gives the program and the buffers back to the running renderer (before it
// shuts down); the next draw makes them again.
void HVI_ReleaseSpriteDrawer();
