#include "audio/audio_table.h"

#include "audio/audio_channel_operations.h"
#include "audio/music.h"
#include "audio/sound_table.h"

namespace {

// The operations in the table's (alphabetical) order.
HV_AudioInterface g_audioTable = {
    HV_Audio_GetChannelSound,
    HV_Audio_GetMusic,
    HV_Audio_GetSound,
    HV_Audio_GetSoundWithCacheMode,
    HV_Audio_IncreaseSoundReferenceCount,
    HV_Audio_IsSoundLoaded,
    HV_Audio_IsSoundPlaying,
    HV_Audio_LoadSound,
    HV_Audio_PlayMusic,
    HV_Audio_PlaySound,
    HV_Audio_PlaySoundWithDelay,
    HV_Audio_ReleaseSound,
    HV_Audio_SetChannelFrequency,
    HV_Audio_SetChannelLooping,
    HV_Audio_SetChannelPan,
    HV_Audio_SetChannelPaused,
    HV_Audio_SetChannelVolume,
    HV_Audio_SetMasterVolume,
    HV_Audio_SetMusicPaused,
    HV_Audio_SlideChannelVolume,
    HV_Audio_SlideMusicVolume,
    HV_Audio_SoundExists,
    HV_Audio_StopChannel,
    HV_Audio_StopChannelWithFade,
    HV_Audio_StopMusic,
};

}  // namespace

HV_AudioInterface* HVI_GetAudioTable() { return &g_audioTable; }
