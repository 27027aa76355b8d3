#pragma once

// The graphics front end's part of the engine's life cycle.

// Hands the bitmap loader to the services that load pictures by name (the
// simulated social service's profile pictures).
void HVI_StartGraphicsFrontEnd();
// Takes it back; pictures are then only fetched.
void HVI_StopGraphicsFrontEnd();

// Registers the renderer role: start-up starts the front end and, when no
// back end was chosen, runs the null renderer; the frame's resource queues
// carry out the texture work of other threads; shutdown shuts the renderer
// down and stops the front end.
void HVI_RegisterGraphicsSubsystem();
