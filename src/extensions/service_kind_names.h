#pragma once

#include "halvo/services.h"

// The name of a service kind in the start-up log; "Unknown" outside 0..8.
const char* HVI_GetServiceKindName(HV_ServiceKind kind);
