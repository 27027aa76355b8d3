// A module library whose entry point has no module to give.
#include "halvo/extensions.h"
#include "journal.h"

TEST_MODULE_EXPORT ExtensionModule* HV_GetExtensionModuleInterface() { return nullptr; }
