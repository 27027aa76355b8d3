#pragma once

#include <dsound.h>

// Texts of the DirectSound results that the mixer reports, one row per result.
struct HV_DirectSoundErrorText {
    HRESULT result;
    const char* text;
};

constexpr HV_DirectSoundErrorText HV_DIRECTSOUND_ERROR_TEXTS[] = {
    {DSERR_CONTROLUNAVAIL, "Control requested is not available"},
    {DSERR_UNSUPPORTED, "Function not supported"},
    {DSERR_NOINTERFACE, "Unsupported interface\n-- Is DirectX 5.0 or later installed?"},
    {DSERR_OUTOFMEMORY, "Out of memory"},
    {DSERR_INVALIDPARAM, "Invalid parameter"},
    {DSERR_ALLOCATED, "Audio device in use"},
    {DSERR_INVALIDCALL, "Invalid call for the current state"},
    {DSERR_PRIOLEVELNEEDED, "Caller doesn't have priority"},
    {DSERR_BADFORMAT, "Unsupported audio format"},
    {DSERR_NODRIVER, "No audio device found"},
    {DSERR_BUFFERLOST, "Mixing buffer was lost"},
};

static_assert(sizeof(HV_DIRECTSOUND_ERROR_TEXTS) / sizeof(HV_DIRECTSOUND_ERROR_TEXTS[0]) == 11,
              "eleven DirectSound results have texts");
