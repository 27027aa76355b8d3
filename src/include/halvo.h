#ifndef HALVO_H
#define HALVO_H

/* The public engine header: what game programs and extension modules compile
   against. Usable from C and C++. */

#include "halvo/core.h"
#include "halvo/engine.h"
#include "halvo/events.h"
#include "halvo/program.h"
#include "halvo/threading.h"
#include "halvo/filesystem.h"
#include "halvo/graphics.h"
#include "halvo/services.h"
#ifdef __cplusplus
#include "halvo/extensions.h"
#endif
/* The audio table's header joins when the audio library is part of the build. */
#if defined(__has_include)
#if __has_include("halvo/audio.h")
#include "halvo/audio.h"
#endif
#endif

#endif
