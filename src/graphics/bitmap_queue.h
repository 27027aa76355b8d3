#pragma once

#include "graphics/bitmap_record.h"

// Texture work for bitmaps that threads other than the main thread cause:
// queued under RESOURCE_QUEUE and carried out by the frame on the main
// thread, where the renderer runs. Records of the bitmap table are never
// freed, so queued pointers stay valid.

// Whether the caller is the main thread, the one the renderer runs on.
bool HVI_IsRendererThread();

// Makes the bitmap a texture on the next frame, if it still has pixels and
// no texture then.
void HVI_QueueBitmapUpload(HV_Bitmap* bitmap);
// Releases a texture on the next frame; the bitmap's block is already clear.
void HVI_QueueTextureRelease(const HV_BitmapRendererBlock& block);

// The frame's bitmap queue: releases first, then uploads. Main thread.
void HVI_RunBitmapQueue();

// Forgets everything queued (tests, with the table's reset).
void HVI_ClearBitmapQueue();
