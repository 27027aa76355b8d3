#pragma once

#include "foundation/string.h"

// Keeps a file that could not be read under the first free one of the names
// "<path>.damaged", "<path>.damaged-2" ... "<path>.damaged-9", so that a
// later rewrite of the file, or a later damage, never replaces the copy.
// Moved, or copied when the caller still reads from the file. The name used
// (with the scheme of path), or empty when no copy could be made.
String HVI_KeepDamagedFile(const char* path, bool keepOriginal);
