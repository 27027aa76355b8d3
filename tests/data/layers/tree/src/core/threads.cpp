#include "winapi/kernel/threads.h"
