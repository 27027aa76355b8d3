#pragma once

#include "foundation/string.h"

// Moves a file that could not be read to the first free one of the names
// "<path>.damaged", "<path>.damaged-2" ... "<path>.damaged-9", so that a
// later rewrite of the file, or a later damage, never replaces it. The name
// used (with the scheme of path), or empty when it could not be moved.
String HVI_KeepDamagedFile(const char* path);
