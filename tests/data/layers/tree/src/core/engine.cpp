#include "engine.h"
#include "generated_by_the_build.h"
