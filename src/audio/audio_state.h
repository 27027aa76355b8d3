#pragma once

#include <cstdint>

#include "audio/sound_record.h"

class SoundImplementation;

// One sound channel: a sound the program plays, with its play handle.
struct HV_SoundChannel {
    HV_PlayHandle handle;   // 0 marks a free entry
    uint32_t voice;         // the back end's voice, valid once started
    HV_SoundRecord* sound;  // null until filled; a channel without sound is freed by the next check
    int32_t startTime;      // engine milliseconds of the (planned) start
    bool started;
    bool paused;
    float volume;
    float pan;
    float pitch;
    bool sliding;
    bool stopAtEnd;  // the slide is a fade-out that ends in a stop
    float slideStart;
    float slideTarget;
    float slideTime;
    float slideElapsed;
    bool looping;
};

constexpr int HV_SOUND_CHANNEL_COUNT = 256;

// The single music state.
struct HV_MusicState {
    int32_t lastUpdateTime;   // engine milliseconds of the last audio update
    HV_SoundRecord* pending;  // the track that starts once the current one has stopped
    float pendingFadeInTime;
    float pendingVolume;
    HV_SoundRecord* current;
    float volume;
    bool sliding;
    float slideStart;
    float slideTarget;
    float slideTime;
    float slideElapsed;
    bool stopAtEnd;
    bool paused;
    bool started;  // set by PlayMusic, cleared by StopMusic
};

// The audio subsystem's state. The sound table and its count are guarded by
// the engine lock GET_SOUND; everything else is used on the main thread only.
struct HV_AudioState {
    HV_SoundRecord sounds[HV_SOUND_TABLE_SIZE];  // GET_SOUND
    int32_t soundCount;                          // GET_SOUND: high-water count of entries in use
    SoundImplementation* backEnd;                // null until start-up
    bool referenceCounting;                      // read once at pre-initialisation
    float masterVolume;                          // starts at 1.0, handed to every new back end
    HV_SoundChannel channels[HV_SOUND_CHANNEL_COUNT];
    int32_t channelCount;      // entries 0 .. count-1 in use (free ones may lie below)
    HV_PlayHandle nextHandle;  // starts at 1
    HV_MusicState music;
};

HV_AudioState& HVI_GetAudioState();
// Back to the state before pre-initialisation (tests); frees every record's name and path.
void HVI_ResetAudioState();

// The no-sound flag of the running video parameters: channel and music operations do nothing.
bool HVI_IsAudioDisabled();

// Volumes given to channels and music snap to 0 below 0.001 and to 1 above 0.999.
float HVI_SnapVolume(float volume);
