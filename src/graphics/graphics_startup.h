#pragma once

// The graphics front end's part of the engine's life cycle.

// Hands the bitmap loader to the services that load pictures by name (the
// simulated social service's profile pictures).
void HVI_StartGraphicsFrontEnd();
// Takes it back; pictures are then only fetched.
void HVI_StopGraphicsFrontEnd();

// Registers the renderer role. Pre-initialisation sets the graphics table and
// takes the back end the executable exports (HALVO_RendImp_GetInterface).
// Start-up starts the front end and initialises the back end with the
// program's video parameters, then the shader translator; without a back end
// the null renderer runs. Each frame begins the renderer before the program
// draws, runs the resource queues and presents. A mode change is applied in
// place when the back end can (QuickReinitialize); the window's activity
// reaches SetActive. Shutdown gives every texture back and shuts the back end
// down; at exit it is unloaded (HALVO_RendImp_Unload).
void HVI_RegisterGraphicsSubsystem();
