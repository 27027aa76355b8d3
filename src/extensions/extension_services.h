#pragma once

// Plugs the extension services into the engine: the subsystem hooks
// (pre-initialisation, the frame's pause question and updates, shutdown and
// the module commands), the "IAP_" engine commands and the freeing of the
// payloads of events 19, 37 and 38. Called once by the host executable before
// pre-initialisation, on the main thread.
void HVI_RegisterExtensionSubsystem();
