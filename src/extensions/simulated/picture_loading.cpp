#include "extensions/simulated/picture_loading.h"

#include <atomic>

#include "filesystem/file_operations.h"

namespace {

HV_Bitmap* FetchOnly(const char* path, int32_t)
{
    HV_FileSystem_CloseFile(HV_FileSystem_OpenFile(path, "r"));
    return nullptr;
}

std::atomic<HVI_PictureLoader> g_loader{FetchOnly};

}  // namespace

void HVI_SetPictureLoader(HVI_PictureLoader loader) { g_loader = loader != nullptr ? loader : FetchOnly; }

HV_Bitmap* HVI_LoadPicture(const char* path, int32_t cacheMode) { return g_loader.load()(path, cacheMode); }
