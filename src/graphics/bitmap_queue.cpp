#include "graphics/bitmap_queue.h"

#include <utility>

#include "core/engine_locks.h"
#include "core/logging.h"
#include "core/threading.h"
#include "foundation/array.h"
#include "graphics/bitmap_messages.h"
#include "graphics/renderer_implementation.h"

namespace {

constexpr const char* kQueueLockName = "RESOURCE_QUEUE";
constexpr const char* kBitmapLockName = "GET_BITMAP";
constexpr int32_t kMainThreadId = 1;

// Guarded by RESOURCE_QUEUE.
Array<HV_Bitmap*> g_uploads;
Array<HV_BitmapRendererBlock> g_releases;

}  // namespace

bool HVI_IsRendererThread() { return HV_Threading_GetCurrentThreadId() == kMainThreadId; }

void HVI_QueueBitmapUpload(HV_Bitmap* bitmap)
{
    HVI_EngineLockScope lock(kQueueLockName);
    g_uploads.Add(bitmap);
}

void HVI_QueueTextureRelease(const HV_BitmapRendererBlock& block)
{
    HVI_EngineLockScope lock(kQueueLockName);
    g_releases.Add(block);
}

void HVI_RunBitmapQueue()
{
    Array<HV_Bitmap*> uploads;
    Array<HV_BitmapRendererBlock> releases;
    {
        HVI_EngineLockScope lock(kQueueLockName);
        uploads = std::move(g_uploads);
        releases = std::move(g_releases);
        g_uploads.Clear();
        g_releases.Clear();
    }
    RendererImplementation* renderer = HVI_GetRenderer();
    if (renderer == nullptr) return;
    for (HV_BitmapRendererBlock& block : releases) renderer->ReleaseTexture(block);
    HVI_EngineLockScope lock(kBitmapLockName);
    for (HV_Bitmap* bitmap : uploads) {
        // Released, or made a texture by the main thread since it was queued.
        if (bitmap->pixels == nullptr || bitmap->renderer.loaded) continue;
        if (!renderer->CreateTexture(bitmap)) HV_Log(HV_LOG_ERROR, kBitmapTextureFailed, bitmap->name.GetText());
    }
}

void HVI_ClearBitmapQueue()
{
    HVI_EngineLockScope lock(kQueueLockName);
    g_uploads.Clear();
    g_releases.Clear();
}
