#pragma once

#include <cstdint>

#include "foundation/string.h"
#include "halvo/services.h"

// The "data" value of a stored score: each byte as an unsigned decimal
// number, joined by single spaces.
String HVI_FormatScoreData(const uint8_t* data, int32_t length);

// Fills data and dataLength of the record from the text: fields split at
// single spaces (an empty text has none, a trailing space adds an empty
// field), each read as a decimal integer (empty, or 512 characters and more,
// reads as 0) and kept as its low 8 bits. More than 188 fields leave the
// record as it was.
void HVI_ParseScoreData(const char* text, HV_LeaderboardScore& score);

// A decimal integer by atoi's rules, saturated instead of overflowing.
int32_t HVI_ReadDecimal(const char* text);
