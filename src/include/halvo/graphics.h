#ifndef HALVO_GRAPHICS_H
#define HALVO_GRAPHICS_H

/* The graphics part of the engine interface: clearing and drawing bitmaps,
   bitmaps by name with reference counts, the blend mode, the render states
   and the present interval.
   Usable from C and C++. */

#include "halvo/core.h"

/* A bitmap as the program holds it: a pointer to the engine's record of that
   name, valid for the whole run. */
typedef struct HV_Bitmap HV_Bitmap;

/* Cache modes of LoadBitmap. */
#define HV_BITMAP_CACHE_NOTHING 0 /* find or create the record; no reference, no pixels */
#define HV_BITMAP_CACHE_LOAD 4    /* count a reference and read the pixels (GetBitmap) */
#define HV_BITMAP_CACHE_LOOKUP 16 /* only look the name up */

/* Blend modes 0..8 of SetBlendMode. */
#define HV_BLEND_MODE_COUNT 9

/* Render-state ids of GetRenderStatei and SetRenderStatei. */
#define HV_RENDER_STATE_DEPTH_TEST 10 /* bool */
#define HV_RENDER_STATE_DEPTH_FUNCTION \
    11 /* 0..7: never, less, equal, less-equal, greater, not-equal, greater-equal, always */
#define HV_RENDER_STATE_DEPTH_WRITE 12 /* bool */
#define HV_RENDER_STATE_COLOR_WRITE 13 /* bool */
#define HV_RENDER_STATE_CULL_MODE 14   /* 0 none, 1 front, 2 back */

/* The largest present interval: frames presented once every 4 vertical blanks. */
#define HV_PRESENT_INTERVAL_MAX 4

/* The graphics table; operations in alphabetical order. Main thread, except
   GetBitmap, LoadBitmap and ReleaseBitmap, which any thread may call; Clear
   and DrawBitmap belong in the program's Draw. */
typedef struct HV_GraphicsInterface {
    /* Clears the bound colour targets (the back buffer) to the colour, 0..1. */
    void (*Clear)(float r, float g, float b, float a);
    /* Draws the whole bitmap into the rectangle, in pixels from the top-left
       corner of the back buffer, with the current blend mode and render
       states; a bitmap that has no texture draws nothing. */
    void (*DrawBitmap)(HV_Bitmap* bitmap, float x, float y, float width, float height);
    /* LoadBitmap with HV_BITMAP_CACHE_LOAD. */
    HV_Bitmap* (*GetBitmap)(const char* name);
    int32_t (*GetBlendMode)(void);
    /* 0 presents at once, n waits for the n-th vertical blank. */
    uint32_t (*GetPresentInterval)(void);
    /* The cached value of a render state; 0 for an unknown id. */
    int32_t (*GetRenderStatei)(int32_t id);
    /* Finds or loads the bitmap of that name (a path, ".png" added when it has
       no extension; "http://" names are fetched) and counts a reference for
       every mode but NOTHING and LOOKUP. */
    HV_Bitmap* (*LoadBitmap)(const char* name, int32_t cacheMode);
    /* Gives back a reference; at zero the pixels and the texture are freed. */
    void (*ReleaseBitmap)(HV_Bitmap* bitmap);
    void (*SetBlendMode)(int32_t mode);
    /* Up to HV_PRESENT_INTERVAL_MAX; larger values are refused. */
    void (*SetPresentInterval)(uint32_t interval);
    void (*SetRenderStatei)(int32_t id, int32_t value);
} HV_GraphicsInterface;

#define HV_GRAPHICS_OPERATION_COUNT 11
HV_STATIC_ASSERT(sizeof(HV_GraphicsInterface) == HV_GRAPHICS_OPERATION_COUNT * sizeof(void*), "11 graphics operations");

#endif
