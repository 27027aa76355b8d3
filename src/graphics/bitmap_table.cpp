#include "graphics/bitmap_table.h"

#include <condition_variable>
#include <cstring>
#include <mutex>

#include "core/engine_locks.h"
#include "core/logging.h"
#include "filesystem/whole_file.h"
#include "foundation/byte_buffer.h"
#include "foundation/text.h"
#include "graphics/bitmap_messages.h"
#include "graphics/bitmap_queue.h"
#include "graphics/renderer_implementation.h"
#include "imaging/image_loader.h"

namespace {

constexpr const char* kBitmapLockName = "GET_BITMAP";
constexpr const char* kDefaultImageExtension = ".png";
constexpr const char* kHttpPrefix = "http://";

// Guarded by GET_BITMAP.
HV_Bitmap g_bitmaps[kBitmapTableCapacity];
int32_t g_bitmapCount = 0;

HV_Bitmap* Find(const char* name, uint32_t hash)
{
    for (int32_t i = 0; i < g_bitmapCount; ++i) {
        HV_Bitmap& bitmap = g_bitmaps[i];
        if (bitmap.hash == hash && !bitmap.name.IsEmpty() && bitmap.name == name) return &bitmap;
    }
    return nullptr;
}

HV_Bitmap* Create(const char* name, uint32_t hash, int32_t cacheMode)
{
    HV_Print(kBitmapCaching, name);
    int32_t index = 0;
    while (index < g_bitmapCount && !g_bitmaps[index].name.IsEmpty()) ++index;
    if (index == kBitmapTableCapacity) {
        HV_Popup(HV_LOG_ERROR, kBitmapTableFull);
        return nullptr;
    }
    if (index == g_bitmapCount) ++g_bitmapCount;
    HV_Bitmap& bitmap = g_bitmaps[index];
    bitmap = HV_Bitmap{};
    bitmap.name = name;
    bitmap.hash = hash;
    bitmap.cacheMode = cacheMode;
    return &bitmap;
}

void CountReference(HV_Bitmap& bitmap)
{
    if (bitmap.references >= kBitmapReferenceLimit) {
        HV_Popup(HV_LOG_WARNING, kBitmapReferencesCapped, bitmap.name.GetText(), kBitmapReferenceLimit);
        return;
    }
    ++bitmap.references;
}

// Whether the name's last path element carries an extension.
bool HasExtension(const char* name)
{
    for (const char* c = name + std::strlen(name); c > name; --c) {
        if (c[-1] == '/') return false;
        if (c[-1] == '.' && c - 1 > name) return true;
    }
    return false;
}

// GET_BITMAP as a lock a condition variable can leave and take again.
struct BitmapLock {
    void lock() { HVI_EnterEngineLock(kBitmapLockName); }
    void unlock() { HVI_LeaveEngineLock(kBitmapLockName); }
};
using BitmapLockHold = std::unique_lock<BitmapLock>;

BitmapLock g_bitmapLock;
// Signalled, under GET_BITMAP, whenever a record's read ends.
std::condition_variable_any g_pixelsRead;

String PixelPath(const String& name)
{
    String path = name;
    // A URL is fetched as it stands: its query is no file name.
    const bool url = std::strncmp(path.GetText(), kHttpPrefix, std::strlen(kHttpPrefix)) == 0;
    if (!url && !HasExtension(path.GetText())) path.Append(kDefaultImageExtension);
    return path;
}

// Reads and decodes the bitmap's file with GET_BITMAP left, so that a slow
// file or fetch holds no other bitmap up, then makes the texture as before.
// The caller holds GET_BITMAP once (not recursively) and a reference.
void ReadPixels(HV_Bitmap& bitmap, BitmapLockHold& hold)
{
    bitmap.loading = true;
    const String path = PixelPath(bitmap.name);
    RendererImplementation* renderer = HVI_GetRenderer();
    const int32_t channelOrder = renderer != nullptr ? renderer->GetTextureChannelOrder() : 0;
    HV_Bitmap decoded;
    decoded.name = bitmap.name;
    hold.unlock();
    ByteBuffer bytes;
    const bool read = HVI_ReadWholeFile(path.GetText(), bytes) &&
                      HVI_GetImageLoader()->LoadImage(&decoded, bytes.GetData(), bytes.GetSize(), channelOrder);
    hold.lock();
    bitmap.loading = false;
    g_pixelsRead.notify_all();
    if (!read) {
        HV_Popup(HV_LOG_WARNING, kBitmapNotFound, bitmap.name.GetText());
        return;
    }
    // Released by every holder meanwhile: the pixels are not kept.
    if (bitmap.references == 0) {
        HVI_GetImageLoader()->FreeImagePixels(&decoded);
        return;
    }
    bitmap.pixels = decoded.pixels;
    decoded.pixels = nullptr;
    bitmap.pixelWidth = decoded.pixelWidth;
    bitmap.pixelHeight = decoded.pixelHeight;
    bitmap.width = decoded.width;
    bitmap.height = decoded.height;
    if (renderer == nullptr) return;
    // Other threads leave the upload to the frame.
    if (!HVI_IsRendererThread()) {
        HVI_QueueBitmapUpload(&bitmap);
    } else if (!renderer->CreateTexture(&bitmap)) {
        HV_Log(HV_LOG_ERROR, kBitmapTextureFailed, bitmap.name.GetText());
    }
}

void FreeResources(HV_Bitmap& bitmap)
{
    HVI_GetImageLoader()->FreeImagePixels(&bitmap);
    if (bitmap.renderer.loaded) {
        if (!HVI_IsRendererThread()) {
            HVI_QueueTextureRelease(bitmap.renderer);
        } else if (RendererImplementation* renderer = HVI_GetRenderer()) {
            renderer->ReleaseTexture(bitmap.renderer);
        }
    }
    bitmap.renderer = HV_BitmapRendererBlock{};
}

// Calls visit(renderer, bitmap) for every bitmap under the bitmap lock;
// nothing while there is no renderer.
template <typename Visit>
void ForEachBitmapWithRenderer(Visit visit)
{
    RendererImplementation* renderer = HVI_GetRenderer();
    if (renderer == nullptr) return;
    HVI_EngineLockScope lock(kBitmapLockName);
    for (int32_t i = 0; i < g_bitmapCount; ++i) visit(*renderer, g_bitmaps[i]);
}

}  // namespace

HV_Bitmap* HV_Graphics_LoadBitmap(const char* name, int32_t cacheMode)
{
    if (name == nullptr) {
        HV_Popup(HV_LOG_WARNING, kBitmapNullName);
        return nullptr;
    }
    const uint32_t hash = HVI_HashName(name);
    BitmapLockHold hold(g_bitmapLock);
    HV_Bitmap* bitmap = Find(name, hash);
    if (bitmap == nullptr) {
        if (cacheMode == HV_BITMAP_CACHE_LOOKUP) return nullptr;
        bitmap = Create(name, hash, cacheMode);
        if (bitmap == nullptr) return nullptr;
    }
    if (cacheMode == HV_BITMAP_CACHE_NOTHING || cacheMode == HV_BITMAP_CACHE_LOOKUP) return bitmap;
    CountReference(*bitmap);
    if ((cacheMode & HV_BITMAP_CACHE_LOAD) == 0) return bitmap;
    g_pixelsRead.wait(hold, [bitmap] { return !bitmap->loading; });
    if (bitmap->pixels == nullptr) ReadPixels(*bitmap, hold);
    return bitmap;
}

HV_Bitmap* HV_Graphics_GetBitmap(const char* name) { return HV_Graphics_LoadBitmap(name, HV_BITMAP_CACHE_LOAD); }

void HV_Graphics_ReleaseBitmap(HV_Bitmap* bitmap)
{
    if (bitmap == nullptr) return;
    HVI_EngineLockScope lock(kBitmapLockName);
    if (bitmap->references == 0) {
        HV_Log(HV_LOG_WARNING, kBitmapReleaseUnreferenced, bitmap->name.GetText());
        return;
    }
    // A capped count no longer says how many holders there are, so a capped bitmap
    // stays for the rest of the run rather than being freed under holders that were never counted.
    if (bitmap->references >= kBitmapReferenceLimit) return;
    if (--bitmap->references == 0) FreeResources(*bitmap);
}

void HVI_AddBitmapReference(HV_Bitmap* bitmap)
{
    if (bitmap == nullptr) return;
    HVI_EngineLockScope lock(kBitmapLockName);
    CountReference(*bitmap);
}

int32_t HVI_GetBitmapCount()
{
    HVI_EngineLockScope lock(kBitmapLockName);
    return g_bitmapCount;
}

void HVI_ReleaseAllTextures()
{
    ForEachBitmapWithRenderer([](RendererImplementation& renderer, HV_Bitmap& bitmap) {
        if (bitmap.renderer.loaded) renderer.ReleaseTexture(bitmap.renderer);
        bitmap.renderer = HV_BitmapRendererBlock{};
    });
}

void HVI_RecreateTextures()
{
    ForEachBitmapWithRenderer([](RendererImplementation& renderer, HV_Bitmap& bitmap) {
        if (bitmap.pixels == nullptr || bitmap.renderer.loaded) return;
        if (!renderer.CreateTexture(&bitmap)) HV_Log(HV_LOG_ERROR, kBitmapTextureFailed, bitmap.name.GetText());
    });
}

void HVI_ResetBitmapTable()
{
    HVI_ClearBitmapQueue();
    HVI_EngineLockScope lock(kBitmapLockName);
    for (int32_t i = 0; i < g_bitmapCount; ++i) {
        FreeResources(g_bitmaps[i]);
        g_bitmaps[i] = HV_Bitmap{};
    }
    g_bitmapCount = 0;
}
