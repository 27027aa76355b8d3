#include <windows.h>
#include <string>
