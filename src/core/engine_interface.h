#pragma once

// The engine interface handed to the program: the core's operations, the
// threading and file-system tables, and the area tables that subsystems set
// in their pre-initialisation hooks (audio, services, graphics, draw).

#include <halvo/engine.h>

// The one interface of the process, built by HVI_BuildEngineInterface.
HV_EngineInterface* HVI_GetEngineInterface();
// Fills every core slot and the threading and file-system tables; the other
// tables are null until their subsystems set them.
void HVI_BuildEngineInterface();
