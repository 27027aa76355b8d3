#pragma once

#include <cstdint>

#include <halvo/graphics.h>

#include "graphics/bitmap_record.h"

// The bitmap table: a fixed number of records found by name, each with a
// reference count. Every call takes the engine lock GET_BITMAP; a load leaves
// it while it reads and decodes a file or fetches a URL, and other loads of
// the same bitmap wait for that read.

constexpr int32_t kBitmapTableCapacity = 3072;
constexpr int32_t kBitmapReferenceLimit = 4096;

// The cache modes HV_BITMAP_CACHE_NOTHING, _LOAD and _LOOKUP are the public
// header's.

// Finds or creates the bitmap of that name and applies the cache mode: every
// call with a mode other than 0 and 16 counts a reference (capped at
// kBitmapReferenceLimit; a capped bitmap is never freed), and a mode with bit 4 reads the pixels of a bitmap
// that has none. The pixels come from the name as a path when it carries an
// extension, else from the name with ".png"; a name beginning "http://" is
// fetched through the HTTP file system. A bitmap whose pixels were read is
// made a texture at once when a renderer runs and the caller is the main
// thread. Null for a null name, a lookup that finds nothing or a full table;
// a bitmap whose pixels could not be read is returned without them.
HV_Bitmap* HV_Graphics_LoadBitmap(const char* name, int32_t cacheMode);

// HV_Graphics_LoadBitmap with HV_BITMAP_CACHE_LOAD: takes a reference.
HV_Bitmap* HV_Graphics_GetBitmap(const char* name);

// Gives back a reference; at zero the pixels and the texture are freed and
// the record stays for the next load of its name.
void HV_Graphics_ReleaseBitmap(HV_Bitmap* bitmap);

// Counts one more reference on a bitmap already held (a copy of a Shader XML
// description keeps its own on each texture's source).
void HVI_AddBitmapReference(HV_Bitmap* bitmap);

// The number of records in use, free ones below it included.
int32_t HVI_GetBitmapCount();

// The running renderer is about to shut down: every texture is released
// through it, the pixels stay. Main thread.
void HVI_ReleaseAllTextures();
// Makes a texture of every bitmap that has pixels and none, with the running
// renderer (after it came up again). Main thread.
void HVI_RecreateTextures();

// Frees every record's pixels and texture and empties the table (shutdown,
// tests).
void HVI_ResetBitmapTable();
