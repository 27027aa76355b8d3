// Our DirectSound layer's own additions, not part of the platform's
// interface: which output a sound object mixes into, and the pull output that
// tests and tools drive one block at a time.
//
// The output is chosen when a sound object is created, from the environment
// variable HALVO_AUDIO_OUTPUT, a list of outputs separated by ',' tried in
// order (silence when none of them can start; "sdl" when the variable is unset):
//   sdl             the audio device through SDL2
//   capture:<path>  a 16-bit stereo WAV file at <path>, written in real time and
//                   complete once the sound object is released
//   pull            nothing plays until HalvoDSound_PullFrames asks for frames;
//                   play cursors advance only as frames are pulled
//   silent          frames are mixed in real time and dropped
// For example "sdl,capture:/tmp/out.wav" plays on the device when there is
// one and captures into the file otherwise.
// The output mixes 16-bit stereo at the primary buffer's rate (44100 Hz until
// SetFormat changes it).
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif
// The output of the newest sound object alive: "sdl", "capture", "pull" or
// "silent"; null when there is none.
const char* WINAPI HalvoDSound_GetOutputName(void);
// Mixes the next frames of the newest sound object whose output is "pull" into
// `frames` (interleaved left, right) and returns the frames written: 0 when
// there is no such object.
DWORD WINAPI HalvoDSound_PullFrames(SHORT* frames, DWORD frameCount);
#ifdef __cplusplus
}
#endif

typedef const char*(WINAPI* LPHALVODSOUNDGETOUTPUTNAME)(void);
typedef DWORD(WINAPI* LPHALVODSOUNDPULLFRAMES)(SHORT*, DWORD);
