#pragma once

// Plugs audio into the engine's life cycle: the audio table at
// pre-initialisation, the sound back end at start-up (the silent one when
// sound is off or the mixer cannot start), the per-frame updates,
// re-initialisation and shutdown.
void HVI_RegisterAudioSubsystem();
