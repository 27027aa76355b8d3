#pragma once

// The mixer table's Update: advances the fades of the playing voices by the
// time since the previous step and refills the halves their play cursors have
// left. The first step only notes the time.
void HVI_MixerUpdate();
