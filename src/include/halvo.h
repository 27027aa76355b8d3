#ifndef HALVO_H
#define HALVO_H

/* The public engine header: what game programs and extension modules compile
   against. Usable from C and C++. */

#include "halvo/core.h"
#include "halvo/engine.h"
#include "halvo/events.h"
#include "halvo/program.h"
#include "halvo/threading.h"
#if defined(__has_include)
#if __has_include("halvo/filesystem.h")
#include "halvo/filesystem.h"
#endif
#if __has_include("halvo/audio.h")
#include "halvo/audio.h"
#endif
#if __has_include("halvo/services.h")
#include "halvo/services.h"
#endif
#endif

#endif
