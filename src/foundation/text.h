#pragma once

#include <cstdint>

#include "foundation/string.h"

// True when the text ends with the suffix.
bool HVI_EndsWith(const char* text, const char* suffix);

// The path up to, not including, its last '/'; empty when it has none.
String HVI_GetDirectoryPart(const char* path);

// Removes every segment that is followed by "/../" together with that "/../".
String HVI_NormalizePath(const char* path);

// Copies field `index` of the separated text into the buffer and returns it;
// null when the text is null, the field does not exist, or the field and its
// terminator do not fit. A separator that ends the text yields an empty field.
char* HVI_GetToken(const char* text, char separator, int index, char* buffer, int bufferSize);

// A copy in a block of the C allocator (a copy of "" for null); null when out of memory.
char* HVI_StrDup(const char* text);

// The engine's name hash: h = h * 37 + byte over the unsigned bytes, from 0.
uint32_t HVI_HashName(const char* name);
