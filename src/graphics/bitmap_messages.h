#pragma once

// Texts the bitmap table writes.
constexpr const char* kBitmapCaching = "..caching bitmap '%s'";
constexpr const char* kBitmapNullName = "HV_Graphics_LoadBitmap called with null parameter.";
constexpr const char* kBitmapTableFull = " ! Halvo out of free bitmaps.";
constexpr const char* kBitmapReferencesCapped = "Bitmap '%s' reference count suspiciously high: capping at %d.";
constexpr const char* kBitmapNotFound = "Bitmap resource '%s' not found.";
constexpr const char* kBitmapReleaseUnreferenced = "HV_Graphics_ReleaseBitmap: bitmap '%s' holds no reference.";
constexpr const char* kBitmapTextureFailed = "HV_Graphics_LoadBitmap: the renderer made no texture of bitmap '%s'.";
