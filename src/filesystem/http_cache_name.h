#pragma once

#include "foundation/string.h"

// The file name under "cache://" that a fetched URL is stored as:
// "http-" + 16 hex digits of a 64-bit FNV-1a hash of the whole URL + "-" + the
// last segment of the URL's path (before any query), in which every byte other
// than letters, digits, '.', '-' and '_' becomes '_', cut to 64 bytes ("index"
// when the segment is empty). The name never holds a separator, so a URL
// cannot lead outside the cache folder, and keeping the last segment keeps the
// file's extension for loaders that go by it.
String HVI_GetHttpCacheFileName(const char* url);
