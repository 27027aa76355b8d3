#include "core/engine.h"
#include <windows.h>
