// The library's exported entry points: the platform's DirectSoundCreate
// functions and our output additions of dsound_output.h.
#include <dsound.h>
#include <dsound_output.h>

#include <mutex>

#include "sound_object.h"
#include "sound_object_registry.h"

namespace {

bool IsDefaultDevice(LPCGUID device) { return !device || *device == GUID{}; }

// Makes the sound object and hands it out as the interface the caller asked for.
template <typename Interface>
HRESULT CreateSoundObject(LPCGUID device, Interface** out, LPUNKNOWN outer)
{
    if (!out) {
        return DSERR_INVALIDPARAM;
    }
    *out = nullptr;
    if (outer) {
        return DSERR_NOAGGREGATION;
    }
    if (!IsDefaultDevice(device)) {
        return DSERR_NODRIVER;
    }
    SoundObject* created = SoundObject::Create();
    *out = created;
    return created ? DS_OK : DSERR_OUTOFMEMORY;
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI
    DirectSoundCreate(LPCGUID pcGuidDevice, LPDIRECTSOUND* ppDS, LPUNKNOWN pUnkOuter)
{
    return CreateSoundObject(pcGuidDevice, ppDS, pUnkOuter);
}

extern "C" __declspec(dllexport) HRESULT WINAPI
    DirectSoundCreate8(LPCGUID pcGuidDevice, LPDIRECTSOUND8* ppDS8, LPUNKNOWN pUnkOuter)
{
    return CreateSoundObject(pcGuidDevice, ppDS8, pUnkOuter);
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
