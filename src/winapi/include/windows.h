// The platform's master header: base types, error codes, the kernel's and the
// window layer's interfaces. Every target sees the same declarations; a target
// that calls the window layer links it.
#pragma once

#include <windef.h>
#include <winerror.h>
#include <winnt.h>
#include <winbase.h>
#include <winuser.h>
