// Linked into the test programs that open real windows. SDL's X11 video opens
// the session bus for its input methods, and libdbus keeps a buffer in its
// globals that only dbus_shutdown frees, which SDL leaves to the program (a
// library cannot know whether others in the process still use the bus).
// That buffer is not ours: the leak checker is told so, and every other leak
// it reports still is.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
