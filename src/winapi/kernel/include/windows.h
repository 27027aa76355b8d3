// The platform's master header: base types, error codes and the kernel's
// interfaces. The window layer's <winuser.h> is included when that layer is
// part of the build, as the platform's header includes it.
#pragma once

#include <windef.h>
#include <winerror.h>
#include <winnt.h>
#include <winbase.h>

#if __has_include(<winuser.h>)
#include <winuser.h>
#endif
