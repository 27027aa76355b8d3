#pragma once

// The name of the log file.

#include <halvo/core.h>

#include "foundation/string.h"

// "logs://<id>.log" ("res://" when inWorkingDir), the program id's spaces
// and path separators turned into '-' (as in the name of its user folder),
// so that the log stays in its folder. When dated:
// "logs://<id>-YYYY-MM-DD-hh-mm.log", and when that is taken (exists answers
// true) "-1" to "-99" before ".log"; the last one is used when every name is
// taken.
String HVI_MakeLogFileName(const char* programId, bool dated, bool inWorkingDir, const HV_DateTime& now,
                           bool (*exists)(const char* path));
