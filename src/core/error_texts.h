#pragma once

// Texts of renderer error codes (category in the high 16 bits) and the
// report of a platform error.

#include <cstdint>

#include "foundation/string.h"

// The name of the category code >> 16; "Unknown category" when unknown.
const char* HVI_GetErrorCategoryName(uint32_t code);
// The description of the code; "unknown error" when unknown.
const char* HVI_GetErrorDescription(uint32_t code);
// Reports the error: as a popup at ERROR in developer mode, else a log line at ERROR.
void HVI_ReportPlatformError(uint32_t code, uint32_t platformError, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// The system's message for a platform error, without its final line break;
// insert, when given, takes the place of the message's "%1".
String HVI_GetSystemMessage(uint32_t platformError, const char* insert = nullptr);
