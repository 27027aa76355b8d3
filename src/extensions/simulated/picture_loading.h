#pragma once

#include <cstdint>

struct HV_Bitmap;

// How the simulated social service turns a picture URL into a bitmap: the
// graphics front end's LoadBitmap once it installs itself here. Until then
// the picture is only fetched through the file system ("http://" paths land
// in "cache://") and no bitmap is made.
using HVI_PictureLoader = HV_Bitmap* (*)(const char* path, int32_t cacheMode);
// Null restores the fetch-only loader.
void HVI_SetPictureLoader(HVI_PictureLoader loader);
HV_Bitmap* HVI_LoadPicture(const char* path, int32_t cacheMode);
