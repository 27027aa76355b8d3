// A module for the loading tests: two entry points and a value that shows
// whether the library was unloaded between two loads.
#include <windows.h>

namespace {
int storedValue = 0;
}

extern "C" __declspec(dllexport) int WINAPI KernelTestModuleAnswer() { return 42; }

extern "C" __declspec(dllexport) int WINAPI KernelTestModuleSwapValue(int value)
{
    const int previous = storedValue;
    storedValue = value;
    return previous;
}
