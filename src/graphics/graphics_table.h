#pragma once

#include <halvo/graphics.h>

// The graphics table of the engine interface.
HV_GraphicsInterface* HVI_GetGraphicsTable();
