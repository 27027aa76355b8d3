// The library's exported entry points: the platform's DirectSoundCreate
// functions and our output additions of dsound_output.h.
#include <dsound.h>
#include <dsound_output.h>

#include <mutex>

#include "sound_object.h"
#include "sound_object_registry.h"

namespace {

bool IsDefaultDevice(LPCGUID device) { return !device || *device == GUID{}; }

HRESULT CreateSoundObject(LPCGUID device, SoundObject** created, LPUNKNOWN outer)
{
    if (!created) {
        return DSERR_INVALIDPARAM;
    }
    *created = nullptr;
    if (outer) {
        return DSERR_NOAGGREGATION;
    }
    if (!IsDefaultDevice(device)) {
        return DSERR_NODRIVER;
    }
    *created = SoundObject::Create();
    return *created ? DS_OK : DSERR_OUTOFMEMORY;
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI
    DirectSoundCreate(LPCGUID pcGuidDevice, LPDIRECTSOUND* ppDS, LPUNKNOWN pUnkOuter)
{
    SoundObject* created = nullptr;
    const HRESULT result = CreateSoundObject(pcGuidDevice, ppDS ? &created : nullptr, pUnkOuter);
    if (ppDS) {
        *ppDS = created;
    }
    return result;
}

extern "C" __declspec(dllexport) HRESULT WINAPI
    DirectSoundCreate8(LPCGUID pcGuidDevice, LPDIRECTSOUND8* ppDS8, LPUNKNOWN pUnkOuter)
{
    SoundObject* created = nullptr;
    const HRESULT result = CreateSoundObject(pcGuidDevice, ppDS8 ? &created : nullptr, pUnkOuter);
    if (ppDS8) {
        *ppDS8 = created;
    }
    return result;
}

extern "C" __declspec(dllexport) const char* WINAPI HalvoDSound_GetOutputName(void)
{
    std::lock_guard<std::mutex> hold(GetSoundObjectRegistryLock());
    SoundObject* newest = GetNewestSoundObject();
    return newest ? newest->GetOutputName() : nullptr;
}

extern "C" __declspec(dllexport) DWORD WINAPI HalvoDSound_PullFrames(SHORT* frames, DWORD frameCount)
{
    if (!frames) {
        return 0;
    }
    std::lock_guard<std::mutex> hold(GetSoundObjectRegistryLock());
    SoundObject* newest = GetNewestSoundObject();
    return newest ? newest->Pull(frames, frameCount) : 0;
}
