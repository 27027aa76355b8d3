// A module library without the entry point: the engine finds nothing to call.
#include "journal.h"

TEST_MODULE_EXPORT int TestModule_SomethingElse() { return 1; }
